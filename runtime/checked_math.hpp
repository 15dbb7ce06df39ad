#pragma once
// Floating-point operations that fail the way the automation runtime does, at the operation
// itself: x / 0 raises error 11, 0 / 0 and any result beyond the double range raise 6, the
// square root, logarithm or fractional power of a negative number raises 5. Use them for every
// division, root, power and for every result that can leave the double range, so that a write-back
// done before the failing operation stays and nothing after it runs.

#include <cmath>
#include <cstdint>

#include "runtime/errors.hpp"

namespace armocalc {

// Raises error 6 when x is infinite or NaN, otherwise returns x.
inline double Checked(double x) {
  if (!std::isfinite(x)) Raise(kOverflow);
  return x;
}

inline double Div(double a, double b) {
  if (b == 0.0) Raise(a == 0.0 || std::isnan(a) ? kOverflow : kDivisionByZero);
  return Checked(a / b);
}
inline double Mul(double a, double b) {
  return Checked(a * b);
}
inline double Add(double a, double b) {
  return Checked(a + b);
}
inline double Sub(double a, double b) {
  return Checked(a - b);
}

inline double Sqrt(double x) {
  if (x < 0.0) Raise(kInvalidProcedureCall);
  return std::sqrt(x);
}

// x ^ y of the runtime: a negative base takes only whole exponents and 0 takes no negative one
// (both error 5); a result beyond the double range is error 6.
double Pow(double x, double y);
inline double Квадрат(double x) {
  return Pow(x, 2);
}

inline double Log(double x) {
  if (!(x > 0.0)) Raise(kInvalidProcedureCall);
  return std::log(x);
}

double Atn(double x);  // arctangent

// Conversions with the runtime's rules: banker's rounding to integers, error 6 out of range.
uint8_t CByte(double x);
int16_t CInt(double x);
int32_t CLng(double x);
float CSng(double x);  // error 6 beyond the single range

// Int (floor) and Fix (toward zero) of the runtime, for values already in range.
inline double Int(double x) {
  return std::floor(x);
}
inline double Fix(double x) {
  return std::trunc(x);
}

}  // namespace armocalc
