#!/usr/bin/env python3
"""Measuring helpers of bench/run: start-up and memory of Windows programs under Wine, and
time and peak memory of native commands. Medians and spread over interleaved rounds."""
import argparse
import os
import pathlib
import resource
import statistics
import subprocess
import sys
import time


def vm_figures(name: str) -> dict:
    """VmHWM and VmRSS (KiB) of the Linux process whose command line runs `name`."""
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            cmdline = pathlib.Path(f"/proc/{pid}/cmdline").read_bytes().split(b"\0")[0].decode(errors="replace")
            if not cmdline.lower().endswith(name.lower()):
                continue
            status = pathlib.Path(f"/proc/{pid}/status").read_text()
        except OSError:
            continue
        figures = {}
        for line in status.splitlines():
            key, _, value = line.partition(":")
            if key in ("VmHWM", "VmRSS", "RssAnon", "RssFile"):
                figures[key] = int(value.split()[0])
        return figures
    return {}


def summary(values, unit, scale=1.0):
    values = sorted(v * scale for v in values)
    return (f"median {statistics.median(values):8.1f} {unit}  "
            f"(min {values[0]:.1f}, max {values[-1]:.1f}, n={len(values)})")


def startup(args) -> int:
    markers = pathlib.Path(args.markers)
    markers.mkdir(parents=True, exist_ok=True)
    programs = [p.split("=", 1) for p in args.programs]
    visible = {label: [] for label, _ in programs}
    created = {label: [] for label, _ in programs}
    hwm = {label: [] for label, _ in programs}
    for _ in range(args.rounds):
        for label, exe in programs:  # interleaved: load from elsewhere falls on all alike
            for marker in ("ready", "done"):
                (markers / marker).unlink(missing_ok=True)
            probe = subprocess.Popen([args.harness, "exec", args.wine_root, args.probe,
                                      exe, args.markers_windows, str(args.idle_ms)],
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            deadline = time.monotonic() + 90
            while not (markers / "ready").exists() and probe.poll() is None and time.monotonic() < deadline:
                time.sleep(0.02)
            figures = vm_figures(pathlib.PureWindowsPath(exe).name)
            (markers / "done").touch()
            out, _ = probe.communicate(timeout=60)
            fields = dict(f.split("=") for f in out.split() if "=" in f)
            if "visible_ms" not in fields or not figures:
                print(f"  {label}: no measurement ({out.strip()!r}, {figures})", file=sys.stderr)
                continue
            visible[label].append(float(fields["visible_ms"]))
            created[label].append(float(fields["create_ms"]))
            hwm[label].append(figures["VmHWM"])
    medians = {}
    for label, _ in programs:
        if not visible[label]:
            continue
        medians[label] = (statistics.median(visible[label]), statistics.median(hwm[label]))
        print(f"{label:>8}: start -> window visible {summary(visible[label], 'ms')}")
        print(f"{'':>8}  CreateProcessW alone     {summary(created[label], 'ms')}")
        print(f"{'':>8}  peak resident (VmHWM)    {summary(hwm[label], 'MiB', 1 / 1024)}")
    if {"full", "demo", "minimal"} <= medians.keys():
        full, demo, minimal = medians["full"], medians["demo"], medians["minimal"]
        print(f"ratios: full/demo start-up {full[0] / demo[0]:.2f} (target <= 1.10), "
              f"demo/minimal {demo[0] / minimal[0]:.2f} (target <= 2), "
              f"full - demo memory {(full[1] - demo[1]) / 1024:.1f} MiB (target <= 16)")
    if {"nsis", "demo", "minimal"} <= medians.keys():
        nsis, demo, minimal = medians["nsis"], medians["demo"], medians["minimal"]
        print(f"ratios: demo/minimal {demo[0] / minimal[0]:.2f} (target <= 2), "
              f"nsis/minimal {nsis[0] / minimal[0]:.2f}, demo/nsis {demo[0] / nsis[0]:.2f}")
    return 0


def command(args) -> int:
    """Runs a native command `rounds` times: wall time and peak resident memory (wait4)."""
    walls, peaks = [], []
    for _ in range(args.rounds):
        start = time.monotonic()
        child = subprocess.Popen(args.argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(child.pid, 0)
        walls.append(time.monotonic() - start)
        peaks.append(usage.ru_maxrss)
        if os.waitstatus_to_exitcode(status) != 0:
            print(f"  {args.label}: exit status {os.waitstatus_to_exitcode(status)}", file=sys.stderr)
    print(f"{args.label:>34}: wall {summary(walls, 'ms', 1000)}  peak RSS {summary(peaks, 'MiB', 1 / 1024)}")
    return 0


class PeakWatcher:
    """Reads VmHWM of the process running `name` every few milliseconds until stopped: the
    figure a process had just before it ended is the last one read."""

    def __init__(self, name: str):
        import threading
        self.name, self.peak, self.stop = name, 0, threading.Event()
        self.thread = threading.Thread(target=self.run, daemon=True)
        self.thread.start()

    def run(self):
        while not self.stop.is_set():
            self.peak = max(self.peak, vm_figures(self.name).get("VmHWM", 0))
            time.sleep(0.01)

    def finish(self) -> int:
        self.stop.set()
        self.thread.join()
        return self.peak


def reset_user_folders(user: pathlib.Path):
    import shutil
    for folder in (user / "AppData/Roaming/brvdll", user / "Documents/Ludrin"):
        shutil.rmtree(folder, ignore_errors=True)
    (user / "Desktop/Ludrin 4.lnk").unlink(missing_ok=True)


def installs(args) -> int:
    """Whole installations, interleaved: ours from the click to the outcome's message, a
    peer's silent run from process start to exit; fresh user folders before each round, and
    in the "again" scenario one untimed installation first, so that every file is replaced."""
    user = pathlib.Path(args.user_dir)
    contenders = [p.split("=", 1) for p in args.programs]
    times = {label: [] for label, _ in contenders}
    peaks = {label: [] for label, _ in contenders}

    def run(label, exe):
        ours = label.startswith("ours")  # ours, or another build of ours (ours-before)
        probe_args = ["--base-install", exe] if ours else ["--run", exe, "/S"]
        watcher = PeakWatcher(pathlib.PureWindowsPath(exe).name)
        out = subprocess.run([args.harness, "exec", args.wine_root, args.probe, *probe_args],
                             capture_output=True, text=True, timeout=600).stdout
        peak = watcher.finish()
        fields = dict(f.split("=", 1) for f in out.split() if "=" in f)
        key = "base_ms" if ours else "run_ms"
        if key not in fields or (not ours and fields.get("exit") != "0"):
            print(f"  {label}: no measurement ({out.strip()!r})", file=sys.stderr)
            return None
        if ours and not fields.get("message", "").startswith("OK!"):
            print(f"  {label}: the installation failed ({out.strip()!r})", file=sys.stderr)
            return None
        return float(fields[key]), peak

    for _ in range(args.rounds):
        for label, exe in contenders:
            reset_user_folders(user)
            if args.scenario == "again":
                run(label, exe)
            figures = run(label, exe)
            if figures:
                times[label].append(figures[0])
                peaks[label].append(figures[1])
    reset_user_folders(user)
    for label, _ in contenders:
        if times[label]:
            print(f"{label:>10}: {summary(times[label], 'ms')}  peak {summary(peaks[label], 'MiB', 1 / 1024)}")
    base = args.baseline
    if times.get("ours") and times.get(base):
        print(f"ratio ours / {base} (medians): time "
              f"{statistics.median(times['ours']) / statistics.median(times[base]):.2f} (target <= 1.0), "
              f"peak memory {(statistics.median(peaks['ours']) - statistics.median(peaks[base])) / 1024:+.1f} MiB "
              f"(target <= +16)")
    return 0


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__)
    sub = parser.add_subparsers(dest="what", required=True)
    s = sub.add_parser("startup")
    s.add_argument("--harness", required=True)
    s.add_argument("--wine-root", required=True)
    s.add_argument("--probe", required=True)
    s.add_argument("--markers", required=True, help="marker folder, Unix path")
    s.add_argument("--markers-windows", required=True, help="the same folder as Wine sees it")
    s.add_argument("--rounds", type=int, default=7)
    s.add_argument("--idle-ms", type=int, default=1000)
    s.add_argument("programs", nargs="+", help="LABEL=WINDOWS_PATH")
    c = sub.add_parser("command")
    c.add_argument("--rounds", type=int, default=7)
    c.add_argument("--label", required=True)
    c.add_argument("argv", nargs="+")
    i = sub.add_parser("installs")
    i.add_argument("--harness", required=True)
    i.add_argument("--wine-root", required=True)
    i.add_argument("--probe", required=True)
    i.add_argument("--user-dir", required=True, help="the Wine user's folder, Unix path")
    i.add_argument("--scenario", choices=("fresh", "again"), default="fresh")
    i.add_argument("--baseline", default="nsis-zlib")
    i.add_argument("--rounds", type=int, default=7)
    i.add_argument("programs", nargs="+", help="LABEL=WINDOWS_PATH; the label ours is clicked")
    args = parser.parse_args()
    return {"startup": startup, "command": command, "installs": installs}[args.what](args)


if __name__ == "__main__":
    sys.exit(main())
