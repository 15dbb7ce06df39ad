#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.hpp"
#include "runtime/identifiers.hpp"
#include "setup/excel_check.hpp"
#include "setup/layout.hpp"
#include "setup/registration.hpp"

namespace armocalc::setup {
namespace {

using testing::FakeSystem;

TEST(ExcelCheck, TitleWithExcelAnywhereCounts) {
  EXPECT_TRUE(ExcelIsRunning({"Program Manager", "Microsoft Excel - Книга1.xls"}));
  EXPECT_TRUE(ExcelIsRunning({"Книга1.xlsx - Excel"}));
  EXPECT_TRUE(ExcelIsRunning({"MyExcelTool"}));
}

TEST(ExcelCheck, OtherCaseOrNoTitleDoesNotCount) {
  EXPECT_FALSE(ExcelIsRunning({}));
  EXPECT_FALSE(ExcelIsRunning({"", "microsoft excel - book1", "EXCEL", "Exce l"}));
}

TEST(ExcelCheck, TitleEndsAtFirstNul) {
  EXPECT_FALSE(ExcelIsRunning({std::string("Notepad\0Excel", 13)}));
  EXPECT_TRUE(ExcelIsRunning({std::string("Excel\0x", 7)}));
}

TEST(ExcelCheck, LooksBeyondThreeHundredDistinctTitles) {
  std::vector<std::string> titles;
  for (int i = 0; i < 1000; ++i) titles.push_back("Window " + std::to_string(i));
  titles.push_back("Microsoft Excel");
  EXPECT_TRUE(ExcelIsRunning(titles));
}

TEST(StartupFolder, BuiltFromDriveOfWindowsFolderAndUserName) {
  EXPECT_EQ(DefaultXlstart("D:\\WINDOWS", "user1"),
            "D:\\Documents and Settings\\user1\\Application Data\\Microsoft\\Excel\\XLSTART");
  EXPECT_EQ(DefaultXlstart("C:\\Windows", "  Иванов И.И. "),
            "C:\\Documents and Settings\\Иванов И.И.\\Application Data\\Microsoft\\Excel\\XLSTART");
}

TEST(StartupFolder, TypedFolderLosesBlanksAndTrailingBackslashes) {
  EXPECT_EQ(NormalizeFolder("  E:\\Excel\\XLSTART\\\\ "), "E:\\Excel\\XLSTART");
  EXPECT_EQ(NormalizeFolder("E:\\"), "E:");
  EXPECT_EQ(NormalizeFolder(" \\ "), "");
}

TEST(Layout, ThirtyTwoBitWindowsHasOneLibraryInTheOwnView) {
  FakeSystem system;
  const Layout layout = MakeLayout(system, "E:\\XLSTART\\");
  EXPECT_EQ(layout.xlstart, "E:\\XLSTART");
  ASSERT_EQ(layout.libraries.size(), 1u);
  EXPECT_EQ(layout.libraries[0].source, "D:\\Setup\\Armocalc.dll");
  EXPECT_EQ(layout.libraries[0].destination, "C:\\WINDOWS\\system32\\Armocalc.dll");
  EXPECT_EQ(layout.libraries[0].registered_path, "C:\\WINDOWS\\system32\\Armocalc.dll");
  EXPECT_EQ(layout.libraries[0].view, RegistryView::kOwn);
}

TEST(Layout, SixtyFourBitWindowsAddsTheSixtyFourBitLibrary) {
  FakeSystem system;
  system.files64 = "C:\\WINDOWS\\Sysnative";
  const Layout layout = MakeLayout(system, "E:\\XLSTART");
  ASSERT_EQ(layout.libraries.size(), 2u);
  EXPECT_EQ(layout.libraries[0].view, RegistryView::k32);
  EXPECT_EQ(layout.libraries[1].source, "D:\\Setup\\x64\\Armocalc.dll");
  EXPECT_EQ(layout.libraries[1].destination, "C:\\WINDOWS\\Sysnative\\Armocalc.dll");
  // 64-bit clients find the library in their own system folder.
  EXPECT_EQ(layout.libraries[1].registered_path, "C:\\WINDOWS\\system32\\Armocalc.dll");
  EXPECT_EQ(layout.libraries[1].view, RegistryView::k64);
}

TEST(Registration, EntriesOfTheClassInOrder) {
  const std::string clsid(ids::kClsid);
  const std::string key = "CLSID\\" + clsid;
  const std::vector<std::string> expected = {
      "R " + key + " [] = KelvorVBA.ClassBrige",
      "R " + key + " [AppID] = " + clsid,
      "R " + key + "\\Implemented Categories\\{40FC6ED5-2438-11CF-A3DB-080036F12502} (key)",
      "R " + key + "\\InprocServer32 [] = C:\\W\\system32\\Armocalc.dll",
      "R " + key + "\\InprocServer32 [ThreadingModel] = Apartment",
      "R " + key + "\\ProgID [] = KelvorVBA.ClassQorn",
      "R " + key + "\\TypeLib [] = " + std::string(ids::kTypeLibraryId),
      "R " + key + "\\VERSION [] = 1.0",
      "U Software\\Qorn\\Armocalc [AppID] = " + clsid,
  };
  std::vector<std::string> actual;
  for (const RegistryEntry& e : RegistrationEntries("C:\\W\\system32\\Armocalc.dll")) {
    const std::string root = e.root == RegistryRoot::kClassesRoot ? "R " : "U ";
    actual.push_back(root + e.key + (e.key_only ? " (key)" : " [" + e.name + "] = " + e.data));
  }
  EXPECT_EQ(actual, expected);
}

TEST(Registration, IdentifiersAreBracedGuids) {
  EXPECT_TRUE(IsBracedGuid(ids::kClsid));
  EXPECT_TRUE(IsBracedGuid(ids::kTypeLibraryId));
  EXPECT_TRUE(IsBracedGuid("{40fc6ed5-2438-11cf-a3db-080036f12502}"));
  EXPECT_FALSE(IsBracedGuid(""));
  EXPECT_FALSE(IsBracedGuid("\\"));
  EXPECT_FALSE(IsBracedGuid("40FC6ED5-2438-11CF-A3DB-080036F12502"));
  EXPECT_FALSE(IsBracedGuid("{40FC6ED5-2438-11CF-A3DB-080036F1250G}"));
  EXPECT_FALSE(IsBracedGuid("{40FC6ED5-2438-11CF-A3DB\\080036F12502}"));
}

}  // namespace
}  // namespace armocalc::setup
