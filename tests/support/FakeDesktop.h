// Top-level windows of the fake PC, appearing and vanishing on a script in the
// fake clock's virtual time; logs every lookup and posted message.
//
// Class names and titles match as FindWindow matches them: without regard to
// ASCII letter case, double-byte characters (code page 932) byte for byte.
// When several windows match, the one opened first is found.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "FakeSystem.h"
#include "platform/Platform.h"

namespace kvr::fake {

class FakeDesktop : public Desktop {
 public:
  static constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();

  explicit FakeDesktop(FakeClock& clock) : clock_(clock) {}

  // --- Test set-up and inspection -----------------------------------------
  // A window that exists from `fromMs` (inclusive) until `untilMs` (exclusive)
  // of the clock's virtual time. By default its program ignores WM_QUIT.
  WindowId open(const std::string& className, const std::string& title, std::uint64_t fromMs = 0,
                std::uint64_t untilMs = kNever);
  // The window's program quits `delayMs` after WM_QUIT is posted to it.
  void quitsAfterPost(WindowId window, std::uint64_t delayMs);
  // Whether the window exists at the clock's current time.
  bool exists(WindowId window) const;

  // Called before every lookup with its number (0 for the first), so a test
  // can open or close windows between two lookups that no sleep separates.
  std::function<void(std::size_t lookup)> beforeLookup;

  // Every lookup made, one line each: "class KOVRA", "title <bytes>".
  const std::vector<std::string>& lookups() const { return lookups_; }
  // Every window WM_QUIT was posted to, in order.
  const std::vector<WindowId>& posts() const { return posts_; }

  // --- Desktop ---------------------------------------------------------------
  WindowId findByClass(const char* className) override;
  WindowId findByTitle(const char* title) override;
  bool postQuit(WindowId window) override;

 private:
  struct Window {
    std::string className;
    std::string title;
    std::uint64_t fromMs;
    std::uint64_t untilMs;
    std::optional<std::uint64_t> quitDelayMs;
  };
  static constexpr WindowId kFirstId = 0x10010;
  static bool SameName(const std::string& a, const std::string& b);
  const Window* at(WindowId window) const;
  WindowId find(bool byClass, const std::string& name) const;

  FakeClock& clock_;
  std::vector<Window> windows_;  // id = kFirstId + index
  std::vector<std::string> lookups_;
  std::vector<WindowId> posts_;
};

}  // namespace kvr::fake
