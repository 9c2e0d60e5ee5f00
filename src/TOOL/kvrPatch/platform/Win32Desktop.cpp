#include <windows.h>

#include "platform/Win32Platform.h"

namespace kvr::win32 {
namespace {

WindowId ToId(HWND window) {
  return reinterpret_cast<WindowId>(window);
}
HWND ToWindow(WindowId id) {
  return reinterpret_cast<HWND>(id);
}

}  // namespace

WindowId Win32Desktop::findByClass(const char* className) {
  return ToId(FindWindowA(className, nullptr));
}

WindowId Win32Desktop::findByTitle(const char* title) {
  return ToId(FindWindowA(nullptr, title));
}

bool Win32Desktop::postQuit(WindowId window) {
  return PostMessageA(ToWindow(window), WM_QUIT, 0, 0) != 0;
}

}  // namespace kvr::win32
