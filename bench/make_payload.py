#!/usr/bin/env python3
"""Writes the five payload files beside the archive at their shipped sizes: the two
programs as machine-code-like bytes (random instructions between padding runs), the
three codec installers as random bytes like the compressed data they carry. The same
bytes on every run (fixed seeds)."""
import pathlib
import random
import sys

PROGRAMS = {"LUD.exe": 931_328, "Ludrin.exe": 6_783_488}
INSTALLERS = {
    "LAVFilters-0.75.0-2.exe": 14_088_165,
    "ffdshow_rev4532_20140717_clsid.exe": 4_765_279,
    "AviSynth_260.exe": 6_514_961,
}


def machine_code_like(size: int, seed: int) -> bytes:
    rng = random.Random(seed)
    out = bytearray()
    while len(out) < size:
        out += rng.randbytes(rng.randint(64, 2048))
        out += bytes([rng.choice((0x00, 0xCC, 0x90, 0xFF))]) * rng.randint(2, 300)
    return bytes(out[:size])


def main(folder: str) -> int:
    out = pathlib.Path(folder)
    out.mkdir(parents=True, exist_ok=True)
    for seed, (name, size) in enumerate(PROGRAMS.items(), 1):
        path = out / name
        if not path.exists() or path.stat().st_size != size:
            path.write_bytes(machine_code_like(size, seed))
    for seed, (name, size) in enumerate(INSTALLERS.items(), 10):
        path = out / name
        if not path.exists() or path.stat().st_size != size:
            path.write_bytes(random.Random(seed).randbytes(size))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
