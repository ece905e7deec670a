#!/usr/bin/env python3
"""Benchmark: how fast report pages are drawn and how large they are.

Makes the pages users open most (one real lap, three real laps of one session,
one lap against two, nine generated whole laps, the example, 100 generated
laps in one group, an hour) with this build and, given --baseline-rev, with an
earlier release built beside it (as bench/report.py builds it), then opens
each in headless Chromium (bench/page_draw.mjs) and prints the page's size and
the best time, over --repeat openings, from navigation start to the first
contentful paint, to the first screen's charts and to every chart drawn, and the ratios.
Targets: one lap drawn in 0.5 s, three or nine laps and a comparison in 1 s,
100 laps and the hour in 2 s; the first paint in 0.3 s; one real lap's page at
most 1.5 MB.
"""
import argparse
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
from report import baseline_binary, whole_laps  # noqa: E402

VECTORS = os.path.join(ROOT, "..", "shared", "vectors")
TARGETS = {"lap": 0.5, "session": 1.0, "one-vs-two": 1.0, "nine": 1.0, "example": 0.5, "many": 2.0, "hour": 2.0}


def cases(work, make_replay):
    """Name and replay arguments of each page."""
    real = lambda name: os.path.join(VECTORS, "real-xrgt-southcity%s.raf" % name)
    hour = os.path.join(work, "hour.raf")
    if not os.path.exists(hour):
        subprocess.run([make_replay, hour, "3600", "1"], check=True, stdout=subprocess.DEVNULL)
    out = [("lap", [os.path.join(VECTORS, "real-xfgti-blackwood.raf")]),
           ("session", [real(""), real("-lap8"), real("-lap9")]),
           ("one-vs-two", [real(""), "--vs", real("-lap8"), real("-lap9")]),
           ("nine", whole_laps(make_replay, work, "lap", 9)),
           ("example", [os.path.join(ROOT, "examples", "lap.raf")]),
           ("many", ["--json=" + os.devnull] + whole_laps(make_replay, work, "many", 100)),
           ("hour", [hour])]
    return [(n, a) for n, a in out if all(os.path.exists(x) for x in a if x.endswith(".raf"))]


def make_page(binary, args, page):
    with open(os.devnull, "wb") as null:
        if subprocess.run([binary, "-o", page] + args, stdout=null, stderr=null).returncode != 0:
            sys.exit("failed: " + binary + " " + " ".join(args))
    return os.path.getsize(page)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build/release", help="build folder (default build/release)")
    parser.add_argument("--baseline-rev", help="an earlier release to draw side by side (a git revision)")
    parser.add_argument("--repeat", type=int, default=3, help="openings of each page (default 3)")
    parser.add_argument("--work", default="build/bench", help="folder for the replays and pages")
    args = parser.parse_args()

    os.makedirs(args.work, exist_ok=True)
    builds = [("report", os.path.join(args.build, "report", "skidlog-report"))]
    if args.baseline_rev:
        builds.append(("baseline", baseline_binary(args.baseline_rev)))
    pages, sizes = [], {}
    for name, replay_args in cases(args.work, os.path.join(args.build, "tools", "make_replay")):
        for build, binary in builds:
            page = os.path.abspath(os.path.join(args.work, "draw-%s-%s.html" % (name, build)))
            sizes[page] = make_page(binary, replay_args, page)
            pages.append((name, build, page))
    # One browser opens them in turn, this build's and the baseline's pages interleaved.
    run = subprocess.run(["node", os.path.join(HERE, "page_draw.mjs"), str(args.repeat)] + [p for _, _, p in pages],
                         check=True, capture_output=True, text=True)
    times = {r["page"]: r for r in map(json.loads, run.stdout.splitlines())}
    met = True
    print("%-11s %-9s %8s %9s %9s %9s %8s" % ("page", "build", "MB", "paint ms", "first ms", "drawn ms", "target"))
    for name, build, page in pages:
        t = times[page]
        ok = build != "report" or (t["drawn"] <= 1000 * TARGETS[name] and t["paint"] <= 300)
        met = met and ok
        print("%-11s %-9s %8.2f %9d %9d %9d %8s" % (name, build, sizes[page] / 1e6, t["paint"], t["first"], t["drawn"],
                                                ("%.1f s" % TARGETS[name] + ("" if ok else " MISSED")) if build == "report" else ""))
    if args.baseline_rev:
        for name in TARGETS:
            mine = [p for n, b, p in pages if n == name and b == "report"]
            theirs = [p for n, b, p in pages if n == name and b == "baseline"]
            if mine and theirs:
                print("%-11s baseline/report first screen %.2f, drawn %.2f, size %.2f" % (
                    name, times[theirs[0]]["first"] / max(times[mine[0]]["first"], 1),
                    times[theirs[0]]["drawn"] / max(times[mine[0]]["drawn"], 1),
                    sizes[theirs[0]] / sizes[mine[0]]))
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main())
