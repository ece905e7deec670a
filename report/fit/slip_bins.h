// A curve's points summed in narrow bins of slip: in total, and per block of
// consecutive samples, so that a resample of blocks costs one pass over the
// blocks' few bin entries rather than one over the points. A point may also
// belong to one of a few parts (a band of load): a bin holds one part's points
// of one slip, and the parts of a slip can be summed again.
#ifndef SKIDLOG_REPORT_FIT_SLIP_BINS_H_
#define SKIDLOG_REPORT_FIT_SLIP_BINS_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace skidlog {

// Sums over the points of one bin.
struct BinSum {
  double count = 0.0;
  double x = 0.0;     // sum of slips
  double y = 0.0;     // sum of grips
  double load = 0.0;  // sum of normal loads, N

  void add(const BinSum& b, double times) {
    count += times * b.count;
    x += times * b.x;
    y += times * b.y;
    load += times * b.load;
  }
};

class SlipBins {
 public:
  // Bins of `width` slip units.
  explicit SlipBins(double width) : width_(width) {}

  // Adds a point of block `block`, in part `part`.
  void add(std::uint32_t block, double x, double y, double load, std::uint8_t part = 0);

  double width() const { return width_; }
  std::size_t points() const { return points_; }
  const std::vector<BinSum>& totals() const { return totals_; }
  // The part whose points bin `bin` holds.
  std::uint8_t part(std::size_t bin) const { return parts_[bin]; }

  // `sums` (one per bin, as totals() or resample() give them) with the parts
  // of each slip added together, into `out` (resized): one entry per slip.
  void joinParts(const std::vector<BinSum>& sums, std::vector<BinSum>& out) const;

  // Bin sums with block b counted weights[b] times, into `out` (resized).
  // REQUIRES: weights holds an entry for every block added.
  void resample(std::span<const std::uint32_t> weights, std::vector<BinSum>& out) const;

 private:
  // The sums of one block's points that share a bin.
  struct Entry {
    std::uint32_t bin;
    BinSum sum;
  };
  // Consecutive entries of one block, from `first` to the next run's first.
  struct Run {
    std::uint32_t block;
    std::uint32_t first;
  };
  std::uint32_t binOf(double x, std::uint8_t part);

  double width_;
  std::size_t points_ = 0;
  std::vector<BinSum> totals_;          // by dense bin index
  std::vector<std::int64_t> keys_;      // floor(x / width) of each dense bin, in order of first use
  std::vector<std::uint8_t> parts_;     // the part of each dense bin
  std::vector<std::uint32_t> slips_;    // each dense bin's slip, numbered in order of first use
  std::uint32_t slipCount_ = 0;
  std::uint32_t last_ = 0;              // the bin of the last point
  std::vector<Entry> entries_;
  std::vector<Run> runs_;
};

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_FIT_SLIP_BINS_H_
