// The sums of a least-squares straight line y = a + b x, which add: a block
// of samples keeps its own, and a resample adds each drawn block's sums as
// many times as it was drawn, so refitting costs one pass over the blocks.
#ifndef SKIDLOG_REPORT_FIT_LINE_SUMS_H_
#define SKIDLOG_REPORT_FIT_LINE_SUMS_H_

#include <limits>

namespace skidlog {

struct LineSums {
  double w = 0.0, x = 0.0, y = 0.0, xx = 0.0, xy = 0.0;

  void add(double px, double py) {
    w += 1.0;
    x += px;
    y += py;
    xx += px * px;
    xy += px * py;
  }
  void add(const LineSums& s, double times) {
    w += times * s.w;
    x += times * s.x;
    y += times * s.y;
    xx += times * s.xx;
    xy += times * s.xy;
  }
  // NaN where the points do not spread along x.
  double slope() const {
    const double d = w * xx - x * x;
    return d > 0.0 ? (w * xy - x * y) / d : std::numeric_limits<double>::quiet_NaN();
  }
  double intercept() const { return w > 0.0 ? (y - slope() * x) / w : 0.0; }
};

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_FIT_LINE_SUMS_H_
