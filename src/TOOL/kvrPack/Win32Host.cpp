// The host platform on Windows: the tool's own Win32 profile and files, and
// process facts that point the loaders at the folder being looked at.
#include <windows.h>

#include <filesystem>
#include <system_error>

#include "FileBytes.h"
#include "HostPlatform.h"
#include "TextEncoding.h"
#include "platform/Win32Platform.h"

namespace kvr::pack {
namespace {

class Win32HostProcess : public win32::Win32Process {
 public:
  std::optional<std::string> moduleFileName() override {
    if (modulePath.empty() || modulePath.size() > 259) return std::nullopt;
    return modulePath;
  }
  std::uint16_t userUiLanguage() override { return 1033; }
  std::string windowsDirectory() override {
    return windowsDir.empty() ? win32::Win32Process::windowsDirectory() : windowsDir;
  }
  MutexResult takeNamedMutex(const char*) override { return MutexResult::kFailed; }

  std::string modulePath;
  std::string windowsDir;
};

class Win32Host : public HostPlatform {
 public:
  Process& process() override { return process_; }
  Files& files() override { return files_; }
  Profile& profile() override { return profile_; }

  std::optional<std::string> SeamPath(const std::string& hostPath) override {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(HostPath(hostPath), error);
    if (error) return std::nullopt;
    return ConvertText(Utf8Of(absolute.lexically_normal()), TextEncoding::kUtf8,
                       TextEncoding::kAnsi);
  }
  std::string HostSpelling(const std::string& seamPath) override {
    return ConvertText(seamPath, TextEncoding::kAnsi, TextEncoding::kUtf8).value_or(seamPath);
  }
  void SetModulePath(const std::string& seamPath) override { process_.modulePath = seamPath; }
  void SetWindowsDirectory(const std::string& seamPath) override { process_.windowsDir = seamPath; }

 private:
  Win32HostProcess process_;
  win32::Win32Files files_;
  win32::Win32Profile profile_;
};

}  // namespace

std::unique_ptr<HostPlatform> MakeHostPlatform() {
  return std::make_unique<Win32Host>();
}

}  // namespace kvr::pack
