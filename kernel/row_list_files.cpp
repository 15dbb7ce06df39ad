#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "kernel/report_file.hpp"
#include "kernel/row_list.hpp"
#include "runtime/errors.hpp"

namespace armocalc {
namespace {

namespace fs = std::filesystem;

std::atomic<bool> standard_output_reserved{false};

struct DeferralState {
  bool active = false;
  bool touched = false;
};
thread_local DeferralState deferral;

// Refuses a file access on a thread that computes ahead of the order of requests.
void CheckFileAccessInTurn() {
  if (!deferral.active) return;
  deferral.touched = true;
  Raise(kPathFileAccessError);
}

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

fs::path PathFromUtf8(const std::string& name) {
  if (name.find('\0') != std::string::npos) Raise(kBadFileName);
  try {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
  } catch (const std::exception&) {
    Raise(kBadFileName);
  }
}

bool EndsWithSeparator(const std::string& name) {
  const char last = name.back();
  return last == '/' || (fs::path::preferred_separator == '\\' && last == '\\');
}

#ifdef _WIN32
// Windows system error codes of file operations (winerror.h), for the file-system library's
// errors that carry them.
int WindowsFileErrorNumber(int code) {
  switch (code) {
    case 2:    // ERROR_FILE_NOT_FOUND
    case 3:    // ERROR_PATH_NOT_FOUND
    case 267:  // ERROR_DIRECTORY
      return kPathNotFound;
    case 5:   // ERROR_ACCESS_DENIED
    case 32:  // ERROR_SHARING_VIOLATION
    case 33:  // ERROR_LOCK_VIOLATION
      return kPermissionDenied;
    case 123:  // ERROR_INVALID_NAME
    case 161:  // ERROR_BAD_PATHNAME
    case 206:  // ERROR_FILENAME_EXCED_RANGE
      return kBadFileName;
    case 39:   // ERROR_HANDLE_DISK_FULL
    case 112:  // ERROR_DISK_FULL
      return kDiskFull;
    default:
      return kPathFileAccessError;
  }
}
#endif

// The runtime's error number for a failed file operation.
int FileErrorNumber(std::error_code error) {
  using std::errc;
#ifdef _WIN32
  if (error.category() == std::system_category()) return WindowsFileErrorNumber(error.value());
#endif
  if (error == errc::no_such_file_or_directory || error == errc::not_a_directory)
    return kPathNotFound;
  if (error == errc::permission_denied || error == errc::operation_not_permitted ||
      error == errc::read_only_file_system || error == errc::text_file_busy ||
      error == errc::device_or_resource_busy) {
    return kPermissionDenied;
  }
  if (error == errc::filename_too_long || error == errc::invalid_argument ||
      error == errc::illegal_byte_sequence) {
    return kBadFileName;
  }
  if (error == errc::no_space_on_device || error == errc::file_too_large) return kDiskFull;
#ifdef EDQUOT
  if (error == std::error_code(EDQUOT, std::generic_category())) return kDiskFull;
#endif
  return kPathFileAccessError;
}

[[noreturn]] void RaiseForErrno(int saved_errno) {
  if (saved_errno == 0) Raise(kPathFileAccessError);
  Raise(FileErrorNumber(std::error_code(saved_errno, std::generic_category())));
}

std::string Decode(std::string bytes) {
  if (CurrentReportEncoding() == ReportEncoding::Cp1251) return Cp1251ToUtf8(bytes);
  if (bytes.starts_with(kUtf8Mark)) bytes.erase(0, kUtf8Mark.size());
  return bytes;
}

std::string ReadWholeFile(const fs::path& path) {
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) RaiseForErrno(errno);
  constexpr size_t kReadBlock = size_t{256} << 10;
  std::string bytes;
  for (size_t read = 0; in; read = bytes.size()) {  // ends at the file's end: a short read
    bytes.resize(read + kReadBlock);
    in.read(bytes.data() + read, static_cast<std::streamsize>(kReadBlock));
    bytes.resize(read + static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) RaiseForErrno(errno);
  return bytes;
}

std::vector<std::string> SplitAtLineBreaks(const std::string& text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  size_t start = 0;
  for (;;) {  // ends at the last piece: each turn moves past one line break
    const size_t end = text.find(kLineBreak, start);
    if (end == std::string::npos) break;
    lines.emplace_back(text, start, end - start);
    start = end + kLineBreak.size();
  }
  lines.emplace_back(text, start);
  return lines;
}

// A list's own lines, for the file writer.
class ListLines final : public ReportLines {
 public:
  explicit ListLines(const std::vector<std::string>& lines) : lines_(lines) {}
  size_t Count() const override { return lines_.size(); }
  std::string_view At(size_t index) const override { return lines_[index]; }

