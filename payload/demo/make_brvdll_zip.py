#!/usr/bin/env python3
"""Writes the demo payload archive brvdll.zip: the shared-library folder's real shape, with
DOS attributes (folders 0x10, files 0x20) made by an MS-DOS/FAT host, deflated files and
fixed time stamps, so that every build writes the same bytes."""
import sys
import zipfile

TIMESTAMP = (2014, 7, 17, 12, 0, 0)
DOS_HOST = 0
ATTR_DIRECTORY = 0x10
ATTR_ARCHIVE = 0x20

FOLDERS = [
    "brvdll/",
    "brvdll/doctotext/",
    "brvdll/doctotext/resources/",
    "brvdll/LibAV/",
    "brvdll/regset/",  # stays empty: the player writes its settings there
]


def binary_blob(size: int, seed: int) -> bytes:
    # Machine-code-like bytes with runs of padding, from a fixed-seed generator of our own so
    # that every Python version writes the same bytes.
    state = seed

    def next_value(limit: int) -> int:
        nonlocal state
        state = (state * 6364136223846793005 + 1442695040888963407) % (1 << 64)
        return (state >> 33) % limit

    out = bytearray()
    while len(out) < size:
        out += bytes(next_value(256) for _ in range(16 + next_value(184)))
        out += bytes([(0x00, 0xCC, 0x90)[next_value(3)]]) * (4 + next_value(60))
    return bytes(out[:size])


def text(lines: list[str]) -> bytes:
    return "\r\n".join(lines).encode("utf-8") + b"\r\n"


FILES = [
    ("brvdll/leggimi.txt", text(["Librerie condivise di Ludrin.",
                                 "Installate dal programma di installazione della suite Brenvoss."])),
    ("brvdll/doctotext/doctotext.cfg", text(["[doctotext]", "lingua=it", "codifica=utf-8"])),
    ("brvdll/doctotext/resources/lingue.txt",
     text([f"{code}={name}" for code, name in (("it", "Italiano"), ("en", "Inglese"),
                                               ("de", "Tedesco"), ("fr", "Francese"))] * 20)),
    ("brvdll/doctotext/resources/stopwords.bin", binary_blob(24 * 1024, 11)),
    ("brvdll/LibAV/leggimi-libav.txt", text(["Decodificatori audio e video."] * 8)),
    ("brvdll/LibAV/libav-demo.bin", binary_blob(96 * 1024, 12)),
]


def info(name: str, attributes: int, compress_type: int) -> zipfile.ZipInfo:
    entry = zipfile.ZipInfo(name, date_time=TIMESTAMP)
    entry.create_system = DOS_HOST
    entry.external_attr = attributes
    entry.compress_type = compress_type
    return entry


def main(path: str) -> int:
    with zipfile.ZipFile(path, "w") as archive:
        for folder in FOLDERS:
            archive.writestr(info(folder, ATTR_DIRECTORY, zipfile.ZIP_STORED), b"")
        for name, data in FILES:
            archive.writestr(info(name, ATTR_ARCHIVE, zipfile.ZIP_DEFLATED), data,
                             compresslevel=9)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
