#!/usr/bin/env python3
"""Runs the benchmarks and writes their table into docs/performance.md.

Usage: scripts/perf-table.py [--build DIR] [--repetitions N] [--min-time SECONDS] [--no-build]

Builds prrsim_bench in the build directory (default: $PRRSIM_BUILD_DIR or build/), runs every
benchmark with repetitions in JSON format, and replaces the part of docs/performance.md between
the perf-table markers with a table of medians. Each benchmark runs the program's code (`now`)
and the code before the performance work (`before`, kept in bench/before and test support) in
the same run; the tick benchmarks also run the seeker's direct reading (`direct`), the exactness
tests' reference. The table gives before, now and their ratio (on CPU time, which a busy machine
disturbs least), each against its budget (10 ms per tick, 100 ms per redraw). The raw JSON is
kept next to the build as perf-results.json.
"""

import argparse
import json
import os
import platform
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DOC = ROOT / "docs" / "performance.md"
BEGIN = "<!-- perf-table:begin -->"
END = "<!-- perf-table:end -->"

TICK_BUDGET_NS = 10e6
REDRAW_BUDGET_NS = 100e6
BATCH_TICKS = 6000  # ticks of one batch scenario run (bench/batch_bench.cpp)

# Benchmark family, what the row says, budget (ns), how many ticks one iteration holds and the
# ratio of before to now the work set out to reach.
ROWS = [
    ("BM_DefaultSceneTick", "Default scene tick (start-up world + one capturing HARM)",
     TICK_BUDGET_NS, 1, None),
    ("BM_CapacityTickBeforeLaunch", "Capacity tick, 100 HARM on their carriers",
     TICK_BUDGET_NS, 1, 2.0),
    ("BM_CapacityTickInFlight", "Capacity tick, 100 HARM in flight", TICK_BUDGET_NS, 1, 2.0),
    ("BM_CapacityTickMixedInFlight", "Capacity tick, every missile type in flight",
     TICK_BUDGET_NS, 1, 2.0),
    ("BM_SeekerStepsNothingMemorised",
     "100 seeker steps at capacity with nothing memorised (heaviest reception)",
     TICK_BUDGET_NS, 1, None),
    ("BM_MapRedrawAtCapacity", "Map redraw at capacity (offscreen)", REDRAW_BUDGET_NS, None, 3.0),
    ("BM_MapRedrawAtCapacityAllOverlays", "Map redraw at capacity, every review overlay on",
     REDRAW_BUDGET_NS, None, None),
    ("BM_BatchRunnerDefaultWorld",
     "Batch runner, 60 s default-world scenario, no trace (per tick)",
     TICK_BUDGET_NS, BATCH_TICKS, 1.5),
    ("BM_BatchRunnerDefaultWorldTraced",
     "Batch runner, the same with a trace line every 100 ticks (per tick)",
     TICK_BUDGET_NS, BATCH_TICKS, 1.5),
]

# The redraw with every overlay on is held against the plain redraw's before: at most half.
OVERLAYS = ("BM_MapRedrawAtCapacityAllOverlays", "BM_MapRedrawAtCapacity", 0.5)


def run_benchmarks(binary, repetitions, min_time, out_json):
    cmd = [
        str(binary),
        "--benchmark_format=json",
        f"--benchmark_out={out_json}",
        "--benchmark_out_format=json",
        f"--benchmark_repetitions={repetitions}",
        "--benchmark_report_aggregates_only=true",
        f"--benchmark_min_time={min_time}",
    ]
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    subprocess.run(cmd, check=True, env=env, stdout=subprocess.DEVNULL)
    with open(out_json, encoding="utf-8") as f:
        return json.load(f)


def medians(results, key="real_time"):
    """{(family, code): median time (real or CPU) in ns} from the aggregate entries; code is
    now, before or direct."""
    scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
    out = {}
    for b in results["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        m = re.match(r"([A-Za-z_]+)/(now|before|direct)$", b["run_name"])
        if m:
            out[(m.group(1), m.group(2))] = b[key] * scale[b["time_unit"]]
    return out


def fmt_time(ns):
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.1f} µs"
    return f"{ns:.0f} ns"


