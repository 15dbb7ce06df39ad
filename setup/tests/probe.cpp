// A small remote control for the installer's verification under Wine.
//   setup_probe window TITLE SECONDS READY_FILE STOP_FILE
//       opens a top-level window with the title, creates READY_FILE once it is shown and closes
//       when STOP_FILE appears or after SECONDS
//   setup_probe wait TITLE SECONDS          waits until a window with exactly this title exists
//   setup_probe gone TITLE SECONDS          waits until no such window exists
//   setup_probe dump TITLE OUT_FILE         writes the window and its controls, one a line:
//                                           class, text, left, top, width, height (screen)
//   setup_probe settext TITLE TEXT          sets the text of the window's edit box
//   setup_probe click TITLE CAPTION         presses the window's button with this caption
//   setup_probe answer TITLE SECONDS OUT_FILE
//       waits for a message box with this title, writes its texts and presses its OK button
// Texts are UTF-8 in the files; exit code 0 on success, 1 on failure or timeout, 2 on misuse.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMilliseconds = 100;

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(count > 0 ? count : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), count,
                      nullptr, nullptr);
  return text;
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteText(const std::wstring& path, const std::string& text) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  const bool ok = fwrite(text.data(), 1, text.size(), file) == text.size();
  return fclose(file) == 0 && ok;
}

int Seconds(const wchar_t* text) {
  const int value = _wtoi(text);
  return value > 0 && value < 3600 ? value : 10;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// WM_GETTEXT works across processes where GetWindowText does not.
std::wstring TextOf(HWND window) {
  std::vector<wchar_t> buffer(4096, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG, 2000,
                           &copied)) {
    return {};
  }
  return std::wstring(buffer.data());
}

// Polls `found` until it yields a window or the time is up.
template <class Find>
HWND WaitFor(Find found, int seconds) {
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  for (int round = 0; round < seconds * 20 + 1; ++round) {
    if (HWND window = found()) return window;
    if (static_cast<LONG>(GetTickCount() - deadline) >= 0) break;
    Sleep(kPollMilliseconds);
  }
  return nullptr;
}

struct Children {
  std::vector<HWND> windows;
};

BOOL CALLBACK AddChild(HWND window, LPARAM param) {
  auto* children = reinterpret_cast<Children*>(param);
  children->windows.push_back(window);
  return children->windows.size() < 1000;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  Children children;
  EnumChildWindows(parent, AddChild, reinterpret_cast<LPARAM>(&children));
  return children.windows;
}

HWND ChildOf(HWND parent, const std::wstring& window_class, const std::wstring* text) {
  for (HWND child : ChildrenOf(parent)) {
    if (lstrcmpiW(ClassOf(child).c_str(), window_class.c_str()) != 0) continue;
    if (!text || TextOf(child) == *text) return child;
  }
  return nullptr;
}

std::string Describe(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return Utf8(ClassOf(window)) + "\t" + Utf8(TextOf(window)) + "\t" + std::to_string(rect.left) +
         "\t" + std::to_string(rect.top) + "\t" + std::to_string(rect.right - rect.left) + "\t" +
         std::to_string(rect.bottom - rect.top) + "\n";
}

// --- window: a stand-in for another program's top-level window ---

struct StandIn {
  std::wstring stop_file;
  DWORD deadline = 0;
};
StandIn g_stand_in;

LRESULT CALLBACK StandInProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER) {
    if (FileExists(g_stand_in.stop_file) ||
        static_cast<LONG>(GetTickCount() - g_stand_in.deadline) >= 0) {
      DestroyWindow(window);
    }
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

int OpenWindow(const std::wstring& title, int seconds, const std::wstring& ready,
               const std::wstring& stop) {
  g_stand_in.stop_file = stop;
  g_stand_in.deadline = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = StandInProcedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = L"ArmocalcProbeWindow";
  if (!RegisterClassW(&window_class)) return 1;
  HWND window =
      CreateWindowExW(0, window_class.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 20, 20,
                      300, 120, nullptr, nullptr, window_class.hInstance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  SetTimer(window, 1, kPollMilliseconds, nullptr);
  if (!WriteText(ready, "ready\n")) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

// --- the other commands ---

HWND WaitForTitle(const std::wstring& title, int seconds) {
  return WaitFor([&] { return FindWindowW(nullptr, title.c_str()); }, seconds);
}

int WaitGone(const std::wstring& title, int seconds) {
  const HWND none = WaitFor(
      [&]() -> HWND { return FindWindowW(nullptr, title.c_str()) ? nullptr : GetDesktopWindow(); },
      seconds);
  return none ? 0 : 1;
}

int Dump(const std::wstring& title, const std::wstring& out) {
  HWND window = FindWindowW(nullptr, title.c_str());
  if (!window) return 1;
  std::string text = Describe(window);
  for (HWND child : ChildrenOf(window)) {
    if (IsWindowVisible(child)) text += Describe(child);
  }
  return WriteText(out, text) ? 0 : 1;
}

int SetEditText(const std::wstring& title, const std::wstring& text) {
  HWND window = FindWindowW(nullptr, title.c_str());
  HWND edit = window ? ChildOf(window, L"Edit", nullptr) : nullptr;
  if (!edit) return 1;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, 2000, &result) &&
                 result
             ? 0
             : 1;
}

// Posted, not sent: the installer answers a click with a modal message box.
int Click(const std::wstring& title, const std::wstring& caption) {
  HWND window = FindWindowW(nullptr, title.c_str());
  HWND button = window ? ChildOf(window, L"Button", &caption) : nullptr;
  if (!button) return 1;
  const int id = GetDlgCtrlID(button);
  return PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button))
             ? 0
             : 1;
}

int Answer(const std::wstring& title, int seconds, const std::wstring& out) {
  HWND box = WaitFor([&] { return FindWindowW(L"#32770", title.c_str()); }, seconds);
  if (!box) return 1;
  std::string text = Utf8(TextOf(box)) + "\n";
  for (HWND child : ChildrenOf(box)) {
    const std::wstring child_text = TextOf(child);
    if (!child_text.empty()) text += Utf8(ClassOf(child)) + "\t" + Utf8(child_text) + "\n";
  }
  const bool written = WriteText(out, text);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return written ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"window" && argc == 6)
    return OpenWindow(argv[2], Seconds(argv[3]), argv[4], argv[5]);
  if (command == L"wait" && argc == 4) return WaitForTitle(argv[2], Seconds(argv[3])) ? 0 : 1;
  if (command == L"gone" && argc == 4) return WaitGone(argv[2], Seconds(argv[3]));
  if (command == L"dump" && argc == 4) return Dump(argv[2], argv[3]);
  if (command == L"settext" && argc == 4) return SetEditText(argv[2], argv[3]);
  if (command == L"click" && argc == 4) return Click(argv[2], argv[3]);
  if (command == L"answer" && argc == 5) return Answer(argv[2], Seconds(argv[3]), argv[4]);
  fputs("usage: see the comment at the top of probe.cpp\n", stderr);
  return 2;
}
