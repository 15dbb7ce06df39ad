#pragma once
// The worksheet bar table: one row per bar, column 2 its position y (m, from mid-height),
// column 3 its diameter (mm); read into the compressed (g = 0) and tensioned (g = 1) groups.

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/variant.hpp"

namespace armocalc {

class HostRange;

enum ГруппаСтержней : int { Сжатая = 0, Растянутая = 1 };

// k of the group array
enum ПолеГруппы : int {
  ЧислоСтержней = 0,
  РасстояниеДоГрани = 1,  // h/2 − |y_c|
  Площадь = 2,            // m²
  СтатическийМомент = 3,  // Σ y·A
  МоментИнерции = 4,      // m⁴
  СреднееRs = 5,          // MPa
  СреднийДиаметр = 6,     // m
  МинРасстояниеДоГрани = 7,
  Центр = 8,  // y_c
};

class ГруппыСтержней {
 public:
  // An unallocated array (range with fewer than 3 columns): every access raises error 9.
  static ГруппыСтержней Unallocated() { return ГруппыСтержней(false); }
  static ГруппыСтержней Allocated() { return ГруппыСтержней(true); }

  double& operator()(int g, int k);
  double operator()(int g, int k) const;
  bool IsAllocated() const noexcept { return allocated_; }

 private:
  explicit ГруппыСтержней(bool allocated) : allocated_(allocated) {}
  bool allocated_;
  std::array<std::array<double, 9>, 2> cells_{};
};

ГруппыСтержней ПрочитатьТаблицуСтержней(const HostRange& Таблица, const Variant& КлассСтали,
                                        int32_t& ТипЗначения, double M, double N, double& y0,
                                        double h, double x);

// One bar of a worksheet bar table: centre x, y (m from mid-height) and diameter (mm).
struct СтерженьТаблицы {
  double x;
  double y;
  double d_mm;
};

// The bars of the table in row order: a row whose diameter is empty or not above 0 holds no bar
// (its other cells are not read).
std::vector<СтерженьТаблицы> СтержниТаблицы(const HostRange& таблица);

}  // namespace armocalc
