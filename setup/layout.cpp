#include "setup/layout.hpp"

#include "setup/texts.hpp"

namespace armocalc::setup {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string Join(const std::string& folder, std::string_view tail) {
  return folder + std::string(tail);
}

}  // namespace

std::string TrimBlanks(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string NormalizeFolder(const std::string& folder) {
  std::string result = TrimBlanks(folder);
  while (!result.empty() && (result.back() == '\\' || result.back() == '/')) result.pop_back();
  return result;
}

std::string DefaultXlstart(const std::string& windows_folder, const std::string& user_name) {
  const std::string drive = windows_folder.empty() ? std::string("C") : windows_folder.substr(0, 1);
  return drive + std::string(kDocumentsAndSettings) + TrimBlanks(user_name) +
         std::string(kXlstartTail);
}

std::string DefaultXlstart(SystemInfo& system) {
  return DefaultXlstart(system.WindowsFolder(), system.UserName());
}

Layout MakeLayout(SystemInfo& system, const std::string& xlstart) {
  Layout layout;
  layout.installer_folder = NormalizeFolder(system.InstallerFolder());
  layout.xlstart = NormalizeFolder(xlstart);
  const std::string registered = Join(NormalizeFolder(system.SystemFolder()), kLibrarySource);
  const std::string folder64 = NormalizeFolder(system.SystemFolderForFiles64());
  const bool windows64 = !folder64.empty();
  layout.libraries.push_back(
      {Join(layout.installer_folder, kLibrarySource),
       Join(NormalizeFolder(system.SystemFolderForFiles32()), kLibrarySource), registered,
       windows64 ? RegistryView::k32 : RegistryView::kOwn});
  if (windows64) {
    layout.libraries.push_back({Join(layout.installer_folder, kLibrary64Source),
                                Join(folder64, kLibrarySource), registered, RegistryView::k64});
  }
  return layout;
}

}  // namespace armocalc::setup
