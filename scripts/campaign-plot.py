#!/usr/bin/env python3
"""Plots a campaign's hit probability with its 95 % intervals as PNG.

    python3 scripts/campaign-plot.py RESULTS_DIR [--x NAME] [--lines NAME] [--out FILE.png]
                                     [--x-scale K] [--x-label TEXT] [--title TEXT]
                                     [--label VALUE=TEXT]...

Reads RESULTS_DIR/summary.json (written by `prrsim-batch campaign` or `merge`). The x axis is a
listed varied value (default: the campaign's "plot.x"); every combination of the other listed
values is one line (default: the values of "plot.lines", the rest fixed at their combination).
--x-scale multiplies the x values (e.g. 0.1 turns map pixels into kilometres); --label names
a line by its value (e.g. --label 1="режим барражирования"). Writes
RESULTS_DIR/hit-probability.png unless --out is given, through a temporary file.
"""
import argparse
import json
import os
import sys

try:
    import matplotlib
except ImportError:
    # Debian's python3-matplotlib belongs to the system interpreter.
    if os.path.exists("/usr/bin/python3") and os.path.realpath(sys.executable) != os.path.realpath(
            "/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    sys.exit("campaign-plot: needs matplotlib (apt-get install python3-matplotlib)")

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402


def value_text(v):
    return v if isinstance(v, str) else json.dumps(v, ensure_ascii=False)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("results")
    parser.add_argument("--x")
    parser.add_argument("--lines")
    parser.add_argument("--out")
    parser.add_argument("--x-scale", type=float, default=1.0)
    parser.add_argument("--x-label")
    parser.add_argument("--title")
    parser.add_argument("--label", action="append", default=[])
    args = parser.parse_args()

    with open(os.path.join(args.results, "summary.json"), encoding="utf-8") as f:
        summary = json.load(f)
    listed = [v["name"] for v in summary["varied"] if v["kind"] == "list"]
    plot = summary.get("plot") or {}
    x_name = args.x or plot.get("x") or (listed[0] if listed else None)
    if x_name not in listed:
        sys.exit(f"campaign-plot: {x_name!r} is not a listed varied value ({', '.join(listed)})")
    line_name = args.lines or plot.get("lines")
    others = [n for n in listed if n != x_name]
    if line_name is not None and line_name not in others:
        sys.exit(f"campaign-plot: {line_name!r} is not another listed varied value")

    lines = {}
    for g in summary["summary"]:
        key = tuple(value_text(g["values"][n]) for n in others)
        lines.setdefault(key, []).append(g)

    fig, ax = plt.subplots(figsize=(8, 5), dpi=100)
    xs_all = [g["values"][x_name] * args.x_scale for g in summary["summary"]
              if isinstance(g["values"][x_name], (int, float))]
    spread = (max(xs_all) - min(xs_all)) if len(xs_all) > 1 else 1.0
    numeric = len(xs_all) == len(summary["summary"])
    for j, (key, groups) in enumerate(lines.items()):
        dodge = (j - (len(lines) - 1) / 2) * 0.012 * spread if numeric else 0
        xs, ps, lows, highs = [], [], [], []
        for i, g in enumerate(groups):
            if g["hitProbability"] is None:
                continue
            x = g["values"][x_name]
            xs.append((x * args.x_scale if numeric else i) + dodge)
            ps.append(g["hitProbability"])
            lows.append(g["hitProbability"] - g["interval95"][0])
            highs.append(g["interval95"][1] - g["hitProbability"])
        names = dict(item.split("=", 1) for item in args.label)
        if len(others) == 1 and key[0] in names:
            label = names[key[0]]
        elif len(others) == 1:
            label = f"{others[0]} = {key[0]}"
        else:
            label = ", ".join(f"{n} = {v}" for n, v in zip(others, key))
        ax.errorbar(xs, ps, yerr=[lows, highs], marker="o", capsize=4, label=label)
        if not numeric:
            ax.set_xticks(range(len(groups)), [value_text(g["values"][x_name]) for g in groups])
    ax.set_ylim(-0.03, 1.03)
    ax.set_xlabel(args.x_label or x_name)
    ax.set_ylabel("вероятность попадания")
    ax.grid(True, alpha=0.3)
    runs = summary["repetitions"]
    ax.set_title(args.title or
                 f"Попадание: {summary['hit']}; {runs} прогонов на точку, 95 % интервал Вильсона",
                 fontsize=10)
    if lines and (len(others) > 0):
        ax.legend(fontsize=9)
    fig.tight_layout()

    out = args.out or os.path.join(args.results, "hit-probability.png")
    temporary = f"{out}.{os.getpid()}.tmp"
    fig.savefig(temporary, format="png", metadata={"Software": None})
    os.replace(temporary, out)
    print(out)


if __name__ == "__main__":
    main()
