#!/usr/bin/env python3
"""Benchmark: skidlog-report on a 10,000-sample lap, on an hour-long replay, on
twenty 10,000-sample laps compared in two groups, on nine whole laps of one
track (the laps by place: alignment, delta, corners), and on a league night of
thirty drivers of ten laps read as a session.

Runs, interleaved and --repeat times each, on each replay:
  report     this build's skidlog-report, page and JSON (intervals included);
  baseline   the same command with an earlier release (--baseline-rev, built
             once into build/baseline-REV from a git worktree), if given;
  notebook   the route users take instead: skidlog's per-wheel CSV, then
             pandas and scipy's robust fit of the same two curves per wheel
             (bench/notebook_route.py; needs python3-pandas and python3-scipy).
Reports the best wall time of each and their ratios, and the peak memory of
100 and of 300 laps, and per lap. Targets: a lap in at
most 0.5 s, the hour in at most 2 s, the report at least eight times faster
than the notebook route on the hour, the comparison of twenty laps in at
most 3 s, the nine laps of one track, page and JSON, in at most 3 s, and
100 whole laps in one report (JSON) in at most 3.3 times what 30 take.
"""
import argparse
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def timed(commands):
    """Runs the commands one after the other; returns the wall seconds."""
    start = time.perf_counter()
    for command in commands:
        with open(os.devnull, "wb") as null:
            if subprocess.run(command, stdout=null, stderr=null).returncode != 0:
                sys.exit("failed: " + " ".join(command))
    return time.perf_counter() - start


def peak_mb(command):
    """Runs the command once; returns its peak resident memory, MB."""
    with open(os.devnull, "wb") as null:
        child = subprocess.Popen(command, stdout=null, stderr=null)
        _, status, usage = os.wait4(child.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(command))
    return usage.ru_maxrss / 1024.0


def whole_laps(make_replay, work, name, count):
    """`count` generated whole laps of seeds 1 to count, made once into `work`."""
    laps = []
    for seed in range(1, count + 1):
        replay = os.path.join(work, "%s-%d.raf" % (name, seed))
        if not os.path.exists(replay):
            subprocess.run([make_replay, "--lap", replay, "60", str(seed)], check=True)
        laps.append(replay)
    return laps


