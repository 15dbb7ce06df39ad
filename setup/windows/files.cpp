#include <windows.h>

#include "setup/windows/wide.hpp"
#include "setup/windows/win_platform.hpp"

namespace armocalc::setup::win {

namespace {

Fault FaultOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return Fault::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
      return Fault::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return Fault::kAccessDenied;
    default:
      return Fault::kOther;
  }
}

Result Failure(DWORD error) {
  return {FaultOf(error), SystemMessage(error)};
}

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool WinFileSystem::Exists(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

Result WinFileSystem::Copy(const std::string& from, const std::string& to) {
  if (CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE)) return {};
  return Failure(GetLastError());
}

Deletion WinFileSystem::RemoveFile(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return IsMissing(GetLastError()) ? Deletion::kMissing : Deletion::kFailed;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Deletion::kFailed;
  return DeleteFileW(wide.c_str()) ? Deletion::kDeleted : Deletion::kFailed;
}

Result WinFileSystem::CreateFolder(const std::string& path) {
  if (CreateDirectoryW(Wide(path).c_str(), nullptr)) return {};
  return Failure(GetLastError());
}

Deletion WinFileSystem::RemoveFolder(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return IsMissing(GetLastError()) ? Deletion::kMissing : Deletion::kFailed;
  }
  return RemoveDirectoryW(wide.c_str()) ? Deletion::kDeleted : Deletion::kFailed;
}

}  // namespace armocalc::setup::win
