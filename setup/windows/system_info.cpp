#include <windows.h>

#include <algorithm>
#include <vector>

#include "setup/windows/wide.hpp"
#include "setup/windows/win_platform.hpp"

namespace armocalc::setup::win {

namespace {

// A generous bound on the walk: far more windows than a desktop ever holds.
constexpr size_t kMaxWindows = 100000;
constexpr int kMaxTitle = 1024;
constexpr DWORD kMaxPath = 32768;

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* windows = reinterpret_cast<std::vector<HWND>*>(param);
  windows->push_back(window);
  return windows->size() < kMaxWindows;
}

// Calls a "fill this buffer" function of the API until the buffer is large enough.
template <class Query>
std::string QueryText(Query query) {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 4; ++attempt) {
    const UINT length = query(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Utf8(std::wstring_view(buffer.data(), length));
    buffer.resize(std::min<size_t>(static_cast<size_t>(length) + 1, kMaxPath));
  }
  return {};
}

bool IsWindows64() {
  if (sizeof(void*) == 8) return true;
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

std::vector<std::string> WinWindowTitles::TopLevelTitles() {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  std::vector<std::string> titles;
  for (HWND window : windows) {
    wchar_t title[kMaxTitle] = {};
    const int length = GetWindowTextW(window, title, kMaxTitle);
    if (length > 0) titles.push_back(Utf8(std::wstring_view(title, static_cast<size_t>(length))));
    if (after_each_) after_each_();
  }
  return titles;
}

std::string WinSystemInfo::UserName() {
  wchar_t name[257] = {};
  DWORD size = static_cast<DWORD>(std::size(name));
  if (!GetUserNameW(name, &size)) return {};
  return Utf8(std::wstring_view(name));
}

std::string WinSystemInfo::WindowsFolder() {
  return QueryText([](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); });
}

std::string WinSystemInfo::SystemFolder() {
  return QueryText([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); });
}

std::string WinSystemInfo::InstallerFolder() {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) {
      std::wstring path(buffer.data(), length);
      const size_t slash = path.find_last_of(L"\\/");
      return Utf8(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
    }
    buffer.resize(std::min<size_t>(buffer.size() * 4, kMaxPath));
  }
  return {};
}

std::string WinSystemInfo::SystemFolderForFiles32() {
  if (sizeof(void*) == 8) {
    return QueryText([](wchar_t* b, UINT n) { return GetSystemWow64DirectoryW(b, n); });
  }
  return SystemFolder();
}

std::string WinSystemInfo::SystemFolderForFiles64() {
  if (sizeof(void*) == 8) return SystemFolder();
  if (!IsWindows64()) return {};
  // A 32-bit program reaches the 64-bit system folder through this alias only.
  const std::string windows =
      QueryText([](wchar_t* b, UINT n) { return GetSystemWindowsDirectoryW(b, n); });
  return windows.empty() ? std::string() : windows + "\\Sysnative";
}

}  // namespace armocalc::setup::win
