#include "Scenario.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace kvr::e2e {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\'));
}

std::string WindowsDirectory() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool MakeFolders(const std::string& path) {
  for (std::size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

Scenario::Scenario(const std::string& name) : folder_("C:\\kvre2e\\" + name) {
  RemoveTree(folder_);
  MakeFolders(folder_);
  CopyFileA((ProgramFolder() + "\\kvrPatch.exe").c_str(), toolPath().c_str(), FALSE);
}

std::optional<RunningProgram> Scenario::Start(const std::string& arguments) const {
  return StartRaw("\"" + toolPath() + "\"" + (arguments.empty() ? "" : " " + arguments));
}

AnsweredRun Scenario::RunPressingOk(const std::string& arguments) const {
  AnsweredRun run;
  auto tool = Start(arguments);
  EXPECT_TRUE(tool.has_value());
  if (!tool) return run;
  auto box = tool->WaitForBox();
  EXPECT_TRUE(box.has_value()) << "no box for [" << arguments.substr(0, 60) << "]";
  if (!box) return run;
  run.box = *box;
  EXPECT_TRUE(PressOk(box->window));
  const auto code = tool->WaitForExit();
  EXPECT_TRUE(code.has_value());
  run.exitCode = code.value_or(0xFFFF);
  return run;
}

std::optional<RunningProgram> Scenario::StartRaw(const std::string& commandLine) const {
  return RunningProgram::Start(commandLine, folder_);
}

LANGID UiLanguage() {
  return GetUserDefaultUILanguage();
}

}  // namespace kvr::e2e
