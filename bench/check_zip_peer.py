#!/usr/bin/env python3
"""`ludrin-pack check-zip` beside bsdtar's extraction of the same archive.

    bench/check_zip_peer.py LUDRIN_PACK WORK_DIR ROUNDS [ARCHIVE ...]

Always measures an archive of 100,000 one-byte entries (made once in WORK_DIR), then each
ARCHIVE given (the real-DLL payload archive of bench/make_real_payload.py, say). Each round
runs both tools into fresh folders in /dev/shm (the tools' cost, not the disk's),
interleaved; prints medians and the ratio. check-zip does more than bsdtar: it extracts
with the installer's settings and then reads every file back against its CRC-32.
"""
import os
import shutil
import statistics
import subprocess
import sys
import time
import zipfile


def make_tiny(path, count=100_000):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_STORED) as archive:
        for i in range(count):
            archive.writestr(f"t{i // 1000:03}/f{i:06}.bin", bytes([i & 0xFF]))


def timed(command):
    start = time.perf_counter()
    done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        raise SystemExit(f"{command[0]} failed ({done.returncode}): {done.stderr.decode()[:400]}")
    return elapsed


def main():
    pack, work, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
    os.makedirs(work, exist_ok=True)
    tiny = os.path.join(work, "tiny-100000.zip")
    if not os.path.exists(tiny):
        make_tiny(tiny + ".part")
        os.replace(tiny + ".part", tiny)
    shm = "/dev/shm" if os.access("/dev/shm", os.W_OK) else work
    out = os.path.join(shm, "ludrin-check-zip-peer")
    tools = {
        "check-zip": lambda archive: [pack, "check-zip", archive, "--to", out],
        "bsdtar": lambda archive: ["bsdtar", "-xf", archive, "-C", out],
    }
    print(f"{'archive':>24} {'check-zip ms':>13} {'bsdtar ms':>10} {'ratio':>6}")
    for archive in [tiny, *sys.argv[4:]]:
        times = {name: [] for name in tools}
        for _ in range(rounds):
            for name, command in tools.items():
                shutil.rmtree(out, ignore_errors=True)
                os.makedirs(out)
                times[name].append(timed(command(archive)))
        shutil.rmtree(out, ignore_errors=True)
        ours, peer = (statistics.median(times[name]) for name in tools)
        print(f"{os.path.basename(archive):>24} {ours * 1e3:>13.1f} {peer * 1e3:>10.1f} "
              f"{ours / peer:>6.2f}", flush=True)


if __name__ == "__main__":
    main()
