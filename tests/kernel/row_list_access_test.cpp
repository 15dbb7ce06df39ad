// Who may write a report, and where it can be written, as an ordinary user sees it.

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "kernel/row_list.hpp"
#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

class RowListAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("armocalc_access_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    fs::permissions(folder_, fs::perms::all);  // a world-writable folder
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::all, ignored);
    fs::remove_all(folder_, ignored);
  }
  static std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static vbСписок Report() {
    vbСписок list;
    list.ВставитьСтроку("Расчет на продавливание", -1);
    return list;
  }
  static std::string ReportBytes() {
    return "\r\n" + Utf8ToCp1251("Расчет на продавливание") + "\r\n";
  }
  size_t FilesInFolder() const {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }
  // Runs `work` in a child process; answers its exit status (the run-time error number, 0 on
  // success) or -signal when it was killed.
  static int InChild(const std::function<void()>& work, bool as_nobody) {
    const pid_t child = ::fork();
    if (child == 0) {
      if (as_nobody &&
          (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0)) {
        ::_exit(200);
      }
      int number = 0;
      try {
        work();
      } catch (const RuntimeError& e) {
        number = e.Number();
      }
      ::_exit(number);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }
  static bool CanDropPrivileges() { return ::geteuid() == 0; }
  fs::path folder_;
};

#define REQUIRE_ROOT_TO_ACT_AS_NOBODY() \
  if (!CanDropPrivileges()) GTEST_SKIP() << "runs as root to act as user nobody"

TEST_F(RowListAccess, AnotherUsersFileInAWritableFolderIsRefusedAndKeepsItsOwner) {
  REQUIRE_ROOT_TO_ACT_AS_NOBODY();
  const fs::path path = folder_ / "root.txt";
  WriteBytes(path, "kept");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                            fs::perms::others_read);
  EXPECT_EQ(InChild([&] { Report().Выгрузить(path.string()); }, true), kPermissionDenied);
  EXPECT_EQ(Bytes(path), "kept");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 0u);
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(RowListAccess, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
  REQUIRE_ROOT_TO_ACT_AS_NOBODY();
  const fs::path path = folder_ / "shared.txt";
  WriteBytes(path, std::string(5000, 'x'));
  fs::permissions(path, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                            ~fs::perms::others_exec);
  fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
  EXPECT_EQ(InChild([&] { Report().Выгрузить(path.string()); }, true), 0);
  EXPECT_EQ(Bytes(path), ReportBytes());
  // Nobody may neither create a new report there.
  EXPECT_EQ(InChild([&] { Report().Выгрузить((folder_ / "new.txt").string()); }, true),
            kPermissionDenied);
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(RowListAccess, AFileWithSeveralHardLinksStaysOneFile) {
  const fs::path path = folder_ / "report.txt", other = folder_ / "other name.txt";
  WriteBytes(path, "old");
  fs::create_hard_link(path, other);
  Report().Выгрузить(path.string());
  EXPECT_EQ(Bytes(other), ReportBytes());
  EXPECT_EQ(fs::hard_link_count(path), 2u);
  EXPECT_EQ(FilesInFolder(), 2u);
}

TEST_F(RowListAccess, NamesUpToTheFileSystemLimitAreWritten) {
  for (const std::string& name : {std::string(251, 'a') + ".txt", [] {
                                    std::string cyrillic;
                                    for (int i = 0; i < 125; ++i) cyrillic += "ж";
                                    return cyrillic + ".txt";  // 254 bytes
                                  }()}) {
    const fs::path path = folder_ / name;
    Report().Выгрузить(path.string());
    EXPECT_EQ(Bytes(path), ReportBytes()) << name.size();
    Report().Выгрузить(path.string());  // and replaced
    EXPECT_EQ(Bytes(path), ReportBytes());
  }
  EXPECT_EQ(FilesInFolder(), 2u);
  EXPECT_RUNTIME_ERROR(Report().Выгрузить((folder_ / (std::string(252, 'a') + ".txt")).string()),
                       kBadFileName);
}

TEST_F(RowListAccess, TheNextWriteRemovesWhatAKilledRunLeft) {
  const fs::path path = folder_ / "report.txt";
  WriteBytes(path, "old");
  vbСписок big;
  for (int i = 0; i < 200; ++i) big.ВставитьСтроку(std::string(100, 'z'), -1);
  // The child dies of SIGXFSZ half way through the temporary file.
  const int status = InChild(
      [&] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit small{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &small);
        big.Выгрузить(path.string());
      },
      false);
  EXPECT_EQ(status, -SIGXFSZ);
  EXPECT_EQ(Bytes(path), "old");
  EXPECT_EQ(FilesInFolder(), 2u);
  const fs::path unrelated = folder_ / ".~other.1.tmp";
  WriteBytes(unrelated, "not ours");
  Report().Выгрузить(path.string());
  EXPECT_EQ(Bytes(path), ReportBytes());
  EXPECT_EQ(FilesInFolder(), 2u);  // the report and the unrelated file
  EXPECT_TRUE(fs::exists(unrelated));
}

TEST_F(RowListAccess, APipeWithoutAReaderFailsAtOnce) {
  const fs::path path = folder_ / "pipe";
  ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
  // In a child with an alarm, so that a regression shows as a failure and not as a hung test.
  EXPECT_EQ(InChild(
                [&] {
                  ::alarm(5);
                  Report().Выгрузить(path.string());
                },
                false),
            kPathFileAccessError);
  const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  Report().Выгрузить(path.string());
  char text[256] = {};
  EXPECT_EQ(std::string(text, static_cast<size_t>(::read(reader, text, sizeof text))),
            ReportBytes());
  ::close(reader);
}

TEST_F(RowListAccess, ServingRequestsTheStandardOutputIsNoReport) {
  const fs::path path = folder_ / "answers.txt";
  EXPECT_EQ(InChild(
                [&] {
                  const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                  ::dup2(file, STDOUT_FILENO);
                  const StandardOutputReservation answers_only;
                  Report().Выгрузить((folder_ / "answers.txt").string());
                },
                false),
            kPathFileAccessError);
  EXPECT_EQ(Bytes(path), "");  // neither replaced nor written into
}

}  // namespace
}  // namespace armocalc
