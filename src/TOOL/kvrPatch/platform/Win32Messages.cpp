#include <windows.h>

#include <string>

#include "platform/Win32Platform.h"

namespace kvr::win32 {

std::string Win32Messages::loadString(unsigned id, std::size_t capacity) {
  if (capacity == 0) return std::string();
  std::string buffer(capacity, '\0');
  LoadStringA(static_cast<HINSTANCE>(instance_), id, buffer.data(), static_cast<int>(capacity));
  buffer.resize(std::char_traits<char>::length(buffer.c_str()));
  return buffer;
}

int Win32Messages::showBox(const char* text, const char* caption, std::uint32_t style) {
  return MessageBoxA(nullptr, text, caption, style);
}

void Win32Clock::sleepMs(std::uint32_t ms) {
  Sleep(ms);
}

}  // namespace kvr::win32