 private:
  const std::vector<std::string>& lines_;
};

#ifdef _WIN32
// Bytes made beforehand.
class WholeText final : public ReportBytes {
 public:
  explicit WholeText(std::string text) : text_(std::move(text)) {}

 protected:
  std::string_view Produce() override { return std::exchange(text_view_, std::string_view()); }

 private:
  std::string text_;
  std::string_view text_view_ = text_;
};
#endif

// All the bytes at once, for the writes that must not begin before the text is complete.
std::string Collected(ReportBytes& bytes) {
  std::string all;
  for (std::string_view block = bytes.NextBlock(); !block.empty(); block = bytes.NextBlock()) {
    all += block;
  }
  return all;
}

// The file a report path really names: a symbolic link is followed so that it stays a link.
fs::path ResolvedTarget(const fs::path& path) {
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
  fs::path target = fs::canonical(path, error);
  return error ? path : target;
}

// A short tag of the target's name, so that the temporary names of one target can be told from
// others and a long target name does not make the temporary name longer.
std::string NameTag(const fs::path& target) {
  uint32_t hash = 2166136261u;  // FNV-1a
  const fs::path name = target.filename();
  for (const auto unit : name.native()) {  // code units of the system's encoding
    hash = (hash ^ static_cast<uint32_t>(unit)) * 16777619u;
  }
  char text[12];
  const auto end = std::to_chars(text, text + sizeof text, hash, 16).ptr;
  return std::string(text, end);
}

std::string ProcessId() {
#ifdef _WIN32
  return "0";
#else
  return std::to_string(::getpid());
#endif
}

// ".~<tag>.<process>.<random>.tmp": the process id lets the next write of the same target remove
// what a killed run left behind.
std::string TemporaryPrefix(const fs::path& target) {
  return ".~" + NameTag(target) + ".";
}

#ifndef _WIN32
bool ProcessIsGone(const std::string& id_text) {
  int id = 0;
  const auto [end, error] = std::from_chars(id_text.data(), id_text.data() + id_text.size(), id);
  if (error != std::errc() || end != id_text.data() + id_text.size() || id <= 0) return false;
  return id != ::getpid() && ::kill(id, 0) != 0 && errno == ESRCH;
}

void RemoveStaleTemporaries(const fs::path& folder, const fs::path& target) {
  const std::string prefix = TemporaryPrefix(target);
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  for (int seen = 0; !error && entries != fs::directory_iterator() && seen < 100000; ++seen) {
    const std::string name = entries->path().filename().string();
    const size_t id_end = name.find('.', prefix.size());
    if (name.starts_with(prefix) && name.ends_with(".tmp") && id_end != std::string::npos &&
        ProcessIsGone(name.substr(prefix.size(), id_end - prefix.size()))) {
      std::error_code ignored;
      fs::remove(entries->path(), ignored);
    }
    entries.increment(error);
  }
}
#endif

fs::path TemporaryBeside(const fs::path& target) {
  thread_local std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[24];
    const uint64_t number = random() & 0xFFFFFFFFu;
    const auto end = std::to_chars(suffix, suffix + sizeof suffix, number, 16).ptr;
    const fs::path candidate = target.parent_path() / (TemporaryPrefix(target) + ProcessId() + "." +
                                                       std::string(suffix, end) + ".tmp");
    std::error_code error;
    if (!fs::exists(candidate, error) || error)
      return candidate;  // a lookup error shows on writing
  }
  Raise(kPathFileAccessError);
}

// Removes the temporary file unless it was moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!committed_) {
      std::error_code ignored;
      fs::remove(path_, ignored);
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const fs::path& Path() const { return path_; }
  void Commit() { committed_ = true; }

 private:
  fs::path path_;
  bool committed_ = false;
};

fs::path FolderOf(const fs::path& target) {
  return target.parent_path().empty() ? fs::path(".") : target.parent_path();
}