def build_type(build):
    cache = Path(build) / "CMakeCache.txt"
    if cache.exists():
        m = re.search(r"^CMAKE_BUILD_TYPE:\w+=(.*)$", cache.read_text(encoding="utf-8"), re.M)
        if m:
            return m.group(1)
    return "?"


def table(results, repetitions, build):
    wall = medians(results)
    cpu = medians(results, "cpu_time")
    lines = [
        "| Benchmark | Before (CPU) | Now (CPU) | Before ÷ now | Goal | Now, wall clock | "
        "Share of budget (now) | Direct reading (CPU) |",
        "|---|---|---|---|---|---|---|---|",
    ]
    for family, label, budget, ticks, goal in ROWS:
        now = cpu.get((family, "now"))
        if now is None:
            continue
        per = ticks or 1
        before = cpu.get((family, "before"))
        direct = cpu.get((family, "direct"))
        ratio = f"{before / now:.2f} ×" if before else "—"
        goal_text = "—"
        if family == OVERLAYS[0]:
            plain_before = cpu.get((OVERLAYS[1], "before"))
            if plain_before:
                reached = now <= plain_before * OVERLAYS[2]
                goal_text = (f"≤ {OVERLAYS[2]:g} × the plain redraw before: "
                             f"{now / plain_before:.2f} × ({'met' if reached else 'not met'})")
        if goal:
            reached = before is not None and before / now >= goal
            goal_text = f"≥ {goal:g} × ({'met' if reached else 'not met'})"
        budget_text = "100 ms redraw" if budget == REDRAW_BUDGET_NS else "10 ms tick"
        lines.append(
            f"| {label} | {fmt_time(before / per) if before else '—'} | {fmt_time(now / per)} | "
            f"{ratio} | {goal_text} | {fmt_time(wall[(family, 'now')] / per)} | "
            f"{now / per / budget:.2%} of the {budget_text} | "
            f"{fmt_time(direct / per) if direct else '—'} |"
        )
    ctx = results["context"]
    lines.append("")
    lines.append(
        f"Measured {ctx.get('date', '')} on {platform.node() or 'this machine'}: "
        f"{ctx.get('num_cpus', '?')} CPUs at {ctx.get('mhz_per_cpu', '?')} MHz, load average "
        f"{', '.join(f'{x:.1f}' for x in ctx.get('load_avg', []))} at the start, one thread, "
        f"{build_type(build)} build, "
        f"median of {repetitions} repetitions; before and now in the same run. Ratios are taken "
        "on CPU time, which a busy machine disturbs least; the wall-clock column shows the "
        "elapsed time of the code now."
    )
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.environ.get("PRRSIM_BUILD_DIR", ROOT / "build"))
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--min-time", default="0.5")
    parser.add_argument("--no-build", action="store_true")
    args = parser.parse_args()
    build = Path(args.build)
    if not args.no_build:
        if not (build / "build.ninja").exists():
            subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja",
                            "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DPRRSIM_WERROR=ON"],
                           check=True)
        subprocess.run(["cmake", "--build", str(build), "--target", "prrsim_bench"], check=True)
    binary = build / "bench" / "prrsim_bench"
    out_json = build / "perf-results.json"
    results = run_benchmarks(binary, args.repetitions, args.min_time, out_json)
    text = DOC.read_text(encoding="utf-8")
    if BEGIN not in text or END not in text:
        sys.exit(f"{DOC}: the markers {BEGIN} and {END} are missing")
    head, rest = text.split(BEGIN, 1)
    _, tail = rest.split(END, 1)
    rows = table(results, args.repetitions, build)
    DOC.write_text(f"{head}{BEGIN}\n{rows}\n{END}{tail}", encoding="utf-8")
    print(rows)


if __name__ == "__main__":
    main()
