// Top-level windows of the fake PC, appearing and vanishing on a script in the
// fake clock's virtual time; logs every lookup and posted message.
#pragma once

#include <string>
#include <vector>

#include "FakeSystem.h"
#include "platform/Platform.h"

namespace kvr::fake {

class FakeDesktop : public Desktop {
 public:
  explicit FakeDesktop(FakeClock& clock) : clock_(clock) {}
  WindowId findByClass(const char*) override { return 0; }
  WindowId findByTitle(const char*) override { return 0; }
  bool postQuit(WindowId) override { return true; }

 private:
  FakeClock& clock_;
};

}  // namespace kvr::fake
