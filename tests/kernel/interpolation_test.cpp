#include "kernel/interpolation.hpp"

#include <vector>

#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

TEST(LinearInterpolation, StraightLineThroughTwoPoints) {
  EXPECT_DOUBLE_EQ(ЛинейнаяИнтерполяция(0, 10, 5, 25, 2.5), 10.0);
  EXPECT_DOUBLE_EQ(ЛинейнаяИнтерполяция(0, 10, 5, 25, 12), 29.0);
  EXPECT_DOUBLE_EQ(ЛинейнаяИнтерполяция(0, 10, 5, 25, -5), -5.0);
  EXPECT_EQ(ЛинейнаяИнтерполяция(0, 10, 5, 0.1 + 0.2, 10), 0.1 + 0.2);  // exactly y2 at x2
}

TEST(LinearInterpolation, EqualAxisValuesGiveTheMarker) {
  EXPECT_EQ(ЛинейнаяИнтерполяция(7, 7, 5, 25, 2.5), 1E+36);
}

class TableInterpolation : public ::testing::Test {
 protected:
  // Columns 1 and 2 on the first row, rows 20 and 25 in the first column, corner 0.
  std::vector<double> cells{0,  1,    2,     //
                            20, 10.5, 0.85,  //
                            25, 13,   0.95};
  Таблица table{cells, 3, 3};
};

TEST_F(TableInterpolation, InsideTheTable) {
  EXPECT_DOUBLE_EQ(ИнтерполяцияПоТаблице(table, 1, 22.5), 11.75);
  EXPECT_DOUBLE_EQ(ИнтерполяцияПоТаблице(table, 1.5, 20), (10.5 + 0.85) / 2);
}

TEST_F(TableInterpolation, OnTheAxisValuesGivesTheTabulatedValue) {
  EXPECT_EQ(ИнтерполяцияПоТаблице(table, 2, 25), 0.95);
  EXPECT_EQ(ИнтерполяцияПоТаблице(table, 1, 20), 10.5);
  EXPECT_EQ(ИнтерполяцияПоТаблице(table, 2, 20), 0.85);
}

TEST_F(TableInterpolation, BeyondTheLastAxisValueExtrapolates) {
  EXPECT_DOUBLE_EQ(ИнтерполяцияПоТаблице(table, 1, 30), 15.5);
  EXPECT_DOUBLE_EQ(ИнтерполяцияПоТаблице(table, 3, 20), 0.85 + (0.85 - 10.5));
}

TEST_F(TableInterpolation, BelowTheFirstAxisValueTheAxisIsTheNeighbour) {
  // Row 10 lies between the corner row (the column axis values 1 and 2 at "row 0") and row 20.
  EXPECT_DOUBLE_EQ(ИнтерполяцияПоТаблице(table, 1, 10), (1 + 10.5) / 2);
  // Column 0.5 lies between the row axis (20 at "column 0") and column 1.
  EXPECT_DOUBLE_EQ(ИнтерполяцияПоТаблице(table, 0.5, 20), (20 + 10.5) / 2);
}

TEST(TableInterpolationShape, EqualNeighbouringAxisValuesGiveTheMarker) {
  std::vector<double> cells{0,  1, 1,  //
                            20, 5, 6,  //
                            25, 7, 8};
  EXPECT_EQ(ИнтерполяцияПоТаблице(Таблица{cells, 3, 3}, 1.5, 22), 1E+36);
}

TEST(TableInterpolationShape, FewerThanTwoRowsOrColumnsIsASubscriptError) {
  std::vector<double> cells{0, 1, 2};
  EXPECT_RUNTIME_ERROR(ИнтерполяцияПоТаблице(Таблица{cells, 1, 3}, 1, 1), kSubscriptOutOfRange);
  EXPECT_RUNTIME_ERROR(ИнтерполяцияПоТаблице(Таблица{cells, 3, 1}, 1, 1), kSubscriptOutOfRange);
  EXPECT_RUNTIME_ERROR(ИнтерполяцияПоТаблице(Таблица{cells, 2, 2}, 1, 1), kSubscriptOutOfRange);
}

TEST(TableInterpolationShape, SmallestTableInterpolatesBothWays) {
  std::vector<double> cells{0, 10,  //
                            20, 4};
  // u1 runs along the axis row (0 at the corner, 10), u2 along row 20 (20, 4).
  EXPECT_DOUBLE_EQ(ИнтерполяцияПоТаблице(Таблица{cells, 2, 2}, 5, 10), (5 + 12) / 2.0);
}

}  // namespace
}  // namespace armocalc
