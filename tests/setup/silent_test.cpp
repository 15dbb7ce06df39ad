#include "setup/silent.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.hpp"
#include "runtime/version.hpp"
#include "setup/texts.hpp"

namespace armocalc::setup {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using testing::Workstation;

TEST(Version, TheLogAndTheWindowTitleNameTheProjectsVersion) {
  EXPECT_EQ(VersionLine(), "SetupKelvorVBA " + std::string(kArmocalcVersion));
  const std::string major_minor =
      std::to_string(kArmocalcVersionMajor) + "." + std::to_string(kArmocalcVersionMinor);
  EXPECT_TRUE(std::string(kWindowTitle).ends_with(" v. " + major_minor)) << kWindowTitle;
}

TEST(CommandLine, NoArgumentsShowsTheDialog) {
  const CommandLine command = ParseCommandLine({});
  EXPECT_TRUE(command.dialog);
  EXPECT_TRUE(command.error.empty());
}

TEST(CommandLine, ActionsAndValuesInAnyOrderAndCase) {
  const CommandLine command =
      ParseCommandLine({"/LOG", "C:\\log файл.txt", "-Install", "/XlStart", "E:\\X L"});
  EXPECT_TRUE(command.error.empty());
  EXPECT_FALSE(command.dialog);
  EXPECT_EQ(command.action, Action::kInstall);
  EXPECT_EQ(command.xlstart, "E:\\X L");
  EXPECT_EQ(command.log, "C:\\log файл.txt");
  EXPECT_EQ(ParseCommandLine({"/remove"}).action, Action::kRemove);
}

TEST(CommandLine, MalformedArgumentsAreRejected) {
  const std::vector<std::vector<std::string>> bad = {
      {"/install", "/remove"},
      {"/xlstart", "E:\\"},
      {"/install", "/xlstart"},
      {"/install", "extra"},
      {"/install", "/log", ""},
      {"/install", "/quiet"},
      {"/"},
      {"/install", "/log", "a", "/log", "b"},
  };
  for (const auto& args : bad) {
    const CommandLine command = ParseCommandLine(args);
    EXPECT_FALSE(command.error.empty()) << args[0] << " " << args.size();
    EXPECT_FALSE(command.dialog);
  }
}

TEST(CommandLine, LogIsFoundEvenInMalformedArguments) {
  EXPECT_EQ(LogPathOf({"/instal", "/log", "C:\\a.log"}), "C:\\a.log");
  EXPECT_EQ(LogPathOf({"/install", "/LOG"}), std::nullopt);
  EXPECT_EQ(LogPathOf({"/xlstart", "/log", "/install"}), std::nullopt);
}

class SilentTest : public ::testing::Test {
 protected:
  Workstation pc;
  testing::FakeJournal log;
  JournalMessages messages{log};
  Platform platform{pc.files, pc.registry, pc.windows, messages, log};

  Status Run(const std::vector<std::string>& args) {
    const CommandLine command = ParseCommandLine(args);
    EXPECT_TRUE(command.error.empty());
    return RunSilent(command, platform, pc.system);
  }
};

TEST_F(SilentTest, InstallWithDefaultFolderThenRemove) {
  EXPECT_EQ(Run({"/install"}), Status::kOk);
  EXPECT_TRUE(pc.files.HasFile(std::string(Workstation::kXlstart) + "\\KelvorVBA.xls"));
  EXPECT_THAT(log.lines, Contains("message: " + std::string(kInstalled)));
  EXPECT_EQ(log.lines.back(), "result: 0 (success)");
  EXPECT_EQ(Run({"/remove"}), Status::kOk);
  EXPECT_FALSE(pc.files.HasFile(std::string(Workstation::kXlstart) + "\\KelvorVBA.xls"));
}

TEST_F(SilentTest, GivenFolderIsUsed) {
  pc.files.AddFolderTree("E:\\XL");
  EXPECT_EQ(Run({"/install", "/xlstart", "E:\\XL\\"}), Status::kOk);
  EXPECT_TRUE(pc.files.HasFile("E:\\XL\\Description\\KelvorVBA.txt"));
  EXPECT_THAT(log.lines.front(), HasSubstr("start-up folder \"E:\\XL\""));
}

TEST_F(SilentTest, ExcelRunningGivesExitCodeOneAndTheMessageInTheLog) {
  pc.windows.titles.push_back("Microsoft Excel");
  EXPECT_EQ(Run({"/install"}), Status::kExcelRunning);
  EXPECT_THAT(log.lines, Contains("error: " + std::string(kCloseExcel)));
  EXPECT_EQ(log.lines.back(), "result: 1 (Microsoft Excel is running)");
}

TEST_F(SilentTest, MissingSourceGivesExitCodeTwoWithTheReason) {
  pc.files.files.erase("D:\\Setup\\Armocalc.dll");
  EXPECT_EQ(Run({"/install"}), Status::kCopyFailed);
  EXPECT_THAT(log.lines, Contains(HasSubstr("could not copy D:\\Setup\\Armocalc.dll")));
  EXPECT_THAT(log.lines, Contains(HasSubstr("error: Run-time error '53'")));
  EXPECT_EQ(log.lines.back(), "result: 2 (a file could not be copied)");
}

TEST_F(SilentTest, RemoveThatLeavesAFileBehindSaysSo) {
  EXPECT_EQ(Run({"/install"}), Status::kOk);
  pc.files.locked.insert("C:\\WINDOWS\\system32\\Armocalc.dll");
  EXPECT_EQ(Run({"/remove"}), Status::kRemoveIncomplete);
  EXPECT_THAT(log.lines, Contains("could not delete C:\\WINDOWS\\system32\\Armocalc.dll"));
}

}  // namespace
}  // namespace armocalc::setup
