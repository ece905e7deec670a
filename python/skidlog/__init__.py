"""Replays read straight into pandas, by the same library as the skidlog CSV.

    import skidlog
    lap = skidlog.read("lap.raf")                   # the per-wheel CSV's rows
    side = skidlog.read("lap.raf", side_by_side=True)
    skidlog.read_header("lap.raf")                  # player, car, track, lap time
    summary = skidlog.report(["base.raf"], ["soft.raf"], labels=["base", "soft"])
    tables = skidlog.report_tables(summary)         # laps, corners, differences, session as DataFrames

`read` gives exactly the rows the CSV holds, in its order and under its
header names, with the values the CSV prints at six digits given whole: the
stored 32-bit floats as float32, the values formed in double (wheel steer,
camber, slip angle) as float64, the wheel number as int64.
"""

import errno as _errno
import json as _json
import os as _os
import warnings as _warnings

from . import _skidlog

__all__ = ["read", "read_header", "report", "report_tables", "laps", "corners", "differences"]
__version__ = _skidlog.__version__

_PREFIX = "skidlog-report: "
_WARNING = "Warning: "


def _lines(messages):
    for line in messages.splitlines():
        yield line[len(_PREFIX):] if line.startswith(_PREFIX) else line


def _check(code, messages, paths):
    """Raises what the exit code means; warns with every other message."""
    lines = list(_lines(messages))
    if code == 0:
        for line in lines:
            _warnings.warn(line[len(_WARNING):] if line.startswith(_WARNING) else line, stacklevel=3)
        return
    text = " ".join(lines)
    if code == 2:
        for path in paths:
            if not _os.path.exists(path):
                # Python's own words name the file once.
                raise FileNotFoundError(_errno.ENOENT, _os.strerror(_errno.ENOENT), str(path))
        raise OSError(text)
    raise ValueError(text)


def _path(path):
    return _os.fsdecode(_os.fspath(path))


def read(path, side_by_side=False):
    """The replay's CSV rows as a pandas DataFrame.

    Per wheel (the default), 23 columns: every passing sample of the front left
    wheel in time order, then the front right, rear left and rear right.
    Side by side, 61 columns, one row per sample at which all four wheels pass.
    The columns are handed to pandas without a copy and can be written to.

    Raises FileNotFoundError (or another OSError) when the file cannot be read,
    ValueError when it is not a replay; a truncated replay warns and gives the
    rows of its complete sample blocks.
    """
    path = _path(path)
    code, messages, names, arrays = _skidlog.read(path, bool(side_by_side))
    _check(code, messages, [path])
    return _frame(names, arrays)


def _frame(names, arrays):
    """The columns as a DataFrame that holds the arrays themselves, not copies."""
    import pandas as pd

    return pd.DataFrame(dict(zip(names, arrays)), columns=names, copy=False)


def read_header(path):
    """The replay's header as a dict.

    player, car, track, layout: as the simulator shows them; interval_s: time
    between samples; samples: the complete sample blocks the file holds, and
    declared_samples the count its header gives; lap_time_s and splits_s (the
    split times before the line): None where the header records none; setup:
    the car's setup as the report's JSON gives it (per wheel its tyre, travel,
    springs, dampers and brake torque; the anti-roll bars, final drive, gear
    ratios, player flags with the aids they show, and the weather).
    """
    path = _path(path)
    code, messages, fields = _skidlog.read_header(path)
    _check(code, messages, [path])
    return fields


def report(paths, *vs, labels=None, by=None, reference=None):
    """What `skidlog-report --json` writes for the replays, as a dict.

    report(paths) fits one group; report(base, other, ...) compares each later
    group with the first, as --vs does (two to four groups; five or more are
    ranked as a session), each a path or a
    list of paths. labels names the groups (None keeps a group's default name),
    as --label does; by="car", "track" or "player" groups the replays by that
    name, or by="setup" by their car setups, instead, as --by does; reference
    names the lap the others of its track are laid against, as --reference
    does. Messages of fits left out, and of replays that are no laps, arrive as
    warnings.
    """
    groups = [[_path(p)] if isinstance(p, (str, bytes, _os.PathLike)) else [_path(q) for q in p]
              for p in (paths,) + vs]
    labels = [] if labels is None else [None if label is None else str(label) for label in labels]
    if len(labels) > len(groups):
        raise ValueError(f"{len(labels)} labels for {len(groups)} groups")
    code, messages, text = _skidlog.report(groups, labels, by, None if reference is None else _path(reference))
    _check(code, messages, [p for g in groups for p in g])
    return _json.loads(text)


