#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "interface/binding.hpp"
#include "interface/call_frame.hpp"
#include "interface/method_table.hpp"

namespace armocalc::binding {
namespace {

TEST(Bindings, EveryBoundRoutineAgreesWithItsTableEntry) {
  std::set<std::string_view> bound_names;
  for (const BoundMethod& bound : Bindings()) {
    const MethodInfo* method = FindMethod(bound.name);
    ASSERT_NE(method, nullptr) << bound.name << " is not in the method table";
    EXPECT_EQ(method->name, bound.name) << "bound under another spelling";
    EXPECT_EQ(DisagreementWithTable(bound, *method), "") << bound.name;
    EXPECT_TRUE(bound_names.insert(bound.name).second) << bound.name << " bound twice";
  }
  for (const MethodInfo& method : Methods()) {
    EXPECT_EQ(method.routine != nullptr, bound_names.count(method.name) == 1) << method.name;
  }
}

double Sample(uint8_t& code, float grade, const std::string& path) {
  code = 7;
  return grade + static_cast<double>(path.size());
}
double Narrow(int16_t code) {
  return code;
}
double TwoParams(double a, double b) {
  return a + b;
}
double WritesFirst(double& a) {
  return a = 1;
}

MethodInfo MethodWith(std::span<const ParamInfo> params) {
  return MethodInfo{"Проба", kFirstDispid, params, VarType::Double, nullptr, ""};
}

TEST(Bindings, ADisagreementIsNamed) {
  const ParamInfo byte_by_value[] = {{"К", VarType::Byte, PassingMode::ByVal, false, {}}};
  const ParamInfo double_by_value[] = {{"К", VarType::Double, PassingMode::ByVal, false, {}}};
  const MethodInfo as_byte = MethodWith(byte_by_value);
  const MethodInfo as_double = MethodWith(double_by_value);

  EXPECT_NE(DisagreementWithTable(Bind<&Narrow>("Проба"), as_byte).find("Integer"),
            std::string::npos);
  EXPECT_NE(DisagreementWithTable(Bind<&TwoParams>("Проба"), as_double).find("2 parameters"),
            std::string::npos);
  EXPECT_NE(DisagreementWithTable(Bind<&WritesFirst>("Проба"), as_double).find("by-value"),
            std::string::npos);
  const ParamInfo double_by_reference[] = {{"К", VarType::Double, PassingMode::ByRef, false, {}}};
  EXPECT_EQ(DisagreementWithTable(Bind<&WritesFirst>("Проба"), MethodWith(double_by_reference)),
            "");
}

TEST(Bindings, SlotsReachTheRoutineAndReferencesWriteBack) {
  const ParamInfo params[] = {{"Код", VarType::Byte, PassingMode::ByRef, false, {}},
                              {"Класс", VarType::Single, PassingMode::ByRef, false, {}},
                              {"Отчет", VarType::String, PassingMode::ByRef, true, {}}};
  MethodInfo method = MethodWith(params);
  const BoundMethod bound = Bind<&Sample>("Проба");
  EXPECT_EQ(DisagreementWithTable(bound, method), "");
  method.routine = bound.routine;

  Variant code = 3.0;
  Variant grade = 25.5;
  Variant path = std::string("abc");
  Argument args[] = {{&code}, {&grade}, {&path}};
  const CallOutcome outcome = Invoke(method, args);
  ASSERT_TRUE(outcome.Succeeded()) << outcome.description;
  EXPECT_EQ(outcome.result, Variant(28.5));
  EXPECT_EQ(code, Variant(uint8_t{7}));
  EXPECT_EQ(grade, Variant(25.5f)) << "an unchanged by-reference argument keeps its value";
}

}  // namespace
}  // namespace armocalc::binding
