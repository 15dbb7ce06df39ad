#include "setup/installer.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.hpp"
#include "runtime/identifiers.hpp"
#include "setup/texts.hpp"

namespace armocalc::setup {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using testing::FakeRegistry;
using ::testing::HasSubstr;
using testing::Workstation;

const std::string kXlstart = Workstation::kXlstart;
const std::string kClassKey = "CLSID\\" + std::string(ids::kClsid);
const std::string kDll32 = "C:\\WINDOWS\\system32\\Armocalc.dll";
const std::string kDll64 = "C:\\WINDOWS\\Sysnative\\Armocalc.dll";

std::vector<std::string> ClassEntries(const std::string& view_prefix) {
  const std::string key = view_prefix + kClassKey;
  const std::string clsid(ids::kClsid);
  return {key + " []=KelvorVBA.ClassBrige",
          key + " [AppID]=" + clsid,
          key + "\\Implemented Categories\\{40FC6ED5-2438-11CF-A3DB-080036F12502}",
          key + "\\InprocServer32 []=" + kDll32,
          key + "\\InprocServer32 [ThreadingModel]=Apartment",
          key + "\\ProgID []=KelvorVBA.ClassQorn",
          key + "\\TypeLib []=" + std::string(ids::kTypeLibraryId),
          key + "\\VERSION []=1.0"};
}

const std::string kUserEntry = "HKCU\\Software\\Qorn\\Armocalc [AppID]=" + std::string(ids::kClsid);

class InstallerTest : public ::testing::Test {
 protected:
  Workstation pc;
  Outcome Install() { return setup::Install(pc.platform, MakeLayout(pc.system, kXlstart)); }
  std::vector<std::string> Remove(const std::string& xlstart = kXlstart) {
    return setup::Remove(pc.platform, MakeLayout(pc.system, xlstart));
  }
};

TEST_F(InstallerTest, InstallCopiesFilesWritesTableInOrderAndReportsSuccess) {
  const Outcome outcome = Install();
  EXPECT_EQ(outcome.status, Status::kOk);
  EXPECT_EQ(pc.files.files[kDll32], "dll32");
  EXPECT_EQ(pc.files.files[kXlstart + "\\KelvorVBA.xls"], "workbook");
  EXPECT_EQ(pc.files.files[kXlstart + "\\Description\\KelvorVBA.txt"], "description");
  std::vector<std::string> expected = ClassEntries("HKCR32\\");
  expected.push_back(kUserEntry);
  EXPECT_EQ(pc.registry.writes, expected);
  EXPECT_THAT(pc.messages.shown,
              ElementsAre(std::pair{std::string(kInstalled), MessageKind::kPlain}));
}

TEST_F(InstallerTest, InstallWritesNothingBeyondTheTable) {
  Install();
  std::vector<std::string> dump = pc.registry.Dump();
  std::erase_if(dump, [](const std::string& line) { return line.find(" [") == std::string::npos; });
  std::vector<std::string> expected = ClassEntries("HKCR32\\");
  std::erase_if(expected, [](const std::string& l) { return l.find(" [") == std::string::npos; });
  expected.push_back(kUserEntry);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(dump, expected);
}

TEST_F(InstallerTest, SixtyFourBitWindowsGetsBothLibrariesAndBothViews) {
  pc.Make64Bit();
  ASSERT_EQ(Install().status, Status::kOk);
  EXPECT_EQ(pc.files.files[kDll32], "dll32");
  EXPECT_EQ(pc.files.files[kDll64], "dll64");
  std::vector<std::string> expected = ClassEntries("HKCR32\\");
  expected.push_back(kUserEntry);
  for (const std::string& entry : ClassEntries("HKCR64\\")) expected.push_back(entry);
  EXPECT_EQ(pc.registry.writes, expected);

  const std::vector<std::string> left = Remove();
  EXPECT_TRUE(left.empty());
  EXPECT_FALSE(pc.files.HasFile(kDll32));
  EXPECT_FALSE(pc.files.HasFile(kDll64));
  EXPECT_FALSE(pc.registry.keys.count("HKCR32\\" + kClassKey));
  EXPECT_FALSE(pc.registry.keys.count("HKCR64\\" + kClassKey));
}

TEST_F(InstallerTest, InstallRefusesWhileExcelRunsAndChangesNothing) {
  pc.windows.titles.push_back("Microsoft Excel - Книга1");
  pc.files.AddFile(kDll32, "old");
  const auto files_before = pc.files.files;
  const Outcome outcome = Install();
  EXPECT_EQ(outcome.status, Status::kExcelRunning);
  EXPECT_EQ(pc.files.files, files_before);
  EXPECT_TRUE(pc.registry.writes.empty());
  EXPECT_THAT(pc.messages.shown,
              ElementsAre(std::pair{std::string(kCloseExcel), MessageKind::kError}));
}

TEST_F(InstallerTest, LowerCaseExcelInATitleDoesNotStopInstall) {
  pc.windows.titles.push_back("microsoft excel - book1");
  EXPECT_EQ(Install().status, Status::kOk);
}

TEST_F(InstallerTest, MissingSourceStopsWithRuntimeErrorAndKeepsEarlierCopies) {
  pc.files.files.erase("D:\\Setup\\xls.txt");
  const Outcome outcome = Install();
  EXPECT_EQ(outcome.status, Status::kCopyFailed);
  EXPECT_THAT(outcome.reason, HasSubstr("Run-time error '53': File not found"));
  EXPECT_THAT(outcome.reason, HasSubstr("D:\\Setup\\xls.txt"));
  EXPECT_TRUE(pc.files.HasFile(kDll32));
  EXPECT_TRUE(pc.files.HasFile(kXlstart + "\\KelvorVBA.xls"));
  EXPECT_TRUE(pc.registry.writes.empty());
  EXPECT_THAT(pc.messages.shown, ElementsAre(std::pair{outcome.reason, MessageKind::kError}));
}

TEST_F(InstallerTest, MissingStartupFolderFailsWithPathNotFound) {
  const Outcome outcome =
      setup::Install(pc.platform, MakeLayout(pc.system, "C:\\No\\Such\\XLSTART"));
  EXPECT_EQ(outcome.status, Status::kCopyFailed);
  EXPECT_THAT(outcome.reason, HasSubstr("Run-time error '76': Path not found"));
  EXPECT_TRUE(pc.files.HasFile(kDll32));  // copied before the failure
  EXPECT_FALSE(pc.files.Exists("C:\\No\\Such\\XLSTART\\Description"));
}

TEST_F(InstallerTest, LockedWorkbookFailsWithPermissionDenied) {
  pc.files.AddFile(kXlstart + "\\KelvorVBA.xls", "open in Excel");
  pc.files.locked.insert(kXlstart + "\\KelvorVBA.xls");
  const Outcome outcome = Install();
  EXPECT_EQ(outcome.status, Status::kCopyFailed);
  EXPECT_THAT(outcome.reason, HasSubstr("Run-time error '70': Permission denied"));
}

TEST_F(InstallerTest, MissingSixtyFourBitLibraryFailsAfterTheOtherCopies) {
  pc.Make64Bit();
  pc.files.files.erase("D:\\Setup\\x64\\Armocalc.dll");
  const Outcome outcome = Install();
  EXPECT_EQ(outcome.status, Status::kCopyFailed);
  EXPECT_TRUE(pc.files.HasFile(kXlstart + "\\Description\\KelvorVBA.txt"));
  EXPECT_TRUE(pc.registry.writes.empty());
}

TEST_F(InstallerTest, RegistryWriteFailureIsNotReportedAsSuccess) {
  pc.registry.failing_prefix = "HKCR32\\" + kClassKey + "\\InprocServer32";
  const Outcome outcome = Install();
  EXPECT_EQ(outcome.status, Status::kRegistryFailed);
  EXPECT_THAT(outcome.reason, HasSubstr("InprocServer32"));
  EXPECT_THAT(outcome.reason, HasSubstr("Access denied."));
  EXPECT_EQ(pc.registry.writes.size(), 3u);  // the entries before it stay
  EXPECT_THAT(pc.messages.shown, ElementsAre(std::pair{outcome.reason, MessageKind::kError}));
}

TEST_F(InstallerTest, EmptyStartupFolderIsRefusedBeforeAnyChange) {
  const Outcome outcome = setup::Install(pc.platform, MakeLayout(pc.system, "  "));
  EXPECT_EQ(outcome.status, Status::kNoStartupFolder);
  EXPECT_FALSE(pc.files.HasFile(kDll32));
  EXPECT_FALSE(pc.files.HasFile("\\KelvorVBA.xls"));
  EXPECT_TRUE(pc.registry.writes.empty());
}

TEST_F(InstallerTest, UpdateReplacesFilesAndDropsStaleClassEntries) {
  ASSERT_EQ(Install().status, Status::kOk);
  pc.files.AddFile("D:\\Setup\\xls.xls", "workbook v2");
  pc.registry.Put("HKCR32\\" + kClassKey + "\\Programmable", "", "");
  pc.registry.writes.clear();
  ASSERT_EQ(Install().status, Status::kOk);
  EXPECT_EQ(pc.files.files[kXlstart + "\\KelvorVBA.xls"], "workbook v2");
  EXPECT_FALSE(pc.registry.keys.count("HKCR32\\" + kClassKey + "\\Programmable"));
  EXPECT_EQ(pc.registry.writes.size(), 9u);
}

TEST_F(InstallerTest, EditedFolderIsUsedByBothActions) {
  const std::string edited = "E:\\Office\\XLSTART";
  pc.files.AddFolderTree(edited);
  ASSERT_EQ(setup::Install(pc.platform, MakeLayout(pc.system, edited)).status, Status::kOk);
  EXPECT_TRUE(pc.files.HasFile(edited + "\\KelvorVBA.xls"));
  EXPECT_FALSE(pc.files.HasFile(kXlstart + "\\KelvorVBA.xls"));
  EXPECT_TRUE(Remove(edited).empty());
  EXPECT_FALSE(pc.files.HasFile(edited + "\\KelvorVBA.xls"));
  EXPECT_FALSE(pc.files.Exists(edited + "\\Description"));
  EXPECT_TRUE(pc.files.Exists(edited));
}

TEST_F(InstallerTest, RemoveDeletesOnlyWhatInstallCreated) {
  ASSERT_EQ(Install().status, Status::kOk);
  pc.files.AddFile(kXlstart + "\\Personal.xls", "mine");
  pc.registry.Put("HKCR32\\CLSID\\{00000000-1111-2222-3333-444444444444}", "", "other");
  pc.registry.Put("HKCU\\Software\\Qorn\\Armocalc", "Keep", "yes");
  EXPECT_TRUE(Remove().empty());
  EXPECT_FALSE(pc.files.HasFile(kDll32));
  EXPECT_FALSE(pc.files.HasFile(kXlstart + "\\KelvorVBA.xls"));
  EXPECT_FALSE(pc.files.Exists(kXlstart + "\\Description"));
  EXPECT_TRUE(pc.files.HasFile(kXlstart + "\\Personal.xls"));
  EXPECT_TRUE(pc.files.HasFile("D:\\Setup\\Armocalc.dll"));
  EXPECT_THAT(
      pc.registry.Dump(),
      ElementsAre("HKCR32\\CLSID", "HKCR32\\CLSID\\{00000000-1111-2222-3333-444444444444}",
                  "HKCR32\\CLSID\\{00000000-1111-2222-3333-444444444444} []=other",
                  "HKCU\\Software", "HKCU\\Software\\Qorn", "HKCU\\Software\\Qorn\\Armocalc",
                  "HKCU\\Software\\Qorn\\Armocalc [Keep]=yes"));
}

TEST_F(InstallerTest, RemoveWithoutRememberedIdentifierTouchesNoClassKey) {
  ASSERT_EQ(Install().status, Status::kOk);
  pc.registry.values.erase({"HKCU\\Software\\Qorn\\Armocalc", "AppID"});
  const auto before = pc.registry.Dump();
  EXPECT_TRUE(Remove().empty());
  EXPECT_EQ(pc.registry.Dump(), before);
  EXPECT_FALSE(pc.files.HasFile(kDll32));
  EXPECT_FALSE(pc.files.HasFile(kXlstart + "\\Description\\KelvorVBA.txt"));
}

TEST_F(InstallerTest, MalformedRememberedIdentifierNeverNamesAClassKey) {
  ASSERT_EQ(Install().status, Status::kOk);
  for (const std::string bad : {"\\", "{..}", "x\\..\\.."}) {
    pc.registry.Put("HKCU\\Software\\Qorn\\Armocalc", "AppID", bad);
    EXPECT_TRUE(Remove().empty());
    EXPECT_TRUE(pc.registry.keys.count("HKCR32\\" + kClassKey)) << bad;
    EXPECT_FALSE(pc.registry.ReadString(RegistryRoot::kCurrentUser, RegistryView::kOwn,
                                        "Software\\Qorn\\Armocalc", "AppID"));
  }
}

TEST_F(InstallerTest, RememberedIdentifierOfAnotherTypeIsIgnored) {
  ASSERT_EQ(Install().status, Status::kOk);
  pc.registry.Put("HKCU\\Software\\Qorn\\Armocalc", "AppID", std::string(ids::kClsid), 4);
  Remove();
  EXPECT_TRUE(pc.registry.keys.count("HKCR32\\" + kClassKey));
}

TEST_F(InstallerTest, RemoveKeepsDescriptionFolderWithForeignFiles) {
  ASSERT_EQ(Install().status, Status::kOk);
  pc.files.AddFile(kXlstart + "\\Description\\notes.txt", "mine");
  EXPECT_TRUE(Remove().empty());
  EXPECT_FALSE(pc.files.HasFile(kXlstart + "\\Description\\KelvorVBA.txt"));
  EXPECT_TRUE(pc.files.HasFile(kXlstart + "\\Description\\notes.txt"));
}

TEST_F(InstallerTest, RemoveReportsALockedLibraryAndGoesOn) {
  ASSERT_EQ(Install().status, Status::kOk);
  pc.files.locked.insert(kDll32);
  EXPECT_THAT(Remove(), ElementsAre(kDll32));
  EXPECT_FALSE(pc.files.HasFile(kXlstart + "\\KelvorVBA.xls"));
  EXPECT_FALSE(pc.registry.keys.count("HKCR32\\" + kClassKey));
}

TEST_F(InstallerTest, RemoveOnACleanMachineChangesNothing) {
  const auto files = pc.files.files;
  EXPECT_TRUE(Remove().empty());
  EXPECT_EQ(pc.files.files, files);
  EXPECT_TRUE(pc.registry.Dump().empty());
  EXPECT_THAT(pc.journal.lines, Contains(HasSubstr("no class identifier")));
}

TEST_F(InstallerTest, RemoveWithoutStartupFolderLeavesDriveRootAlone) {
  pc.files.AddFile("C:\\KelvorVBA.xls", "someone else's");
  ASSERT_EQ(Install().status, Status::kOk);
  EXPECT_TRUE(Remove("").empty());
  EXPECT_TRUE(pc.files.HasFile("C:\\KelvorVBA.xls"));
  EXPECT_TRUE(pc.files.HasFile(kXlstart + "\\KelvorVBA.xls"));
  EXPECT_FALSE(pc.files.HasFile(kDll32));
}

TEST(RuntimeErrorText, CopyFailuresCarryTheRuntimeNumbers) {
  EXPECT_EQ(RuntimeErrorText(Fault::kFileNotFound), "Run-time error '53': File not found");
  EXPECT_EQ(RuntimeErrorText(Fault::kPathNotFound), "Run-time error '76': Path not found");
  EXPECT_EQ(RuntimeErrorText(Fault::kAccessDenied), "Run-time error '70': Permission denied");
  EXPECT_EQ(RuntimeErrorText(Fault::kOther), "Run-time error '75': Path/File access error");
}

}  // namespace
}  // namespace armocalc::setup
