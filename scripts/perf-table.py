#!/usr/bin/env python3
"""Runs the benchmarks and writes their table into docs/performance.md.

Usage: scripts/perf-table.py [--build DIR] [--repetitions N] [--min-time SECONDS] [--no-build]

Builds prrsim_bench in the build directory (default: $PRRSIM_BUILD_DIR or build/), runs every
benchmark with repetitions in JSON format, and replaces the part of docs/performance.md between
the perf-table markers with a table of medians: each against its budget (10 ms per tick, 100 ms
per redraw) and, where the seeker's direct reading was measured in the same run, the figure
before (direct reading) and after (fast path). The raw JSON is kept next to the build as
perf-results.json.
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

# Benchmark family, what the row says, budget (ns) and how many ticks one iteration holds.
ROWS = [
    ("BM_DefaultSceneTick", "Default scene tick (start-up world + one capturing HARM)",
     TICK_BUDGET_NS, 1),
    ("BM_CapacityTickBeforeLaunch", "Capacity tick, 100 HARM on their carriers",
     TICK_BUDGET_NS, 1),
    ("BM_CapacityTickInFlight", "Capacity tick, 100 HARM in flight", TICK_BUDGET_NS, 1),
    ("BM_CapacityTickMixedInFlight", "Capacity tick, every missile type in flight",
     TICK_BUDGET_NS, 1),
    ("BM_SeekerStepsNothingMemorised",
     "100 seeker steps at capacity with nothing memorised (heaviest reception)",
     TICK_BUDGET_NS, 1),
    ("BM_MapRedrawAtCapacity", "Map redraw at capacity (offscreen)", REDRAW_BUDGET_NS, None),
    ("BM_MapRedrawAtCapacityAllOverlays", "Map redraw at capacity, every review overlay on",
     REDRAW_BUDGET_NS, None),
    ("BM_BatchRunnerDefaultWorld", "Batch runner, 60 s default-world scenario (per tick)",
     TICK_BUDGET_NS, BATCH_TICKS),
]


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
    """{(family, direct): median time (real or CPU) in ns} from the aggregate entries."""
    scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
    out = {}
    for b in results["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name = b["run_name"]
        m = re.match(r"([A-Za-z_]+)(?:/direct:(\d))?", name)
        family, direct = m.group(1), m.group(2) == "1"
        out[(family, direct)] = b[key] * scale[b["time_unit"]]
    return out


def fmt_time(ns):
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.1f} µs"
    return f"{ns:.0f} ns"


def fmt_rate(per_second):
    if per_second >= 1e6:
        return f"{per_second / 1e6:.2f} M/s"
    if per_second >= 1e3:
        return f"{per_second / 1e3:.1f} k/s"
    return f"{per_second:.0f} /s"


def build_type(build):
    cache = Path(build) / "CMakeCache.txt"
    if cache.exists():
        m = re.search(r"^CMAKE_BUILD_TYPE:\w+=(.*)$", cache.read_text(encoding="utf-8"), re.M)
        if m:
            return m.group(1)
    return "?"


def table(results, repetitions, build):
    med = medians(results)
    cpu = medians(results, "cpu_time")
    lines = [
        "| Benchmark | Median (per tick) | CPU time | Budget | Share of budget | "
        "Ticks per second | Direct reading (before) | Speed-up |",
        "|---|---|---|---|---|---|---|---|",
    ]
    for family, label, budget, ticks in ROWS:
        fast = med.get((family, False))
        if fast is None:
            continue
        per_unit = fast / ticks if ticks else fast
        cpu_unit = cpu[(family, False)] / (ticks or 1)
        before = med.get((family, True))
        budget_text = "100 ms redraw" if budget == REDRAW_BUDGET_NS else "10 ms tick"
        rate = fmt_rate(1e9 / per_unit) if ticks else "—"
        before_text = fmt_time(before) if before else "—"
        speedup = f"{before / fast:.0f} ×" if before else "—"
        lines.append(
            f"| {label} | {fmt_time(per_unit)} | {fmt_time(cpu_unit)} | {budget_text} | "
            f"{per_unit / budget:.2%} | "
            f"{rate} | {before_text} | {speedup} |"
        )
    ctx = results["context"]
    lines.append("")
    lines.append(
        f"Measured {ctx.get('date', '')} on {platform.node() or 'this machine'}: "
        f"{ctx.get('num_cpus', '?')} CPUs at {ctx.get('mhz_per_cpu', '?')} MHz, load average "
        f"{', '.join(f'{x:.1f}' for x in ctx.get('load_avg', []))} at the start, one thread, "
        f"{build_type(build)} build, "
        f"median of {repetitions} repetitions; "
        "before and after in the same run. Median and the direct reading are wall-clock times; "
        "on a busy machine the CPU time shows the cost of the work itself."
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
