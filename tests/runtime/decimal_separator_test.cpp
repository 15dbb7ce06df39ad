#include "runtime/decimal_separator.hpp"

#include <stdlib.h>

#include <atomic>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

TEST(SeparatorForLocaleName, DecimalCommaLanguages) {
  for (const char* name :
       {"ru_RU.UTF-8", "ru", "RU_ru", "uk_UA", "be_BY.UTF-8", "kk_KZ", "de_DE@euro",
        "fr_FR.ISO-8859-1", "pt-BR", "pl_PL", "tr_TR.UTF-8", "en_DK.UTF-8"}) {
    EXPECT_EQ(SeparatorForLocaleName(name), ",") << name;
  }
}

TEST(SeparatorForLocaleName, DecimalPointLocales) {
  for (const char* name : {"", "C", "POSIX", "C.UTF-8", "en_US.UTF-8", "ja_JP", "zh_CN.GB18030",
                           "he_IL", "de_CH.UTF-8", "es_MX", "x"}) {
    EXPECT_EQ(SeparatorForLocaleName(name), ".") << name;
  }
}

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) {
      const char* value = getenv(kNames[i]);
      saved_[i] = value ? std::optional<std::string>(value) : std::nullopt;
    }
  }
  void TearDown() override {
    for (int i = 0; i < 3; ++i) Set(kNames[i], saved_[i] ? saved_[i]->c_str() : nullptr);
  }
  static void Set(const char* name, const char* value) {
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  static constexpr const char* kNames[3] = {"LC_ALL", "LC_NUMERIC", "LANG"};
  std::optional<std::string> saved_[3];
};

TEST_F(LocaleEnvironment, FirstNonEmptyVariableDecides) {
  Set("LC_ALL", "");
  Set("LC_NUMERIC", "en_US.UTF-8");
  Set("LANG", "ru_RU.UTF-8");
  EXPECT_EQ(SeparatorFromLocaleEnvironment(), ".");
  Set("LC_NUMERIC", nullptr);
  EXPECT_EQ(SeparatorFromLocaleEnvironment(), ",");
  Set("LC_ALL", "C");
  EXPECT_EQ(SeparatorFromLocaleEnvironment(), ".");
  Set("LC_ALL", nullptr);
  Set("LANG", nullptr);
  EXPECT_EQ(SeparatorFromLocaleEnvironment(), ".");
}

class SeparatorSource : public ::testing::Test {
 protected:
  void TearDown() override { SetDecimalSeparatorSource(nullptr); }
  std::atomic<int> reads{0};
};

TEST_F(SeparatorSource, NonEmptyAnswerIsReadOncePerThread) {
  SetDecimalSeparatorSource([this] {
    ++reads;
    return std::string(",");
  });
  EXPECT_EQ(РазделительДробнойЧасти(), ",");
  EXPECT_EQ(РазделительДробнойЧасти(), ",");
  EXPECT_EQ(reads, 1);
  std::thread other([] { EXPECT_EQ(РазделительДробнойЧасти(), ","); });
  other.join();
  EXPECT_EQ(reads, 2);
  ClearDecimalSeparatorCache();
  EXPECT_EQ(РазделительДробнойЧасти(), ",");
  EXPECT_EQ(reads, 3);
}

TEST_F(SeparatorSource, EmptyAnswerIsReadAgainAtEveryUse) {
  SetDecimalSeparatorSource([this] { return ++reads < 3 ? std::string() : std::string("."); });
  EXPECT_EQ(РазделительДробнойЧасти(), "");
  EXPECT_EQ(РазделительДробнойЧасти(), "");
  EXPECT_EQ(РазделительДробнойЧасти(), ".");
  EXPECT_EQ(РазделительДробнойЧасти(), ".");
  EXPECT_EQ(reads, 3);
}

TEST_F(SeparatorSource, FailingSourceGivesAnEmptySeparator) {
  SetDecimalSeparatorSource([]() -> std::string { throw std::runtime_error("no registry"); });
  EXPECT_EQ(РазделительДробнойЧасти(), "");
}

TEST_F(SeparatorSource, NewSourceIsSeenByThreadsThatCachedTheOldOne) {
  SetDecimalSeparatorSource([] { return std::string(","); });
  EXPECT_EQ(РазделительДробнойЧасти(), ",");
  SetDecimalSeparatorSource([] { return std::string("."); });
  EXPECT_EQ(РазделительДробнойЧасти(), ".");
}

TEST_F(SeparatorSource, ScopedSeparatorsNestAndRestore) {
  SetDecimalSeparatorSource([] { return std::string(","); });
  {
    ScopedDecimalSeparator outer(".");
    EXPECT_EQ(РазделительДробнойЧасти(), ".");
    {
      ScopedDecimalSeparator inner("");
      EXPECT_EQ(РазделительДробнойЧасти(), "");
    }
    EXPECT_EQ(РазделительДробнойЧасти(), ".");
    std::thread other([] { EXPECT_EQ(РазделительДробнойЧасти(), ","); });
    other.join();
  }
  EXPECT_EQ(РазделительДробнойЧасти(), ",");
}

}  // namespace
}  // namespace armocalc
