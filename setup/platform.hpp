#pragma once
// What the installer asks of the system, behind small interfaces: the installation steps run
// unchanged against the Windows implementations and against the in-memory ones of the tests.
// Texts and paths are UTF-8; paths are Windows paths with backslashes.

#include <optional>
#include <string>
#include <vector>

namespace armocalc::setup {

enum class Fault { kNone, kFileNotFound, kPathNotFound, kAccessDenied, kOther };

struct Result {
  Fault fault = Fault::kNone;
  std::string detail;  // the system's own description of a failure, may be empty
  bool Ok() const { return fault == Fault::kNone; }
};

enum class Deletion { kDeleted, kMissing, kFailed };

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True for an existing file or folder.
  virtual bool Exists(const std::string& path) = 0;
  // Copies a file, replacing an existing destination.
  virtual Result Copy(const std::string& from, const std::string& to) = 0;
  virtual Deletion RemoveFile(const std::string& path) = 0;
  virtual Result CreateFolder(const std::string& path) = 0;
  // Removes a folder only when it is empty.
  virtual Deletion RemoveFolder(const std::string& path) = 0;
};

enum class RegistryRoot { kClassesRoot, kCurrentUser };

// The process's own view of the registry, or the one 32-bit or 64-bit programs see on 64-bit
// Windows (class registrations are kept apart for the two).
enum class RegistryView { kOwn, k32, k64 };

class Registry {
 public:
  virtual ~Registry() = default;
  // Creates (or opens) the key and sets a string value; an empty name means the default value.
  virtual Result SetString(RegistryRoot root, RegistryView view, const std::string& key,
                           const std::string& name, const std::string& data) = 0;
  virtual Result CreateKey(RegistryRoot root, RegistryView view, const std::string& key) = 0;
  // The text of a string value up to its first NUL; nothing for a value of another type, a
  // missing value or a missing key.
  virtual std::optional<std::string> ReadString(RegistryRoot root, RegistryView view,
                                                const std::string& key,
                                                const std::string& name) = 0;
  virtual Deletion DeleteValue(RegistryRoot root, RegistryView view, const std::string& key,
                               const std::string& name) = 0;
  // Deletes the key with everything below it.
  virtual Deletion DeleteKeyTree(RegistryRoot root, RegistryView view, const std::string& key) = 0;
};

class WindowTitles {
 public:
  virtual ~WindowTitles() = default;
  // The titles of all top-level windows, in the system's window order.
  virtual std::vector<std::string> TopLevelTitles() = 0;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual std::string UserName() = 0;
  virtual std::string WindowsFolder() = 0;
  // The system folder as the system reports it (the path that clients load the library from).
  virtual std::string SystemFolder() = 0;
  // The folder the installer runs from.
  virtual std::string InstallerFolder() = 0;
  // Where this process reaches the system folder of 32-bit programs and of 64-bit programs;
  // empty for 64 on 32-bit Windows.
  virtual std::string SystemFolderForFiles32() = 0;
  virtual std::string SystemFolderForFiles64() = 0;
};

enum class MessageKind { kPlain, kInformation, kError };

class Messages {
 public:
  virtual ~Messages() = default;
  virtual void Show(const std::string& text, MessageKind kind) = 0;
};

// The steps taken, for the log of the silent mode.
class Journal {
 public:
  virtual ~Journal() = default;
  virtual void Write(const std::string& line) = 0;
};

class NoJournal : public Journal {
 public:
  void Write(const std::string&) override {}
};

}  // namespace armocalc::setup
