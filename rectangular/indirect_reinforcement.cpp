#include "rectangular/indirect_reinforcement.hpp"

#include <vector>

#include "materials/bar_table.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/host.hpp"
#include "runtime/pi.hpp"

namespace armocalc {
namespace {

constexpr double kДиаметрПоУмолчанию = 0.016;  // m, when no bar layout was found

// The outer contour of the core: the distance between the centres of the outermost bars across
// the height and the width, and the diameters of the two bars that bound it.
struct Контур {
  Число между_y;
  Число между_x;
  Число D1;
  Число D2;
};

ИтогКосвенногоАрмирования Сетки(Число Rb, Число Rs, const Контур& к, const КосвеннаяАрматура& арм) {
  // Meshes: the core is measured inside the outer mesh bars.
  const Число ly = к.между_y - к.D1 / 2 - к.D2 / 2 - арм.dx;
  const Число lx = к.между_x - к.D1 / 2 - к.D2 / 2 - арм.dy;
  const Число Fef = ly * lx;
  const Число Asx = Число(kПиДесятичное) * Квадрат(арм.dx) / 4;
  const Число Asy = Число(kПиДесятичное) * Квадрат(арм.dy) / 4;
  const Число мю =
      (Число(арм.nx) * Asx * арм.lbx + Число(арм.ny) * Asy * арм.lby) / (Число(арм.s) * Fef);
  const Число psi = мю * Rs / (Rb + 10);
  const Число fi_k = Число(1) / (Число(0.23) + psi);
  const Число Rb_red = Rb + fi_k * мю * Rs;
  const Число Jef = lx * Степень(ly, 3) / 12;
  return {Rb_red.v, мю.v, Fef.v, Jef.v, ly.v};
}

ИтогКосвенногоАрмирования Спираль(Число Rb, Число Rs, Число ec, const Контур& к,
                                  const КосвеннаяАрматура& арм) {
  // A spiral: the core is measured on the axis of the spiral bar, outside the longitudinal bars.
  const Число ly = к.между_y + к.D1 / 2 + к.D2 / 2 + арм.dx;
  const Число lx = к.между_x + к.D1 / 2 + к.D2 / 2 + арм.dx;
  const Число Fef = ly * lx;
  const Число d_ef = Число(2) * Степень(Fef / kПиДесятичное, 0.5);
  const Число Asp = Число(kПиДесятичное) * Квадрат(арм.dx) / 4;
  const Число мю = Число(4) * Asp / (d_ef * арм.s);
  const Число Rb_red = Rb + Число(2) * мю * Rs * (Число(1) - Число(7.5) * ec / d_ef);
  const Число Jef = lx * Степень(ly, 3) / 12;
  return {Rb_red.v, мю.v, Fef.v, Jef.v, ly.v};
}

ИтогКосвенногоАрмирования ПоКонтуру(double Rb, double Rs, double ec, const Контур& к,
                                    const КосвеннаяАрматура& арм) {
  if (арм.вид == ВидКосвенногоАрмирования::Сетки) return Сетки(Rb, Rs, к, арм);
  return Спираль(Rb, Rs, ec, к, арм);
}

using Стержень = СтерженьТаблицы;

// Diameter of the first bar (in row order) among those nearest to the point (x, y).
double ДиаметрБлижайшего(const std::vector<Стержень>& стержни, double x, double y) {
  double лучшее = 0;
  double диаметр = 0;
  bool найден = false;
  for (const Стержень& стержень : стержни) {
    const double расстояние =
        (стержень.x - x) * (стержень.x - x) + (стержень.y - y) * (стержень.y - y);
    if (!найден || расстояние < лучшее) {
      лучшее = расстояние;
      диаметр = стержень.d_mm / 1000;
      найден = true;
    }
  }
  return диаметр;
}

}  // namespace

ИтогКосвенногоАрмирования КосвенноеАрмирование(double Rb, double Rs, double ec, double xs,
                                               double xsi, double yi, double y, double& d,
                                               double& di, const КосвеннаяАрматура& арматура) {
  if (!(d > 0)) d = kДиаметрПоУмолчанию;
  if (!(di > 0)) di = kДиаметрПоУмолчанию;
  const Контур контур{Число(yi) + y, Число(xs) - xsi, d, di};
  return ПоКонтуру(Rb, Rs, ec, контур, арматура);
}

// The core is the bounding box of the centres of the rows that hold a bar, its diameters those of
// the bars nearest its corners: a corner replaced only when both coordinates move would miss the
// real extent of most cages, and empty rows would count as bars at the origin. An empty table
// gives a core of 0 at the origin.
КрайниеСтержни НайтиКрайниеСтержни(const HostRange& Таблица) {
  const std::vector<Стержень> стержни = СтержниТаблицы(Таблица);
  КрайниеСтержни крайние;
  if (стержни.empty()) return крайние;
  крайние.xmin = крайние.xmax = стержни.front().x;
  крайние.ymin = крайние.ymax = стержни.front().y;
  for (const Стержень& стержень : стержни) {
    if (стержень.x < крайние.xmin) крайние.xmin = стержень.x;
    if (стержень.x > крайние.xmax) крайние.xmax = стержень.x;
    if (стержень.y < крайние.ymin) крайние.ymin = стержень.y;
    if (стержень.y > крайние.ymax) крайние.ymax = стержень.y;
  }
  крайние.Dmin = ДиаметрБлижайшего(стержни, крайние.xmin, крайние.ymin);
  крайние.Dmax = ДиаметрБлижайшего(стержни, крайние.xmax, крайние.ymax);
  return крайние;
}

ИтогКосвенногоАрмирования КосвенноеАрмированиеПоТаблице(double Rb, double Rs, double ec,
                                                        const HostRange& Таблица,
                                                        const КосвеннаяАрматура& арматура) {
  const КрайниеСтержни к = НайтиКрайниеСтержни(Таблица);
  const Контур контур{Число(к.ymax) - к.ymin, Число(к.xmax) - к.xmin, к.Dmin, к.Dmax};
  return ПоКонтуру(Rb, Rs, ec, контур, арматура);
}

}  // namespace armocalc
