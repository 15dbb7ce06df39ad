#include "interface/call_frame.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc {
namespace {

// What the test routine saw, and what it does.
struct Seen {
  int runs = 0;
  double a = 0;
  uint8_t m = 0;
  bool f = false;
  std::string s;
  int32_t l = 0;
  float single = 0;
};
Seen seen;
int failure = 0;  // error number the routine raises after its writes (0: none)

Variant Recorder(Frame& f) {
  ++seen.runs;
  seen.a = f.Double(0);
  seen.m = f.Byte(1);
  seen.f = f.Boolean(2);
  seen.s = f.String(3);
  seen.l = f.Long(4);
  seen.single = f.Single(5);
  // Writes to every kind of parameter: by-reference ones reach the caller, by-value ones not.
  f.Double(0) = 42.5;
  f.Byte(1) = 7;
  f.Boolean(2) = !f.Boolean(2);
  f.String(3) = "written";
  f.Long(4) = 99;
  if (failure) Raise(failure);
  return f.Double(0) * 2;
}

const ParamInfo kParams[] = {
    {"A", VarType::Double, PassingMode::ByRef, false, std::nullopt},
    {"M", VarType::Byte, PassingMode::ByRef, true, Variant(uint8_t{3})},
    {"F", VarType::Boolean, PassingMode::ByVal, true, Variant(true)},
    {"S", VarType::String, PassingMode::ByRef, true, std::nullopt},
    {"L", VarType::Long, PassingMode::ByVal, true, std::nullopt},
    {"K", VarType::Single, PassingMode::ByRef, true, std::nullopt},
};
const MethodInfo kDoubleMethod{"Проверка", kFirstDispid, kParams, VarType::Double, &Recorder, ""};
const MethodInfo kVariantMethod{"Проверка", kFirstDispid, kParams, VarType::Empty, &Recorder, ""};

class CallFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    seen = {};
    failure = 0;
  }
  CallOutcome Call(const MethodInfo& method, std::vector<Variant*> values) {
    args_.clear();
    for (Variant* v : values) args_.push_back(Argument{v});
    return Invoke(method, args_);
  }
  std::vector<Argument> args_;
};

TEST_F(CallFrame, OmittedOptionalsTakeTheirDefaultsOrZero) {
  Variant a = 1.5;
  const CallOutcome outcome = Call(kDoubleMethod, {&a});
  ASSERT_TRUE(outcome.Succeeded()) << outcome.description;
  EXPECT_EQ(seen.runs, 1);
  EXPECT_EQ(seen.a, 1.5);
  EXPECT_EQ(seen.m, 3);
  EXPECT_TRUE(seen.f);
  EXPECT_EQ(seen.s, "");
  EXPECT_EQ(seen.l, 0);
  EXPECT_EQ(seen.single, 0.0f);
  EXPECT_EQ(outcome.result, Variant(85.0));
  EXPECT_EQ(outcome.error_number, 0);
}

TEST_F(CallFrame, ExplicitlyOmittedArgumentInTheMiddleTakesItsDefault) {
  Variant a = 1.0, l = int32_t{5};
  ASSERT_TRUE(Call(kDoubleMethod, {&a, nullptr, nullptr, nullptr, &l}).Succeeded());
  EXPECT_EQ(seen.m, 3);
  EXPECT_EQ(seen.l, 5);
}

TEST_F(CallFrame, ByReferenceArgumentsAreWrittenBackAsTheirDeclaredType) {
  Variant a = int32_t{2}, m = 1.0, f = false, s = "путь", l = int32_t{5}, k = int16_t{25};
  const CallOutcome outcome = Call(kDoubleMethod, {&a, &m, &f, &s, &l, &k});
  ASSERT_TRUE(outcome.Succeeded());
  EXPECT_EQ(a, Variant(42.5));
  EXPECT_EQ(m, Variant(uint8_t{7}));
  EXPECT_EQ(s, Variant("written"));
  EXPECT_EQ(k, Variant(25.0f));
  // By-value arguments are the routine's private copies.
  EXPECT_EQ(f, Variant(false));
  EXPECT_EQ(l, Variant(int32_t{5}));
}

TEST_F(CallFrame, WritesDoneBeforeAFailureStayWithTheCaller) {
  failure = kDivisionByZero;
  Variant a = 1.0, m = uint8_t{1}, f = true, s = "x", l = int32_t{5};
  const CallOutcome outcome = Call(kDoubleMethod, {&a, &m, &f, &s, &l});
  EXPECT_EQ(outcome.hresult, static_cast<int32_t>(0x800A000Bu));
  EXPECT_EQ(outcome.error_number, 11);
  EXPECT_EQ(outcome.description, "Division by zero");
  EXPECT_EQ(outcome.result, Variant(0.0));
  EXPECT_EQ(a, Variant(42.5));
  EXPECT_EQ(m, Variant(uint8_t{7}));
  EXPECT_EQ(s, Variant("written"));
  EXPECT_EQ(f, Variant(true));
  EXPECT_EQ(l, Variant(int32_t{5}));
}

