#!/usr/bin/env python3
"""What Python's zipfile sees in an archive, for the reader's tests to compare with.

  zip_oracle.py manifest CORPUS_DIR
      one line per archive of the corpus manifest: path, category, archive_opens (1/0),
      password (may be empty)
  zip_oracle.py entries ARCHIVE OUT_DIR [PASSWORD]
      OUT_DIR/entries.tsv: one line per central directory entry: index, name (zipfile's
      decoding, UTF-8), method, compressed size, size, CRC-32 (8 hex digits), flags (4 hex
      digits), then "ok" or the error of reading the entry; OUT_DIR/INDEX.bin holds the
      content of every entry read without error. A first line "open-failed<TAB>message"
      when zipfile refuses the archive.
"""
import json
import os
import sys
import zipfile


def manifest(corpus):
    with open(os.path.join(corpus, "manifest.json"), encoding="utf-8") as f:
        data = json.load(f)
    for a in data["archives"]:
        opens = a.get("expected", {}).get("archive_opens", True)
        print("\t".join([a["path"], a["category"], "1" if opens else "0",
                         a.get("password") or ""]))


def one_line(text):
    return " ".join(str(text).split())


def entries(archive, out_dir, password):
    os.makedirs(out_dir, exist_ok=True)
    lines = []
    try:
        zf = zipfile.ZipFile(archive)
    except Exception as error:  # every refusal is an outcome to compare
        lines.append("open-failed\t" + one_line(error))
        zf = None
    if zf is not None:
        with zf:
            for i, info in enumerate(zf.infolist()):
                try:
                    data = zf.read(info, pwd=password.encode() if password else None)
                    status = "ok"
                    with open(os.path.join(out_dir, "%d.bin" % i), "wb") as f:
                        f.write(data)
                except Exception as error:
                    status = type(error).__name__ + ": " + one_line(error)
                lines.append("\t".join([
                    str(i), info.filename.replace("\t", "\\t").replace("\n", "\\n"),
                    str(info.compress_type), str(info.compress_size), str(info.file_size),
                    "%08x" % info.CRC, "%04x" % info.flag_bits, status]))
    with open(os.path.join(out_dir, "entries.tsv"), "w", encoding="utf-8") as f:
        f.write("".join(line + "\n" for line in lines))


if __name__ == "__main__":
    if sys.argv[1] == "manifest":
        manifest(sys.argv[2])
    else:
        entries(sys.argv[2], sys.argv[3], sys.argv[4] if len(sys.argv) > 4 else "")
