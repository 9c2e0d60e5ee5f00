// Runs a Windows program and answers its message boxes as a user who presses
// OK would: each box's caption and text are printed (in UTF-8), then OK is
// pressed. Ends with the program's exit code. Used by scripts/demo.sh for the
// interactive run of the tool.
//
//   box_presser.exe PROGRAM [ARGUMENTS...]
#include <windows.h>

#include <cstdio>
#include <string>

#include "Robot.h"

namespace {

// ANSI code-page text (the boxes' own) as UTF-8 for the console.
std::string Utf8(const std::string& ansi) {
  if (ansi.empty()) return ansi;
  const int wideLength =
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                      wideLength);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, out.data(), length, nullptr, nullptr);
  return out;
}

// Each line of a box's text indented under its caption.
void PrintBox(const kvr::e2e::BoxView& box) {
  std::string text = Utf8(box.text);
  for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 6)
    text.replace(at, 1, "\n      ");
  std::printf("  box [%s]\n      %s\n  -> OK\n", Utf8(box.caption).c_str(), text.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: box_presser.exe PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  std::string commandLine = std::string("\"") + argv[1] + "\"";
  for (int i = 2; i < argc; ++i) commandLine += std::string(" ") + argv[i];
  auto program = kvr::e2e::RunningProgram::Start(commandLine);
  if (!program) {
    std::fprintf(stderr, "box_presser: cannot start %s\n", argv[1]);
    return 2;
  }
  // Every box the program shows, until it ends.
  while (auto box = program->WaitForBox(120000)) {
    PrintBox(*box);
    if (!kvr::e2e::PressOk(box->window)) {
      std::fprintf(stderr, "box_presser: the box did not close\n");
      program->Kill();
      return 2;
    }
  }
  const auto code = program->WaitForExit(120000);
  if (!code) {
    program->Kill();
    return 2;
  }
  return static_cast<int>(*code);
}
