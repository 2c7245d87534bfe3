#!/usr/bin/env python3
"""How the directory load grows on the two archive shapes that once made it quadratic.

    bench/hostile_growth.py WORK_DIR ROUNDS NAME=LUDRIN_PACK [NAME=LUDRIN_PACK ...]

Shapes, each at four sizes that double:
  descriptors  N empty stored entries whose local headers announce a data descriptor
               without its signature, and no central directory: the reader rebuilds the directory from the local headers;
  equal names  N entries all named "same.dll" in an intact directory: the name index.

Times `ludrin-pack list-zip` (listing to /dev/null) of each build given, interleaved round by
round, and prints medians and the cost per entry, so that linear growth shows as a flat rate
(4x the entries, about 4x the time) and quadratic growth as a rate that doubles.
"""
import os
import statistics
import struct
import subprocess
import sys
import time
import zlib


def local_header(name, flags, crc, size):
    return struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, 0, 0, 0, crc, size, size,
                       len(name), 0) + name


def make_descriptors(path, count):
    # Empty entries, each header with bit 3 and followed by an unsigned descriptor (CRC and
    # sizes alone): the rebuild has to search for each one.
    out = bytearray()
    for i in range(count):
        out += local_header(b"e%07d" % i, 0x08, 0, 0)
        out += struct.pack("<III", 0, 0, 0)
    with open(path, "wb") as f:
        f.write(out)


def make_equal_names(path, count):
    name = b"same.dll"
    data = b"x"
    crc = zlib.crc32(data)
    local = local_header(name, 0, crc, len(data)) + data
    central = bytearray()
    for i in range(count):
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, 0, 0, 0, crc,
                               len(data), len(data), len(name), 0, 0, 0, 0, 0x20,
                               i * len(local)) + name
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, min(count, 0xFFFF), min(count, 0xFFFF),
                      len(central), count * len(local), 0)
    with open(path, "wb") as f:
        f.write(local * count + central + end)


def timed(command):
    start = time.perf_counter()
    subprocess.run(command, check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    work, rounds = sys.argv[1], int(sys.argv[2])
    builds = [arg.split("=", 1) for arg in sys.argv[3:]]
    os.makedirs(work, exist_ok=True)
    shapes = [("descriptors", make_descriptors, (2000, 4000, 8000, 16000)),
              # More than 65,535 entries would need Zip64 records: stay below.
              ("equal names", make_equal_names, (8000, 16000, 32000, 64000))]
    print(f"{'shape':>12} {'entries':>8} " +
          " ".join(f"{name + ' ms':>14} {'us/entry':>9}" for name, _ in builds))
    for shape, make, sizes in shapes:
        for count in sizes:
            archive = os.path.join(work, f"{shape.replace(' ', '-')}-{count}.zip")
            if not os.path.exists(archive):
                make(archive + ".part", count)
                os.replace(archive + ".part", archive)
            times = {name: [] for name, _ in builds}
            for _ in range(rounds):
                for name, pack in builds:
                    times[name].append(timed([pack, "list-zip", archive]))
            cells = []
            for name, _ in builds:
                median = statistics.median(times[name])
                cells.append(f"{median * 1e3:>14.1f} {median / count * 1e6:>9.1f}")
            print(f"{shape:>12} {count:>8} " + " ".join(cells), flush=True)


if __name__ == "__main__":
    main()
