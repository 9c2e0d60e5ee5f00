// Drives Windows programs from a test running under Wine: starts a program
// with an exact command line, finds the message boxes it shows, reads them,
// presses their buttons, and collects its exit code. Every wait is on a
// condition with a generous bound, never a fixed sleep.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kvr::e2e {

// What a message box shows.
struct BoxView {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  bool hasIcon = false;
  bool hasOk = false;
  bool hasCancel = false;
  bool systemModal = false;  // shown as topmost; Wine marks only system-modal boxes so
};

class RunningProgram {
 public:
  // Starts `commandLine` (program path first) in `workingDir` (or the
  // current folder).
  static std::optional<RunningProgram> Start(const std::string& commandLine,
                                             const std::string& workingDir = std::string());
  RunningProgram(RunningProgram&& other) noexcept;
  RunningProgram& operator=(RunningProgram&&) = delete;
  RunningProgram(const RunningProgram&) = delete;
  ~RunningProgram();

  DWORD pid() const { return pid_; }
  // Waits for a message box of this process; nullopt when none came within
  // `timeoutMs` or the process ended first.
  std::optional<BoxView> WaitForBox(DWORD timeoutMs = 30000);
  // Waits for the process to end; its exit code, or nullopt on timeout.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = 60000);
  // Waits for the end, failing (nullopt) if the process showed any box on the
  // way: for silent runs.
  std::optional<DWORD> WaitForExitWithoutBox(DWORD timeoutMs = 60000);
  bool Running();
  void Kill();

 private:
  RunningProgram(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// The first visible message box of process `pid`, read.
std::optional<BoxView> FindBox(DWORD pid);
BoxView ReadBox(HWND box);
// Each answers the box and waits until it is gone; false when it stayed.
bool PressOk(HWND box);
bool PressCancel(HWND box);
bool PressEscape(HWND box);
bool CloseBox(HWND box);

// Waits until `condition` holds, checking every 20 ms; false after `timeoutMs`.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(20);
  }
}

}  // namespace kvr::e2e
