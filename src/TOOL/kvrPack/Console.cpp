#include "Console.h"

#ifdef _WIN32
#include <windows.h>
// <shellapi.h> needs <windows.h> before it.
#include <shellapi.h>
#endif

namespace kvr::pack {

#ifdef _WIN32

std::vector<std::string> ConsoleArguments(int, char**) {
  SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 1u, '\0');
    if (length > 0)
      WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), length, nullptr, nullptr);
    text.resize(text.size() - 1);  // the terminator
    arguments.push_back(text);
  }
  LocalFree(wide);
  return arguments;
}

#else

std::vector<std::string> ConsoleArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

#endif

}  // namespace kvr::pack
