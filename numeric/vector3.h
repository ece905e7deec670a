// Vector3: the value type of every 3-D quantity (positions, axes, velocities,
// forces). Component-wise operations round after each float operation; dot,
// cross and length are formed in double precision from the float inputs.
#ifndef SKIDLOG_NUMERIC_VECTOR3_H_
#define SKIDLOG_NUMERIC_VECTOR3_H_

#include <cmath>

#include "numeric/precision.h"

namespace skidlog {

struct Vector3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  constexpr Vector3() = default;
  constexpr Vector3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}

  constexpr Vector3& operator-=(const Vector3& b) {
    x = x - b.x;
    y = y - b.y;
    z = z - b.z;
    return *this;
  }
  constexpr Vector3& operator+=(const Vector3& b) {
    x = x + b.x;
    y = y + b.y;
    z = z + b.z;
    return *this;
  }
};

// Component-wise difference a - b, each component rounded to float.
constexpr Vector3 operator-(const Vector3& a, const Vector3& b) {
  return Vector3(a.x - b.x, a.y - b.y, a.z - b.z);
}

// Component-wise sum a + b, each component rounded to float.
constexpr Vector3 operator+(const Vector3& a, const Vector3& b) {
  return Vector3(a.x + b.x, a.y + b.y, a.z + b.z);
}

// Each component divided by s, rounded to float; s = 0 gives IEEE infinities or NaN.
constexpr Vector3 operator/(const Vector3& v, float s) { return Vector3(v.x / s, v.y / s, v.z / s); }

// Each component multiplied by s, rounded to float.
constexpr Vector3 scaled(float s, const Vector3& v) { return Vector3(s * v.x, s * v.y, s * v.z); }

// a . b in double: exact products, summed left to right. The caller rounds.
constexpr double dot(const Vector3& a, const Vector3& b) {
  return (widen(a.x) * widen(b.x) + widen(a.y) * widen(b.y)) + widen(a.z) * widen(b.z);
}

// a x b, the first argument the left factor; each component formed in double
// and rounded once. All three are computed before any is stored, so the result
// may be assigned over either operand.
constexpr Vector3 cross(const Vector3& a, const Vector3& b) {
  const float cx = toFloat(widen(a.y) * widen(b.z) - widen(a.z) * widen(b.y));
  const float cy = toFloat(widen(a.z) * widen(b.x) - widen(a.x) * widen(b.z));
  const float cz = toFloat(widen(a.x) * widen(b.y) - widen(a.y) * widen(b.x));
  return Vector3(cx, cy, cz);
}

// |v| in double: the sum of squares as in dot, then the square root. Not rounded.
inline double length(const Vector3& v) { return std::sqrt(dot(v, v)); }

}  // namespace skidlog

#endif  // SKIDLOG_NUMERIC_VECTOR3_H_
