// A curve's points summed in narrow bins of slip: in total, and per block of
// consecutive samples, so that a resample of blocks costs one pass over the
// blocks' few bin entries rather than one over the points. Each bin also sums
// its points' loads, squared loads and loads times grips, so that how grip
// changes with load at one slip can be read from it.
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
  double loadSquared = 0.0;  // sum of squared normal loads, kN^2
  double loadGrip = 0.0;     // sum of normal load times grip, kN

  void add(const BinSum& b, double times) {
    count += times * b.count;
    x += times * b.x;
    y += times * b.y;
    load += times * b.load;
    loadSquared += times * b.loadSquared;
    loadGrip += times * b.loadGrip;
  }
};

class SlipBins {
 public:
  // Bins of `width` slip units.
  explicit SlipBins(double width) : width_(width) {}

  // Adds a point of block `block` with normal load `load` N.
  void add(std::uint32_t block, double x, double y, double load);

  double width() const { return width_; }
  std::size_t points() const { return points_; }
  const std::vector<BinSum>& totals() const { return totals_; }

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
  std::uint32_t binOf(double x);

  double width_;
  std::size_t points_ = 0;
  std::vector<BinSum> totals_;          // by dense bin index
  std::vector<std::int64_t> keys_;      // floor(x / width) of each dense bin, in order of first use
  std::uint32_t last_ = 0;              // the bin of the last point
  std::vector<Entry> entries_;
  std::vector<Run> runs_;
};

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_FIT_SLIP_BINS_H_
