#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "kernel/row_list.hpp"
#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

namespace fs = std::filesystem;

class RowListFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshTestFolder(fs::path(ARMOCALC_BINARY_DIR) / "kernel_test_files");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_ / "readonly.txt", fs::perms::owner_all, ignored);
    fs::remove_all(folder_, ignored);
  }
  std::string PathOf(const std::string& name) const {
    const std::u8string text =
        (folder_ / fs::path(std::u8string(name.begin(), name.end()))).u8string();
    return std::string(text.begin(), text.end());
  }
  static std::string Bytes(const std::string& path) {
    std::ifstream in(fs::path(std::u8string(path.begin(), path.end())), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(fs::path(std::u8string(path.begin(), path.end())), std::ios::binary) << bytes;
  }
  size_t FilesInFolder() const {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }
  static vbСписок Report() {
    vbСписок list;
    list.ВставитьСтроку("Расчет на продавливание", -1);
    list.ВставитьСтроку("\tКласс бетона: B27,5", -1);
    return list;
  }
  fs::path folder_;
};

TEST_F(RowListFiles, SavesCp1251WithCrLfAndLoadsItBack) {
  const std::string path = PathOf("отчёт.txt");
  Report().Выгрузить(path);
  EXPECT_EQ(Bytes(path), "\r\n" + Utf8ToCp1251("Расчет на продавливание") + "\r\n\t" +
                             Utf8ToCp1251("Класс бетона: B27,5") + "\r\n");
  vbСписок loaded;
  loaded.ВставитьСтроку("old", -1);
  loaded.Загрузить(path);
  EXPECT_EQ(loaded.Строки(),
            (std::vector<std::string>{"", "Расчет на продавливание", "\tКласс бетона: B27,5", ""}));
}

TEST_F(RowListFiles, ALiveRecordListsEachFileWrittenOnceAndNestedRecordsKeepTheirOwn) {
  const std::string first = PathOf("first.txt");
  const std::string second = PathOf("second.txt");
  Report().Выгрузить(first);  // before any record: noted nowhere
  const WrittenFiles outer;
  Report().Выгрузить(first);
  {
    const WrittenFiles inner;
    Report().Выгрузить(second);
    Report().Выгрузить(second);
    Report().Выгрузить("r.md");  // too short: nothing written, nothing noted
    EXPECT_EQ(inner.Paths(), std::vector<std::string>{second});
  }
  Report().Выгрузить(first);
  EXPECT_EQ(outer.Paths(), std::vector<std::string>{first});
  EXPECT_THROW(Report().Выгрузить(PathOf("missing/folder.txt")), RuntimeError);
  EXPECT_EQ(outer.Paths(), std::vector<std::string>{first}) << "a failed write is no report";
}

TEST_F(RowListFiles, Utf8EncodingOnRequest) {
  const std::string path = PathOf("utf8.txt");
  {
    ScopedReportEncoding utf8(ReportEncoding::Utf8);
    Report().Выгрузить(path);
    EXPECT_EQ(Bytes(path), "\r\nРасчет на продавливание\r\n\tКласс бетона: B27,5\r\n");
    WriteBytes(path, "\xEF\xBB\xBFстрока\r\n");
    vbСписок loaded;
    loaded.Загрузить(path);
    EXPECT_EQ(loaded.Строки(), (std::vector<std::string>{"строка", ""}));
  }
  EXPECT_EQ(CurrentReportEncoding(), ReportEncoding::Cp1251);
}

TEST_F(RowListFiles, LoadSplitsOnlyAtCrLf) {
  const std::string path = PathOf("mixed.txt");
  WriteBytes(path, "a\nb\r\n\rc\r\n\r\nd");
  vbСписок list;
  list.Загрузить(path);
  EXPECT_EQ(list.Строки(), (std::vector<std::string>{"a\nb", "\rc", "", "d"}));
}

TEST_F(RowListFiles, EmptyFileGivesNoLines) {
  const std::string path = PathOf("empty.txt");
  WriteBytes(path, "");
  vbСписок list;
  list.Загрузить(path);
  EXPECT_EQ(list.КоличествоСтрок(), 0);
  list.ВставитьСтроку("x", 0);
  EXPECT_EQ(list.КоличествоСтрок(), 0);
  list.ВставитьСтроку("x", -1);
  EXPECT_EQ(list.ПолучитьСтроку(0), "x");
}

