#include <windows.h>

#include "platform/Win32Handles.h"
#include "platform/Win32Platform.h"

namespace kvr::win32 {

std::optional<std::string> Win32Process::moduleFileName() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), path, MAX_PATH);
  // A full buffer means the path was cut.
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return std::string(path, length);
}

std::uint16_t Win32Process::userUiLanguage() {
  return GetUserDefaultUILanguage();
}

std::string Win32Process::windowsDirectory() {
  char path[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(path, length);
}

MutexResult Win32Process::takeNamedMutex(const char* name) {
  KernelHandle mutex(CreateMutexA(nullptr, TRUE, name));
  const DWORD error = GetLastError();  // read right after the call that set it
  if (!mutex) return MutexResult::kFailed;
  if (error == ERROR_ALREADY_EXISTS) {
    ReleaseMutex(mutex.get());
    return MutexResult::kAlreadyExists;  // the handle closes here
  }
  // Created and owned: held until the process ends, never released.
  mutex.release();
  return MutexResult::kCreated;
}

std::size_t Win32Process::charLength(const char* text) {
  return static_cast<std::size_t>(CharNextA(text) - text);
}

}  // namespace kvr::win32
