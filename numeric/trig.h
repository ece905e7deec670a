// Sine and cosine that give the same result on every platform. The C
// libraries agree for angles of ordinary size, but reduce huge angles (a
// damaged file can hold a steer of 3.4e38 rad) differently: some lose every
// digit. Beyond largeAngle the angle is reduced exactly modulo pi/2 here, and
// the library evaluates only the reduced angle.
#ifndef SKIDLOG_NUMERIC_TRIG_H_
#define SKIDLOG_NUMERIC_TRIG_H_

namespace skidlog {

// From this magnitude on, radians, the angle is reduced here.
inline constexpr double largeAngle = 524288.0;  // 2^19

// cos(x) and sin(x) in double precision. NaN and infinities give NaN.
double cosine(double x);
double sine(double x);

}  // namespace skidlog

#endif  // SKIDLOG_NUMERIC_TRIG_H_
