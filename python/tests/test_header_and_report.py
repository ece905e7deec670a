"""skidlog.read_header, and skidlog.report against skidlog-report's JSON."""

import json
import struct
import subprocess
import warnings

import pytest

import skidlog
from conftest import EXAMPLE, REPORT, make_replay


def with_splits(source, target, count, splits):
    data = bytearray(source.read_bytes())
    data[171] = count
    struct.pack_into("<4i", data, 172, *(list(splits) + [0] * (4 - len(splits))))
    target.write_bytes(bytes(data))
    return target


def test_header_names_interval_samples_and_splits(tmp_path):
    made = make_replay(tmp_path / "named.raf", 3, 1, "--player=Ma^vx", "--car=XR GT", "--track=Kyoto",
                       "--interval=100")
    header = skidlog.read_header(made)
    assert header["player"] == "Ma|x", "the simulator's escapes decoded"
    assert (header["car"], header["track"], header["interval_s"]) == ("XR GT", "Kyoto", 0.1)
    assert header["samples"] == header["declared_samples"] == 30
    assert header["lap_time_s"] is None and header["splits_s"] is None

    # The samples the file holds come from its length, not from reading them:
    # cut inside its 21st sample, it holds 20; cut inside its header, it is none.
    data = made.read_bytes()
    block = (len(data) - 1024) // 30
    cut = tmp_path / "cut.raf"
    cut.write_bytes(data[:1024 + 20 * block + block // 2])
    header = skidlog.read_header(cut)
    assert (header["samples"], header["declared_samples"], header["player"]) == (20, 30, "Ma|x")
    cut.write_bytes(data[:900])
    with pytest.raises(ValueError):
        skidlog.read_header(cut)

    lap = with_splits(made, tmp_path / "splits.raf", 2, [33010, 60420])
    header = skidlog.read_header(lap)
    assert (header["lap_time_s"], header["splits_s"]) == (60.42, [33.01])
    for count, splits in [(5, [1, 2, 3, 4]), (2, [60420, 33010]), (1, [-5]), (0, [100])]:
        header = skidlog.read_header(with_splits(made, tmp_path / "bad.raf", count, splits))
        assert header["lap_time_s"] is None and header["splits_s"] is None, (count, splits)


def report_json(tmp_path, *args):
    out = tmp_path / "report.json"
    subprocess.run([str(REPORT), f"--json={out}", *args], check=True, capture_output=True)
    return json.loads(out.read_text())


def test_report_is_the_json_of_the_command_line(tmp_path):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        assert skidlog.report(EXAMPLE) == report_json(tmp_path, str(EXAMPLE))


def test_report_of_groups_with_labels(tmp_path):
    base = [make_replay(tmp_path / f"base{s}.raf", 20, s) for s in (1, 2)]
    soft = make_replay(tmp_path / "soft.raf", 20, 11, "--rear-grip=1.05")
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        summary = skidlog.report(base, [soft], labels=["base", "soft"])
    assert summary == report_json(tmp_path, "--label=base", *map(str, base), "--vs", "--label=soft", str(soft))
    assert [g["label"] for g in summary["groups"]] == ["base", "soft"]
    assert summary["differences"]


def test_report_of_laps_with_a_reference(tmp_path):
    laps = [make_replay(tmp_path / f"lap{s}.raf", 60, s, "--lap") for s in (1, 2)]
    summary = skidlog.report(laps, reference=laps[1])
    assert summary == report_json(tmp_path, "--reference=" + str(laps[1]), *map(str, laps))
    track = summary["tracks"][0]
    assert track["reference"] == str(laps[1])
    assert [lap["complete"] for lap in track["laps"]] == [True, True]
    assert track["corners"][0]["name"] == "T1"


def test_report_errors(tmp_path):
    with pytest.raises(FileNotFoundError):
        skidlog.report([tmp_path / "none.raf"])
    # Five groups are a session: read, not refused.
    copies = [tmp_path / f"lap{k}.raf" for k in range(5)]
    for copy in copies:
        copy.write_bytes(EXAMPLE.read_bytes())
    assert len(skidlog.report(*copies)["groups"]) == 5
    # One replay twice is refused by name.
    with pytest.raises(ValueError, match="lap.raf is given twice"):
        skidlog.report(EXAMPLE, EXAMPLE)
    with pytest.raises(ValueError):
        skidlog.report(EXAMPLE, by="colour")
    with pytest.raises(ValueError, match="needs replays"):
        skidlog.report([EXAMPLE], [])
    # A file that is no replay (a CSV renamed, say) is refused by name.
    renamed = tmp_path / "lap.raf"
    renamed.write_bytes(b"time [s], speed [m/s]\n" + EXAMPLE.read_bytes()[40:])
    with pytest.raises(ValueError, match="Not a replay: .*lap.raf does not begin with the replay signature"):
        skidlog.report(EXAMPLE, renamed)


def with_setup(source, target, final_drive, rear_tyre):
    """A copy of a replay with its final drive and rear tyre types changed."""
    data = bytearray(source.read_bytes())
    struct.pack_into("<f", data, 204, final_drive)
    for record in range(4):
        if struct.unpack_from("<f", data, 512 + 128 * record + 4)[0] < 0:  # behind the centre: a rear wheel
            data[512 + 128 * record + 29] = rear_tyre
    target.write_bytes(bytes(data))
    return target


def test_setup_in_the_header_and_grouped_by_setup(tmp_path):
    laps = [make_replay(tmp_path / f"lap{s}.raf", 60, s, "--lap") for s in (1, 2)]
    other = with_setup(laps[1], tmp_path / "other.raf", 3.0, 6)
    header = skidlog.read_header(other)
    assert header["setup"]["final_drive"] == 3.0
    assert header["setup"]["wheels"]["RL"]["tyre"] == "hybrid"
    assert header["setup"] == report_json(tmp_path, str(other))["replays"][0]["setup"]
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        summary = skidlog.report([laps[0], other, laps[1]], by="setup")
    assert summary == report_json(tmp_path, "--by=setup", str(laps[0]), str(other), str(laps[1]))
    assert [len(g["replays"]) for g in summary["groups"]] == [2, 1]
    assert {(d["where"], d["quantity"]) for d in summary["setup_differences"]} == {
        ("rear", "tyre"), ("car", "final_drive")}
    # One setup in two groups differs in nothing.
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        assert skidlog.report([laps[0]], [laps[1]])["setup_differences"] == []


def test_report_tables_are_tidy(tmp_path):
    laps = [make_replay(tmp_path / f"lap{seed}.raf", 60, seed, "--lap") for seed in (1, 2, 3)]
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        summary = skidlog.report(laps[:2], [laps[2]])
    tables = skidlog.report_tables(summary)
    track = summary["tracks"][0]
    assert len(tables["laps"]) == 3 and set(tables["laps"]["file"]) == {str(p) for p in laps}
    assert len(tables["corner_laps"]) == 3 * len(track["corners"])
    groups = tables["corner_groups"]
    assert len(groups) == 2 * len(track["corners"])
    # An interval over laps in two columns, the group's laps beside it.
    first = track["corners"][0]["groups"][0]
    assert groups.loc[0, "time_s"] == first["time_s"]
    assert [groups.loc[0, "time_s_ci_low"], groups.loc[0, "time_s_ci_high"]] == first["time_s_ci"]
    assert len(tables["differences"]) == len(summary["differences"])
    session = tables["session"]
    assert list(session["label"]) == [g["label"] for g in summary["session"]["groups"]]
    assert {"pace_s", "pace_ci_low", "pace_ci_high", "rank", "rank_range_low", "rank_range_high"} <= set(session)
    assert len(tables["session_corners"]) == 2 * len(track["corners"])
    # The three tables a newcomer asks for by name: a difference's interval as
    # low and high, each agreeing with the JSON's.
    assert skidlog.laps(summary).equals(tables["laps"])
    assert skidlog.corners(summary).equals(tables["corner_laps"])
    differences = skidlog.differences(summary)
    assert list(differences[["low", "high"]].iloc[0]) == summary["differences"][0]["ci"]
    # A corner number says how many laps of each side it stands on.
    corner = next(k for k, d in enumerate(summary["differences"]) if d["where"].startswith("T"))
    assert list(differences[["from_laps", "to_laps"]].iloc[corner]) == summary["differences"][corner]["laps"]
    # A report of one group has no differences, but the table keeps its columns.
    alone = skidlog.differences(skidlog.report(EXAMPLE))
    assert alone.empty and {"from", "to", "where", "quantity", "delta", "low", "high", "verdict"} <= set(alone)
