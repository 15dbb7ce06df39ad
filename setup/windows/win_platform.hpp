#pragma once
// The Windows implementations of the installer's system interfaces (Unicode API).

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "setup/platform.hpp"

namespace armocalc::setup::win {

class WinFileSystem : public FileSystem {
 public:
  bool Exists(const std::string& path) override;
  Result Copy(const std::string& from, const std::string& to) override;
  Deletion RemoveFile(const std::string& path) override;
  Result CreateFolder(const std::string& path) override;
  Deletion RemoveFolder(const std::string& path) override;
};

class WinRegistry : public Registry {
 public:
  Result SetString(RegistryRoot root, RegistryView view, const std::string& key,
                   const std::string& name, const std::string& data) override;
  Result CreateKey(RegistryRoot root, RegistryView view, const std::string& key) override;
  std::optional<std::string> ReadString(RegistryRoot root, RegistryView view,
                                        const std::string& key, const std::string& name) override;
  Deletion DeleteValue(RegistryRoot root, RegistryView view, const std::string& key,
                       const std::string& name) override;
  Deletion DeleteKeyTree(RegistryRoot root, RegistryView view, const std::string& key) override;
};

// Walks the top-level windows; `after_each` runs after every window (the dialog lets pending
// messages through there).
class WinWindowTitles : public WindowTitles {
 public:
  explicit WinWindowTitles(std::function<void()> after_each = {})
      : after_each_(std::move(after_each)) {}
  std::vector<std::string> TopLevelTitles() override;

 private:
  std::function<void()> after_each_;
};

class WinSystemInfo : public SystemInfo {
 public:
  std::string UserName() override;
  std::string WindowsFolder() override;
  std::string SystemFolder() override;
  std::string InstallerFolder() override;
  std::string SystemFolderForFiles32() override;
  std::string SystemFolderForFiles64() override;
};

}  // namespace armocalc::setup::win
