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
RESULTS_DIR/hit-probability.png unless --out is given, through a temporary file. The share of
missiles still flying or on their carrier when the runs ended is drawn dotted with hollow
markers; a combination without a hit or a miss has no probability and is marked x at the
bottom. Exit status: 0 drawn; 2 a bad argument or summary (one line); 1 the picture could not
be written.
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


class Refused(Exception):
    """A bad argument or input: one line, exit 2."""


class OneLineParser(argparse.ArgumentParser):
    def error(self, message):
        raise Refused(message)


def value_text(v):
    return v if isinstance(v, str) else json.dumps(v, ensure_ascii=False)


def read_summary(results):
    path = os.path.join(results, "summary.json")
    try:
        with open(path, encoding="utf-8") as f:
            summary = json.load(f)
    except OSError as e:
        raise Refused(f"{path}: cannot read ({e.strerror})")
    except (ValueError, UnicodeDecodeError) as e:
        raise Refused(f"{path}: not JSON ({e})")
    try:
        for g in summary["summary"]:
            g["values"], g["hitProbability"], g["interval95"]
        [(v["name"], v["kind"]) for v in summary["varied"]]
        summary["hit"], summary["repetitions"]
    except (KeyError, TypeError) as e:
        raise Refused(f"{path}: not a campaign summary (field {e})")
    return summary


def unresolved(g):
    """Missiles still flying or on their carrier at the end (older summaries: flying)."""
    return g.get("unresolved", g.get("flying", 0) + g.get("notLaunched", 0))


def plot(args):
    summary = read_summary(args.results)
    names = {}
    for item in args.label:
        if "=" not in item:
            raise Refused(f"--label {item}: must be VALUE=TEXT")
        value, text = item.split("=", 1)
        names[value] = text
    listed = [v["name"] for v in summary["varied"] if v["kind"] == "list"]
    plot = summary.get("plot") or {}
    x_name = args.x or plot.get("x") or (listed[0] if listed else None)
    if x_name not in listed:
        raise Refused(f"{x_name!r} is not a listed varied value ({', '.join(listed)})")
    line_name = args.lines or plot.get("lines")
    others = [n for n in listed if n != x_name]
    if line_name is not None and line_name not in others:
        raise Refused(f"{line_name!r} is not another listed varied value")

    lines = {}
    for g in summary["summary"]:
        key = tuple(value_text(g["values"][n]) for n in others)
        lines.setdefault(key, []).append(g)

    fig, ax = plt.subplots(figsize=(8, 5), dpi=100)
    xs_all = [g["values"][x_name] * args.x_scale for g in summary["summary"]
              if isinstance(g["values"][x_name], (int, float))]
    spread = (max(xs_all) - min(xs_all)) if len(xs_all) > 1 else 1.0
    numeric = len(xs_all) == len(summary["summary"])
    any_unresolved = False
    for j, (key, groups) in enumerate(lines.items()):
        dodge = (j - (len(lines) - 1) / 2) * 0.012 * spread if numeric else 0
        xs, ps, lows, highs = [], [], [], []
        ux, us, none_x = [], [], []
        for i, g in enumerate(groups):
            x = (g["values"][x_name] * args.x_scale if numeric else i) + dodge
            decided = g.get("resolved", g.get("hits", 0) + g.get("misses", 0)) + unresolved(g)
            if decided > 0 and unresolved(g) > 0:
                ux.append(x)
                us.append(unresolved(g) / decided)
            if g["hitProbability"] is None:
                if decided > 0:
                    none_x.append(x)  # every missile unresolved: no probability, not 0
                continue
            xs.append(x)
            ps.append(g["hitProbability"])
            lows.append(g["hitProbability"] - g["interval95"][0])
            highs.append(g["interval95"][1] - g["hitProbability"])
        if len(others) == 1 and key[0] in names:
            label = names[key[0]]
        elif len(others) == 1:
            label = f"{others[0]} = {key[0]}"
        elif others:
            label = ", ".join(f"{n} = {v}" for n, v in zip(others, key))
        else:
            label = "P попадания"
        if not xs and not ux:
            label += " — все прогоны остановлены"
        bars = ax.errorbar(xs, ps, yerr=[lows, highs], marker="o", capsize=4, label=label)
        color = bars[0].get_color()
        if ux:
            any_unresolved = True
            ax.plot(ux, us, linestyle=":", marker="o", markerfacecolor="none", color=color)
        if none_x:
            ax.plot(none_x, [-0.015] * len(none_x), linestyle="none", marker="x", color=color,
                    markersize=8)
        if not numeric:
            ax.set_xticks(range(len(groups)), [value_text(g["values"][x_name]) for g in groups])
    if any_unresolved:
        ax.plot([], [], linestyle=":", marker="o", markerfacecolor="none", color="gray",
                label="доля не решённых к концу (в полёте, на подвеске)")
        ax.plot([], [], linestyle="none", marker="x", color="gray",
                label="нет решённых ракет: P не определена")
    ax.set_ylim(-0.03, 1.03)
    ax.set_xlabel(args.x_label or x_name)
    ax.set_ylabel("вероятность попадания")
    ax.grid(True, alpha=0.3)
    runs = summary["repetitions"]
    ax.set_title(args.title or
                 f"Попадание: {summary['hit']}; {runs} прогонов на точку, 95 % интервал Вильсона",
                 fontsize=10)
    if lines and (len(others) > 0 or any_unresolved):
        ax.legend(fontsize=8)
    fig.tight_layout()

    out = args.out or os.path.join(args.results, "hit-probability.png")
    temporary = f"{out}.{os.getpid()}.tmp"
    try:
        fig.savefig(temporary, format="png", metadata={"Software": None})
        os.replace(temporary, out)
    except OSError as e:
        try:
            os.remove(temporary)
        except OSError:
            pass
        print(f"campaign-plot: {out}: cannot write ({e.strerror})", file=sys.stderr)
        return 1
    print(out)
    return 0


def main():
    parser = OneLineParser(description=__doc__.split("\n")[0])
    parser.add_argument("results")
    parser.add_argument("--x")
    parser.add_argument("--lines")
    parser.add_argument("--out")
    parser.add_argument("--x-scale", type=float, default=1.0)
    parser.add_argument("--x-label")
    parser.add_argument("--title")
    parser.add_argument("--label", action="append", default=[])
    try:
        return plot(parser.parse_args())
    except Refused as e:
        print(f"campaign-plot: {e}", file=sys.stderr)
        return 2


if __name__ == "__main__":
    sys.exit(main())
