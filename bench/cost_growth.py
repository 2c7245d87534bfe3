#!/usr/bin/env python3
"""How extraction and the directory load grow with an archive's entry count and size.

    bench/cost_growth.py EXTRACT_BENCH LUDRIN_PACK WORK_DIR [ROUNDS]

Makes archives of 1,000 / 10,000 / 100,000 small entries and of about 10 / 100 / 1,000 MB
(DLL-like content, deflated, 100 entries), then times, as child processes, the directory
load (`ludrin-pack list-zip`, listing to /dev/null) and the extraction with the
installer's settings (`ludrin_zip_extract_bench --extract`) into a fresh folder: in
/dev/shm when it is writable (the reader's cost, not the disk's; GROWTH_OUT=DIR elsewhere).
Prints medians and the cost per entry / per MB, so that linear growth shows as a flat rate.
"""
import os
import random
import shutil
import statistics
import subprocess
import sys
import time
import zipfile


def dll_like(rng, size):
    # Code-like stretches of a small alphabet between runs of zeros: deflates to about half.
    out = bytearray()
    while len(out) < size:
        out += bytes(rng.choice(b"\x8b\x48\x89\xe8\xc3\x0f\x45\x33\xff\x24") for _ in range(256))
        out += b"\x00" * rng.randrange(64, 512)
    return bytes(out[:size])


def make_entries(path, count):
    rng = random.Random(count)
    pieces = [dll_like(rng, 2048) for _ in range(16)]
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for i in range(count):
            archive.writestr(f"d{i // 1000:03}/f{i:06}.dll", pieces[i % 16][: 512 + i % 1024])


def make_size(path, megabytes, entries=100):
    rng = random.Random(megabytes)
    block = dll_like(rng, 1 << 20)
    per_entry = megabytes * (1 << 20) // entries
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=1) as archive:
        for i in range(entries):
            with archive.open(f"lib/f{i:03}.dll", "w", force_zip64=False) as out:
                left = per_entry
                while left > 0:
                    chunk = block[: min(left, len(block))]
                    # Vary each MiB a little so that it is not one repeated stretch.
                    out.write(bytes([i & 0xFF]) + chunk[1:])
                    left -= len(chunk)


def timed(command):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    extract_bench, ludrin_pack, work = sys.argv[1:4]
    rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 5
    os.makedirs(work, exist_ok=True)
    shm = "/dev/shm" if os.access("/dev/shm", os.W_OK) else work
    out_parent = os.environ.get("GROWTH_OUT", shm)
    print(f"extracting below {out_parent}")
    cases = [("entries", n, lambda p, n=n: make_entries(p, n)) for n in (1000, 10000, 100000)]
    cases += [("MB", m, lambda p, m=m: make_size(p, m)) for m in (10, 100, 1000)]
    print(f"{'archive':>16} {'packed MB':>10} {'load ms':>9} {'extract ms':>11} {'per unit':>22}")
    for unit, amount, make in cases:
        archive = os.path.join(work, f"growth-{amount}{unit}.zip")
        if not os.path.exists(archive):
            make(archive + ".part")
            os.replace(archive + ".part", archive)
        loads, extracts = [], []
        for _ in range(rounds):
            loads.append(timed([ludrin_pack, "list-zip", archive]))
            target = os.path.join(out_parent, "ludrin-growth-out")
            shutil.rmtree(target, ignore_errors=True)
            os.makedirs(target)
            extracts.append(timed([extract_bench, "--extract", archive, target]))
            shutil.rmtree(target, ignore_errors=True)
        load, extract = statistics.median(loads), statistics.median(extracts)
        rate = f"{load / amount * 1e6:.2f} / {extract / amount * 1e6:.1f} us" if unit == "entries" \
            else f"{load / amount * 1e3:.3f} / {extract / amount * 1e3:.2f} ms"
        print(f"{amount:>9} {unit:<6} {os.path.getsize(archive) / 1e6:>10.1f} {load * 1e3:>9.1f} "
              f"{extract * 1e3:>11.1f} {rate:>22}")


if __name__ == "__main__":
    main()
