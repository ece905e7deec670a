#!/usr/bin/python3
"""Recompute the driver's actions from the replays themselves and compare them
with a report's JSON: an independent check of the braking point, the place of
the lowest speed, the lift, the throttle's return and full-throttle places and
the line at the apex.

    tools/recompute_actions.py REPORT.json REPLAY...

Reads positions, pedals and speed straight from each file's sample blocks with
numpy, places every sample on the reference lap's path by the nearest point of
its polyline (searched in a window ahead of the sample before, by brute force
rather than the report's way), and applies the README's definitions to the
corners the report found. Prints, per quantity, how many lap-corners both find,
how many only one finds, and how many agree within the tolerance (3 m at 10 ms,
10 m at 100 ms)."""
import json
import sys

import numpy as np


def read(path):
    raw = open(path, "rb").read()
    interval = raw[9] / 1000.0 or 0.01
    first, size = 1024, 192
    n = (len(raw) - first) // size
    blocks = np.frombuffer(raw, np.uint8, n * size, first).reshape(n, size)
    f32 = lambda off: blocks[:, off:off + 4].copy().view("<f4")[:, 0].astype(float)
    i32 = lambda off: blocks[:, off:off + 4].copy().view("<i4")[:, 0] / 65536.0
    return dict(interval=interval, throttle=f32(0), brake=f32(4), speed=f32(24),
                x=i32(32), y=i32(36), gear=blocks[:, 20].astype(float) - 1.0)


def place(path_x, path_y, path_s, x, y, window=40.0):
    """Each sample's distance along the path: the nearest point of the path's
    segments between the last place and `window` m on."""
    seg = np.stack([path_x[:-1], path_y[:-1], path_x[1:], path_y[1:]], 1)
    out = np.full(len(x), np.nan)
    last = 0.0
    for i in range(len(x)):
        lo = np.searchsorted(path_s, last, "right") - 1
        hi = np.searchsorted(path_s, last + window, "right")
        lo, hi = max(lo, 0), min(max(hi, lo + 1), len(seg))
        ax, ay, bx, by = seg[lo:hi].T
        dx, dy = bx - ax, by - ay
        l2 = dx * dx + dy * dy
        t = np.clip(np.where(l2 > 0, ((x[i] - ax) * dx + (y[i] - ay) * dy) / np.where(l2 > 0, l2, 1), 0), 0, 1)
        d2 = (ax + t * dx - x[i]) ** 2 + (ay + t * dy - y[i]) ** 2
        k = int(np.argmin(d2))
        if d2[k] > 30.0 ** 2:
            break
        s = path_s[lo + k] + t[k] * (path_s[lo + k + 1] - path_s[lo + k])
        last = max(last, s)
        out[i] = last
    return out


def left_of(path_x, path_y, path_s, at, px, py):
    k = min(max(np.searchsorted(path_s, at, "right") - 1, 0), len(path_s) - 2)
    dx, dy = path_x[k + 1] - path_x[k], path_y[k + 1] - path_y[k]
    share = (at - path_s[k]) / (path_s[k + 1] - path_s[k])
    ax, ay = path_x[k] + share * dx, path_y[k] + share * dy
    return (dx * (py - ay) - dy * (px - ax)) / np.hypot(dx, dy)


def index_at(dist, at):
    """The sample nearest the time the lap reached `at`."""
    k = np.searchsorted(dist, at)
    if k == 0 or k >= len(dist) or np.isnan(dist[k]):
        return None
    share = (at - dist[k - 1]) / (dist[k] - dist[k - 1]) if dist[k] > dist[k - 1] else 1.0
    return int(round(k - 1 + share))


