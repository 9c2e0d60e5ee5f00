#include "Robot.h"

#include <vector>

namespace kvr::e2e {

namespace {
constexpr int kTextId = 0xFFFF;  // the static that holds a message box's text
constexpr int kIconId = 0x0440;  // the static that holds its icon

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindBoxOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770") return TRUE;
  search->found = window;
  return FALSE;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::vector<char> text(static_cast<std::size_t>(length) + 2, '\0');
  GetWindowTextA(window, text.data(), length + 1);
  return std::string(text.data());
}
}  // namespace

std::optional<RunningProgram> RunningProgram::Start(const std::string& commandLine,
                                                    const std::string& workingDir) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info))
    return std::nullopt;
  CloseHandle(info.hThread);
  return RunningProgram(info.hProcess, info.dwProcessId);
}

RunningProgram::RunningProgram(RunningProgram&& other) noexcept
    : process_(other.process_), pid_(other.pid_) {
  other.process_ = nullptr;
}

RunningProgram::~RunningProgram() {
  if (process_ == nullptr) return;
  if (Running()) Kill();
  CloseHandle(process_);
}

bool RunningProgram::Running() {
  return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void RunningProgram::Kill() {
  TerminateProcess(process_, 255);
  WaitForSingleObject(process_, 10000);
}

std::optional<BoxView> RunningProgram::WaitForBox(DWORD timeoutMs) {
  std::optional<BoxView> box;
  WaitUntil(
      [&] {
        box = FindBox(pid_);
        return box.has_value() || !Running();
      },
      timeoutMs);
  if (!box) box = FindBox(pid_);
  if (box) {
    // A box can be visible before its dialog loop runs; what is posted to it
    // before then may be lost. Wait until the program waits for input.
    WaitForInputIdle(process_, 10000);
    box = ReadBox(box->window);
  }
  return box;
}

std::optional<DWORD> RunningProgram::WaitForExit(DWORD timeoutMs) {
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

std::optional<DWORD> RunningProgram::WaitForExitWithoutBox(DWORD timeoutMs) {
  bool sawBox = false;
  WaitUntil(
      [&] {
        if (FindBox(pid_)) sawBox = true;
        return sawBox || !Running();
      },
      timeoutMs);
  if (sawBox) return std::nullopt;
  return WaitForExit(1000);
}

std::optional<BoxView> FindBox(DWORD pid) {
  Search search{pid, nullptr};
  EnumWindows(FindBoxOf, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return std::nullopt;
  return ReadBox(search.found);
}

BoxView ReadBox(HWND box) {
  BoxView view;
  view.window = box;
  view.caption = WindowText(box);
  char text[2048] = {};
  GetDlgItemTextA(box, kTextId, text, sizeof text);
  view.text = text;
  HWND icon = GetDlgItem(box, kIconId);
  view.hasIcon = icon != nullptr && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
  view.hasOk = GetDlgItem(box, IDOK) != nullptr;
  view.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
  view.systemModal = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  return view;
}

namespace {
// Sends the input and waits until the box is gone, so the next lookup cannot
// find the old box again.
bool Answer(HWND box, UINT message, WPARAM wParam) {
  PostMessageA(box, message, wParam, 0);
  return WaitUntil([&] { return !IsWindow(box); }, 10000);
}
}  // namespace

bool PressOk(HWND box) {
  return Answer(box, WM_COMMAND, IDOK);
}
bool PressCancel(HWND box) {
  return Answer(box, WM_COMMAND, IDCANCEL);
}
bool PressEscape(HWND box) {
  PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
  return Answer(box, WM_KEYUP, VK_ESCAPE);
}
bool CloseBox(HWND box) {
  return Answer(box, WM_CLOSE, 0);
}

}  // namespace kvr::e2e
