#!/usr/bin/env python3
"""The built installer as pefile reads it: version resource, manifest and imports."""
import sys

import pefile

# DLLs that Windows always loads from the system folder (KnownDLLs), plus comctl32,
# which the manifest redirects to the side-by-side version 6.
ALLOWED_IMPORTS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll", "oleaut32.dll",
    "advapi32.dll", "msvcrt.dll", "shlwapi.dll", "comdlg32.dll", "comctl32.dll",
    "ws2_32.dll", "rpcrt4.dll", "sechost.dll", "combase.dll", "imagehlp.dll", "setupapi.dll",
    "api-ms-win-crt-runtime-l1-1-0.dll",
}


def main(path: str) -> int:
    pe = pefile.PE(path)
    failures = []

    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]:
        failures.append("not an x86-64 image")
    if pe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
        failures.append("not a GUI program")

    # Page-aligned file offsets let a page-by-page loader map the payload in place.
    file_alignment = pe.OPTIONAL_HEADER.FileAlignment
    if file_alignment != pe.OPTIONAL_HEADER.SectionAlignment or file_alignment % 0x1000:
        failures.append(f"file alignment {file_alignment:#x}, section alignment "
                        f"{pe.OPTIONAL_HEADER.SectionAlignment:#x}: the image cannot be mapped page by page")
    for section in pe.sections:
        if section.Name.rstrip(b"\0") == b".rsrc" and section.PointerToRawData % 0x1000:
            failures.append(f"resource section at file offset {section.PointerToRawData:#x}, not page-aligned")

    strings = {}
    translations = []
    for info in getattr(pe, "FileInfo", []):
        for entry in info:
            if entry.Key == b"StringFileInfo":
                for table in entry.StringTable:
                    strings[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
            if entry.Key == b"VarFileInfo":
                for var in entry.Var:
                    translations.extend(var.entry.values())
    if list(strings) != ["040904e4"] and list(strings) != ["040904E4"]:
        failures.append(f"string tables {list(strings)}, expected one for 040904E4")
    table = next(iter(strings.values()), {})
    if table.get("FileVersion") != "1.0.0.0":
        failures.append(f"FileVersion {table.get('FileVersion')!r}")
    if not translations or translations[0].lower() != "0x0409 0x04e4":
        failures.append(f"translations {translations}")

    manifest = None
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if rtype.id == pefile.RESOURCE_TYPE["RT_MANIFEST"]:
            data = rtype.directory.entries[0].directory.entries[0].data.struct
            manifest = pe.get_data(data.OffsetToData, data.Size).decode("utf-8")
    if manifest is None:
        failures.append("no manifest")
    else:
        for needle in ('level="asInvoker"', "PerMonitorV2", "Microsoft.Windows.Common-Controls"):
            if needle not in manifest:
                failures.append(f"manifest lacks {needle}")

    # Delay-loaded DLLs are searched for like static ones when first called.
    imports = sorted(entry.dll.decode().lower()
                     for directory in ("DIRECTORY_ENTRY_IMPORT", "DIRECTORY_ENTRY_DELAY_IMPORT")
                     for entry in getattr(pe, directory, []))
    unexpected = [dll for dll in imports if dll not in ALLOWED_IMPORTS]
    if unexpected:
        failures.append(f"imports DLLs that could be planted beside the installer: {unexpected}")

    print(f"imports: {', '.join(imports)}")
    print(f"version strings: {table}")
    for failure in failures:
        print(f"FAIL: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
