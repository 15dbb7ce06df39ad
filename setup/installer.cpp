#include "setup/installer.hpp"

#include <optional>

#include "runtime/errors.hpp"
#include "setup/excel_check.hpp"
#include "setup/registration.hpp"
#include "setup/texts.hpp"

namespace armocalc::setup {

namespace {

std::string ViewSuffix(RegistryView view) {
  switch (view) {
    case RegistryView::k32:
      return " (32-bit view)";
    case RegistryView::k64:
      return " (64-bit view)";
    case RegistryView::kOwn:
      break;
  }
  return "";
}

std::string WithDetail(const std::string& text, const std::string& detail) {
  return detail.empty() ? text : text + ": " + detail;
}

// Deletes a file if it is there; returns false when it stays behind.
bool RemoveInstalledFile(Platform& platform, const std::string& path) {
  switch (platform.files.RemoveFile(path)) {
    case Deletion::kDeleted:
      platform.journal.Write("deleted " + path);
      return true;
    case Deletion::kMissing:
      platform.journal.Write("not present " + path);
      return true;
    case Deletion::kFailed:
      platform.journal.Write("could not delete " + path);
      return false;
  }
  return false;
}

void RemoveDescriptionFolder(Platform& platform, const std::string& folder) {
  switch (platform.files.RemoveFolder(folder)) {
    case Deletion::kDeleted:
      platform.journal.Write("deleted folder " + folder);
      break;
    case Deletion::kMissing:
      platform.journal.Write("not present " + folder);
      break;
    case Deletion::kFailed:
      platform.journal.Write("kept folder " + folder + " (not empty or in use)");
      break;
  }
}

void RemoveClassKeys(Platform& platform, const Layout& layout, const std::string& clsid,
                     std::vector<std::string>& left_behind) {
  const std::string key = ClassKey(clsid);
  const std::string name = RootName(RegistryRoot::kClassesRoot) + "\\" + key;
  for (const LibraryTarget& library : layout.libraries) {
    const std::string where = name + ViewSuffix(library.view);
    switch (platform.registry.DeleteKeyTree(RegistryRoot::kClassesRoot, library.view, key)) {
      case Deletion::kDeleted:
        platform.journal.Write("deleted key " + where);
        break;
      case Deletion::kMissing:
        platform.journal.Write("not present " + where);
        break;
      case Deletion::kFailed:
        platform.journal.Write("could not delete key " + where);
        left_behind.push_back(where);
        break;
    }
  }
}

void RemoveRegistration(Platform& platform, const Layout& layout,
                        std::vector<std::string>& left_behind) {
  const std::string user_key = std::string(kUserKey);
  const std::string app_id_name = std::string(kAppIdValue);
  const std::optional<std::string> app_id = platform.registry.ReadString(
      RegistryRoot::kCurrentUser, RegistryView::kOwn, user_key, app_id_name);
  if (!app_id || app_id->empty()) {
    platform.journal.Write("no class identifier remembered in HKEY_CURRENT_USER\\" + user_key);
    return;
  }
  // Only a well-formed identifier names a class key: anything else could point at the whole
  // class table.
  if (IsBracedGuid(*app_id)) {
    RemoveClassKeys(platform, layout, *app_id, left_behind);
  } else {
    platform.journal.Write("ignored malformed class identifier \"" + *app_id + "\"");
  }
  if (platform.registry.DeleteValue(RegistryRoot::kCurrentUser, RegistryView::kOwn, user_key,
                                    app_id_name) == Deletion::kFailed) {
    platform.journal.Write("could not delete HKEY_CURRENT_USER\\" + user_key + " " + app_id_name);
    left_behind.push_back("HKEY_CURRENT_USER\\" + user_key + " " + app_id_name);
  }
}

Outcome Fail(Platform& platform, Status status, const std::string& reason) {
  platform.messages.Show(reason, MessageKind::kError);
  return {status, reason};
}

std::optional<Outcome> CopyOne(Platform& platform, const std::string& from, const std::string& to) {
  const Result result = platform.files.Copy(from, to);
  if (result.Ok()) {
    platform.journal.Write("copied " + from + " -> " + to);
    return std::nullopt;
  }
  platform.journal.Write(WithDetail("could not copy " + from + " -> " + to, result.detail));
  return Fail(platform, Status::kCopyFailed,
              RuntimeErrorText(result.fault) + " (" + from + " -> " + to + ")");
}

std::optional<Outcome> CopyFiles(Platform& platform, const Layout& layout) {
  const std::string& source = layout.installer_folder;
  if (!layout.libraries.empty()) {
    const LibraryTarget& library32 = layout.libraries.front();
    if (auto failure = CopyOne(platform, library32.source, library32.destination)) return failure;
  }
  if (auto failure = CopyOne(platform, source + std::string(kWorkbookSource),
                             layout.xlstart + std::string(kWorkbookDestination))) {
    return failure;
  }
  // The folder may exist already; a real problem shows in the copy that follows.
  const std::string folder = layout.xlstart + std::string(kDescriptionFolder);
  if (platform.files.CreateFolder(folder).Ok()) platform.journal.Write("created folder " + folder);
  if (auto failure = CopyOne(platform, source + std::string(kDescriptionSource),
                             layout.xlstart + std::string(kDescriptionDestination))) {
    return failure;
  }
  for (size_t i = 1; i < layout.libraries.size(); ++i) {
    const LibraryTarget& library = layout.libraries[i];
    if (auto failure = CopyOne(platform, library.source, library.destination)) return failure;
  }
  return std::nullopt;
}

std::optional<Outcome> WriteEntry(Platform& platform, const RegistryEntry& entry,
                                  RegistryView view) {
  const std::string where =
      RootName(entry.root) + "\\" + entry.key + (entry.key_only ? "" : " [" + entry.name + "]");
  const Result result = entry.key_only ? platform.registry.CreateKey(entry.root, view, entry.key)
                                       : platform.registry.SetString(entry.root, view, entry.key,
                                                                     entry.name, entry.data);
  if (result.Ok()) {
    platform.journal.Write("wrote " + where + ViewSuffix(view) +
                           (entry.key_only ? "" : " = \"" + entry.data + "\""));
    return std::nullopt;
  }
  return Fail(
      platform, Status::kRegistryFailed,
      WithDetail("Cannot write the registry entry " + where + ViewSuffix(view), result.detail));
}

// The full table for the first library; the further ones get the class entries in their own
// view (the user's value is shared by both views).
std::optional<Outcome> WriteRegistration(Platform& platform, const Layout& layout) {
  for (size_t i = 0; i < layout.libraries.size(); ++i) {
    const LibraryTarget& library = layout.libraries[i];
    for (const RegistryEntry& entry : RegistrationEntries(library.registered_path)) {
      if (i > 0 && entry.root != RegistryRoot::kClassesRoot) continue;
      const RegistryView view =
          entry.root == RegistryRoot::kClassesRoot ? library.view : RegistryView::kOwn;
      if (auto failure = WriteEntry(platform, entry, view)) return failure;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string RuntimeErrorText(Fault fault) {
  switch (fault) {
    case Fault::kFileNotFound:
      return "Run-time error '" + std::to_string(kFileNotFound) + "': File not found";
    case Fault::kPathNotFound:
      return "Run-time error '" + std::to_string(kPathNotFound) + "': Path not found";
    case Fault::kAccessDenied:
      return "Run-time error '" + std::to_string(kPermissionDenied) + "': Permission denied";
    case Fault::kNone:
    case Fault::kOther:
      break;
  }
  return "Run-time error '" + std::to_string(kPathFileAccessError) + "': Path/File access error";
}

std::vector<std::string> Remove(Platform& platform, const Layout& layout) {
  std::vector<std::string> left_behind;
  std::vector<std::string> files;
  for (const LibraryTarget& library : layout.libraries) files.push_back(library.destination);
  if (!layout.xlstart.empty()) {
    files.push_back(layout.xlstart + std::string(kWorkbookDestination));
    files.push_back(layout.xlstart + std::string(kDescriptionDestination));
  }
  for (const std::string& file : files) {
    if (!RemoveInstalledFile(platform, file)) left_behind.push_back(file);
  }
  if (!layout.xlstart.empty()) {
    RemoveDescriptionFolder(platform, layout.xlstart + std::string(kDescriptionFolder));
  }
  RemoveRegistration(platform, layout, left_behind);
  return left_behind;
}

Outcome Install(Platform& platform, const Layout& layout) {
  if (ExcelIsRunning(platform.windows.TopLevelTitles())) {
    return Fail(platform, Status::kExcelRunning, std::string(kCloseExcel));
  }
  if (layout.xlstart.empty()) {
    return Fail(platform, Status::kNoStartupFolder, "The Excel start-up folder is not given.");
  }
  platform.journal.Write("removing the previous installation");
  Remove(platform, layout);
  platform.journal.Write("installing");
  if (auto failure = CopyFiles(platform, layout)) return *failure;
  if (auto failure = WriteRegistration(platform, layout)) return *failure;
  platform.messages.Show(std::string(kInstalled), MessageKind::kPlain);
  return {Status::kOk, ""};
}

}  // namespace armocalc::setup
