#!/usr/bin/env python3
"""tools/check_docs.py BUILD_DIR [--print]: makes again the figures the README
and docs/ state about the bundled example, the generated laps they name and
(where ../shared/vectors holds them) the shared real laps, and fails naming
every stated text the build no longer gives. The suite runs it, so a change
of method shows up as a failing test, not as a stale sentence. With --print it
lists the texts it expects, for writing them in.

Measurements of time and memory (docs/performance.md) cannot be made again
exactly; they are checked only to be quoted alike wherever they appear."""
import json
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REAL = os.environ.get("SKIDLOG_REAL_REPLAYS", os.path.join(ROOT, "..", "shared", "vectors"))


def spaced(text):
    return re.sub(r"\s+", " ", text)


class Checks:
    def __init__(self):
        self.expected = []  # (file, text)

    def expect(self, path, text):
        self.expected.append((path, text))

    def missing(self):
        """The expected texts a page does not hold, line breaks and runs of
        spaces read as one space (a sentence may wrap anywhere)."""
        texts = {}
        for path, _ in self.expected:
            if path not in texts:
                with open(os.path.join(ROOT, path), encoding="utf-8") as f:
                    texts[path] = spaced(f.read())
        return [(path, text) for path, text in self.expected if spaced(text) not in texts[path]]


