#!/usr/bin/env python3
"""Benchmark: the tool on an hour-long replay against the floor program.

Generates a replay of --seconds (default one hour, 360,000 samples), then runs,
interleaved and --repeat times each, the tool in both layouts and the floor
program (the same count of numbers formatted with std::to_chars, the same lines
written one system call each). Reports the best wall time of each, samples per
second, the ratio of tool to floor, and the tool's peak resident memory against
the input size. Targets: ratio at most 1.5; peak memory at most 4 x input + 16 MiB.
"""
import argparse
import os
import subprocess
import sys
import time


def timed(command):
    """Runs command; returns (wall seconds, peak RSS bytes)."""
    start = time.perf_counter()
    with open(os.devnull, "wb") as null:
        process = subprocess.Popen(command, stdout=null, stderr=null)
        _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(command))
    return wall, usage.ru_maxrss * 1024


def count_lines(path):
    lines = 0
    with open(path, "rb") as f:
        while chunk := f.read(1 << 22):
            lines += chunk.count(b"\n")
    return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build/release", help="build folder (default build/release)")
    parser.add_argument("--seconds", type=float, default=3600.0, help="replay length in seconds (default 3600)")
    parser.add_argument("--repeat", type=int, default=3, help="runs of each command (default 3)")
    parser.add_argument("--work", default="build/bench", help="folder for the replay and the CSV files")
    args = parser.parse_args()

    os.makedirs(args.work, exist_ok=True)
    replay = os.path.join(args.work, "replay-%d.raf" % args.seconds)
    if not os.path.exists(replay):
        subprocess.run([os.path.join(args.build, "tools/make_replay"), replay, str(args.seconds), "7"], check=True)
    samples = round(args.seconds * 100)
    input_size = os.path.getsize(replay)
    tool = os.path.join(args.build, "app/skidlog")
    floor = os.path.join(args.build, "bench/floor")
    out = os.path.join(args.work, "out.csv")

    print("replay: %d samples, %.1f MB" % (samples, input_size / 1e6))
    print("%-10s %9s %12s %9s %7s %10s %10s" % ("layout", "tool s", "samples/s", "floor s", "ratio", "peak MB",
                                               "limit MB"))
    limit = 4 * input_size + 16 * 2**20
    worst_ratio = 0.0
    worst_memory = 0
    for layout, switch, fields in (("per-wheel", [], 23), ("side", ["/s"], 61)):
        timed([tool] + switch + [replay, out])  # warm the page cache
        lines = count_lines(out)
        tool_best = floor_best = float("inf")
        peak = 0
        for _ in range(args.repeat):
            wall, rss = timed([tool] + switch + [replay, out])
            tool_best = min(tool_best, wall)
            peak = max(peak, rss)
            wall, _ = timed([floor, out, str(lines), str(fields)])
            floor_best = min(floor_best, wall)
        ratio = tool_best / floor_best
        worst_ratio = max(worst_ratio, ratio)
        worst_memory = max(worst_memory, peak)
        print("%-10s %9.2f %12.0f %9.2f %7.2f %10.1f %10.1f" % (layout, tool_best, samples / tool_best, floor_best,
                                                               ratio, peak / 2**20, limit / 2**20))
    os.remove(out)
    met = worst_ratio <= 1.5 and worst_memory <= limit
    print("targets (ratio <= 1.5, peak <= 4 x input + 16 MiB): %s" % ("met" if met else "MISSED"))
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main())