def actions(lap, dist, corner, before_end, next_start, path, lift_from):
    brake = np.clip(np.nan_to_num(lap["brake"]), 0, 1)
    throttle = np.clip(np.nan_to_num(lap["throttle"]), 0, 1)
    out = {}
    # The braking zone: the last run of brake >= 0.1 that begins after the
    # previous corner's end and before the apex, with the runs before it
    # joined while the gap between two is under 1 s and holds no 0.3 s of
    # throttle >= 0.9; never a run that began before the previous corner's end.
    pressed = brake >= 0.1
    starts, ends = [], []
    i = 0
    while i < len(dist) and not np.isnan(dist[i]) and dist[i] < corner["apex_m"]:
        if pressed[i] and (i == 0 or not pressed[i - 1]):
            j = i
            while j < len(dist) and pressed[j]:
                j += 1
            starts.append(i)
            ends.append(j)
        i += 1
    zone = None
    for r in range(len(starts) - 1, -1, -1):
        if dist[starts[r]] < before_end:
            break
        if zone is not None:
            gap = starts[zone] - ends[r]
            full = throttle[ends[r]:starts[zone]] >= 0.9
            longest = max((len(run) for run in "".join("1" if f else "0" for f in full).split("0")), default=0)
            if gap >= round(1.0 / lap["interval"]) or longest >= round(0.3 / lap["interval"]):
                break
        zone = r
    out["brake_m"] = dist[starts[zone]] if zone is not None else None
    inside = np.flatnonzero((dist >= corner["start_m"]) & (dist <= corner["end_m"]))
    if len(inside) == 0 or not np.nanmax(dist) >= corner["end_m"]:
        return None
    k = inside[int(np.argmin(lap["speed"][inside]))]
    out["min_speed_m"] = dist[k]
    # The lift: the last throttle below 0.1 from the previous corner's end (or
    # where its throttle came back, if later) to this corner's end, gear
    # changes aside, and the throttle's return after it, before the next
    # corner's start.
    reached = ~np.isnan(dist)
    window = np.flatnonzero(reached & (dist >= before_end) & (dist < corner["end_m"]) &
                            (np.arange(len(dist)) >= lift_from) & (throttle < 0.1))
    # A lift for a gear change (back within 0.5 s in a higher gear, no
    # braking) is not a lift for the corner.
    lifts = []
    for i in window:
        start, back = i, i
        while start > 0 and throttle[start - 1] < 0.1:
            start -= 1
        while back < len(dist) and reached[back] and throttle[back] < 0.1:
            back += 1
        shift = (start > 0 and back < len(dist) and reached[back] and (back - start) * lap["interval"] <= 0.5 and
                 brake[start:back].max() < 0.1 and lap["gear"][back] > lap["gear"][start - 1])
        if not shift:
            lifts.append(i)
    out["lifts"] = bool(lifts)
    on = full = None
    if lifts:
        j = lifts[-1] + 1
        while j < len(dist) and reached[j] and dist[j] < next_start and throttle[j] < 0.1:
            j += 1
        if j < len(dist) and reached[j] and dist[j] < next_start:
            on = j
    # Full throttle: from where the throttle stays >= 0.9 to the corner's end,
    # or the first after it before the next corner's start; none on a corner
    # taken without braking or a lift.
    end = int(np.searchsorted(dist[reached], corner["end_m"]))
    if (lifts or out["brake_m"] is not None) and end < len(dist) and reached[end]:
        if throttle[end] >= 0.9:
            i = end
            while i > 0 and throttle[i - 1] >= 0.9 and dist[i - 1] >= before_end:
                i -= 1
            full = dist[i]
        else:
            for i in range(end + 1, len(dist)):
                if not reached[i] or dist[i] >= next_start:
                    break
                if throttle[i] >= 0.9:
                    full = dist[i]
                    break
    out["throttle_on_m"] = dist[on] if on is not None else None
    out["on_index"] = on
    out["full_throttle_m"] = full
    a = index_at(dist, corner["apex_m"])
    side = 1.0 if corner["direction"] == "left" else -1.0
    out["line_apex_m"] = side * left_of(*path, corner["apex_m"], lap["x"][a], lap["y"][a]) if a is not None else None
    return out


def main():
    report = json.load(open(sys.argv[1]))
    laps = {p: read(p) for p in sys.argv[2:]}
    keys = {"brake_m": "brake_m", "min_speed_m": "min_speed_m", "full_throttle_m": "full_throttle_m",
            "throttle_on_m": "throttle_on_m", "line_apex_m": "line_apex_m"}
    tally = {k: [0, 0, 0] for k in keys}  # both, agree, one only
    lifts = [0, 0]  # lap-corners whose lift the two read differently, alike
    for track in report["tracks"]:
        ref = laps[track["reference"]]
        # The reference path, closed at the line along the last sample's travel.
        px, py = ref["x"].copy(), ref["y"].copy()
        keep = np.concatenate([[True], np.hypot(np.diff(px), np.diff(py)) > 0])
        px, py = px[keep], py[keep]
        ps = np.concatenate([[0.0], np.cumsum(np.hypot(np.diff(px), np.diff(py)))])
        length = track["length_m"]
        px, py = np.append(px, px[0]), np.append(py, py[0])
        ps = np.append(ps, length)
        path = (px, py, ps)
        corners = track["corners"]
        for c_index, c in enumerate(corners):
            before_end = corners[c_index - 1]["end_m"] if c_index > 0 else 0.0
            next_start = corners[c_index + 1]["start_m"] if c_index + 1 < len(corners) else length
            for reported in c["laps"]:
                lap = laps[reported["file"]]
                dist = lap.setdefault("dist", place(px, py, ps, lap["x"], lap["y"]))
                lift_from = lap.setdefault("lift_from", {}).get(track["track"], 0)
                mine = actions(lap, dist, c, before_end, next_start, path, lift_from)
                if mine is None:
                    continue
                if mine["on_index"] is not None:
                    lap["lift_from"][track["track"]] = mine["on_index"]
                lifts[mine["lifts"] == reported.get("lifts")] += 1
                tolerance = 3.0 if lap["interval"] <= 0.01 else 10.0
                for k in keys:
                    a, b = mine[k], reported.get(k)
                    if a is None and b is None:
                        continue
                    if a is None or b is None:
                        tally[k][2] += 1
                        print(f"  {c['name']} {reported['file']}: {k} mine {a} report {b}")
                        continue
                    tally[k][0] += 1
                    if abs(a - b) <= tolerance:
                        tally[k][1] += 1
                    else:
                        print(f"  {c['name']} {reported['file']}: {k} mine {a:.1f} report {b:.1f}")
    for k, (both, agree, one) in tally.items():
        print(f"{k}: both find {both}, agree {agree} ({100 * agree / max(both, 1):.0f} %), one only {one}")
    print(f"lifts: read alike on {lifts[1]} of {sum(lifts)}")


if __name__ == "__main__":
    main()