def run(args, cwd):
    subprocess.run(args, cwd=cwd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def report_json(build, work, name, *args):
    out = os.path.join(work, name + ".json")
    run([os.path.join(build, "report", "skidlog-report"), "--json", out, *args], work)
    with open(out, encoding="utf-8") as f:
        return json.load(f)


def make_replay(build, work, name, seconds, seed, *options):
    run([os.path.join(build, "tools", "make_replay"), *options, name, str(seconds), str(seed)], work)
    return os.path.join(work, name)


def interval(values, digits, unit=""):
    low, high = values
    return f"{low:.{digits}f} to {high:.{digits}f}{unit}"


def lateral_truth(wheel, load):
    """The generator's cornering stiffness, /deg, at `load` N: B C D with D
    falling 12 % for each 3000 N of load."""
    b, c, d = (0.16, 1.5, 1.40) if wheel.startswith("F") else (0.25, 1.5, 1.22)
    return b * c * d * (1.0 - 0.12 * (load - 3000.0) / 3000.0)


def example_tyres(checks, example):
    """docs/example.md: what one lap's fit recovers, wheel by wheel."""
    for w in example["wheels"]:
        lat = w["lateral"]
        load = lat["reference_load"]
        if lat["peak_reached"]:
            peak = f"{lat['peak_grip']:.3f} [{interval(lat['peak_grip_ci'], 3)}]"
        else:
            peak = f"not reached: {lat['peak_grip']:.3f} within the data"
        stiffness = lat["cornering_stiffness"]
        low, high = lat["cornering_stiffness_ci"]
        checks.expect("docs/example.md",
                      f"| {w['wheel']} | {load:.0f} N | {peak} | {stiffness:.4f} /° [{low:.4f}, {high:.4f}] "
                      f"({lateral_truth(w['wheel'], load):.4f}) |")
    b = example["balance"]
    checks.expect("docs/example.md",
                  f"understeer gradient {b['understeer_gradient']:.3f} deg/g "
                  f"({interval(b['understeer_gradient_ci'], 3)})")


def example_setup(checks, example):
    """The README and docs/example.md: the setup and platform the example's page shows."""
    replay = example["replays"][0]
    front = replay["setup"]["wheels"]["FL"]
    checks.expect("docs/example.md", f"{replay['samples']:,} samples")
    checks.expect("docs/example.md",
                  f"travel {front['travel_m']:.2f} m, springs {front['spring_n_per_m'] / 1000:.0f} kN/m")
    p = example["platform"]
    for path in ("README.md", "docs/example.md"):
        checks.expect(path, f"roll gradient {p['roll_gradient_deg_per_g']:.2f} deg/g")
    checks.expect("docs/example.md", f"front share of the lateral load transfer {p['lltd_front']:.3f}")
    corners = len(example["tracks"][0]["corners"])
    checks.expect("docs/example.md", f"the report finds {({9: 'nine', 12: 'twelve'}).get(corners, corners)} corners")


def two_minutes(checks, build, work):
    """docs/example.md: the rear peaks two minutes of the same driving show."""
    d = report_json(build, work, "two", make_replay(build, work, "two.raf", 120, 1))
    rear = [w["lateral"] for w in d["wheels"][2:]]
    shown = " and ".join(f"{w['peak_grip']:.3f}" if w["peak_reached"] else "not reached" for w in rear)
    checks.expect("docs/example.md", f"show the rear peaks: {shown} against")


def example_comparison(checks, compare):
    """The README's quick start: your lap against the friend's two."""
    laps = {os.path.basename(l["file"]): l["lap_time_s"] for l in compare["tracks"][0]["laps"]}
    checks.expect("README.md", f"your lap of {laps['lap.raf']:.2f} s")
    checks.expect("README.md", f"{laps['friend2.raf']:.2f} and {laps['friend3.raf']:.2f} s")
    claims = compare["claims"][0]
    checks.expect("README.md", f"{claims['claimed']} of {claims['m']} differences claimed")
    first = compare["findings"][0]["corners"][0]["sentence"]
    checks.expect("README.md", first.split(";")[0])


def worked_comparison(checks, build, work):
    """docs/json.md's worked example: rear tyres that grip 5 % more."""
    files = [make_replay(build, work, "base1.raf", 60, 1), make_replay(build, work, "base2.raf", 60, 2),
             make_replay(build, work, "soft1.raf", 60, 11, "--rear-grip=1.05"),
             make_replay(build, work, "soft2.raf", 60, 12, "--rear-grip=1.05")]
    d = report_json(build, work, "setups", "--label", "base", files[0], files[1], "--vs", "--label", "soft",
                    files[2], files[3])
    gradient = next(x for x in d["differences"] if x["quantity"] == "understeer_gradient")
    checks.expect("docs/json.md", f"({gradient['delta']:.3f} deg/g more, {interval(gradient['ci'], 3)}:")
    rl = next(x for x in d["differences"]
              if x["where"] == "RL" and x["curve"] == "lateral" and x["quantity"] == "peak_grip")
    members = ",\n".join(f"  {json.dumps(k)}: {json.dumps(v)}" for k, v in rl.items())
    checks.expect("docs/json.md", "```json\n{\n" + members + "\n}\n```")
    checks.expect("docs/json.md", f"{rl['relative'] * 100:+.1f} % ({rl['relative_ci'][0] * 100:+.1f} % to "
                                  f"{rl['relative_ci'][1] * 100:+.1f} %)")


def grip_use(d):
    uses = [lap[axle] for t in d["tracks"] for c in t["corners"] for lap in c["laps"]
            for axle in ("front_use", "rear_use")]
    known = [u for u in uses if u is not None]
    return f"{len(known)} of {len(uses)}, all between {min(known):.2f} and {max(known):.2f}"


def real_laps(checks, build, work):
    """docs/report.md: what the shared real laps show."""
    def real(name):
        return os.path.join(REAL, name)
    south = report_json(build, work, "south", real("real-xrgt-southcity.raf"), real("real-xrgt-southcity-lap8.raf"),
                        real("real-xrgt-southcity-lap9.raf"))
    checks.expect("docs/report.md", f"on the shared South City laps {grip_use(south)}")
    pair = report_json(build, work, "pair", real("real-xfgti-blackwood.raf"), "--vs", real("real-xfgti-blackwood-2.raf"))
    kyoto = report_json(build, work, "kyoto", real("real-xrgt-kyoto-100ms.raf"))
    both = {"tracks": pair["tracks"] + kyoto["tracks"]}
    checks.expect("docs/report.md", f"at Blackwood and Kyoto {grip_use(both)}")
    lap = next(l for l in pair["tracks"][0]["laps"] if l["file"].endswith("blackwood-2.raf"))
    deltas = " and ".join(f"{x:.3f}" for x in lap["delta_at_splits_s"])
    shifts = " and ".join(f"{x:+.1f}" for x in lap["split_shift_m"])
    checks.expect("docs/report.md", f"the time delta at its splits is {deltas} s")
    checks.expect("docs/report.md", f"its split places move {shifts} m")


def quoted_alike(checks):
    """Python's read time against read_csv's: the figures docs/python.md quotes
    are those of docs/performance.md's table."""
    with open(os.path.join(ROOT, "docs", "performance.md"), encoding="utf-8") as f:
        text = f.read()
    read = re.search(r"\| `skidlog.read\(replay\)` \| ([0-9.]+ s) \|", text)
    csv = re.search(r"\| `pd.read_csv\(csv, skipinitialspace=True\)` \| ([0-9.]+ s) \|", text)
    checks.expect("docs/performance.md", "| `skidlog.read(replay)` |")
    if read and csv:
        checks.expect("docs/python.md", f"an hour of data: {read.group(1)} instead of `pd.read_csv`'s {csv.group(1)}")


def broken_links():
    """Links of the README and docs/ to files of the source that are not there."""
    pages = ["README.md"] + [os.path.join("docs", n) for n in sorted(os.listdir(os.path.join(ROOT, "docs")))
                             if n.endswith(".md")]
    broken = []
    for page in pages:
        with open(os.path.join(ROOT, page), encoding="utf-8") as f:
            text = f.read()
        for target in re.findall(r"\]\(([^)#]+)(?:#[^)]*)?\)", text):
            if "://" in target:
                continue
            if not os.path.exists(os.path.join(ROOT, os.path.dirname(page), target)):
                broken.append((page, target))
    return broken


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "release"))
    checks = Checks()
    with tempfile.TemporaryDirectory() as work:
        example = os.path.join(ROOT, "examples", "lap.raf")
        single = report_json(build, work, "single", example)
        page = os.path.join(work, "single.html")
        run([os.path.join(build, "report", "skidlog-report"), "-o", page, example], work)
        checks.expect("docs/performance.md", f"| the example (one whole lap) | {os.path.getsize(page) / 1e6:.2f} MB")
        example_tyres(checks, single)
        example_setup(checks, single)
        friends = [make_replay(build, work, f"friend{s}.raf", 60, s, "--lap", "--pace=1.02", "--player=Friend")
                   for s in (2, 3)]
        run([os.path.join(build, "report", "skidlog-report"), "--json", os.path.join(work, "cmp.json"),
             "--label=you", example, "--vs", "--label=friend", *friends], work)
        with open(os.path.join(work, "cmp.json"), encoding="utf-8") as f:
            example_comparison(checks, json.load(f))
        worked_comparison(checks, build, work)
        two_minutes(checks, build, work)
        if os.path.exists(os.path.join(REAL, "real-xfgti-blackwood-2.raf")):
            real_laps(checks, build, work)
        else:
            print(f"no real replays at {REAL}: their figures not checked")
    quoted_alike(checks)
    if "--print" in sys.argv:
        for path, text in checks.expected:
            print(f"{path}: {text}")
        return 0
    missing = checks.missing()
    for path, text in missing:
        print(f"{path} no longer states: {text}")
    for path, target in broken_links():
        print(f"{path} links to {target}, which is not there")
        missing.append((path, target))
    print(f"{len(checks.expected) - len(missing)} of {len(checks.expected)} documented figures match the build")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
