// Profile on the real calls: GetPrivateProfileStringA / WritePrivateProfileStringA.
#include <windows.h>

#include <algorithm>

#include "platform/Win32Platform.h"

namespace kvr::win32 {

std::string Win32Profile::read(const char* section, const char* key, const char* path) {
  // The empty text as default, a buffer of 1024: at most 1023 characters.
  char buffer[1024] = {};
  const DWORD copied = GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, path);
  return std::string(buffer, std::min<std::size_t>(copied, std::char_traits<char>::length(buffer)));
}

bool Win32Profile::write(const char* section, const char* key, const char* value,
                         const char* path) {
  return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

}  // namespace kvr::win32
