// Near neighbours of the bars of a bar table. A worksheet table may list a hundred thousand bars,
// so the bars are put into a k-d tree and each bar looks only into the boxes its reach touches;
// the distance of every pair that is looked at is computed exactly as the pairwise comparison
// computes it, so every count, and with it the weighted diameter sum, is the same to the bit.

#include "cracks/bar_neighbours.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "runtime/checked_number.hpp"
#include "runtime/errors.hpp"

namespace armocalc::cracks {
namespace {

using Стержень = СтерженьТаблицы;

// The runtime's distance from the centre of bar a to that of bar b, m.
Число Расстояние(double xa, double ya, double xb, double yb) {
  const Число dx = Число(xa) - xb;
  const Число dy = Число(ya) - yb;
  return Степень(Степень(dx, 2) + Степень(dy, 2), 0.5);
}

// ---- when the tree may be used ----

// Up to this sum of squared coordinate extents no pair can overflow, with room to spare for the
// rounding of each square and sum.
constexpr double kБезопасныйКвадратРазмаха = 1e300;

// Whether no pair's distance can overflow. Raises error 6 where the pairwise comparison
// certainly would: an infinite or undefined coordinate (∞ − ∞ against the bar itself), or the
// extreme pair's difference or its square beyond the double range.
bool РасстоянияБезПереполнения(const std::vector<Стержень>& стержни) {
  double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  bool первый = true;
  for (const Стержень& s : стержни) {
    if (!std::isfinite(s.x) || !std::isfinite(s.y)) Raise(kOverflow);
    x0 = первый ? s.x : std::min(x0, s.x);
    x1 = первый ? s.x : std::max(x1, s.x);
    y0 = первый ? s.y : std::min(y0, s.y);
    y1 = первый ? s.y : std::max(y1, s.y);
    первый = false;
  }
  // The rounded difference grows with the exact one, so the extreme pair has the largest.
  const Число размахX = Число(x1) - x0;
  const Число размахY = Число(y1) - y0;
  const double квадраты = Степень(размахX, 2).v + Степень(размахY, 2).v;
  return квадраты <= kБезопасныйКвадратРазмаха;
}

// ---- the k-d tree ----

constexpr std::size_t kСтержнейВЛисте = 8;
// Median splits halve every box, so no tree over an int32 row count is deeper than 32; the
// depth is capped all the same, a deeper box staying a (larger) leaf.
constexpr std::size_t kГлубинаСтека = 80;

// A bar in the tree: its centre and its row among the bars.
struct Точка {
  double x, y;
  uint32_t номер;
};

// Whether the box [x0, x1] × [y0, y1] lies clearly beyond охват of the point s.
inline bool ВнеОхвата(const Точка& s, double x0, double x1, double y0, double y1, double охват,
                      double охват2) {
  const double gx = x0 > s.x ? x0 - s.x : (s.x > x1 ? s.x - x1 : 0.0);
  const double gy = y0 > s.y ? y0 - s.y : (s.y > y1 ? s.y - y1 : 0.0);
  return gx > охват || gy > охват || gx * gx + gy * gy > охват2;
}

struct Узел {
  double x0, x1, y0, y1;           // the box of its bars
  uint32_t начало, конец;          // its bars in the order of the tree
  uint32_t левый = 0, правый = 0;  // 0 for a leaf (the root is never a child)
};

class ДеревоСтержней {
 public:
  explicit ДеревоСтержней(const std::vector<Стержень>& стержни) {
    точки_.reserve(стержни.size());
    for (std::size_t i = 0; i < стержни.size(); ++i)
      точки_.push_back({стержни[i].x, стержни[i].y, static_cast<uint32_t>(i)});
    if (!точки_.empty()) Построить(0, static_cast<uint32_t>(точки_.size()), 0);
  }

  // The bars in the order of the tree, neighbours mostly next to each other.
  const std::vector<Точка>& Точки() const { return точки_; }