void CheckTargetWritable(const fs::path& target) {
  if (!target.has_filename()) Raise(kPathFileAccessError);
  std::error_code error;
  const fs::file_status folder_status = fs::status(FolderOf(target), error);
  if (error && error != std::errc::no_such_file_or_directory) Raise(FileErrorNumber(error));
  if (!fs::is_directory(folder_status)) Raise(kPathNotFound);
  const fs::file_status status = fs::status(target, error);
  if (fs::is_directory(status)) Raise(kPathFileAccessError);
  if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
    Raise(kPathFileAccessError);  // a read-only file is not replaced
  }
}

#ifdef _WIN32

void WriteBytes(const fs::path& path, ReportBytes& bytes) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) RaiseForErrno(errno);
  for (std::string_view block = bytes.NextBlock(); !block.empty() && out;
       block = bytes.NextBlock()) {
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
  out.flush();
  if (!out) RaiseForErrno(errno);
  out.close();
  if (!out) RaiseForErrno(errno);
}

// Writes the file beside the target and moves it into place, so that the old file stays as it
// was until the new one is complete.
void ReplaceFile(const fs::path& requested, ReportBytes& bytes) {
  const fs::path target = ResolvedTarget(requested);
  CheckTargetWritable(target);
  std::error_code error;
  const fs::file_status old_status = fs::status(target, error);
  if (fs::exists(old_status) && !fs::is_regular_file(old_status)) {
    // A device is written into, never replaced, and only once the text is complete.
    WholeText whole(Collected(bytes));
    WriteBytes(target, whole);
    return;
  }
  TemporaryFile temporary(TemporaryBeside(target));
  WriteBytes(temporary.Path(), bytes);
  if (fs::exists(old_status)) fs::permissions(temporary.Path(), old_status.permissions(), error);
  fs::rename(temporary.Path(), target, error);
  if (error) Raise(FileErrorNumber(error));
  temporary.Commit();
}

#else

// Closes a descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  void Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) RaiseForErrno(errno);
  }

 private:
  int fd_;
};

void WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {  // each turn writes at least one byte or fails
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) RaiseForErrno(written < 0 ? errno : ENOSPC);
    done += static_cast<size_t>(written);
  }
}

void WriteBlocks(int fd, ReportBytes& bytes) {
  for (std::string_view block = bytes.NextBlock(); !block.empty(); block = bytes.NextBlock()) {
    WriteAll(fd, block);
  }
}

// The user running the call must be allowed to write: the system decides (groups, access lists,
// a read-only mount), not the owner bits.
void CheckMayWrite(const fs::path& path) {
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) RaiseForErrno(errno);
}

bool MayReplaceIn(const fs::path& folder) {
  return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// Serving requests, the standard output carries the answers: a report there would corrupt them.
void CheckNotStandardOutput(const struct stat& target) {
  struct stat out {};
  if (standard_output_reserved && ::fstat(STDOUT_FILENO, &out) == 0 &&
      out.st_dev == target.st_dev && out.st_ino == target.st_ino) {
    Raise(kPathFileAccessError);
  }
}

// A device or a pipe is written into, never replaced; a pipe nobody reads fails at once instead
// of waiting for a reader. The text is complete before the first byte goes out.
void WriteIntoSpecial(const fs::path& target, ReportBytes& source) {
  const std::string bytes = Collected(source);
  Descriptor file(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0) {
    if (errno == ENXIO) Raise(kPathFileAccessError);
    RaiseForErrno(errno);
  }
  const int flags = ::fcntl(file.Get(), F_GETFL);
  if (flags >= 0) ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK);
  WriteAll(file.Get(), bytes);
  file.Close();
}

// Where the file cannot be moved into place (its folder is read-only) or a new file would undo
// what the file is (other hard links to it), the report is written into the existing file. The
// size is cut only after the new text is in, so a full disk leaves the old text's tail, never an
// empty report. The text is complete before the file is opened.
void WriteInPlace(const fs::path& target, ReportBytes& source) {
  const std::string bytes = Collected(source);
  Descriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
  if (file.Get() < 0) RaiseForErrno(errno);
  WriteAll(file.Get(), bytes);
  if (::ftruncate(file.Get(), static_cast<off_t>(bytes.size())) != 0) RaiseForErrno(errno);
  file.Close();
}

