#include "kernel/interpolation.hpp"

#include <cstdint>

#include "runtime/checked_math.hpp"

namespace armocalc {
namespace {

// The search counters are 16-bit: moving past 32767 overflows.
int NextIndex(int index) {
  if (index >= INT16_MAX) Raise(kOverflow);
  return index + 1;
}

void RequireTwoDimensions(const Таблица& table) {
  if (table.rows < 2 || table.columns < 2) Raise(kSubscriptOutOfRange);
  const auto cells = static_cast<size_t>(table.rows) * static_cast<size_t>(table.columns);
  if (table.values.size() < cells) Raise(kSubscriptOutOfRange);
}

}  // namespace

double ЛинейнаяИнтерполяция(double x1, double x2, double y1, double y2, double x) {
  const double dx = Sub(x2, x1);
  if (dx == 0.0) return 1E+36;
  return Sub(y2, Div(Mul(Sub(y2, y1), Sub(x2, x)), dx));
}

double ИнтерполяцияПоТаблице(const Таблица& table, double Столбец, double Строка) {
  RequireTwoDimensions(table);
  const int last_row = table.rows - 1;
  const int last_column = table.columns - 1;

  int i = 1;
  while (i < last_column && table.At(0, i) < Столбец) i = NextIndex(i);
  int j = 1;
  while (j < last_row && table.At(j, 0) < Строка) j = NextIndex(j);

  const double x1 = table.At(0, i - 1);
  const double x2 = table.At(0, i);
  const double u1 =
      ЛинейнаяИнтерполяция(x1, x2, table.At(j - 1, i - 1), table.At(j - 1, i), Столбец);
  const double u2 = ЛинейнаяИнтерполяция(x1, x2, table.At(j, i - 1), table.At(j, i), Столбец);
  return ЛинейнаяИнтерполяция(table.At(j - 1, 0), table.At(j, 0), u1, u2, Строка);
}

}  // namespace armocalc
