#include "setup/windows/form.hpp"

#include <string>
#include <vector>

#include "setup/excel_check.hpp"
#include "setup/installer.hpp"
#include "setup/layout.hpp"
#include "setup/texts.hpp"
#include "setup/windows/wide.hpp"
#include "setup/windows/win_platform.hpp"

namespace armocalc::setup::win {

namespace {

constexpr int kCommandButton1 = 101;  // install or update
constexpr int kCommandButton2 = 102;  // remove
constexpr int kFolderBox = 103;
constexpr wchar_t kWindowClass[] = L"ArmocalcSetupKelvorVBA";
constexpr wchar_t kMessageTitle[] = L"SetupKelvorVBA";
// Messages handled per window during the Excel test, so that the dialog stays responsive.
constexpr int kMessagesPerYield = 32;

class BoxMessages : public Messages {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void Show(const std::string& text, MessageKind kind) override {
    UINT icon = 0;
    if (kind == MessageKind::kInformation) icon = MB_ICONINFORMATION;
    if (kind == MessageKind::kError) icon = MB_ICONERROR;
    MessageBoxW(owner_, Wide(text).c_str(), kMessageTitle, MB_OK | icon);
  }

 private:
  HWND owner_ = nullptr;
};

struct Placement {
  int x, y, width, height;
};

class fSetup {
 public:
  explicit fSetup(HINSTANCE instance) : instance_(instance) {}
  ~fSetup() {
    if (font_) DeleteObject(font_);
  }
  fSetup(const fSetup&) = delete;
  fSetup& operator=(const fSetup&) = delete;

  bool Create(int show);
  int Run();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  HWND AddControl(const wchar_t* window_class, std::string_view text, DWORD style, int id,
                  Placement at);
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
  std::string FolderText() const;
  void LetMessagesThrough();
  void OnCommand(int id);
  void InstallOrUpdate();
  void RemoveAndClose();

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HWND folder_box_ = nullptr;
  HFONT font_ = nullptr;
  int dpi_ = 96;
  bool busy_ = false;
  int exit_code_ = 0;

  WinFileSystem files_;
  WinRegistry registry_;
  WinWindowTitles titles_{[this] { LetMessagesThrough(); }};
  WinSystemInfo system_;
  BoxMessages messages_;
  NoJournal journal_;
  Platform platform_{files_, registry_, titles_, messages_, journal_};
};

HWND fSetup::AddControl(const wchar_t* window_class, std::string_view text, DWORD style, int id,
                        Placement at) {
  HWND control =
      CreateWindowExW(0, window_class, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                      Scale(at.x), Scale(at.y), Scale(at.width), Scale(at.height), window_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (control && font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  return control;
}

bool fSetup::Create(int show) {
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = Procedure;
  window_class.hInstance = instance_;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&window_class)) return false;

  HDC screen = GetDC(nullptr);
  dpi_ = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);
  }

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame = {0, 0, Scale(560), Scale(150)};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  window_ = CreateWindowExW(0, kWindowClass, Wide(kWindowTitle).c_str(), style, x, y, width, height,
                            nullptr, nullptr, instance_, this);
  if (!window_) return false;
  messages_.SetOwner(window_);

  AddControl(L"BUTTON", kFrameCaption, BS_GROUPBOX, -1, {10, 8, 540, 88});
  AddControl(L"STATIC", kFolderLabel, SS_LEFT, -1, {22, 32, 516, 18});
  folder_box_ =
      AddControl(L"EDIT", DefaultXlstart(system_),
                 WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, kFolderBox, {22, 54, 516, 24});
  AddControl(L"BUTTON", kInstallCaption, BS_PUSHBUTTON | WS_TABSTOP, kCommandButton1,
             {10, 108, 265, 30});
  AddControl(L"BUTTON", kRemoveCaption, BS_PUSHBUTTON | WS_TABSTOP, kCommandButton2,
             {285, 108, 265, 30});

  ShowWindow(window_, show);
  UpdateWindow(window_);
  SetFocus(folder_box_);

  busy_ = true;
  if (ExcelIsRunning(titles_.TopLevelTitles())) {
    messages_.Show(std::string(kCloseExcel), MessageKind::kInformation);
  }
  busy_ = false;
  return true;
}

int fSetup::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window_ && IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return exit_code_;
}

std::string fSetup::FolderText() const {
  const int length = GetWindowTextLengthW(folder_box_);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int copied = GetWindowTextW(folder_box_, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return Utf8(text);
}

void fSetup::LetMessagesThrough() {
  MSG message;
  for (int i = 0; i < kMessagesPerYield && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (window_ && IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void fSetup::InstallOrUpdate() {
  const Outcome outcome = Install(platform_, MakeLayout(system_, FolderText()));
  exit_code_ = static_cast<int>(outcome.status);
  // Refusals change nothing and leave the dialog open; any other end closes it.
  if (outcome.status == Status::kExcelRunning || outcome.status == Status::kNoStartupFolder) return;
  DestroyWindow(window_);
}

void fSetup::RemoveAndClose() {
  const bool complete = Remove(platform_, MakeLayout(system_, FolderText())).empty();
  exit_code_ = static_cast<int>(complete ? Status::kOk : Status::kRemoveIncomplete);
  DestroyWindow(window_);
}

void fSetup::OnCommand(int id) {
  if (busy_) return;
  busy_ = true;
  if (id == kCommandButton1) InstallOrUpdate();
  if (id == kCommandButton2) RemoveAndClose();
  if (id == IDCANCEL) DestroyWindow(window_);
  busy_ = false;
}

LRESULT fSetup::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) OnCommand(LOWORD(wparam));
      return 0;
    case WM_CLOSE:
      if (!busy_) DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      window_ = nullptr;
      PostQuitMessage(exit_code_);
      return 0;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

LRESULT CALLBACK fSetup::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* form = reinterpret_cast<fSetup*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form || !form->window_) return DefWindowProcW(window, message, wparam, lparam);
  return form->Handle(message, wparam, lparam);
}

}  // namespace

int RunSetupDialog(HINSTANCE instance, int show) {
  fSetup form(instance);
  if (!form.Create(show)) return static_cast<int>(Status::kNoDialog);
  return form.Run();
}

}  // namespace armocalc::setup::win
