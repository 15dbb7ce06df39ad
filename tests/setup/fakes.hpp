#pragma once
// In-memory stand-ins for the installer's view of the system: a file tree, a registry with two
// views of the classes root, window titles, messages and a journal.

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "setup/installer.hpp"
#include "setup/platform.hpp"
#include "setup/texts.hpp"

namespace armocalc::setup::testing {

inline std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

inline bool IsBelow(const std::string& path, const std::string& folder) {
  return path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
         path[folder.size()] == '\\';
}

class FakeFiles : public FileSystem {
 public:
  std::set<std::string> folders{"C:", "D:"};
  std::map<std::string, std::string> files;  // path -> content
  std::set<std::string> locked;              // cannot be deleted or overwritten

  void AddFolderTree(const std::string& folder) {
    for (std::string f = folder; !f.empty(); f = ParentOf(f)) folders.insert(f);
  }
  void AddFile(const std::string& path, const std::string& content) {
    AddFolderTree(ParentOf(path));
    files[path] = content;
  }
  bool HasFile(const std::string& path) const { return files.count(path) > 0; }

  bool Exists(const std::string& path) override {
    return files.count(path) > 0 || folders.count(path) > 0;
  }
  Result Copy(const std::string& from, const std::string& to) override {
    if (!files.count(from)) {
      return {folders.count(ParentOf(from)) ? Fault::kFileNotFound : Fault::kPathNotFound, ""};
    }
    if (!folders.count(ParentOf(to))) return {Fault::kPathNotFound, "no folder"};
    if (locked.count(to)) return {Fault::kAccessDenied, "locked"};
    files[to] = files[from];
    return {};
  }
  Deletion RemoveFile(const std::string& path) override {
    if (!files.count(path)) return Deletion::kMissing;
    if (locked.count(path)) return Deletion::kFailed;
    files.erase(path);
    return Deletion::kDeleted;
  }
  Result CreateFolder(const std::string& path) override {
    if (Exists(path)) return {Fault::kOther, "exists"};
    if (!folders.count(ParentOf(path))) return {Fault::kPathNotFound, ""};
    folders.insert(path);
    return {};
  }
  Deletion RemoveFolder(const std::string& path) override {
    if (!folders.count(path)) return Deletion::kMissing;
    const auto below = [&](const std::string& p) { return IsBelow(p, path); };
    if (std::any_of(files.begin(), files.end(), [&](const auto& f) { return below(f.first); }) ||
        std::any_of(folders.begin(), folders.end(), below)) {
      return Deletion::kFailed;
    }
    folders.erase(path);
    return Deletion::kDeleted;
  }
};

// Keys are "HKCR32\...", "HKCR64\..." and "HKCU\..."; the process's own view of the classes
// root is the 32-bit one (the installer is a 32-bit program).
class FakeRegistry : public Registry {
 public:
  struct Value {
    int type = 1;  // 1: string
    std::string data;
  };
  std::set<std::string> keys;
  std::map<std::pair<std::string, std::string>, Value> values;  // (key, name) -> value
  std::vector<std::string> writes;                              // "key [name]=data" in order
  std::string failing_prefix;  // writes to keys starting with this fail