TEST_F(CallFrame, FailedVariantMethodReturnsEmpty) {
  failure = kOverflow;
  Variant a = 1.0;
  const CallOutcome outcome = Call(kVariantMethod, {&a});
  EXPECT_EQ(outcome.hresult, static_cast<int32_t>(0x800A0006u));
  EXPECT_EQ(outcome.description, "Overflow");
  EXPECT_TRUE(outcome.result.IsEmpty());
}

TEST_F(CallFrame, VariantMethodKeepsTheRoutinesResultType) {
  Variant a = 1.0;
  EXPECT_EQ(Call(kVariantMethod, {&a}).result, Variant(85.0));
}

TEST_F(CallFrame, CoercionUsesBankersRoundingForIntegers) {
  const std::vector<std::pair<double, uint8_t>> cases = {
      {2.5, 2}, {3.5, 4}, {0.5, 0}, {1.5, 2}, {-0.5, 0}, {254.5, 254}, {2.4999, 2}, {2.5001, 3}};
  for (const auto& [given, expected] : cases) {
    Variant a = 1.0, m = given;
    ASSERT_TRUE(Call(kDoubleMethod, {&a, &m}).Succeeded()) << given;
    EXPECT_EQ(seen.m, expected) << given;
  }
}

TEST_F(CallFrame, ArgumentsThatDoNotConvertFailBeforeTheRoutineRuns) {
  struct Case {
    Variant m;
    int error;
  };
  const std::vector<Case> cases = {
      {Variant(256.0), kOverflow},  {Variant(255.5), kOverflow},
      {Variant(-1.0), kOverflow},   {Variant(-0.51), kOverflow},
      {Variant(true), kOverflow},   {Variant("abc"), kTypeMismatch},
      {Variant(""), kTypeMismatch}, {Variant(int32_t{1000}), kOverflow},
  };
  for (const Case& c : cases) {
    Variant a = 1.0, m = c.m;
    const CallOutcome outcome = Call(kDoubleMethod, {&a, &m});
    EXPECT_EQ(outcome.error_number, c.error) << ToText(c.m);
    EXPECT_EQ(outcome.hresult, HresultOf(c.error));
    EXPECT_EQ(outcome.description, ErrorDescription(c.error));
    EXPECT_EQ(outcome.result, Variant(0.0));
    EXPECT_EQ(a, Variant(1.0)) << "no write-back when the routine never ran";
    EXPECT_EQ(m, c.m);
  }
  EXPECT_EQ(seen.runs, 0);
}

TEST_F(CallFrame, IntegerAndLongAndSingleLimits) {
  const ParamInfo params[] = {
      {"I", VarType::Integer, PassingMode::ByVal, false, std::nullopt},
      {"L", VarType::Long, PassingMode::ByVal, false, std::nullopt},
      {"K", VarType::Single, PassingMode::ByVal, false, std::nullopt},
  };
  const MethodInfo method{
      "Пределы", kFirstDispid, params, VarType::Double, [](Frame&) { return Variant(); }, ""};
  const auto call = [&](Variant i, Variant l, Variant k) {
    Variant vi = i, vl = l, vk = k;
    return Call(method, {&vi, &vl, &vk}).error_number;
  };
  EXPECT_EQ(call(32767.0, 2147483647.0, 3.4e38), 0);
  EXPECT_EQ(call(-32768.5, -2147483648.0, -3.4e38), 0);  // -32768.5 rounds to even -32768
  EXPECT_EQ(call(32767.5, 0.0, 0.0), kOverflow);
  EXPECT_EQ(call(0.0, 2147483647.5, 0.0), kOverflow);
  EXPECT_EQ(call(0.0, -2147483649.0, 0.0), kOverflow);
  EXPECT_EQ(call(0.0, 0.0, 1e39), kOverflow);
  EXPECT_EQ(call(0.0, 0.0, "x"), kTypeMismatch);
}

TEST_F(CallFrame, TextsAndBooleansConvertAsTheRuntimeDoes) {
  ScopedDecimalSeparator comma(",");
  Variant a = "2,5", m = "3", f = "False", s = 0.25, l = true, k = "27,5";
  ASSERT_TRUE(Call(kDoubleMethod, {&a, &m, &f, &s, &l, &k}).Succeeded());
  EXPECT_EQ(seen.a, 2.5);
  EXPECT_EQ(seen.m, 3);
  EXPECT_FALSE(seen.f);
  EXPECT_EQ(seen.s, "0,25");  // numbers become text with the user's separator
  EXPECT_EQ(seen.l, -1);      // True is -1
  EXPECT_EQ(seen.single, 27.5f);
  Variant empty;
  ASSERT_TRUE(Call(kDoubleMethod, {&empty}).Succeeded());
  EXPECT_EQ(seen.a, 0.0);  // Empty reads as 0
}

