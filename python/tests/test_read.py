"""skidlog.read against the CSV skidlog writes for the same replay."""

import concurrent.futures
import gc
import math
import warnings

import numpy as np
import pytest

import skidlog
from conftest import EXAMPLE, csv_lines


def csv_text(value):
    """A value in the CSV's number format: six significant digits rounded half
    away from zero from the 17-digit decimal, %g layout with a three-digit
    exponent, zero of either sign as 0."""
    value = float(value)
    if math.isnan(value):
        return "nan"
    if math.isinf(value):
        return "inf" if value > 0 else "-inf"
    if value == 0:
        return "0"
    sign = "-" if value < 0 else ""
    mantissa, exponent = f"{abs(value):.16e}".split("e")
    digits = mantissa.replace(".", "")
    exponent = int(exponent)
    kept = int(digits[:6]) + (1 if digits[6] >= "5" else 0)
    if kept == 1000000:
        kept, exponent = 100000, exponent + 1
    kept = str(kept)
    if -4 <= exponent <= 5:
        if exponent >= 0:
            text = kept[:exponent + 1] + "." + kept[exponent + 1:]
        else:
            text = "0." + "0" * (-exponent - 1) + kept
        text = text.rstrip("0").rstrip(".")
    else:
        tail = kept[1:].rstrip("0")
        text = kept[0] + ("." + tail if tail else "") + f"e{'-' if exponent < 0 else '+'}{abs(exponent):03d}"
    return sign + text


@pytest.mark.parametrize("csv, text", [(1.0, "1"), (-0.0, "0"), (0.000645477, "0.000645477"), (1234567.0, "1.23457e+006"),
                                       (123456.5, "123457"), (1e-5, "1e-005"), (float("-inf"), "-inf")])
def test_number_format_of_the_check(csv, text):
    assert csv_text(csv) == text


def expected_dtype(name):
    if name == "wheel number":
        return np.dtype(np.int64)
    if name.endswith(("wheel steer [deg]", "camber [deg]", "slip angle [deg]")):
        return np.dtype(np.float64)
    return np.dtype(np.float32)


def assert_frame_is_the_csv(frame, lines):
    header = lines[0].split(", ")
    assert list(frame.columns) == header
    assert len(frame) == len(lines) - 1
    for name in header:
        assert frame[name].dtype == expected_dtype(name), name
    columns = [frame[name].to_numpy() for name in header]
    for r, line in enumerate(lines[1:]):
        printed = [csv_text(column[r]) for column in columns]
        assert ", ".join(printed) == line, f"row {r}"


@pytest.mark.parametrize("side_by_side, width", [(False, 23), (True, 61)])
def test_every_value_prints_as_the_csv(side_by_side, width, lap, damaged, tmp_path):
    for replay in (EXAMPLE, lap, damaged):
        lines, _ = csv_lines(replay, side_by_side, tmp_path)
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")
            frame = skidlog.read(replay, side_by_side=side_by_side)
        assert frame.shape == (len(lines) - 1, width)
        assert_frame_is_the_csv(frame, lines)


def test_columns_are_the_arrays_made_writable_and_outlive_the_frame(lap):
    code, _, names, arrays = skidlog._skidlog.read(str(lap), False)
    assert code == 0
    frame = skidlog._frame(names, arrays)
    for name, array in zip(names, arrays):
        assert np.shares_memory(frame[name].to_numpy(copy=False), array), f"{name} was copied"
    frame = skidlog.read(lap)
    for name in frame.columns:
        assert frame[name].to_numpy(copy=False).flags.writeable, name
    load = frame["tyre normal load [N]"].to_numpy(copy=False)
    kept = load.copy()
    frame.loc[0, "tyre normal load [N]"] = 12.5
    assert load[0] == np.float32(12.5)
    del frame
    gc.collect()
    skidlog.read(lap, side_by_side=True)
    assert load[0] == np.float32(12.5) and np.array_equal(load[1:], kept[1:])


def test_threads_read_laps_at_once(lap):
    alone = skidlog.read(lap)
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        frames = list(pool.map(skidlog.read, [lap] * 8))
    for frame in frames:
        assert frame.equals(alone)


def test_a_truncated_replay_warns_and_gives_its_complete_blocks(damaged, tmp_path):
    lines, stderr = csv_lines(damaged, False, tmp_path)
    assert "holds" in stderr
    with pytest.warns(UserWarning, match=r"damaged\.raf holds \d+ of \d+ sample blocks\."):
        frame = skidlog.read(damaged)
    assert len(frame) == len(lines) - 1


def test_errors_name_the_file(tmp_path):
    missing = tmp_path / "missing.raf"
    with pytest.raises(FileNotFoundError) as caught:
        skidlog.read(missing)
    assert caught.value.filename == str(missing) and str(caught.value).count("missing.raf") == 1
    with pytest.raises(OSError, match="Could not open file"):
        skidlog.read(tmp_path)
    short = tmp_path / "short.raf"
    short.write_bytes(b"LFSRAF" + bytes(900))
    with pytest.raises(ValueError, match=r"^Not a replay analyser file: .*short\.raf\.$"):
        skidlog.read(short)
    with pytest.raises(ValueError):
        skidlog.read_header(short)
    with pytest.raises(FileNotFoundError):
        skidlog.read_header(missing)
    assert list(tmp_path.iterdir()) == [short], "nothing is written"


def test_a_file_that_is_no_replay_warns_naming_the_signature(lap, tmp_path):
    # A CSV given by mistake: the converter reads any file as a replay, so
    # Python says what the file lacks.
    lines, _ = csv_lines(lap, False, tmp_path)
    csv = tmp_path / "lap.csv"
    csv.write_text("\n".join(lines) + "\n")
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        try:
            skidlog.read(csv)
        except ValueError:
            pass
    assert any("does not begin with the replay signature LFSRAF" in str(w.message) for w in caught)
