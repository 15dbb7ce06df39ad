#include "interface/method_table.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace armocalc {
namespace {

const MethodInfo& Method(std::string_view name) {
  const MethodInfo* method = FindMethod(name);
  EXPECT_NE(method, nullptr) << name;
  return *method;
}

const ParamInfo& Param(std::string_view method, std::string_view name) {
  const MethodInfo& m = Method(method);
  const int index = FindParam(m, name);
  EXPECT_GE(index, 0) << method << "." << name;
  return m.params[static_cast<size_t>(index)];
}

TEST(MethodTable, HoldsTwentyThreeMethodsWithConsecutiveDispids) {
  const auto methods = Methods();
  ASSERT_EQ(methods.size(), 23u);
  std::set<std::string_view> names;
  for (size_t i = 0; i < methods.size(); ++i) {
    EXPECT_EQ(methods[i].dispid, 0x60030000 + static_cast<int32_t>(i)) << methods[i].name;
    EXPECT_FALSE(methods[i].summary.empty()) << methods[i].name;
    names.insert(methods[i].name);
  }
  EXPECT_EQ(names.size(), 23u);
  EXPECT_EQ(methods[0].name, "мтRingStrengthB");
  EXPECT_EQ(methods[1].name, "мтБетонB");
  EXPECT_EQ(methods[6].name, "ЧислоПрописьюB");
  EXPECT_EQ(methods[9].name, "мтПрочностьB");
  EXPECT_EQ(methods[16].name, "мтТрещиностойкость2B");
  EXPECT_EQ(methods[22].name, "мтПрочностьКругаB");
  EXPECT_EQ(methods[22].dispid, 0x60030016);
}

TEST(MethodTable, NamesMixLatinAndCyrillicLettersExactly) {
  // The method suffix B is Latin; Fв and ав end in a Cyrillic "в"; B, M, N, h are Latin.
  EXPECT_EQ(Method("мтБетонB").name.back(), 'B');
  const MethodInfo& strength = Method("мтПрочностьB");
  EXPECT_EQ(strength.params[4].name, "F\xD0\xB2");         // Fв
  EXPECT_EQ(strength.params[6].name, "\xD0\xB0\xD0\xB2");  // ав
  EXPECT_EQ(strength.params[8].name, "h");
  EXPECT_EQ(strength.params[9].name, "B");
  EXPECT_EQ(FindParam(strength, "Fb"), -1);
  EXPECT_EQ(FindParam(strength, "\xD0\x92"), -1);  // Cyrillic В is not the Latin B
  const MethodInfo& crack2 = Method("мтТрещиностойкость2B");
  EXPECT_EQ(crack2.params[5].name, "\xD1\x88\xD0\xB2");  // шв
  EXPECT_EQ(crack2.params[7].name, "d\xD0\xBD");         // dн
  EXPECT_EQ(Param("гоБетонB", "ПредельноеСостояние_Iб").name, "ПредельноеСостояние_Iб");
}

TEST(MethodTable, RecordsTypesModesAndDefaults) {
  const MethodInfo& strength = Method("мтПрочностьB");
  ASSERT_EQ(strength.params.size(), 29u);
  EXPECT_EQ(strength.result, VarType::Empty);  // Variant result
  EXPECT_EQ(strength.params[0].type, VarType::Byte);
  EXPECT_EQ(strength.params[1].type, VarType::Single);
  EXPECT_FALSE(strength.params[8].optional);
  EXPECT_TRUE(strength.params[9].optional);
  EXPECT_EQ(strength.params[9].default_value, Variant(1.0));
  EXPECT_EQ(Param("мтПрочностьB", "L").default_value, Variant(-1.0));
  EXPECT_EQ(Param("мтПрочностьB", "Z").mode, PassingMode::ByVal);
  EXPECT_EQ(Param("мтПрочностьB", "ЗакрепленияНаКонцахЭлемента").default_value,
            Variant(int32_t{12}));
  EXPECT_EQ(Param("мтПрочностьB", "СевернКоэфф").mode, PassingMode::ByRef);
  EXPECT_EQ(Param("мтПрочностьТB", "СевернКоэфф").mode, PassingMode::ByVal);
  EXPECT_EQ(Param("мтПрочностьТB", "ТаблицаАрматурныхСтержней").type, VarType::Range);
  EXPECT_EQ(Param("мтПрочностьB", "Отчет").type, VarType::String);
  EXPECT_FALSE(Param("мтПрочностьB", "Отчет").default_value.has_value());

  EXPECT_EQ(Param("мтБетонB", "Параметр").mode, PassingMode::ByRef);
  EXPECT_EQ(Param("гоБетонB", "Параметр").mode, PassingMode::ByVal);
  EXPECT_EQ(Param("мтБетонB", "Параметр").default_value, Variant(uint8_t{1}));
  EXPECT_EQ(Param("мтRingStrengthB", "ns").type, VarType::Integer);
  EXPECT_EQ(Param("мтПрочностьКругаB", "ns").type, VarType::Long);
  EXPECT_EQ(Param("гRingB", "ns").type, VarType::Double);
  EXPECT_EQ(Param("мтПрочностьКругаB", "МетодОпределенияЗапаса").default_value,
            Variant(int32_t{3}));
  EXPECT_EQ(Param("гПродавливаниеB", "МетодЗапаса").default_value, Variant(uint8_t{3}));
  EXPECT_EQ(Param("мтНапряжениеB", "Фиброползучесть").default_value, Variant(true));
  EXPECT_EQ(Param("мтНапряжениеB", "Точность").default_value, Variant(0.0001));
  EXPECT_EQ(Param("ПодборРабочейАрматурыB", "acr").default_value, Variant(0.02));
  EXPECT_EQ(Param("СНиП_RsB", "Диаметр_арматуры").default_value, Variant(10.0));
  EXPECT_EQ(Param("ЧислоПрописьюB", "rCells").type, VarType::Range);
  EXPECT_EQ(Param("мтХомутыB", "C_max").mode, PassingMode::ByRef);
  EXPECT_EQ(Method("мтХомутыB").params.back().name, "C_max");
  EXPECT_EQ(Method("СНиП_RsB").result, VarType::Empty);
  EXPECT_EQ(Method("мтБетонB").result, VarType::Double);
  EXPECT_EQ(Method("гRingB").params.size(), 11u);
  EXPECT_EQ(Method("мтТрещиностойкостьB").params.size(), 22u);
}

TEST(MethodTable, DefaultsHaveTheirParametersTypeAndOptionalsComeLast) {
  for (const MethodInfo& method : Methods()) {
    bool optional_seen = false;
    for (const ParamInfo& param : method.params) {
      if (param.default_value) {
        EXPECT_TRUE(param.optional) << method.name << "." << param.name;
        EXPECT_EQ(param.default_value->Type(), param.type) << method.name << "." << param.name;
      }
      EXPECT_FALSE(optional_seen && !param.optional) << method.name << "." << param.name;
      optional_seen = optional_seen || param.optional;
    }
  }
}

TEST(MethodTable, DefaultArgumentIsTheRecordedDefaultOrZero) {
  EXPECT_EQ(DefaultArgument(Param("мтБетонB", "Параметр")), Variant(uint8_t{1}));
  EXPECT_EQ(DefaultArgument(Param("гоБетонB", "ЗимняяТемпература")), Variant(int16_t{0}));
  EXPECT_EQ(DefaultArgument(Param("мтПрочностьB", "ОпределятьСМИ")), Variant(false));
  EXPECT_EQ(DefaultArgument(Param("мтПрочностьB", "Отчет")), Variant(std::string()));
  EXPECT_EQ(DefaultArgument(Param("мтПрочностьB", "Nl")), Variant(0.0));
}

TEST(MethodTable, FindsMethodsIgnoringCaseOfLatinAndCyrillicLetters) {
  EXPECT_EQ(FindMethod("МТБЕТОНB"), FindMethod("мтБетонB"));
  EXPECT_EQ(FindMethod("мтбетонb"), FindMethod("мтБетонB"));
  EXPECT_EQ(FindMethod("снип_rsb"), FindMethod("СНиП_RsB"));
  EXPECT_EQ(FindMethod("мтбетон"), nullptr);
  EXPECT_EQ(FindMethod(""), nullptr);
  EXPECT_EQ(FindMethod("\xFF\xFE"), nullptr);
  EXPECT_EQ(FindMethod(int32_t{0x60030009})->name, "мтПрочностьB");
  EXPECT_EQ(FindMethod(int32_t{0x60030017}), nullptr);
  EXPECT_EQ(FindMethod(int32_t{0x5FFFFFFF}), nullptr);
  EXPECT_EQ(FindParam(Method("мтБетонB"), "кЛАССбЕТОНА"), 0);
  EXPECT_EQ(FindParam(Method("мтПрочностьB"), "fВ"), 4);
  EXPECT_EQ(FindParam(Method("мтПрочностьB"), "отчет"), 28);
}

TEST(MethodTable, MaterialsMethodsAreBound) {
  for (const char* name : {"мтБетонB", "гоБетонB", "гоАрматураB", "СНиП_RsB", "СНиП_EsB"}) {
    EXPECT_NE(Method(name).routine, nullptr) << name;
  }
}

}  // namespace
}  // namespace armocalc

