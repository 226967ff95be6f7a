#!/usr/bin/env python3
"""Regenerates tests/scenario/digests: for every scenario the trace digest test runs (the missile
scenarios in tests/scenario/scenarios, the golden default world and the edge scenarios in
tests/scenario/edges), the SHA-256 of its full trace (a line every tick) and a 32-bit FNV-1a hash
of each line, so that the test can name the first tick that differs. Run it only after a deliberate change of the simulation's results, name the
changed scenarios in the commit, and review the diff.

    scripts/update-digests.py [BUILD_DIR]      (default: build)
"""
import hashlib
import os
import subprocess
import sys
import tempfile

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build")
exe = os.path.join(build, "prrsim-batch")
subprocess.run(["cmake", "--build", build, "--target", "prrsim-batch"], check=True,
               stdout=subprocess.DEVNULL)


def fnv1a32(data):
    h = 0x811C9DC5
    for b in data:
        h = ((h ^ b) * 0x01000193) & 0xFFFFFFFF
    return h


def scenarios():
    folder = os.path.join(root, "tests", "scenario", "scenarios")
    for name in sorted(os.listdir(folder)):
        if name.endswith(".json"):
            yield name[:-5], os.path.join(folder, name)
    yield "golden_default_world", os.path.join(root, "tests", "scenario", "golden", "default_world.json")
    folder = os.path.join(root, "tests", "scenario", "edges")
    for name in sorted(os.listdir(folder)):
        if name.endswith(".json"):
            yield "edges_" + name[:-5], os.path.join(folder, name)


out_dir = os.path.join(root, "tests", "scenario", "digests")
os.makedirs(out_dir, exist_ok=True)
with tempfile.TemporaryDirectory() as work:
    for name, path in scenarios():
        trace = os.path.join(work, "trace.jsonl")
        subprocess.run([exe, path, "--trace", trace, "--every", "1"], check=True,
                       stdout=subprocess.DEVNULL)
        data = open(trace, "rb").read()
        lines = data.split(b"\n")[:-1]
        hashes = ["%08x" % fnv1a32(l) for l in lines]
        text = "sha256 %s\nlines %d\n" % (hashlib.sha256(data).hexdigest(), len(lines))
        text += "".join(" ".join(hashes[i:i + 8]) + "\n" for i in range(0, len(hashes), 8))
        tmp = os.path.join(out_dir, name + ".txt.tmp")
        with open(tmp, "w") as fh:
            fh.write(text)
        os.replace(tmp, os.path.join(out_dir, name + ".txt"))
        print(name, len(lines), "lines")