def _flat(entry, into=None, prefix=""):
    """An entry's numbers and texts as one row: an interval [low, high] as
    NAME_low and NAME_high; nested records (a corner's phases, a wheel's
    values) left to the dict."""
    row = {} if into is None else into
    for key, value in entry.items():
        if isinstance(value, list) and len(value) == 2 and all(v is None or isinstance(v, (int, float))
                                                                 for v in value) and key.endswith(("ci", "range")):
            row[prefix + key + "_low"], row[prefix + key + "_high"] = value
        elif value is None or isinstance(value, (str, int, float, bool)):
            row[prefix + key] = value
    return row


# A comparison's differences as columns, so that a report without one (a
# single group) still gives the table its shape.
_DIFFERENCE_COLUMNS = ("from", "to", "where", "phase", "wheel", "curve", "quantity", "delta", "ci_low", "ci_high",
                       "relative", "relative_ci_low", "relative_ci_high", "verdict", "from_laps", "to_laps")


def report_tables(summary):
    """The dict `report` gives as tidy tables: a dict of pandas DataFrames,
    one row per thing, each with the track (and corner, group) it belongs to.

    laps: per track and lap its times; corner_laps: per corner and lap its
    numbers; corner_groups: per corner and group each number over the
    group's laps (NAME, NAME_ci_low, NAME_ci_high, NAME_laps); differences:
    per difference of a comparison (ci_low, ci_high; from_laps and to_laps,
    the laps each side's lap or corner number stands on); session: per group its
    pace, gap, consistency and rank (each interval as _low and _high);
    session_corners: per corner and group its time against the fastest's;
    fast_gain: where the faster third differs. A corner's phases and other
    nested records stay in the dict.
    """
    import pandas as pd

    rows = {name: [] for name in ("laps", "corner_laps", "corner_groups", "differences", "session",
                                  "session_corners", "fast_gain")}
    for track in summary.get("tracks", []):
        where = {"track": track["track"], "layout": track["layout"]}
        for lap in track["laps"]:
            rows["laps"].append(_flat(lap, dict(where)))
        for corner in track["corners"]:
            at = dict(where, corner=corner["name"])
            for lap in corner["laps"]:
                rows["corner_laps"].append(_flat(lap, dict(at)))
            for group in corner["groups"]:
                rows["corner_groups"].append(_flat(group, dict(at)))
    for difference in summary.get("differences", []):
        # The laps each side's number stands on; none for a tyre's or the
        # balance's difference.
        row = _flat(difference)
        row["from_laps"], row["to_laps"] = difference.get("laps") or (None, None)
        rows["differences"].append(row)
    session = summary.get("session")
    if session:
        where = {"track": session["track"], "layout": session["layout"]}
        for group in session["groups"]:
            rows["session"].append(_flat(group, dict(where)))
        for cell in session["corners"]:
            rows["session_corners"].append(_flat(cell, dict(where)))
        for gain in session["fast_gain"]:
            rows["fast_gain"].append(_flat(gain, dict(where)))
    tables = {name: pd.DataFrame(table) for name, table in rows.items()}
    if not rows["differences"]:
        tables["differences"] = pd.DataFrame(columns=list(_DIFFERENCE_COLUMNS))
    return tables


def laps(summary):
    """One row per lap of every track in a `report`: its file, group, lap
    time, splits and time delta at them and at the line."""
    return report_tables(summary)["laps"]


def corners(summary):
    """One row per corner and lap: its speeds, times, braking and throttle
    places, line, balance and grip use."""
    return report_tables(summary)["corner_laps"]


def differences(summary):
    """One row per difference of a comparison: from, to, where, quantity,
    delta, its interval as low and high, and the verdict."""
    table = report_tables(summary)["differences"]
    return table.rename(columns={"ci_low": "low", "ci_high": "high"})