namespace {

// Every parameter of every method tells the engineer what it is; coded ones list their codes.
TEST(MethodTableDocs, EveryParameterHasAMeaning) {
  for (const armocalc::MethodInfo& method : armocalc::Methods()) {
    EXPECT_FALSE(method.result_meaning.empty()) << method.name;
    EXPECT_FALSE(method.example.empty()) << method.name;
    for (const armocalc::ParamInfo& param : method.params) {
      EXPECT_FALSE(param.doc.meaning.empty()) << method.name << " " << param.name;
      for (const armocalc::CodeMeaning& code : param.doc.codes) {
        EXPECT_FALSE(code.meaning.empty()) << method.name << " " << param.name;
      }
    }
  }
}

// The margin methods are those whose margin-method parameter carries the codes 0–3; the type
// library's help string holds the purpose and the result, in signs of the Cyrillic code page.
TEST(MethodTableDocs, MarginMethodsAndHelpStringsComeFromTheTable) {
  size_t margins = 0;
  for (const armocalc::MethodInfo& method : armocalc::Methods()) {
    const int index = armocalc::MarginMethodParam(method);
    if (index >= 0) {
      ++margins;
      const auto& codes = method.params[static_cast<size_t>(index)].doc.codes;
      ASSERT_EQ(codes.size(), 4u) << method.name;
      EXPECT_EQ(codes.front().value, 0) << method.name;
    }
    const std::string help = armocalc::HelpString(method);
    EXPECT_EQ(help.rfind(std::string(method.summary), 0), 0u) << method.name;
    EXPECT_NE(help.find(". Результат: "), std::string::npos) << method.name;
    EXPECT_EQ(help.find('?'), std::string::npos) << "every sign in the code page: " << help;
  }
  EXPECT_EQ(margins, 14u);
  EXPECT_EQ(armocalc::MarginMethodParam(*armocalc::FindMethod("мтБетонB")), -1);
  EXPECT_EQ(armocalc::MarginMethodParam(*armocalc::FindMethod("мтВыносливостьB")), 16)
      << "ПоАрматуреИБетону also has codes 0–2 but is no margin method";
}

}  // namespace