TEST_F(CallFrame, MissingRequiredArgumentAndTooManyArguments) {
  CallOutcome outcome = Call(kDoubleMethod, {});
  EXPECT_EQ(outcome.error_number, kArgumentNotOptional);
  EXPECT_EQ(outcome.hresult, static_cast<int32_t>(0x800A01C1u));
  EXPECT_EQ(outcome.description, "Argument not optional");
  EXPECT_EQ(outcome.result, Variant(0.0));

  outcome = Call(kDoubleMethod, {nullptr, nullptr});
  EXPECT_EQ(outcome.error_number, kArgumentNotOptional);

  std::vector<Variant> values(7, Variant(1.0));
  std::vector<Variant*> pointers;
  for (auto& v : values) pointers.push_back(&v);
  outcome = Call(kVariantMethod, pointers);
  EXPECT_EQ(outcome.error_number, 450);
  EXPECT_EQ(outcome.description, "Wrong number of arguments or invalid property assignment");
  EXPECT_TRUE(outcome.result.IsEmpty());
  EXPECT_EQ(seen.runs, 0);
}

TEST_F(CallFrame, MethodWithoutRoutineAnswersNotImplemented) {
  const MethodInfo method{"мтНеготовB", kFirstDispid, kParams, VarType::Double, nullptr, ""};
  Variant a = 1.0;
  const CallOutcome outcome = Call(method, {&a});
  EXPECT_EQ(outcome.hresult, static_cast<int32_t>(0x80004001u));
  EXPECT_EQ(outcome.error_number, kNotImplementedHresult);
  EXPECT_NE(outcome.description.find("мтНеготовB"), std::string::npos);
  EXPECT_NE(outcome.description.find("not implemented"), std::string::npos);
  EXPECT_EQ(outcome.result, Variant(0.0));
  EXPECT_EQ(a, Variant(1.0));
}

template <class Exception>
Variant Throwing(Frame& f) {
  f.Double(0) = -3;
  throw Exception("boom");
}

TEST_F(CallFrame, EveryKindOfFailureBecomesAnAutomationError) {
  const auto outcome_of = [&](Routine routine) {
    const MethodInfo method{"Сбой", kFirstDispid, kParams, VarType::Empty, routine, ""};
    Variant a = 1.0;
    CallOutcome outcome = Call(method, {&a});
    EXPECT_EQ(a, Variant(-3.0));
    return outcome;
  };
  CallOutcome outcome = outcome_of(&Throwing<std::logic_error>);
  EXPECT_EQ(outcome.error_number, 51);
  EXPECT_EQ(outcome.description, "Internal error");
  EXPECT_TRUE(outcome.result.IsEmpty());

  outcome = outcome_of(&Throwing<NotImplementedError>);
  EXPECT_EQ(outcome.hresult, kNotImplementedHresult);

  outcome = outcome_of([](Frame& f) -> Variant {
    f.Double(0) = -3;
    throw std::bad_alloc();
  });
  EXPECT_EQ(outcome.error_number, 7);
  EXPECT_EQ(outcome.description, "Out of memory");

  outcome = outcome_of([](Frame& f) -> Variant {
    f.Double(0) = -3;
    throw 42;
  });
  EXPECT_EQ(outcome.error_number, 51);

  outcome = outcome_of([](Frame& f) -> Variant {
    f.Double(0) = -3;
    throw RuntimeError(kPathNotFound);
  });
  EXPECT_EQ(outcome.hresult, static_cast<int32_t>(0x800A004Cu));
  EXPECT_EQ(outcome.description, "Path not found");
}

TEST_F(CallFrame, DoubleMethodsConvertTheRoutinesResult) {
  const ParamInfo none[] = {{"X", VarType::Double, PassingMode::ByVal, true, std::nullopt}};
  MethodInfo method{
      "Итог", kFirstDispid, none, VarType::Double, [](Frame&) { return Variant(int16_t{5}); }, ""};
  EXPECT_EQ(Call(method, {}).result, Variant(5.0));
  method.routine = [](Frame&) { return Variant("не число"); };
  const CallOutcome outcome = Call(method, {});
  EXPECT_EQ(outcome.error_number, kTypeMismatch);
  EXPECT_EQ(outcome.result, Variant(0.0));
}