// Writes the file beside the target and moves it into place, so that the old file stays as it
// was until the new one is complete.
void ReplaceByRename(const fs::path& target, ReportBytes& bytes, const struct stat* old) {
  RemoveStaleTemporaries(FolderOf(target), target);
  TemporaryFile temporary(TemporaryBeside(target));
  {
    Descriptor file(
        ::open(temporary.Path().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (file.Get() < 0) RaiseForErrno(errno);
    WriteBlocks(file.Get(), bytes);
    if (old) ::fchmod(file.Get(), old->st_mode & 07777);
    file.Close();
  }
  std::error_code error;
  fs::rename(temporary.Path(), target, error);
  if (error) Raise(FileErrorNumber(error));
  temporary.Commit();
}

void ReplaceFile(const fs::path& requested, ReportBytes& bytes) {
  const fs::path target = ResolvedTarget(requested);
  CheckTargetWritable(target);
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) {
    if (errno != ENOENT) RaiseForErrno(errno);
    CheckMayWrite(FolderOf(target));
    return ReplaceByRename(target, bytes, nullptr);
  }
  CheckNotStandardOutput(old);
  CheckMayWrite(target);
  if (!S_ISREG(old.st_mode)) return WriteIntoSpecial(target, bytes);
  if (old.st_nlink > 1 || !MayReplaceIn(FolderOf(target))) return WriteInPlace(target, bytes);
  ReplaceByRename(target, bytes, &old);
}

#endif

}  // namespace

void vbСписок::Загрузить(const std::string& ИмяФайла) {
  CheckFileAccessInTurn();
  if (!ФайлСуществует(ИмяФайла, false)) return;
  Инициализировать();
  Строки_ = SplitAtLineBreaks(Decode(ReadWholeFile(PathFromUtf8(ИмяФайла))));
}

std::string_view ReportBytes::NextBlock() {
  if (failed_) return {};
  try {
    return Produce();
  } catch (...) {
    failed_ = true;
    throw;
  }
}

void ReportBytes::Drain() {
  while (!NextBlock().empty()) {
  }
}

void WriteReportFile(const std::string& name, ReportBytes& bytes) {
  if (CharacterCount(name) <= 4) return;
  if (deferral.active) bytes.Drain();  // a rounding error before the refusal
  CheckFileAccessInTurn();
  try {
    ReplaceFile(PathFromUtf8(name), bytes);
  } catch (...) {
    bytes.Drain();  // a rounding error still to come is the call's error
    throw;
  }
  WrittenFiles::Note(name);
}

void vbСписок::Выгрузить(const std::string& ИмяФайла) const {
  if (CharacterCount(ИмяФайла) <= 4) return;
  const ListLines lines(Строки_);
  WriteReportFile(ИмяФайла, *EncodedLines(lines, nullptr));
}

void vbСписок::WriteRounded(const std::string& ИмяФайла, uint8_t ЧислоЗнаков,
                            uint8_t СпособОкругления, std::string_view Разделитель) const {
  if (CharacterCount(ИмяФайла) <= 4) return;
  const ListLines lines(Строки_);
  const RoundingRule rule{ЧислоЗнаков, СпособОкругления, Разделитель};
  WriteReportFile(ИмяФайла, *EncodedLines(lines, &rule));
}

bool vbСписок::ФайлСуществует(const std::string& ИмяФайла, bool ЭтоПапка) {
  if (ИмяФайла.empty()) return false;
  CheckFileAccessInTurn();
  try {
    std::error_code error;
    const fs::file_status status = fs::status(PathFromUtf8(ИмяФайла), error);
    if (error || !fs::exists(status)) return false;
    // Only a name ending in a separator finds a folder; it then answers the question "folder?".
    if (EndsWithSeparator(ИмяФайла)) return fs::is_directory(status) && ЭтоПапка;
    if (fs::is_directory(status)) return false;
    return !ЭтоПапка;
  } catch (...) {
    return false;
  }
}

FileAccessDeferral::FileAccessDeferral() {
  deferral = DeferralState{true, false};
}

FileAccessDeferral::~FileAccessDeferral() {
  deferral = DeferralState{};
}

bool FileAccessDeferral::Touched() {
  return deferral.touched;
}

void FileAccessDeferral::Reset() {
  deferral.touched = false;
}

namespace {
thread_local WrittenFiles* innermost_record = nullptr;
}  // namespace

WrittenFiles::WrittenFiles() : outer_(innermost_record) {
  innermost_record = this;
}

WrittenFiles::~WrittenFiles() {
  innermost_record = outer_;
}

void WrittenFiles::Note(const std::string& path) {
  if (!innermost_record) return;
  auto& paths = innermost_record->paths_;
  if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
}

void ReserveStandardOutput(bool reserved) {
  standard_output_reserved = reserved;
}

}  // namespace armocalc
