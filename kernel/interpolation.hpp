#pragma once
// Linear interpolation along a line and in two-entry tables whose first row and first column
// are the axes (the corner element sits on both).

#include <cstddef>
#include <span>

namespace armocalc {

// A row-major table of rows × columns values; row 0 holds the column axis, column 0 the row axis.
struct Таблица {
  std::span<const double> values;
  int rows;
  int columns;
  double At(int row, int column) const {
    return values[static_cast<size_t>(row) * static_cast<size_t>(columns) +
                  static_cast<size_t>(column)];
  }
};

// The value at x of the line through (x1, y1) and (x2, y2); 1E+36 when x1 = x2.
double ЛинейнаяИнтерполяция(double x1, double x2, double y1, double y2, double x);

// Interpolates along both axes; beyond the last axis value extrapolates, below the first the
// axis row or column itself is the neighbour. Fewer than two rows or columns: error 9.
double ИнтерполяцияПоТаблице(const Таблица& table, double Столбец, double Строка);

}  // namespace armocalc
