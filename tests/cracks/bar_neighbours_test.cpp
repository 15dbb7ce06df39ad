// The neighbour search of the weighted diameter sum against comparing every bar with every other
// one: the same counts, the same sum to the bit, the same run-time errors.

#include "cracks/bar_neighbours.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "crack_report_helpers.hpp"
#include "cracks/crack_width.hpp"
#include "materials/bar_table.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc {
namespace {

using Rows = std::vector<std::vector<Variant>>;
using test::BarTable;

// The outcome of a sum: its bits, or the run-time error it raised.
struct Outcome {
  std::optional<uint64_t> bits;
  int error = 0;
  bool operator==(const Outcome&) const = default;
};

template <class F>
Outcome OutcomeOf(F&& sum) {
  try {
    return {std::bit_cast<uint64_t>(sum()), 0};
  } catch (const RuntimeError& e) {
    return {std::nullopt, e.Number()};
  }
}

// Every bar compared with every other one, written as the sum always was.
double PairwiseSum(const HostRange& table) {
  const std::vector<СтерженьТаблицы> bars = СтержниТаблицы(table);
  Число sum = 0;
  for (const СтерженьТаблицы& i : bars) {
    const Число reach = 2 * Число(i.d_mm) / 1000;
    int64_t near = 0;
    for (const СтерженьТаблицы& j : bars) {
      const Число dx = Число(i.x) - j.x;
      const Число dy = Число(i.y) - j.y;
      if (Степень(Степень(dx, 2) + Степень(dy, 2), 0.5) < reach) ++near;
    }
    const double k = near == 1 ? 1 : near == 2 ? 0.85 : 0.75;
    sum = sum + Число(i.d_mm) * k / 1000;
  }
  return sum.v;
}

void ExpectSameAsPairwise(const Rows& rows) {
  const auto table = BarTable(rows);
  const Outcome fast = OutcomeOf([&] { return ВзвешеннаяСуммаДиаметров(*table); });
  const Outcome pairwise = OutcomeOf([&] { return PairwiseSum(*table); });
  EXPECT_EQ(fast, pairwise) << rows.size() << " rows";
  if (!fast.bits) return;
  const std::vector<СтерженьТаблицы> bars = СтержниТаблицы(*table);
  const std::vector<double> reach = cracks::ПределыБлизости(bars);
  const std::vector<uint8_t> counts = cracks::ЧислаБлижних(bars, reach);
  const std::vector<int64_t> all = cracks::ЧислаБлижнихПопарно(bars, reach);
  for (std::size_t i = 0; i < bars.size(); ++i)
    ASSERT_EQ(counts[i], std::min<int64_t>(all[i], 3)) << "bar " << i << " of " << bars.size();
}

// Random tables the way engineers lay bars out, and worse: bars on a millimetre grid (so that
// many pairs are exactly two diameters apart), bundles and clusters, the same bar listed twice,
// rows without a bar, a bar whose reach covers the whole section, vanishing diameters and
// coordinates whose squares underflow.
class RandomTable {
 public:
  explicit RandomTable(uint64_t seed) : rng_(seed) {}

  Rows Make(int bars) {
    Rows rows;
    const double spread = Pick({0.05, 0.5, 5.0});
    const double scale = Chance(0.05) ? 1e-170 : 1.0;
    std::vector<std::pair<double, double>> centres(1 + Index(8));
    for (auto& c : centres) c = {Uniform(0, spread), Uniform(-spread, spread)};
    for (int n = 0; n < bars; ++n) {
      if (!rows.empty() && Chance(0.08)) {
        rows.push_back(rows[Index(rows.size())]);  // a duplicate
        continue;
      }
      if (Chance(0.05)) {
        rows.push_back({Uniform(0, 1), Uniform(0, 1), Pick({0.0, -16.0}) == 0 ? Variant() : -16.0});
        continue;
      }
      const auto [cx, cy] = centres[Index(centres.size())];
      const double x = std::round((cx + Uniform(-0.08, 0.08)) * 100) / 100 * scale;
      const double y = std::round((cy + Uniform(-0.08, 0.08)) * 1000) / 1000 * scale;
      rows.push_back({x, y, Diameter()});
    }
    return rows;
  }

 private:
  double Diameter() {
    if (Chance(0.01)) return Pick({1e6, 1e300, 1e-322, 5e-324});
    return Pick({10.0, 12.0, 16.0, 20.0, 25.0, 32.0, 40.0});
  }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
  double Uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng_); }
  std::size_t Index(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
  }
  double Pick(std::initializer_list<double> values) {
    return *(values.begin() + Index(values.size()));
  }
  std::mt19937_64 rng_;
};

TEST(BarNeighbours, RandomTablesMatchThePairwiseComparison) {
  for (uint64_t seed = 1; seed <= 120; ++seed) {
    RandomTable random(seed);
    ExpectSameAsPairwise(random.Make(static_cast<int>(seed % 7 == 0 ? 400 : 5 + seed * 2)));
  }
}

