// An in-memory PC: every interface of the seam, wired together, with one
// virtual clock. Tests set it up, run the tool on it and read its logs.
#pragma once

#include "FakeDesktop.h"
#include "FakeFiles.h"
#include "FakeProfile.h"
#include "FakeRegistry.h"
#include "FakeSystem.h"
#include "platform/Platform.h"

namespace kvr::fake {

struct FakePlatform {
  FakeProcess process;
  FakeMessages messages{process};
  FakeClock clock;
  FakeFiles files;
  FakeProfile profile{files};
  FakeRegistry registry;
  FakeDesktop desktop{clock};
  Platform platform{process, messages, clock, profile, files, registry, desktop};

  // A PC with its Windows directory and the tool's folder, and nothing else.
  FakePlatform() {
    files.addFolder(process.windowsDir);
    files.addFolder(FakeFiles::Parent(*process.modulePath));
  }
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  // A Japanese user: UI language 1041, ANSI code page 932.
  void useJapanese() {
    process.uiLanguage = 1041;
    process.codePage = 932;
  }
};

}  // namespace kvr::fake