  static std::string Full(RegistryRoot root, RegistryView view, const std::string& key) {
    if (root == RegistryRoot::kCurrentUser) return "HKCU\\" + key;
    return (view == RegistryView::k64 ? "HKCR64\\" : "HKCR32\\") + key;
  }
  void AddKeyTree(const std::string& full) {
    for (std::string k = full; k.find('\\') != std::string::npos; k = ParentOf(k)) keys.insert(k);
  }
  void Put(const std::string& full, const std::string& name, const std::string& data,
           int type = 1) {
    AddKeyTree(full);
    values[{full, name}] = {type, data};
  }
  // Everything in the registry, one "key [name]=data" line per value and "key" per key.
  std::vector<std::string> Dump() const {
    std::vector<std::string> lines(keys.begin(), keys.end());
    for (const auto& [where, value] : values) {
      lines.push_back(where.first + " [" + where.second + "]=" + value.data);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  Result SetString(RegistryRoot root, RegistryView view, const std::string& key,
                   const std::string& name, const std::string& data) override {
    const std::string full = Full(root, view, key);
    if (Fails(full)) return {Fault::kAccessDenied, "Access denied."};
    Put(full, name, data);
    writes.push_back(full + " [" + name + "]=" + data);
    return {};
  }
  Result CreateKey(RegistryRoot root, RegistryView view, const std::string& key) override {
    const std::string full = Full(root, view, key);
    if (Fails(full)) return {Fault::kAccessDenied, "Access denied."};
    AddKeyTree(full);
    writes.push_back(full);
    return {};
  }
  std::optional<std::string> ReadString(RegistryRoot root, RegistryView view,
                                        const std::string& key, const std::string& name) override {
    const auto found = values.find({Full(root, view, key), name});
    if (found == values.end() || found->second.type != 1) return std::nullopt;
    return found->second.data.substr(0, found->second.data.find('\0'));
  }
  Deletion DeleteValue(RegistryRoot root, RegistryView view, const std::string& key,
                       const std::string& name) override {
    return values.erase({Full(root, view, key), name}) ? Deletion::kDeleted : Deletion::kMissing;
  }
  Deletion DeleteKeyTree(RegistryRoot root, RegistryView view, const std::string& key) override {
    const std::string full = Full(root, view, key);
    if (!keys.count(full)) return Deletion::kMissing;
    if (Fails(full)) return Deletion::kFailed;
    std::erase_if(keys, [&](const std::string& k) { return k == full || IsBelow(k, full); });
    std::erase_if(values, [&](const auto& v) {
      return v.first.first == full || IsBelow(v.first.first, full);
    });
    return Deletion::kDeleted;
  }

 private:
  bool Fails(const std::string& full) const {
    return !failing_prefix.empty() && full.compare(0, failing_prefix.size(), failing_prefix) == 0;
  }
};

class FakeWindows : public WindowTitles {
 public:
  std::vector<std::string> titles;
  std::vector<std::string> TopLevelTitles() override { return titles; }
};

class FakeMessages : public Messages {
 public:
  std::vector<std::pair<std::string, MessageKind>> shown;
  void Show(const std::string& text, MessageKind kind) override { shown.emplace_back(text, kind); }
};

class FakeJournal : public Journal {
 public:
  std::vector<std::string> lines;
  void Write(const std::string& line) override { lines.push_back(line); }
};

class FakeSystem : public SystemInfo {
 public:
  std::string user = "user1";
  std::string windows = "C:\\WINDOWS";
  std::string system = "C:\\WINDOWS\\system32";
  std::string installer = "D:\\Setup";
  std::string files32 = "C:\\WINDOWS\\system32";
  std::string files64;  // empty: 32-bit Windows

  std::string UserName() override { return user; }
  std::string WindowsFolder() override { return windows; }
  std::string SystemFolder() override { return system; }
  std::string InstallerFolder() override { return installer; }
  std::string SystemFolderForFiles32() override { return files32; }
  std::string SystemFolderForFiles64() override { return files64; }
};

// A workstation with the installer folder filled and Excel's start-up folder present.
struct Workstation {
  FakeFiles files;
  FakeRegistry registry;
  FakeWindows windows;
  FakeMessages messages;
  FakeJournal journal;
  FakeSystem system;
  Platform platform{files, registry, windows, messages, journal};

  static constexpr const char* kXlstart =
      "C:\\Documents and Settings\\user1\\Application Data\\Microsoft\\Excel\\XLSTART";

  Workstation() {
    files.AddFile("D:\\Setup\\Armocalc.dll", "dll32");
    files.AddFile("D:\\Setup\\x64\\Armocalc.dll", "dll64");
    files.AddFile("D:\\Setup\\xls.xls", "workbook");
    files.AddFile("D:\\Setup\\xls.txt", "description");
    files.AddFolderTree("C:\\WINDOWS\\system32");
    files.AddFolderTree("C:\\WINDOWS\\Sysnative");
    files.AddFolderTree(kXlstart);
    windows.titles = {"Program Manager", std::string(kWindowTitle)};
  }
  void Make64Bit() { system.files64 = "C:\\WINDOWS\\Sysnative"; }
};

}  // namespace armocalc::setup::testing
