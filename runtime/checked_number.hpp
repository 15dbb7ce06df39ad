#pragma once
// The checked number type: a double whose arithmetic fails the way the automation runtime does,
// at the operation itself: error 6 on overflow, 11 on division by zero, 5 on the root of a
// negative number. Every routine writes its formulas with it as they stand in the design code and
// still stops exactly where the runtime would.

#include <compare>

#include "runtime/checked_math.hpp"

namespace armocalc {

struct Число {
  double v = 0.0;

  constexpr Число() = default;
  constexpr Число(double value) : v(value) {}  // NOLINT(google-explicit-constructor)

  constexpr auto operator<=>(const Число&) const = default;
};

inline Число operator+(Число a, Число b) {
  return Add(a.v, b.v);
}
inline Число operator-(Число a, Число b) {
  return Sub(a.v, b.v);
}
inline Число operator*(Число a, Число b) {
  return Mul(a.v, b.v);
}
inline Число operator/(Число a, Число b) {
  return Div(a.v, b.v);
}
inline Число operator-(Число a) {
  return -a.v;
}

inline Число Abs(Число a) {
  return a.v < 0.0 ? -a.v : a.v;
}
// x ^ y of the runtime (a negative base takes only whole exponents).
inline Число Степень(Число x, double y) {
  return Pow(x.v, y);
}
inline Число Квадрат(Число x) {
  return Квадрат(x.v);
}
inline Число Меньшее(Число a, Число b) {
  return b < a ? b : a;
}

}  // namespace armocalc
