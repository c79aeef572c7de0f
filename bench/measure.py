#!/usr/bin/python3
"""Runs the benchmarks against an X display that run-all.sh has set up, and prints a table.

Start-up: the program and its floors are launched in turn (ABBA order, after warm-up
launches that are not counted); each launch is timed by avo-xprobe from exec to the first
painted top-level window, then its memory is read after an idle second.
Animation: avo-xprobe opens the About window and records its repaints for ten seconds.
"""

import argparse
import json
import os
import platform
import shlex
import statistics
import subprocess
import sys
from datetime import datetime, timezone

MIB = 1024


def probe(probe_path, mode, argv, extra=(), timeout=120):
    """One probe run: its key=value line as a dict, or None when it failed."""
    command = [probe_path, mode, *extra, "--", *argv]
    try:
        done = subprocess.run(command, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        print(f"  timed out: {' '.join(argv)}", file=sys.stderr)
        return None
    if done.returncode != 0:
        print(f"  failed: {' '.join(argv)}: {done.stderr.strip()[-300:]}", file=sys.stderr)
        return None
    line = done.stdout.strip().splitlines()[0]
    return dict(field.split("=", 1) for field in line.split())


def summary(values):
    if not values:
        return None
    return {"median": statistics.median(values), "min": min(values), "max": max(values),
            "n": len(values)}


def interleaved_startups(probe_path, pair, runs, warmup):
    """pair: {name: argv}, two or more; returns {name: {painted_ms: [...], rss_kib: [...]}}"""
    names = list(pair)
    keys = ("painted_ms", "mapped_ms", "cpu_ms", "rss_kib", "hwm_kib")
    results = {name: {**{key: [] for key in keys}, "failures": 0} for name in names}
    for round_number in range(warmup + runs):
        # ABBA: neither side always goes first after the other has warmed the caches.
        order = names if round_number % 2 == 0 else names[::-1]
        for name in order:
            result = probe(probe_path, "startup", pair[name])
            if round_number < warmup:
                continue
            if result is None:
                results[name]["failures"] += 1
                continue
            for key in keys:
                results[name][key].append(float(result[key]))
        print(f"  round {round_number + 1}/{warmup + runs}", file=sys.stderr, end="\r")
    print(file=sys.stderr)
    return results


def animation_runs(probe_path, pair, rounds, seconds):
    """Alternates the program and the baseline; pools every repaint interval of a side."""
    names = list(pair)
    pooled = {name: {"intervals": [], "cpu_pct": [], "foreign": 0, "damage_boxes": set(),
                     "failures": 0} for name in names}
    for round_number in range(rounds):
        order = names if round_number % 2 == 0 else names[::-1]
        for name in order:
            result = run_animation(probe_path, pair[name], seconds)
            side = pooled[name]
            if result is None:
                side["failures"] += 1
                continue
            side["intervals"] += result["intervals"]
            side["cpu_pct"].append(float(result["cpu_pct"]))
            side["foreign"] += int(result["foreign"])
            side["damage_boxes"].add(result["damage_box"])
    for side in pooled.values():
        side["damage_boxes"] = sorted(side["damage_boxes"])
    return pooled


def run_animation(probe_path, argv, seconds):
    command = [probe_path, "animation", "--list", "--seconds", str(seconds), "--", *argv]
    try:
        done = subprocess.run(command, capture_output=True, text=True, timeout=seconds + 120)
    except subprocess.TimeoutExpired:
        print(f"  timed out: {' '.join(argv)}", file=sys.stderr)
        return None
    if done.returncode != 0:
        print(f"  failed: {' '.join(argv)}: {done.stderr.strip()[-300:]}", file=sys.stderr)
        return None
    lines = done.stdout.strip().splitlines()
    result = dict(field.split("=", 1) for field in lines[0].split())
    result["intervals"] = [float(line.split()[1]) for line in lines[1:] if line.startswith("interval ")]
    return result


def stripped_size(strip_tool, path):
    if not path or not os.path.exists(path):
        return None
    copy = path + ".stripped"
    subprocess.run([strip_tool, "-o", copy, path], check=True)
    size = os.path.getsize(copy)
    os.remove(copy)
    return size


def fmt(value, unit="", digits=1):
    return "n/a" if value is None else f"{value:.{digits}f}{unit}"


def verdict(ok):
    return "n/a" if ok is None else ("meets" if ok else "MISSES")


def startup_rows(label, results, program, baseline, max_ratio, rss_allowance_mib):
    """max_ratio bounds both wall and CPU time to painted against the baseline; None: the
    rows only report."""
    rows = []

    def judged(ok):
        return verdict(ok) if max_ratio is not None else "n/a"

    target = "(reported)" if max_ratio is None else f"≤ {max_ratio} x"
    p, b = summary(results[program]["painted_ms"]), summary(results[baseline]["painted_ms"])
    if p and b:
        ratio = p["median"] / b["median"]
        rows.append([f"{label}: start-up to painted, median (min–max) [n]",
                     f"{p['median']:.0f} ms ({p['min']:.0f}–{p['max']:.0f}) [{p['n']}]",
                     f"{b['median']:.0f} ms ({b['min']:.0f}–{b['max']:.0f}) [{b['n']}]",
                     f"{ratio:.2f} x", target, judged(max_ratio and ratio <= max_ratio)])
    p, b = summary(results[program]["cpu_ms"]), summary(results[baseline]["cpu_ms"])
    if p and b:
        # CPU time, unlike wall time, hardly grows when other work competes for the cores.
        ratio = p["median"] / b["median"]
        rows.append([f"{label}: CPU time to painted (all threads), median",
                     f"{p['median']:.0f} ms", f"{b['median']:.0f} ms",
                     f"{ratio:.2f} x", target, judged(max_ratio and ratio <= max_ratio)])
    for key, name in (("rss_kib", "VmRSS"), ("hwm_kib", "VmHWM")):
        p, b = summary(results[program][key]), summary(results[baseline][key])
        if not (p and b):
            continue
        extra = (p["median"] - b["median"]) / MIB
        target, ok = "", None
        if key == "rss_kib" and rss_allowance_mib is not None:
            target, ok = f"≤ baseline + {rss_allowance_mib} MiB", extra <= rss_allowance_mib
        rows.append([f"{label}: {name} after 1 s idle, median",
                     f"{p['median'] / MIB:.1f} MiB", f"{b['median'] / MIB:.1f} MiB",
                     f"{extra:+.1f} MiB", target or "(reported)", verdict(ok)])
    failures = results[program]["failures"] + results[baseline]["failures"]
    if failures:
        rows.append([f"{label}: failed launches", str(results[program]["failures"]),
                     str(results[baseline]["failures"]), "", "0", verdict(False)])
    return rows


def percentile(values, p):
    """Nearest rank, as the probe computes it."""
    ordered = sorted(values)
    rank = max(1, -(-len(ordered) * p // 100))
    return ordered[min(int(rank), len(ordered)) - 1]


def animation_cells(side):
    if not side["intervals"]:
        return None
    gaps = side["intervals"]
    return {"median": statistics.median(gaps), "p99": percentile(gaps, 99), "max": max(gaps),
            "n": len(gaps), "cpu": statistics.mean(side["cpu_pct"]), "foreign": side["foreign"],
            "boxes": " ".join(side["damage_boxes"])}


def animation_rows(label, pooled, program, baseline, cpu_ratio, timing_targets=True):
    """The CPU row is held to cpu_ratio times the floor's; the timing and area rows only where
    timing_targets is set (under wine the frame times are the X driver's and the scheduler's)."""
    p = animation_cells(pooled[program])
    b = animation_cells(pooled.get(baseline, {"intervals": []})) if baseline else None
    if p is None:
        return [[f"{label}: animation", "failed", "", "", "", verdict(False)]]
    check = verdict if timing_targets else (lambda ok: "(reported)")

    def timing(c):
        return "" if c is None else f"{c['median']:.2f} ms ({c['p99']:.2f}, {c['max']:.2f}) [{c['n']}]"

    return [
        [f"{label}: maker's name repaint interval, median (p99, max) [intervals]", timing(p), timing(b),
         "" if b is None else f"p99 {p['p99'] / b['p99']:.2f} x", "30 ± 0.5 ms, p99 ≤ 34 ms",
         check(abs(p["median"] - 30) <= 0.5 and p["p99"] <= 34)],
        [f"{label}: CPU while animating (% of one core, mean)", f"{p['cpu']:.2f} %",
         "" if b is None else f"{b['cpu']:.2f} %", "" if b is None or not b["cpu"] else f"{p['cpu'] / b['cpu']:.2f} x",
         f"≤ {cpu_ratio} x the floor's", verdict(b is None or p["cpu"] <= cpu_ratio * b["cpu"])],
        [f"{label}: repaints outside the name's rectangle (damaged area)",
         f"{p['foreign']} ({p['boxes']})", "" if b is None else f"{b['foreign']} ({b['boxes']})", "",
         "0", check(p["foreign"] == 0)],
    ]


def size_rows(sizes):
    rows = []
    for label, program, baseline, limit in sizes:
        if program is None:
            continue
        ok = None if limit is None else program <= limit
        rows.append([label, f"{program / 1024:.0f} KiB ({program} B)",
                     "" if baseline is None else f"{baseline / 1024:.0f} KiB",
                     "" if baseline is None else f"{program / baseline:.1f} x",
                     "(reported)" if limit is None else f"≤ {limit // 1024} KiB",
                     verdict(ok)])
    return rows


def table(rows):
    head = ["measure", "program", "floor", "program / floor", "target", ""]
    lines = ["| " + " | ".join(head) + " |", "|" + "---|" * len(head)]
    lines += ["| " + " | ".join(row) + " |" for row in rows]
    return "\n".join(lines)


def run_medians(raw, keys, side, measure):
    return [statistics.median(raw[key][side][measure]) if raw[key][side][measure] else None
            for key in keys]


def compact_rows(label, raw, keys, floor, max_ratio, rss_allowance_mib, program="program"):
    """One row per measure, the runs' medians side by side: program, floor, ratio (or excess)."""
    rows = []
    for measure, name in (("painted_ms", "start-up to painted"), ("cpu_ms", "CPU time to painted"),
                          ("rss_kib", "VmRSS after 1 s idle")):
        p, b = run_medians(raw, keys, program, measure), run_medians(raw, keys, floor, measure)
        if None in p or None in b:
            continue
        if measure == "rss_kib":
            values = [f"{x / MIB:.1f}" for x in p], [f"{x / MIB:.1f}" for x in b]
            excess = [(x - y) / MIB for x, y in zip(p, b)]
            compared = " / ".join(f"{e:+.1f}" for e in excess) + " MiB"
            limit, ok = rss_allowance_mib, None
            if limit is not None:
                ok = all(e <= limit for e in excess)
            target = "(reported)" if limit is None else f"≤ floor + {limit} MiB"
            unit = " MiB"
        else:
            values = [f"{x:.0f}" for x in p], [f"{x:.0f}" for x in b]
            ratios = [x / y for x, y in zip(p, b)]
            compared = " / ".join(f"{r:.2f}" for r in ratios) + " x"
            ok = None if max_ratio is None else all(r <= max_ratio for r in ratios)
            target = "(reported)" if max_ratio is None else f"≤ {max_ratio} x"
            unit = " ms"
        rows.append([f"{label}: {name}", " / ".join(values[0]) + unit,
                     " / ".join(values[1]) + unit, compared, target, verdict(ok)])
    return rows


def parse_arguments():
    parser = argparse.ArgumentParser()
    parser.add_argument("--probe", required=True)
    parser.add_argument("--qt-program")
    parser.add_argument("--qt-baseline", required=True)
    parser.add_argument("--windows", nargs=4, action="append", default=[],
                        metavar=("LABEL", "WINE", "PROGRAM", "BASELINE_DIR"),
                        help="a Windows build under wine: WINE is the command line that starts "
                             "a program (environment and loader), BASELINE_DIR holds its floors")
    parser.add_argument("--suspects", action="append", default=[], metavar="LABEL",
                        help="also price the background and the faces on this build's floor")
    parser.add_argument("--linux-exe-for-size")
    parser.add_argument("--i686-program", help="for its size")
    parser.add_argument("--i686-baseline", help="for its size")
    parser.add_argument("--runs", type=int, default=25)
    parser.add_argument("--startup-repeats", type=int, default=3,
                        help="independent start-up runs, each reported on its own rows")
    parser.add_argument("--warmup", type=int, default=2)
    parser.add_argument("--animation-seconds", type=float, default=10)
    parser.add_argument("--animation-rounds", type=int, default=2)
    parser.add_argument("--out", required=True)
    return parser.parse_args()


def linux_startup(args, suffix, raw, key):
    print("Linux start-up (program, fair and plain Qt floors)" + suffix, file=sys.stderr)
    raw[key] = interleaved_startups(
        args.probe, {"program": [args.qt_program],
                     "fair": [args.qt_baseline, "--program-faces"],
                     "plain": [args.qt_baseline]},
        args.runs, args.warmup)
    return (startup_rows(f"Linux{suffix}, fair floor", raw[key], "program", "fair", 1.05, 1)
            + startup_rows(f"Linux{suffix}, plain floor", raw[key], "program", "plain", None, None))


# The floors of a Windows build: the one with the program's manifest is the one the targets
# are held to; the suspects add one thing each to it.
FLOORS = {"manifest": "avo-win32-manifest-baseline.exe", "plain": "avo-win32-baseline.exe"}
SUSPECTS = {"picture": ("the background decoded and painted", "avo-win32-picture-baseline.exe"),
            "faces": ("the program's faces", "avo-win32-faces-baseline.exe")}


def windows_startup(args, build, suffix, raw, key):
    label, wine, program, floors = build
    wine = shlex.split(wine)
    sides = {"program": [*wine, program]}
    sides |= {name: [*wine, os.path.join(floors, exe)] for name, exe in FLOORS.items()}
    suspects = SUSPECTS if label in args.suspects else {}
    sides |= {name: [*wine, os.path.join(floors, exe)] for name, (_, exe) in suspects.items()}
    print(f"Windows start-up, {label}: program and floors{suffix}", file=sys.stderr)
    raw[key] = interleaved_startups(args.probe, sides, args.runs, max(args.warmup, 3))
    rows = startup_rows(f"{label}{suffix}, floor with manifest", raw[key], "program", "manifest",
                        1.1, 1.5)
    rows += startup_rows(f"{label}{suffix}, plain floor", raw[key], "program", "plain", None, None)
    for name, (what, _) in suspects.items():
        rows += startup_rows(f"{label}{suffix}: floor with manifest and {what}", raw[key], name,
                             "manifest", None, None)
    return rows


def sizes(args):
    def size(path):
        return os.path.getsize(path) if path and os.path.exists(path) else None

    return size_rows([
        ("Linux executable, stripped", stripped_size("strip", args.linux_exe_for_size),
         stripped_size("strip", args.qt_baseline), None),
        ("i686 avodevivu.exe (the build strips it; the floor stripped)", size(args.i686_program),
         stripped_size("i686-w64-mingw32-strip", args.i686_baseline), 1024 * 1024),
    ])


def compact_summary(args, raw, repeats):
    rows = []
    if args.qt_program:
        keys = [f"linux{repeat}" for repeat in repeats]
        rows += compact_rows("Linux, fair floor", raw, keys, "fair", 1.05, 1)
        rows += compact_rows("Linux, plain floor", raw, keys, "plain", None, None)
    for number, (label, *_) in enumerate(args.windows):
        keys = [f"windows{number}.{repeat}" for repeat in repeats]
        rows += compact_rows(f"{label}, floor with manifest", raw, keys, "manifest", 1.1, 1.5)
        rows += compact_rows(f"{label}, plain floor", raw, keys, "plain", None, None)
        if label in args.suspects:
            for name, (what, _) in SUSPECTS.items():
                rows += compact_rows(f"{label}: floor with manifest and {what}", raw, keys,
                                     "manifest", None, None, program=name)
    return rows


def main():
    args = parse_arguments()
    rows, animation, raw = [], [], {}
    repeats = range(1, args.startup_repeats + 1)
    for repeat in repeats:
        suffix = f" (run {repeat}/{args.startup_repeats})"
        if args.qt_program:
            rows += linux_startup(args, suffix, raw, f"linux{repeat}")
        for number, build in enumerate(args.windows):
            rows += windows_startup(args, build, suffix, raw, f"windows{number}.{repeat}")
    if args.qt_program:
        print("Linux animation (program and Qt floor, alternately)", file=sys.stderr)
        raw["linux_animation"] = animation_runs(
            args.probe, {"program": [args.qt_program], "baseline": [args.qt_baseline]},
            args.animation_rounds, args.animation_seconds)
        animation += animation_rows("Linux", raw["linux_animation"], "program", "baseline", 1.05)
    for number, (label, wine, program, floors) in enumerate(args.windows):
        print(f"Windows animation, {label} (program and floor with manifest)", file=sys.stderr)
        wine = shlex.split(wine)
        pair = {"program": [*wine, program],
                "baseline": [*wine, os.path.join(floors, FLOORS["manifest"])]}
        raw[f"windows{number}.animation"] = animation_runs(
            args.probe, pair, args.animation_rounds, args.animation_seconds)
        animation += animation_rows(label, raw[f"windows{number}.animation"], "program",
                                    "baseline", 1.1, timing_targets=False)
    summary_rows = compact_summary(args, raw, repeats) + animation + sizes(args)

    text = table(summary_rows) + "\n\nEvery run on its own:\n\n" + table(rows)
    print(text)
    os.makedirs(args.out, exist_ok=True)
    stamp = datetime.now(timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    with open(os.path.join(args.out, "results.md"), "w") as f:
        f.write(f"Measured {stamp} on {platform.node()}\n\n{text}\n")
    with open(os.path.join(args.out, "results.json"), "w") as f:
        json.dump(raw, f, indent=1, default=list)


if __name__ == "__main__":
    main()
