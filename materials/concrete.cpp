#include "materials/concrete.hpp"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "kernel/interpolation.hpp"

namespace armocalc {
namespace {

constexpr int kRows = 12;
constexpr int kColumns = 11;

// Row 0: property codes; column 0: concrete classes; corner 0.
constexpr std::array<double, kRows* kColumns> kСвойстваБетона = {
    0,    1,     2,    3,    4,    5,    6,    7,    8,     9,    10,    //
    20,   10.5,  0.85, 15,   1.4,  1.95, 0,    8.8,  27000, 22.5, 9.7,   //
    22.5, 11.75, 0.9,  16.8, 1.5,  2.3,  0,    10.3, 28500, 20,   11.3,  //
    25,   13,    0.95, 18.5, 1.6,  2.5,  13.7, 11.8, 30000, 20,   13,    //
    27.5, 14.3,  1.05, 20.5, 1.7,  2.75, 15.2, 13.2, 31500, 17,   14.5,  //
    30,   15.5,  1.1,  22,   1.8,  2.9,  16.7, 14.6, 32500, 15,   16.1,  //
    35,   17.5,  1.15, 25.5, 1.95, 3.25, 19.6, 16.7, 34500, 15,   18.4,  //
    40,   20,    1.15, 29,   2.1,  3.6,  23,   19.6, 36000, 10,   21.6,  //
    45,   22,    1.3,  32,   2.2,  3.8,  26,   22,   37500, 10,   24.2,  //
    50,   25,    1.4,  36,   2.3,  4.15, 29.9, 25,   39000, 10,   27.5,  //
    55,   27.5,  1.45, 39.5, 2.4,  4.45, 32.8, 27.5, 39500, 10,   30.3,  //
    60,   30,    1.5,  43,   2.5,  4.75, 36.2, 30,   40000, 10,   33,    //
};

constexpr uint8_t kКодМодуля = 8;

// Eb by the code's formula, used up to B40 (it differs from the table at B22.5 and B27.5).
double МодульПоФормуле(double B) {
  return -10.0 * (B * B) + 1050.0 * B + 10000.0;
}

double ВычисленноеСвойство(float КлассБетона, uint8_t Параметр) {
  const double класс = КлассБетона;
  if (Параметр == kКодМодуля && класс <= 40.0) return МодульПоФормуле(класс);
  const Таблица таблица{kСвойстваБетона, kRows, kColumns};
  return ИнтерполяцияПоТаблице(таблица, Параметр, класс);
}

// The last value of each property code, by the bits of the class: a check asks for the same few
// properties of one concrete on every call, and a selection of reinforcement calls its checks
// thousands of times. A property that fails is not kept.
struct ЗапомненноеСвойство {
  bool занято = false;
  uint32_t класс = 0;
  uint8_t параметр = 0;
  double значение = 0.0;
};
constexpr size_t kЗапомненныхСвойств = 16;
thread_local ЗапомненноеСвойство запомненные_свойства[kЗапомненныхСвойств];

}  // namespace

double мтБетон(float КлассБетона, uint8_t Параметр) {
  const auto класс = std::bit_cast<uint32_t>(КлассБетона);
  ЗапомненноеСвойство& запись = запомненные_свойства[Параметр % kЗапомненныхСвойств];
  if (запись.занято && запись.класс == класс && запись.параметр == Параметр) {
    return запись.значение;
  }
  const double значение = ВычисленноеСвойство(КлассБетона, Параметр);
  запись = {true, класс, Параметр, значение};
  return значение;
}

}  // namespace armocalc
