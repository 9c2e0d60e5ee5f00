// The parts of the tool's platform seam that kvrPack hands to the tool's own
// code (the settings loaders, the encoded reader, ShiftCopy), made for the
// machine kvrPack runs on: on Windows the tool's real Win32 implementation,
// on Linux a small one over the local file system.
//
// Paths inside the seam are spelled as the tool spells them: the ANSI code
// page, folders separated by backslashes. On Linux a backslash of such a path
// stands for '/', and the ANSI code page is UTF-8.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace kvr::pack {

class HostPlatform {
 public:
  virtual ~HostPlatform() = default;
  // moduleFileName() gives what SetModulePath set, userUiLanguage() English
  // (US), windowsDirectory() what SetWindowsDirectory set or else the
  // system's (empty on Linux).
  virtual Process& process() = 0;
  virtual Files& files() = 0;
  virtual Profile& profile() = 0;
  // The absolute seam spelling of a host path given in UTF-8; nullopt when it
  // cannot be spelled in the ANSI code page.
  virtual std::optional<std::string> SeamPath(const std::string& hostPath) = 0;
  // A seam path spelled for the user: UTF-8, with the host's separators.
  virtual std::string HostSpelling(const std::string& seamPath) = 0;
  // Where the tool's loader believes the executable to be (seam spelling).
  virtual void SetModulePath(const std::string& seamPath) = 0;
  virtual void SetWindowsDirectory(const std::string& seamPath) = 0;
};

std::unique_ptr<HostPlatform> MakeHostPlatform();

}  // namespace kvr::pack
