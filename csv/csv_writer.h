// The CSV table: a header line, then rows for the wheels that roll forward at
// 3 m/s or more and carry load, in one of two layouts.
#ifndef SKIDLOG_CSV_CSV_WRITER_H_
#define SKIDLOG_CSV_CSV_WRITER_H_

#include <cstddef>

#include "csv/line_sink.h"
#include "raf/replay.h"

namespace skidlog {

// Side-by-side layout: one row per sample with all four wheels, 61 fields,
// written when every wheel passes. Per-wheel layout: wheel 0's passing
// samples, then wheel 1's, 2's and 3's, 23 fields ending with the wheel number.
// Each line is handed to the sink as soon as it is complete. Returns false as
// soon as the sink fails. REQUIRES: every series holds at least n entries.
bool writeCsv(LineSink& sink, bool sideBySide, std::size_t n, const Series<float>& sampleTimes,
              const CarTrack& car, const WheelTracks& wheels, const WheelGeometries& geometry);

}  // namespace skidlog

#endif  // SKIDLOG_CSV_CSV_WRITER_H_
