#!/usr/bin/env python3
"""Writes a payload made of real PE files: brvdll.zip from 229 of Wine's own x86-64 DLLs
(about 100 MB unpacked) in the shared-library folder's shape, the same files unpacked in
FOLDER/tree for the NSIS peer, and the five other payload files of make_payload.py.

The archive lists its files alternating between folders, as real archives do (they are
written in the order their authors added them), which is the hard case for per-folder
caches. Fixed time stamps and DOS attributes, deflated at zlib's default level."""
import pathlib
import shutil
import subprocess
import sys
import zipfile

WINE_DLLS = pathlib.Path("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows")
FILE_COUNT = 229
LARGEST = 2_000_000  # keeps the whole near 100 MB with the count of the shipped archive
FOLDERS = ["brvdll/", "brvdll/doctotext/", "brvdll/doctotext/resources/", "brvdll/LibAV/",
           "brvdll/regset/"]
FILE_FOLDERS = FOLDERS[:4]  # regset/ stays empty: the player writes its settings there
TIMESTAMP = (2014, 7, 17, 12, 0, 0)


def chosen_dlls() -> list[pathlib.Path]:
    candidates = sorted(p for p in WINE_DLLS.glob("*.dll") if p.stat().st_size < LARGEST)
    chosen = candidates[::2][:FILE_COUNT]
    if len(chosen) < FILE_COUNT:
        chosen += [p for p in candidates if p not in chosen][:FILE_COUNT - len(chosen)]
    if len(chosen) < FILE_COUNT:
        sys.exit(f"only {len(chosen)} DLLs in {WINE_DLLS}: is wine64 installed?")
    return chosen


def info(name: str, attributes: int, method: int) -> zipfile.ZipInfo:
    entry = zipfile.ZipInfo(name, date_time=TIMESTAMP)
    entry.create_system = 0  # MS-DOS: the external attributes are DOS attributes
    entry.external_attr = attributes
    entry.compress_type = method
    return entry


def main(folder: str) -> int:
    out = pathlib.Path(folder)
    out.mkdir(parents=True, exist_ok=True)
    archive_path = out / "brvdll.zip"
    tree = out / "tree"
    if not archive_path.exists() or not tree.exists():
        shutil.rmtree(tree, ignore_errors=True)
        for name in FOLDERS:
            (tree / name).mkdir(parents=True, exist_ok=True)
        partial = archive_path.with_suffix(".part")
        with zipfile.ZipFile(partial, "w") as archive:
            for name in FOLDERS:
                archive.writestr(info(name, 0x10, zipfile.ZIP_STORED), b"")
            for number, dll in enumerate(chosen_dlls()):
                name = FILE_FOLDERS[number % len(FILE_FOLDERS)] + dll.name
                data = dll.read_bytes()
                archive.writestr(info(name, 0x20, zipfile.ZIP_DEFLATED), data, compresslevel=6)
                (tree / name).write_bytes(data)
        partial.rename(archive_path)
    subprocess.run([sys.executable, str(pathlib.Path(__file__).with_name("make_payload.py")),
                    str(out)], check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