TEST_F(CallFrame, RangeArgumentsReachTheRoutineAndNothingIsObjectRequired) {
  const ParamInfo params[] = {{"R", VarType::Range, PassingMode::ByRef, false, std::nullopt}};
  const MethodInfo method{"Ячейка",
                          kFirstDispid,
                          params,
                          VarType::Empty,
                          [](Frame& f) { return f.Range(0).Cell(2, 1); },
                          ""};
  auto grid = std::make_shared<GridRange>(
      std::vector<std::vector<Variant>>{{Variant(1.0)}, {Variant("два")}});
  Variant range = std::shared_ptr<HostRange>(grid);
  CallOutcome outcome = Call(method, {&range});
  ASSERT_TRUE(outcome.Succeeded());
  EXPECT_EQ(outcome.result, Variant("два"));
  EXPECT_EQ(range.Range().get(), grid.get()) << "the caller keeps its Range";

  Variant nothing;
  outcome = Call(method, {&nothing});
  EXPECT_EQ(outcome.error_number, kObjectVariableNotSet);
  EXPECT_EQ(outcome.description, "Object variable or With block variable not set");
  Variant null_range = std::shared_ptr<HostRange>();
  EXPECT_EQ(Call(method, {&null_range}).error_number, kObjectVariableNotSet) << "Nothing";

  Variant number = 1.0;
  EXPECT_EQ(Call(method, {&number}).error_number, kTypeMismatch);
}

class FixedPiHost : public HostApplication {
 public:
  double Pi() const override { return 3.0; }
};

TEST_F(CallFrame, CallerSuppliedHostServesTheCallOnly) {
  const ParamInfo none[] = {{"X", VarType::Double, PassingMode::ByVal, true, std::nullopt}};
  const MethodInfo method{
      "Пи", kFirstDispid, none, VarType::Double, [](Frame&) { return Variant(Host().Pi()); }, ""};
  const FixedPiHost host;
  EXPECT_EQ(Invoke(method, {}, &host).result, Variant(3.0));
  EXPECT_EQ(Invoke(method, {}).result, Variant(std::numbers::pi));
  EXPECT_EQ(Host().Pi(), std::numbers::pi);
}

TEST_F(CallFrame, InvokeByNameFindsMethodsIgnoringCaseAndRejectsUnknownOnes) {
  Variant concrete = 25.0;
  std::vector<Argument> args{Argument{&concrete}};
  const CallOutcome by_exact = InvokeByName("мтБетонB", args);
  const CallOutcome by_case = InvokeByName("МТБЕТОНb", args);
  ASSERT_TRUE(by_exact.Succeeded()) << by_exact.description;
  EXPECT_EQ(by_case.result, by_exact.result);

  const CallOutcome unknown = InvokeByName("мтНетТакогоB", args);
  EXPECT_EQ(unknown.error_number, 438);
  EXPECT_EQ(unknown.hresult, static_cast<int32_t>(0x800A01B6u));
  EXPECT_EQ(unknown.description, "Object doesn't support this property or method");
  EXPECT_TRUE(unknown.result.IsEmpty());
}

TEST_F(CallFrame, ConcreteWithOnlyTheClassUsesPropertyOne) {
  Variant concrete = 25.0;
  std::vector<Argument> one{Argument{&concrete}};
  const CallOutcome omitted = InvokeByName("мтБетонB", one);
  Variant again = 25.0, property = uint8_t{1};
  std::vector<Argument> two{Argument{&again}, Argument{&property}};
  const CallOutcome explicit_one = InvokeByName("мтБетонB", two);
  ASSERT_TRUE(omitted.Succeeded());
  EXPECT_EQ(omitted.result, explicit_one.result);
  EXPECT_EQ(omitted.result, Variant(13.0));
  EXPECT_EQ(concrete, Variant(25.0f)) << "written back as the declared Single";
}

TEST_F(CallFrame, NonFiniteNumbersFailWithOverflowBeforeTheRoutineRuns) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const double bad : {nan, inf, -inf}) {
    Variant a = bad;
    CallOutcome outcome = Call(kDoubleMethod, {&a});
    EXPECT_EQ(outcome.hresult, static_cast<int32_t>(0x800A0006u)) << bad;
    EXPECT_EQ(seen.runs, 0);
    // The same through the Single parameter, from a Single and from a Double.
    Variant good = 1.0, single = static_cast<float>(bad), wide = bad;
    EXPECT_EQ(
        Call(kDoubleMethod, {&good, nullptr, nullptr, nullptr, nullptr, &single}).error_number, 6);
    EXPECT_EQ(Call(kDoubleMethod, {&good, nullptr, nullptr, nullptr, nullptr, &wide}).error_number,
              6);
    EXPECT_EQ(seen.runs, 0);
  }
}

}  // namespace
}  // namespace armocalc
