// Elementary functions in double precision that give the same result, to the
// bit, on every platform: the C libraries' sin, cos and atan differ in their
// last bits between Linux and Windows, and a fit that uses them ends on other
// digits. These are computed here from IEEE arithmetic and square roots alone
// (exact on every platform, with fused multiply-adds off), to within a few
// units in the last place of the true value.
#ifndef SKIDLOG_NUMERIC_ELEMENTARY_H_
#define SKIDLOG_NUMERIC_ELEMENTARY_H_

#include <cmath>

namespace skidlog::portable {

// pi / 2, the double nearest it.
inline constexpr double halfPi = 1.5707963267948966;  // 0x1.921fb54442d18p+0

// sin(x) and cos(x), x in radians. Exact reduction for |x| below 2^19; above
// it the reduction of numeric/trig is used. NaN and infinities give NaN.
double sin(double x);
double cos(double x);
double tan(double x);

// Both at once, from one reduction: the same bits as sin(x) and cos(x).
struct SineCosine {
  double sine;
  double cosine;
};
SineCosine sinCos(double x);
// atan(x) in (-pi/2, pi/2); +-pi/2 at infinity; NaN gives NaN.
double atan(double x);
// asin(t) for |t| <= 1; NaN outside.
double asin(double t);
// The angle of (x, y) from the positive x axis, in [-pi, pi].
double atan2(double y, double x);
// The length of (x, y), sqrt(x^2 + y^2) in two roundings and a square root,
// for x and y well inside 1e150 (a float widened always is): the C
// libraries' hypot differ in the last bit.
inline double hypot(double x, double y) { return std::sqrt(x * x + y * y); }

// e^x: 0 below about -745, infinity above about 709.8; NaN gives NaN.
double exp(double x);
// The natural logarithm: -infinity at 0, NaN below 0.
double log(double x);

}  // namespace skidlog::portable

#endif  // SKIDLOG_NUMERIC_ELEMENTARY_H_
