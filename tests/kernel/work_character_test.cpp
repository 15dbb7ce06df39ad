#include "kernel/work_character.hpp"

#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

using enum ХарактерРаботы;

TEST(WorkCharacter, EccentricityAtTheKernLimitCountsAsSmall) {
  EXPECT_EQ(ОпределитьХарактерРаботы(3, 0.5, 1), ЦентральноеСжатие);
  EXPECT_EQ(ОпределитьХарактерРаботы(3, 0.5, -1), ЦентральноеРастяжение);
  EXPECT_EQ(ОпределитьХарактерРаботы(3, -0.5, -1), ЦентральноеРастяжение);
}

TEST(WorkCharacter, LargeEccentricity) {
  EXPECT_EQ(ОпределитьХарактерРаботы(3, 0.75, 1), ВнецентренноеСжатие);
  EXPECT_EQ(ОпределитьХарактерРаботы(3, 0.75, -1), ВнецентренноеРастяжение);
  EXPECT_EQ(ОпределитьХарактерРаботы(0, 1e-9, 1), ВнецентренноеСжатие);
  EXPECT_EQ(ОпределитьХарактерРаботы(0, -1e-9, -1), ВнецентренноеРастяжение);
}

TEST(WorkCharacter, NoForceIsPureBendingWhateverTheMoment) {
  EXPECT_EQ(ОпределитьХарактерРаботы(3, 0.75, 0), ЧистыйИзгиб);
  EXPECT_EQ(ОпределитьХарактерРаботы(3, 0, 0), ЧистыйИзгиб);
  EXPECT_EQ(ОпределитьХарактерРаботы(3, 0, -0.0), ЧистыйИзгиб);
}

TEST(WorkCharacter, NoMomentIsCentralLoading) {
  EXPECT_EQ(ОпределитьХарактерРаботы(0, 0, 2), ЦентральноеСжатие);
  EXPECT_EQ(ОпределитьХарактерРаботы(0, 0, -2), ЦентральноеРастяжение);
}

TEST(WorkCharacter, ReportTexts) {
  EXPECT_EQ(ТекстХарактераРаботы(ЦентральноеСжатие), "центральное сжатие");
  EXPECT_EQ(ТекстХарактераРаботы(ВнецентренноеСжатие), "внецентренное сжатие");
  EXPECT_EQ(ТекстХарактераРаботы(ЧистыйИзгиб), "чистый изгиб");
  EXPECT_EQ(ТекстХарактераРаботы(ВнецентренноеРастяжение), "внецентренное растяжение");
  EXPECT_EQ(ТекстХарактераРаботы(ЦентральноеРастяжение), "центральное растяжение");
  EXPECT_EQ(ТекстХарактераРаботы(НеОпределен), "чистый изгиб");
}

TEST(WorkCharacter, EffectiveLengthIsTheProductOverTen) {
  EXPECT_DOUBLE_EQ(РасчетнаяДлина(5, 12), 6.0);
  EXPECT_DOUBLE_EQ(РасчетнаяДлина(5, 20), 10.0);
  EXPECT_DOUBLE_EQ(РасчетнаяДлина(0.7, 7), 0.49);
  EXPECT_RUNTIME_ERROR(РасчетнаяДлина(1e308, 20), kOverflow);
}

}  // namespace
}  // namespace armocalc