TEST(BarNeighbours, TiesAtExactlyTwoDiametersAndDuplicatePoints) {
  Rows grid;  // bars 0.04 apart with d = 20: each neighbour exactly at the reach
  for (int i = 0; i < 30; ++i)
    for (int j = 0; j < 30; ++j) grid.push_back({i * 0.04, j * 0.04, 20.0});
  ExpectSameAsPairwise(grid);
  Rows same(500, std::vector<Variant>{0.1, 0.2, 16.0});  // one point listed 500 times
  same.push_back({0.1 + 0.032, 0.2, 16.0});
  ExpectSameAsPairwise(same);
  ExpectSameAsPairwise({{0.0, 0.0, 20.0}, {0.0, 0.0, 20.0}});
  ExpectSameAsPairwise({});
  ExpectSameAsPairwise({{0.0, 0.0, Variant()}, {0.0, 0.0, 0.0}});
}

TEST(BarNeighbours, AReachBelowTheSmallestNumberCountsNotEvenTheBarItself) {
  // 2 · 1e-322 / 1000 underflows to 0 and nothing is closer than 0
  const std::vector<СтерженьТаблицы> bars{{0, 0, 1e-322}, {0, 0, 20}};
  const std::vector<double> reach = cracks::ПределыБлизости(bars);
  EXPECT_EQ(reach[0], 0.0);
  EXPECT_EQ(cracks::ЧислаБлижних(bars, reach), (std::vector<uint8_t>{0, 2}));
  ExpectSameAsPairwise({{0.0, 0.0, 1e-322}, {0.0, 0.0, 20.0}});
}

TEST(BarNeighbours, DistancesWhoseSquaresUnderflowCountAsZero) {
  // 1e-170 apart is 0 in the runtime's distance, so it is within a reach of 1e-200 m.
  Rows rows{{0.0, 0.0, 5e-198}, {0.0, 1e-170, 5e-198}};
  for (int k = 1; k <= 10; ++k) {
    rows.push_back({0.0, k * 1.0, 20.0});
    rows.push_back({0.0, -k * 1.0, 20.0});
  }
  ExpectSameAsPairwise(rows);
  const std::vector<СтерженьТаблицы> bars = СтержниТаблицы(*BarTable(rows));
  const std::vector<uint8_t> counts = cracks::ЧислаБлижних(bars, cracks::ПределыБлизости(bars));
  EXPECT_EQ(counts[0], 2);
  EXPECT_EQ(counts[1], 2);
}

TEST(BarNeighbours, OverflowingDistancesRaiseOverflowAsThePairwiseComparisonDoes) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<Rows> failing{
      {{1e200, 0.0, 20.0}, {-1e200, 0.0, 20.0}},      // the square of dx
      {{1.7e308, 0.0, 20.0}, {-1.7e308, 0.0, 20.0}},  // dx itself
      {{0.0, 0.0, 20.0}, {1e154, 1e154, 20.0}},       // only the sum of the squares
      {{0.0, 0.0, 20.0}, {0.0, inf, 20.0}},           // ∞ − ∞ against itself
      {{0.0, 0.0, 20.0}, {nan, 0.0, 20.0}},
      {{0.0, 0.0, 20.0}, {0.0, 0.0, 1e308}},  // 2 · d
      {{0.0, 0.0, 20.0}, {0.0, 0.0, inf}},
  };
  for (const Rows& rows : failing) {
    ExpectSameAsPairwise(rows);
    EXPECT_EQ(OutcomeOf([&] { return ВзвешеннаяСуммаДиаметров(*BarTable(rows)); }).error,
              kOverflow);
  }
  // Far apart yet short of overflowing: answered, by the pairwise comparison.
  const Rows far{{0.0, 0.0, 20.0}, {1.2e154, 0.0, 20.0}, {0.6e154, 1e153, 20.0}};
  ExpectSameAsPairwise(far);
  EXPECT_EQ(OutcomeOf([&] { return ВзвешеннаяСуммаДиаметров(*BarTable(far)); }).error, 0);
  Rows high(50, std::vector<Variant>{1e200, -1e200, 20.0});  // all at one remote point
  high.push_back({1e200, -1e200, 16.0});
  ExpectSameAsPairwise(high);
}

TEST(BarNeighbours, AnOverflowingSumRaisesOverflow) {
  // 2,800 bars of 8.9e307 mm, each within the others' reach: 0.75 · 8.9e304 each passes 1.8e308
  Rows rows(2800, std::vector<Variant>{0.0, 0.0, 8.9e307});
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i][0] = static_cast<double>(i) * 0.01;
  ExpectSameAsPairwise(rows);
  EXPECT_EQ(OutcomeOf([&] { return ВзвешеннаяСуммаДиаметров(*BarTable(rows)); }).error, kOverflow);
}

}  // namespace
}  // namespace armocalc
