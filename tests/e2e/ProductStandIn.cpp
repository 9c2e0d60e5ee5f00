// Stands in for a running product program in end-to-end tests: one top-level
// window found by class "KOVRA" or by one of the product titles, which either
// quits on WM_QUIT or ignores it.
//
//   product_standin.exe <class|title2a|title2b|title3a|title3b> <quit|ignore> [seconds
//   [ready-file]]
//
// An ignoring stand-in ends by itself after `seconds` (default 120). Once its
// window exists it creates `ready-file`, so a script can wait for that.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* TitleFor(const std::string& which) {
  if (which == "title2a")
    return "\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x89\x90\xb6\x90\xac\x83\x5c\x83\x74\x83"
           "\x67";
  if (which == "title2b")
    return "\x83\x5a\x83\x4c\x83\x85\x83\x8a\x83\x65\x83\x42\x8b\xad\x89\xbb\x94\xc5\x83\x43\x83"
           "\x93\x83\x58\x83\x67\x81\x5b\x83\x89\x90\xb6\x90\xac\x83\x5c\x83\x74\x83\x67";
  if (which == "title3a") return "\x83\x8d\x83\x4f\x8f\xee\x95\xf1\x8a\xc7\x97\x9d";
  if (which == "title3b")
    return "\x83\x8d\x83\x4f\x8f\xee\x95\xf1\x8a\xc7\x97\x9d\x20\x83\x8d\x83\x4f\x83\x43\x83\x93";
  return nullptr;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  const std::string which = __argv[1];
  const bool ignoreQuit = std::strcmp(__argv[2], "ignore") == 0;
  const DWORD lifetimeMs = (__argc > 3 ? std::atoi(__argv[3]) : 120) * 1000;

  const bool byClass = which == "class";
  const char* className = byClass ? "KOVRA" : "KvrStandIn";
  const char* title = byClass ? "stand-in" : TitleFor(which);
  if (title == nullptr) return 2;

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, instance, nullptr);
  if (window == nullptr) return 3;
  if (__argc > 4) {
    HANDLE ready = CreateFileA(__argv[4], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
  }

  const ULONGLONG end = GetTickCount64() + lifetimeMs;
  MSG message;
  for (;;) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        if (!ignoreQuit) return 0;
        continue;
      }
      DispatchMessageA(&message);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return 0;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}
