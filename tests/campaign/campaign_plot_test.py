#!/usr/bin/env python3
"""scripts/campaign-plot.py: unresolved shares drawn hollow, a combination without a resolved
missile marked and not drawn as 0, a line whose runs all stopped named so, and every refused
argument or summary answered in one line with exit 2. Exits 77 (skipped) without matplotlib.

    tests/campaign/campaign_plot_test.py
"""
import argparse
import importlib.util
import io
import json
import os
import sys
import tempfile
from contextlib import redirect_stderr, redirect_stdout

try:
    import matplotlib  # noqa: F401
except ImportError:
    # Debian's python3-matplotlib belongs to the system interpreter, as in the script.
    if os.path.exists("/usr/bin/python3") and os.path.realpath(sys.executable) != os.path.realpath(
            "/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    print("SKIP: matplotlib is not installed")
    sys.exit(77)

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
script = importlib.util.spec_from_file_location("campaign_plot",
                                                os.path.join(root, "scripts", "campaign-plot.py"))
plot = importlib.util.module_from_spec(script)
script.loader.exec_module(plot)
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def group(x, line, hits, misses, unresolved, stopped=0):
    resolved = hits + misses
    return {"values": {"x": x, "mode": line}, "hits": hits, "misses": misses,
            "resolved": resolved, "unresolved": unresolved, "stopped": stopped,
            "runs": resolved + unresolved,
            "hitProbability": hits / resolved if resolved else None,
            "interval95": [0.0, 1.0] if resolved else None}


summary = {
    "hit": "подрыв не дальше 20 м от РЛС-цели", "repetitions": 10,
    "varied": [{"name": "x", "kind": "list"}, {"name": "mode", "kind": "list"}],
    "plot": {"x": "x", "lines": "mode"},
    "summary": [group(1, 0, 5, 5, 0), group(2, 0, 4, 4, 2),         # resolved, 20 % unresolved
                group(1, 1, 0, 0, 10), group(2, 1, 0, 0, 10),       # all unresolved
                group(1, 2, 0, 0, 0, 10), group(2, 2, 0, 0, 0, 10)],  # all stopped
}

with tempfile.TemporaryDirectory() as work:
    with open(os.path.join(work, "summary.json"), "w", encoding="utf-8") as f:
        json.dump(summary, f, ensure_ascii=False)
    args = argparse.Namespace(results=work, x=None, lines=None, out=None, x_scale=1.0,
                              x_label=None, title=None, label=[])
    with redirect_stdout(io.StringIO()):
        check(plot.plot(args) == 0, "the plot is drawn")
    ax = plot.plt.gcf().axes[0]
    drawn = [(line.get_label(), list(line.get_xdata()), list(line.get_ydata()),
              line.get_markerfacecolor(), line.get_marker()) for line in ax.get_lines()]
    hollow = [d for d in drawn if d[3] == "none" and d[1]]
    shares = sorted(y for d in hollow for y in d[2])
    check(shares == [0.2, 1.0, 1.0], f"unresolved shares drawn hollow: {shares}")
    # Mode 1 has no probability: nothing of it at 0 on the probability line, an x at the bottom.
    probability_ys = [y for d in drawn if d[3] != "none" and d[4] == "o" for y in d[2]]
    check(probability_ys == [0.5, 0.5], f"only resolved combinations as probabilities: {drawn}")
    crosses = [d for d in drawn if d[4] == "x" and d[1]]
    check(len(crosses) == 1 and len(crosses[0][1]) == 2, f"two combinations marked x: {drawn}")
    labels = [t.get_text() for t in ax.get_legend().get_texts()]
    check(any("все прогоны остановлены" in t for t in labels), f"stopped line named: {labels}")
    check(any("не решённых" in t for t in labels), f"unresolved in the legend: {labels}")
    check(all(t.strip() for t in labels), f"no empty legend entry: {labels}")

    # Every refusal: one line, exit 2, no traceback.
    bad = os.path.join(work, "bad")
    os.mkdir(bad)
    rows = [
        ([], "the following arguments are required"),
        ([os.path.join(work, "nowhere")], "cannot read"),
        ([work, "--x-scale", "abc"], "--x-scale"),
        ([work, "--label", "nothing"], "--label nothing"),
        ([work, "--x", "y"], "'y' is not a listed varied value"),
        ([work, "--lines", "x"], "'x' is not another listed varied value"),
        ([bad], "not JSON"),
        ([bad], "not a campaign summary"),
    ]
    for n, (argv, message) in enumerate(rows):
        with open(os.path.join(bad, "summary.json"), "w", encoding="utf-8") as f:
            f.write("{" if n == 6 else "{}")
        sys.argv = ["campaign-plot.py"] + argv
        err = io.StringIO()
        with redirect_stderr(err), redirect_stdout(io.StringIO()):
            status = plot.main()
        text = err.getvalue()
        check(status == 2, f"{argv}: exit {status}")
        check(message in text and text.count("\n") == 1, f"{argv}: {text!r}")

for f in failures:
    print("FAIL:", f)
print("PASS" if not failures else f"{len(failures)} failed")
sys.exit(1 if failures else 0)
