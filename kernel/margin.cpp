#include "kernel/margin.hpp"

#include <cmath>

#include "runtime/checked_math.hpp"

namespace armocalc {
namespace {

// Per cent of the acting value; 100 when nothing acts.
double ЗапасОтФактического(double X, double Y) {
  if (Y == 0.0) return 100.0;
  return Mul(100.0, Sub(Div(X, Y), 1.0));
}

// Per cent of the limit; -100 when there is no capacity.
double ЗапасОтПредельного(double X, double Y) {
  if (X == 0.0) return -100.0;
  return Mul(100.0, Sub(1.0, Div(Y, X)));
}

double КомбинированныйЗапас(double X, double Y) {
  double d = ЗапасОтПредельного(X, Y);
  if (d < 0.0) d = ЗапасОтФактического(X, Y);
  if (X < 0.0 && Y >= 0.0) return -std::fabs(d);
  return d;
}

}  // namespace

double ОпределитьЗапас(double Предельное, double Фактическое, uint8_t Метод) {
  switch (Метод) {
    case 0:
      return Div(Предельное, Фактическое);
    case 1:
      return ЗапасОтФактического(Предельное, Фактическое);
    case 2:
      return ЗапасОтПредельного(Предельное, Фактическое);
    case 3:
      return КомбинированныйЗапас(Предельное, Фактическое);
    default:
      return 0.0;
  }
}

}  // namespace armocalc