  // Bars (itself included) closer to the point s than предел, counted up to 3.
  uint8_t БлижнихДо3(const Точка& s, double предел) const {
    // A box or a bar is passed over only when it is clearly beyond the reach: the margin covers
    // the rounding and the underflow of the squares in the runtime's distance.
    const double охват = предел * (1 + 1e-6) + 1e-150;
    const double охват2 = охват * охват;
    std::array<uint32_t, kГлубинаСтека> стек{};
    std::size_t вершина = 0;
    стек[вершина++] = 0;
    uint8_t ближних = 0;
    while (вершина > 0) {
      const Узел& узел = узлы_[стек[--вершина]];
      if (ВнеОхвата(s, узел.x0, узел.x1, узел.y0, узел.y1, охват, охват2)) continue;
      if (узел.левый == 0) {
        for (uint32_t k = узел.начало; k < узел.конец; ++k) {
          const Точка& t = точки_[k];
          if (ВнеОхвата(s, t.x, t.x, t.y, t.y, охват, охват2)) continue;
          if (Расстояние(s.x, s.y, t.x, t.y) < Число(предел)) ++ближних;
          if (ближних >= kБлижнихДостаточно) return ближних;
        }
        continue;
      }
      стек[вершина++] = узел.правый;
      стек[вершина++] = узел.левый;
    }
    return ближних;
  }

 private:
  uint32_t Построить(uint32_t начало, uint32_t конец, std::size_t глубина) {
    const uint32_t номер = static_cast<uint32_t>(узлы_.size());
    const Точка& первая = точки_[начало];
    Узел узел{первая.x, первая.x, первая.y, первая.y, начало, конец};
    for (uint32_t k = начало; k < конец; ++k) {
      const Точка& s = точки_[k];
      узел.x0 = std::min(узел.x0, s.x);
      узел.x1 = std::max(узел.x1, s.x);
      узел.y0 = std::min(узел.y0, s.y);
      узел.y1 = std::max(узел.y1, s.y);
    }
    узлы_.push_back(узел);
    if (конец - начало <= kСтержнейВЛисте || глубина + 2 >= kГлубинаСтека / 2) return номер;
    const bool поX = узел.x1 - узел.x0 >= узел.y1 - узел.y0;
    const uint32_t середина = начало + (конец - начало) / 2;
    std::nth_element(точки_.begin() + начало, точки_.begin() + середина, точки_.begin() + конец,
                     [поX](const Точка& a, const Точка& b) { return поX ? a.x < b.x : a.y < b.y; });
    const uint32_t левый = Построить(начало, середина, глубина + 1);
    const uint32_t правый = Построить(середина, конец, глубина + 1);
    узлы_[номер].левый = левый;
    узлы_[номер].правый = правый;
    return номер;
  }

  std::vector<Точка> точки_;
  std::vector<Узел> узлы_;
};

}  // namespace

std::vector<double> ПределыБлизости(const std::vector<СтерженьТаблицы>& стержни) {
  std::vector<double> пределы;
  пределы.reserve(стержни.size());
  for (const Стержень& s : стержни) пределы.push_back((2 * Число(s.d_mm) / 1000).v);
  return пределы;
}

std::vector<uint8_t> ЧислаБлижних(const std::vector<СтерженьТаблицы>& стержни,
                                  const std::vector<double>& пределы) {
  std::vector<uint8_t> ближних(стержни.size());
  if (!РасстоянияБезПереполнения(стержни)) {
    // Coordinates so far apart that some pair may overflow: only the pairwise comparison tells.
    const std::vector<int64_t> все = ЧислаБлижнихПопарно(стержни, пределы);
    for (std::size_t i = 0; i < все.size(); ++i)
      ближних[i] = static_cast<uint8_t>(std::min<int64_t>(все[i], kБлижнихДостаточно));
    return ближних;
  }
  const ДеревоСтержней дерево(стержни);
  for (const Точка& s : дерево.Точки()) ближних[s.номер] = дерево.БлижнихДо3(s, пределы[s.номер]);
  return ближних;
}

std::vector<int64_t> ЧислаБлижнихПопарно(const std::vector<СтерженьТаблицы>& стержни,
                                         const std::vector<double>& пределы) {
  std::vector<int64_t> ближних(стержни.size());
  for (std::size_t i = 0; i < стержни.size(); ++i) {
    for (const Стержень& j : стержни)
      if (Расстояние(стержни[i].x, стержни[i].y, j.x, j.y) < Число(пределы[i])) ++ближних[i];
  }
  return ближних;
}

}  // namespace armocalc::cracks