def baseline_binary(rev):
    """skidlog-report built at `rev` in its own worktree, built once."""
    tree = os.path.join(ROOT, "build", "baseline-" + rev)
    binary = os.path.join(tree, "build", "release", "report", "skidlog-report")
    if not os.path.exists(binary):
        if not os.path.exists(tree):
            subprocess.run(["git", "-C", ROOT, "worktree", "add", "--detach", tree, rev], check=True)
        subprocess.run(["cmake", "--preset", "release", "-DSKIDLOG_BUILD_TESTS=OFF"], cwd=tree, check=True,
                       stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", "--preset", "release", "--target", "skidlog-report"], cwd=tree,
                       check=True, stdout=subprocess.DEVNULL)
    return binary


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build/release", help="build folder (default build/release)")
    parser.add_argument("--baseline-rev", help="an earlier release to time side by side (a git revision)")
    parser.add_argument("--repeat", type=int, default=3, help="runs of each command (default 3)")
    parser.add_argument("--work", default="build/bench", help="folder for the replays and outputs")
    parser.add_argument("--no-notebook", action="store_true", help="leave out the notebook route")
    args = parser.parse_args()

    os.makedirs(args.work, exist_ok=True)
    report = os.path.join(args.build, "report", "skidlog-report")
    skidlog = os.path.join(args.build, "app", "skidlog")
    baseline = baseline_binary(args.baseline_rev) if args.baseline_rev else None
    page, summary, csv = (os.path.join(args.work, name) for name in ("page.html", "summary.json", "lap.csv"))
    targets = {"lap": 0.5, "hour": 2.0}
    met = True
    print("%-6s %9s %9s %9s %15s %15s" % ("replay", "report s", "baseline", "notebook", "baseline/report",
                                          "notebook/report"))
    for name, seconds in (("lap", 100), ("hour", 3600)):
        replay = os.path.join(args.work, "report-%s.raf" % name)
        if not os.path.exists(replay):
            subprocess.run([os.path.join(args.build, "tools", "make_replay"), replay, str(seconds), "7"], check=True)
        runs = {"report": [[report, "-o", page, "--json", summary, replay]]}
        if baseline:
            runs["baseline"] = [[baseline, "-o", page, "--json", summary, replay]]
        if not args.no_notebook:
            runs["notebook"] = [[skidlog, replay, csv], ["/usr/bin/python3", os.path.join(HERE, "notebook_route.py"), csv]]
        best = {key: float("inf") for key in runs}
        for key, commands in runs.items():
            timed(commands)  # warm the page cache
        for _ in range(args.repeat):
            for key, commands in runs.items():
                best[key] = min(best[key], timed(commands))
        cell = lambda key: "%9.2f" % best[key] if key in best else "%9s" % "-"
        ratio = lambda key: "%15.1f" % (best[key] / best["report"]) if key in best else "%15s" % "-"
        print("%-6s %9.2f %s %s %s %s" % (name, best["report"], cell("baseline"), cell("notebook"), ratio("baseline"),
                                          ratio("notebook")))
        met = met and best["report"] <= targets[name]
        if name == "hour" and "notebook" in best:
            met = met and best["notebook"] / best["report"] >= 8.0
    make_replay = os.path.join(args.build, "tools", "make_replay")
    groups = [[], []]
    for seed in range(1, 11):
        for group, options in ((0, []), (1, ["--rear-grip=1.05"])):
            replay = os.path.join(args.work, "compare-%d-%d.raf" % (group, seed))
            if not os.path.exists(replay):
                subprocess.run([make_replay] + options + [replay, "100", str(seed + 100 * group)], check=True)
            groups[group].append(replay)
    command = [report, "-o", page, "--json", summary] + groups[0] + ["--vs"] + groups[1]
    timed([command])
    best = min(timed([command]) for _ in range(args.repeat))
    print("%-6s %9.2f   (twenty laps of 10,000 samples in two groups)" % ("groups", best))
    met = met and best <= 3.0
    laps = whole_laps(make_replay, args.work, "lap", 9)
    runs = {"report": [[report, "-o", page, "--json", summary] + laps]}
    if baseline:
        runs["baseline"] = [[baseline, "-o", page, "--json", summary] + laps]
    best = {key: float("inf") for key in runs}
    for key, commands in runs.items():
        timed(commands)
    for _ in range(args.repeat):
        for key, commands in runs.items():
            best[key] = min(best[key], timed(commands))
    print("%-6s %9.2f %s   (nine whole laps of one track, 7,500 samples each, laps and corners included)"
          % ("laps", best["report"], "%9.2f" % best["baseline"] if "baseline" in best else "%9s" % "-"))
    met = met and best["report"] <= 3.0
    # Many laps in one report: the work must grow with the laps, no faster.
    many = whole_laps(make_replay, args.work, "many", 100)
    runs = {}
    for count in (30, 100):
        runs["report-%d" % count] = [[report, "--json", summary] + many[:count]]
        if baseline:
            runs["baseline-%d" % count] = [[baseline, "--json", summary] + many[:count]]
    best = {key: float("inf") for key in runs}
    for _ in range(args.repeat):
        for key, commands in runs.items():
            best[key] = min(best[key], timed(commands))
    growth = best["report-100"] / best["report-30"]
    line = "%-6s %9.2f s for 30 laps, %.2f s for 100: %.2f times" % ("many", best["report-30"], best["report-100"],
                                                                    growth)
    if baseline:
        line += " (baseline %.2f s, %.2f s: %.2f times)" % (best["baseline-30"], best["baseline-100"],
                                                             best["baseline-100"] / best["baseline-30"])
    print(line)
    met = met and growth <= 3.3
    # Memory: the peak of 100 laps' JSON, per lap.
    memory = {key: peak_mb(commands[0]) for key, commands in runs.items() if key.endswith("-100")}
    # A league night: thirty drivers of ten laps, read as a session, page and
    # JSON; its time against 100 laps' and its peak memory.
    league = []
    for driver in range(30):
        for lap in range(10):
            replay = os.path.join(args.work, "league-%02d-%d.raf" % (driver, lap))
            if not os.path.exists(replay):
                subprocess.run([make_replay, "--lap", "--consistency=0.4", "--pace=%.4f" % (1.0 - 0.0005 * driver),
                                "--player=p%02d" % driver, replay, "60", str(5000 + 100 * driver + lap)], check=True,
                               stdout=subprocess.DEVNULL)
            league.append(replay)
    command = [report, "--by", "player", "-o", page, "--json", summary] + league
    seconds = min(timed([command]) for _ in range(args.repeat))
    peak = peak_mb(command)
    size = os.path.getsize(page) / 1e6
    print("%-6s %9.2f s for 300 laps in 30 groups (%.2f times 100 laps' JSON), page %.2f MB, peak %.0f MB"
          % ("league", seconds, seconds / best["report-100"], size, peak))
    line = "%-6s peak %.0f MB for 100 laps (%.2f MB a lap), %.0f MB for 300 (%.2f MB a lap)" % (
        "memory", memory["report-100"], memory["report-100"] / 100, peak, peak / 300)
    if baseline:
        theirs = peak_mb([baseline] + command[1:])
        line += "; baseline %.0f MB (%.2f MB a lap), %.0f MB (%.2f MB a lap)" % (
            memory["baseline-100"], memory["baseline-100"] / 100, theirs, theirs / 300)
    print(line)
    met = met and seconds / best["report-100"] <= 3.3 * 1.3 and size <= 8.0
    for path in (page, summary, csv):
        if os.path.exists(path):
            os.remove(path)
    print("targets (lap <= 0.5 s, hour <= 2 s, notebook / report >= 8 on the hour, groups <= 3 s, laps <= 3 s, "
          "100 laps <= 3.3 times 30, 300 laps' page and JSON <= 4.3 times 100 laps' JSON, its page <= 8 MB): %s"
          % ("met" if met else "MISSED"))
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main())
