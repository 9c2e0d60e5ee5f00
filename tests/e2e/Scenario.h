// A patch folder with the real kvrPatch.exe in it, on the Wine prefix's C:
// drive, and the product's side of the PC (install information in the Windows
// directory, install directory, registry). Each test makes its own folder.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "Robot.h"

namespace kvr::e2e {

// The folder of the running test program (where kvrPatch.exe is built).
std::string ProgramFolder();
std::string WindowsDirectory();

bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::optional<std::string> ReadFileBytes(const std::string& path);
bool MakeFolders(const std::string& path);
void RemoveTree(const std::string& path);

// A run that showed one box, answered with OK.
struct AnsweredRun {
  BoxView box;
  DWORD exitCode = 0xFFFF;  // 0xFFFF: no box, or the run did not end
};

class Scenario {
 public:
  // Makes C:\kvre2e\<name> afresh with kvrPatch.exe copied into it.
  explicit Scenario(const std::string& name);
  const std::string& folder() const { return folder_; }
  std::string toolPath() const { return folder_ + "\\kvrPatch.exe"; }
  // Starts the tool with exactly this text after the program name ("" for
  // none); the program name is quoted.
  std::optional<RunningProgram> Start(const std::string& arguments) const;
  // Runs the tool, waits for its box, presses OK and waits for its end.
  // Fails the current test when there is no box or no end.
  AnsweredRun RunPressingOk(const std::string& arguments) const;
  // Starts the tool with a whole command line of its own.
  std::optional<RunningProgram> StartRaw(const std::string& commandLine) const;

 private:
  std::string folder_;
};

// The UI language this test program runs under (Wine takes it from LC_ALL).
LANGID UiLanguage();

}  // namespace kvr::e2e
