#include "runtime/host.hpp"

#include <gtest/gtest.h>

#include <numbers>

#include "runtime/errors.hpp"
#include "runtime/text_case.hpp"

namespace armocalc {
namespace {

TEST(GridRange, CountsCellsAndValue) {
  const GridRange grid({{Variant(1.0), Variant("a")}, {Variant()}});
  EXPECT_EQ(grid.RowsCount(), 2);
  EXPECT_EQ(grid.ColumnsCount(), 2);
  EXPECT_EQ(grid.Cell(1, 2), Variant("a"));
  EXPECT_TRUE(grid.Cell(2, 2).IsEmpty()) << "short rows read Empty";
  EXPECT_TRUE(grid.Cell(3, 1).IsEmpty()) << "beyond the range: the empty sheet";
  EXPECT_TRUE(grid.Cell(0, 0).IsEmpty());
  const Variant value = grid.Value();
  ASSERT_EQ(value.Type(), VarType::Array);
  ASSERT_EQ(value.Array()->size(), 2u);
  EXPECT_EQ((*value.Array())[1].size(), 2u);
  EXPECT_EQ((*value.Array())[0][0], Variant(1.0));
  EXPECT_FALSE(value.IsNumeric());
}

TEST(GridRange, OneCellValueIsTheCell) {
  EXPECT_EQ(GridRange({{Variant(1234.56)}}).Value(), Variant(1234.56));
  EXPECT_TRUE(GridRange({}).Value().IsEmpty());
  EXPECT_EQ(GridRange({}).RowsCount(), 0);
}

TEST(HostApplication, PiIsTheNearestDouble) {
  EXPECT_EQ(HostApplication().Pi(), std::numbers::pi);
  EXPECT_EQ(HostApplication().Pi(), 3.141592653589793);
}

TEST(HostApplication, ProperCapitalisesEveryWord) {
  const HostApplication host;
  EXPECT_EQ(host.Proper("сто ДВАДЦАТЬ три рубля"), "Сто Двадцать Три Рубля");
  EXPECT_EQ(host.Proper("ёлка ЁЖ щёки"), "Ёлка Ёж Щёки");
  EXPECT_EQ(host.Proper("hello WORLD-wide 2nd it's"), "Hello World-Wide 2Nd It'S");
  EXPECT_EQ(host.Proper(""), "");
  EXPECT_EQ(host.Proper("\xFF"
                        "abc"),
            "\xFF"
            "Abc");
  EXPECT_EQ(host.Proper("ÉCOLE émile"), "École Émile");
}

TEST(HostApplication, ReplaceCountsCharactersNotBytes) {
  const HostApplication host;
  EXPECT_EQ(host.Replace("сто рублей", 1, 1, "С"), "Сто рублей");
  EXPECT_EQ(host.Replace("сто рублей", 5, 6, "копеек"), "сто копеек");
  EXPECT_EQ(host.Replace("abc", 2, 0, "X"), "aXbc");
  EXPECT_EQ(host.Replace("abc", 3, 100, "Z"), "abZ");
  EXPECT_EQ(host.Replace("abc", 10, 1, "Z"), "abcZ");
  try {
    host.Replace("abc", 0, 1, "Z");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 1004);
  }
}

class OtherHost : public HostApplication {
 public:
  double Pi() const override { return 3.0; }
};

TEST(HostApplication, ScopedHostNestsAndRestores) {
  const OtherHost outer, inner;
  EXPECT_EQ(Host().Pi(), std::numbers::pi);
  {
    ScopedHost a(outer);
    EXPECT_EQ(&Host(), &outer);
    {
      ScopedHost b(inner);
      EXPECT_EQ(&Host(), &inner);
    }
    EXPECT_EQ(&Host(), &outer);
  }
  EXPECT_EQ(Host().Pi(), std::numbers::pi);
}

TEST(TextCase, LatinAndCyrillicLettersIncludingYo) {
  EXPECT_EQ(ToLowerUtf8("ЁЛКА АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ ABC"),
            "ёлка абвгдежзийклмнопрстуфхцчшщъыьэюя abc");
  EXPECT_EQ(ToUpperUtf8("ёлка абвгдежзийклмнопрстуфхцчшщъыьэюя xyz"),
            "ЁЛКА АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ XYZ");
  EXPECT_EQ(ToUpperUtf8("їєґў"), "ЇЄҐЎ");
  EXPECT_TRUE(EqualsIgnoreCase("мтБетонB", "МТБЕТОНb"));
  EXPECT_FALSE(EqualsIgnoreCase("мтБетонB", "мтБетон"));
  EXPECT_FALSE(EqualsIgnoreCase("B", "В"));  // Latin and Cyrillic stay apart
  EXPECT_TRUE(EqualsIgnoreCase("\xFF", "\xFF"));
  EXPECT_FALSE(EqualsIgnoreCase("\xFF", "\xFE"));
  EXPECT_EQ(Utf8Length("Отчет"), 5u);
  EXPECT_EQ(Utf8Length("a\xD0"), 2u) << "a truncated sequence counts byte by byte";
}

}  // namespace
}  // namespace armocalc
