#include <cerrno>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "kernel/row_list.hpp"
#include "runtime/errors.hpp"

namespace armocalc {
namespace {

namespace fs = std::filesystem;

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
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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

// The file's bytes: the lines in the report encoding, each ended by CR LF, built in one buffer
// (a character never takes more bytes in CP1251 than in UTF-8).
std::string EncodedText(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + kLineBreak.size();
  std::string text;
  text.reserve(size);
  const bool utf8 = CurrentReportEncoding() == ReportEncoding::Utf8;
  for (const std::string& line : lines) {
    if (utf8) {
      text += line;
    } else {
      AppendCp1251(text, line);
    }
    text += kLineBreak;
  }
  return text;
}

// The file a report path really names: a symbolic link is followed so that it stays a link.
fs::path ResolvedTarget(const fs::path& path) {
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
  fs::path target = fs::canonical(path, error);
  return error ? path : target;
}

fs::path TemporaryBeside(const fs::path& target) {
  thread_local std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[24];
    const uint64_t number = random();
    const auto end = std::to_chars(suffix, suffix + sizeof suffix, number, 16).ptr;
    fs::path candidate = target;
    candidate += ".~" + std::string(suffix, end) + ".tmp";
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

void CheckTargetWritable(const fs::path& target) {
  if (!target.has_filename()) Raise(kPathFileAccessError);
  std::error_code error;
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  const fs::file_status folder_status = fs::status(folder, error);
  if (error && error != std::errc::no_such_file_or_directory) Raise(FileErrorNumber(error));
  if (!fs::is_directory(folder_status)) Raise(kPathNotFound);
  const fs::file_status status = fs::status(target, error);
  if (fs::is_directory(status)) Raise(kPathFileAccessError);
  if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
    Raise(kPathFileAccessError);  // a read-only file is not replaced
  }
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) RaiseForErrno(errno);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) RaiseForErrno(errno);
  out.close();
  if (!out) RaiseForErrno(errno);
}

// Writes the file beside the target and moves it into place, so that the old file stays as it
// was until the new one is complete.
void ReplaceFile(const fs::path& requested, const std::string& bytes) {
  const fs::path target = ResolvedTarget(requested);
  CheckTargetWritable(target);
  std::error_code error;
  const fs::file_status old_status = fs::status(target, error);
  if (fs::exists(old_status) && !fs::is_regular_file(old_status)) {
    WriteBytes(target, bytes);  // a device or pipe is written into, never replaced
    return;
  }
  TemporaryFile temporary(TemporaryBeside(target));
  WriteBytes(temporary.Path(), bytes);
  if (fs::exists(old_status)) fs::permissions(temporary.Path(), old_status.permissions(), error);
  fs::rename(temporary.Path(), target, error);
  if (error) Raise(FileErrorNumber(error));
  temporary.Commit();
}

}  // namespace

void vbСписок::Загрузить(const std::string& ИмяФайла) {
  if (!ФайлСуществует(ИмяФайла, false)) return;
  Инициализировать();
  Строки_ = SplitAtLineBreaks(Decode(ReadWholeFile(PathFromUtf8(ИмяФайла))));
}

void vbСписок::Выгрузить(const std::string& ИмяФайла) const {
  if (CharacterCount(ИмяФайла) <= 4) return;
  ReplaceFile(PathFromUtf8(ИмяФайла), EncodedText(Строки_));
}

bool vbСписок::ФайлСуществует(const std::string& ИмяФайла, bool ЭтоПапка) {
  if (ИмяФайла.empty()) return false;
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

}  // namespace armocalc