TEST_F(RowListFiles, LoadingAMissingFileOrAFolderChangesNothing) {
  vbСписок list = Report();
  list.Загрузить(PathOf("missing.txt"));
  list.Загрузить(folder_.string());
  list.Загрузить(folder_.string() + "/");
  list.Загрузить("");
  EXPECT_EQ(list.Строки(), Report().Строки());
}

TEST_F(RowListFiles, ShortNamesWriteNothing) {
  const fs::path previous = fs::current_path();
  fs::current_path(folder_);
  Report().Выгрузить("a.tx");
  Report().Выгрузить("абвг");
  EXPECT_EQ(FilesInFolder(), 0u);
  Report().Выгрузить("a.txt");
  EXPECT_EQ(FilesInFolder(), 1u);
  fs::current_path(previous);
}

TEST_F(RowListFiles, SaveReplacesTheOldFileAndLeavesNoTemporaryFile) {
  const std::string path = PathOf("report.txt");
  WriteBytes(path, std::string(10000, 'x'));
  Report().Выгрузить(path);
  EXPECT_EQ(Bytes(path).size(), 2 + Utf8ToCp1251("Расчет на продавливание").size() + 2 +
                                    Utf8ToCp1251("\tКласс бетона: B27,5").size() + 2);
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(RowListFiles, FailedWriteLeavesTheOldFileUntouched) {
  const std::string path = PathOf("report.txt");
  WriteBytes(path, "old report\r\n");
  vbСписок big;
  for (int i = 0; i < 200; ++i) big.ВставитьСтроку(std::string(100, 'z'), -1);
  // Files may not grow beyond 1000 bytes for the span of the save.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 1000;
  const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  int error = 0;
  try {
    big.Выгрузить(path);
  } catch (const RuntimeError& e) {
    error = e.Number();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous_handler);
  EXPECT_EQ(error, kDiskFull);
  EXPECT_EQ(Bytes(path), "old report\r\n");
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(RowListFiles, FileSystemFailuresMapToRuntimeErrors) {
  EXPECT_RUNTIME_ERROR(Report().Выгрузить(PathOf("no such folder/report.txt")), kPathNotFound);
  EXPECT_RUNTIME_ERROR(Report().Выгрузить(folder_.string()), kPathFileAccessError);
  EXPECT_RUNTIME_ERROR(Report().Выгрузить(PathOf("a") + std::string(1, '\0') + "b.txt"),
                       kBadFileName);
  if (fs::exists("/dev/full")) EXPECT_RUNTIME_ERROR(Report().Выгрузить("/dev/full"), kDiskFull);
  EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(RowListFiles, ReadOnlyReportIsNotReplaced) {
  const std::string path = PathOf("readonly.txt");
  WriteBytes(path, "kept");
  fs::permissions(path, fs::perms::owner_read);
  EXPECT_RUNTIME_ERROR(Report().Выгрузить(path), kPathFileAccessError);
  EXPECT_EQ(Bytes(path), "kept");
}

TEST_F(RowListFiles, SymbolicLinkStaysALink) {
  const std::string target = PathOf("target.txt");
  const std::string link = PathOf("link.txt");
  WriteBytes(target, "old");
  fs::create_symlink(target, link);
  Report().Выгрузить(link);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Bytes(target), Bytes(link));
  EXPECT_NE(Bytes(target), "old");
}

TEST_F(RowListFiles, FileExistsTellsFilesFromFolders) {
  const std::string file = PathOf("file.txt");
  WriteBytes(file, "x");
  const std::string folder = folder_.string();
  EXPECT_TRUE(vbСписок::ФайлСуществует(file, false));
  EXPECT_FALSE(vbСписок::ФайлСуществует(file, true));
  EXPECT_FALSE(vbСписок::ФайлСуществует(file + "/", false));
  EXPECT_FALSE(vbСписок::ФайлСуществует(folder, false));
  EXPECT_FALSE(vbСписок::ФайлСуществует(folder, true));
  EXPECT_TRUE(vbСписок::ФайлСуществует(folder + "/", true));
  EXPECT_FALSE(vbСписок::ФайлСуществует(folder + "/", false));
  EXPECT_FALSE(vbСписок::ФайлСуществует(PathOf("missing.txt"), false));
  EXPECT_FALSE(vbСписок::ФайлСуществует("", false));
  EXPECT_FALSE(vbСписок::ФайлСуществует(std::string("a\0b", 3), false));
}

}  // namespace
}  // namespace armocalc
