#include "kernel/stability.hpp"

#include <string>
#include <vector>

#include "kernel/report.hpp"
#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

TEST(Stability, TheCriticalForceItselfIsUnstable) {
  EXPECT_FALSE(УстойчивостьНеОбеспечена(0.999, 1));
  EXPECT_TRUE(УстойчивостьНеОбеспечена(1, 1));
  EXPECT_TRUE(УстойчивостьНеОбеспечена(2.5, 1));
  EXPECT_RUNTIME_ERROR(УстойчивостьНеОбеспечена(1, 0), kDivisionByZero);
}

TEST(Stability, ClosesTheReportWithNoCapacity) {
  Отчёт rep("", true);
  EXPECT_EQ(ЗапасНеустойчивогоЭлемента(1.5, 3, rep), -100);
  EXPECT_EQ(ЗапасНеустойчивогоЭлемента(1.5, 0, rep), 0);
  EXPECT_EQ(ЗапасНеустойчивогоЭлемента(-1.5, 1, rep), -100);  // against |N|
  const std::vector<std::string> строки = rep.List().Строки();
  const std::string линия =
      "\tN >= Ncr: устойчивость элемента не обеспечена, требуется увеличить сечение";
  ASSERT_EQ(строки.size(), 7u);  // after the list's empty line 0
  EXPECT_EQ(строки[1], линия);
  EXPECT_EQ(строки[2], "Запас = -100");
  EXPECT_EQ(строки[4], "Запас = 0");
  EXPECT_EQ(std::string(kСтрокаПотериУстойчивости), линия);
}

}  // namespace
}  // namespace armocalc
