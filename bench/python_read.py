#!/usr/bin/env python3
"""Benchmark: skidlog.read against pd.read_csv on an hour-long replay.

Generates an hour (360,000 samples) with make_replay and its per-wheel CSV
with skidlog, then, interleaved and --repeat times each, in a fresh
interpreter per run (pandas imported before the clock starts):
  read      skidlog.read(replay): the CSV's rows as a DataFrame, exact values;
  read_csv  pd.read_csv(csv, skipinitialspace=True): the route users take.
Reports each one's best wall time and peak resident memory (of the whole
interpreter, pandas included), and their ratios. Target: read at least fifteen
times faster than read_csv. Run it with the interpreter the package is built
for (Debian's python3) after a release build.
"""
import argparse
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

RUN = r"""
import json, resource, sys, time
import pandas as pd
import skidlog
how, path = sys.argv[1], sys.argv[2]
start = time.perf_counter()
frame = skidlog.read(path) if how == "read" else pd.read_csv(path, skipinitialspace=True)
seconds = time.perf_counter() - start
print(json.dumps({"seconds": seconds, "rows": len(frame), "columns": frame.shape[1],
                  "peak_mb": resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024}))
"""


def measure(build, how, path):
    env = dict(os.environ, PYTHONPATH=os.path.join(build, "python"))
    out = subprocess.run([sys.executable, "-c", RUN, how, path], env=env, capture_output=True, text=True,
                         check=True)
    return json.loads(out.stdout)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "release"))
    parser.add_argument("--seconds", type=int, default=3600)
    parser.add_argument("--repeat", type=int, default=3)
    args = parser.parse_args()

    work = os.path.join(args.build, "bench-python")
    os.makedirs(work, exist_ok=True)
    replay = os.path.join(work, f"hour-{args.seconds}.raf")
    csv = os.path.join(work, f"hour-{args.seconds}.csv")
    if not os.path.exists(replay):
        subprocess.run([os.path.join(args.build, "tools", "make_replay"), replay, str(args.seconds), "7"],
                       check=True, stdout=subprocess.DEVNULL)
    subprocess.run([os.path.join(args.build, "app", "skidlog"), replay, csv], check=True, stderr=subprocess.DEVNULL)
    print(f"replay {os.path.getsize(replay) / 1e6:.0f} MB, CSV {os.path.getsize(csv) / 1e6:.0f} MB")

    best = {}
    for _ in range(args.repeat):
        for how, path in (("read", replay), ("read_csv", csv)):
            m = measure(args.build, how, path)
            b = best.setdefault(how, m)
            b["seconds"] = min(b["seconds"], m["seconds"])
            b["peak_mb"] = min(b["peak_mb"], m["peak_mb"])
    assert best["read"]["rows"] == best["read_csv"]["rows"], "the two routes give different row counts"
    for how in ("read", "read_csv"):
        b = best[how]
        print(f"{how:9s} {b['seconds']:7.2f} s  peak {b['peak_mb']:6.0f} MB  {b['rows']:,} rows x {b['columns']}")
    r, c = best["read"], best["read_csv"]
    print(f"read_csv / read: {c['seconds'] / r['seconds']:.1f} times the time, "
          f"{c['peak_mb'] / r['peak_mb']:.1f} times the memory (target: at least 15 times faster)")


if __name__ == "__main__":
    main()
