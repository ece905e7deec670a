"""Replays for the tests: the bundled example and laps made by make_replay."""

import os
import pathlib
import struct
import subprocess

import pytest

BUILD = pathlib.Path(os.environ.get("SKIDLOG_BUILD", pathlib.Path(__file__).parents[2] / "build" / "release"))
SOURCE = pathlib.Path(os.environ.get("SKIDLOG_SOURCE", pathlib.Path(__file__).parents[2]))
SKIDLOG = BUILD / "app" / "skidlog"
REPORT = BUILD / "report" / "skidlog-report"
MAKE_REPLAY = BUILD / "tools" / "make_replay"
EXAMPLE = SOURCE / "examples" / "lap.raf"


def make_replay(path, seconds, seed, *options):
    subprocess.run([str(MAKE_REPLAY), *options, str(path), str(seconds), str(seed)], check=True,
                   stdout=subprocess.DEVNULL)
    return path


def csv_lines(replay, side_by_side, tmp_path):
    """The lines skidlog writes for the replay, and its standard error."""
    out = tmp_path / (pathlib.Path(replay).stem + (".side" if side_by_side else "") + ".csv")
    args = [str(SKIDLOG)] + (["/s"] if side_by_side else []) + [str(replay), str(out)]
    run = subprocess.run(args, capture_output=True, text=True, check=True)
    return out.read_text().splitlines(), run.stderr


@pytest.fixture(scope="session")
def lap(tmp_path_factory):
    return make_replay(tmp_path_factory.mktemp("laps") / "lap.raf", 12, 3)


@pytest.fixture(scope="session")
def damaged(tmp_path_factory, lap):
    """The lap with NaN, infinite, huge and negative-zero values in its samples,
    and two blocks past its end cut in the middle of a block."""
    data = bytearray(lap.read_bytes())
    first, block, wheel_size, wheel_offset = struct.unpack_from("<4H", data, 12)

    def wheel_field(sample, wheel, field):
        return first + sample * block + wheel_offset + wheel * wheel_size + field

    struct.pack_into("<f", data, wheel_field(200, 0, 8), float("nan"))       # force x
    struct.pack_into("<f", data, wheel_field(201, 1, 12), float("inf"))      # force y
    struct.pack_into("<f", data, wheel_field(202, 2, 4), 3.0e38)            # steer
    struct.pack_into("<f", data, wheel_field(203, 3, 0), -0.0)              # deflection
    struct.pack_into("<f", data, first + 204 * block + 8, float("-inf"))    # car steering
    struct.pack_into("<f", data, wheel_field(205, 0, 20), 1.0e-42)          # spin, subnormal
    cut = len(data) - block // 2
    path = tmp_path_factory.mktemp("damaged") / "damaged.raf"
    path.write_bytes(bytes(data[:cut]))
    return path
