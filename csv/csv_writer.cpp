#include "csv/csv_writer.h"

#include <cstring>
#include <string_view>

#include "csv/csv_rows.h"
#include "csv/number_format.h"

namespace skidlog {
namespace {

constexpr std::string_view separator = ", ";

// One output line, built in place: no allocation or stream state per value.
class LineBuilder {
 public:
  void text(std::string_view t) {
    std::memcpy(end_, t.data(), t.size());
    end_ += t.size();
  }
  void number(double value) { end_ = formatNumber(value, end_); }
  void integer(unsigned value) { end_ = formatInteger(value, end_); }
  bool finish(LineSink& sink) {
    *end_++ = '\n';
    const bool ok = sink.writeLine(std::string_view(buffer_, static_cast<std::size_t>(end_ - buffer_)));
    end_ = buffer_;
    return ok;
  }

 private:
  // The side-by-side header, the longest line, is under 1,700 characters; a
  // row is at most 61 numbers of 16 characters and their separators.
  char buffer_[4096];
  char* end_ = buffer_;
};

void writeHeader(LineBuilder& line, std::span<const Column> columns) {
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (c > 0) line.text(separator);
    line.text(columns[c].name);
  }
}

// A float32 column's value is its float widened, so it prints as the float.
void writeValues(LineBuilder& line, std::span<const Column> columns, const RowValues& values) {
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (c > 0) line.text(separator);
    if (columns[c].type == ColumnType::wheelNumber) {
      line.integer(static_cast<unsigned>(values[c]));
    } else {
      line.number(values[c]);
    }
  }
}

}  // namespace

bool writeCsv(LineSink& sink, bool sideBySide, std::size_t n, const Series<float>& sampleTimes,
              const CarTrack& car, const WheelTracks& wheels, const WheelGeometries& geometry) {
  CsvRows rows(sideBySide, n, sampleTimes, car, wheels, geometry);
  const std::span<const Column> columns = rows.columns();
  LineBuilder line;
  writeHeader(line, columns);
  if (!line.finish(sink)) return false;
  RowValues values;
  while (rows.next(values)) {
    writeValues(line, columns, values);
    if (!line.finish(sink)) return false;
  }
  return true;
}

}  // namespace skidlog
