#include "steps/ProductCloser.h"

#include <cstring>

namespace kvr {
namespace {

// The main product's window is known by its class; the other products'
// windows by their titles (Shift-JIS).
constexpr char kMainWindowClass[] = "KOVRA";
constexpr const char* kCreatorTitles[] = {
    // "installer creation software"
    "\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x89\x90\xb6\x90\xac\x83\x5c\x83\x74\x83\x67",
    // the security-enhanced edition of it
    "\x83\x5a\x83\x4c\x83\x85\x83\x8a\x83\x65\x83\x42\x8b\xad\x89\xbb\x94\xc5\x83\x43\x83\x93\x83"
    "\x58\x83\x67\x81\x5b\x83\x89\x90\xb6\x90\xac\x83\x5c\x83\x74\x83\x67",
};
constexpr const char* kLogManagerTitles[] = {
    // "log information management"
    "\x83\x8d\x83\x4f\x8f\xee\x95\xf1\x8a\xc7\x97\x9d",
    // its login window; the words are parted by one ASCII space
    "\x83\x8d\x83\x4f\x8f\xee\x95\xf1\x8a\xc7\x97\x9d\x20\x83\x8d\x83\x4f\x83\x43\x83\x93",
};

constexpr int kRounds = 10;
constexpr std::uint32_t kRoundMs = 1000;
constexpr std::uint32_t kSettleMs = 3000;

Outcome CloseBoth(const char* const (&titles)[2], Desktop& desktop, Clock& clock) {
  // Both windows are always handled, even when the first stays.
  const Outcome first = CloseProductWindow(titles[0], desktop, clock);
  const Outcome second = CloseProductWindow(titles[1], desktop, clock);
  return first == 0 && second == 0 ? outcome::kSuccess : outcome::kProductRunning;
}

}  // namespace

Outcome CloseProductWindow(const char* name, Desktop& desktop, Clock& clock) {
  return CatchAtEdge([&]() -> Outcome {
    const bool byClass = std::strcmp(name, kMainWindowClass) == 0;
    auto lookUp = [&] { return byClass ? desktop.findByClass(name) : desktop.findByTitle(name); };

    // Only the window found first is asked to quit; whether the post arrived
    // shows in the lookups that follow.
    const WindowId found = lookUp();
    if (found != 0) {
      desktop.postQuit(found);
      for (int round = 0; round < kRounds; ++round) {
        clock.sleepMs(kRoundMs);
        if (lookUp() == 0) break;
      }
    }
    // The final lookup is made in every case: a window of that name that is
    // there now, asked or not, keeps the product running.
    if (lookUp() != 0) return outcome::kProductRunning;
    clock.sleepMs(kSettleMs);  // lets the quitting program release its files
    return outcome::kSuccess;
  });
}

Outcome ProductCloser(const RunContext& context, Desktop& desktop, Clock& clock) {
  return CatchAtEdge([&]() -> Outcome {
    switch (context.TargetKind()) {
      case '0':
      case '1':
        return CloseProductWindow(kMainWindowClass, desktop, clock);
      case '2':
        return CloseBoth(kCreatorTitles, desktop, clock);
      case '3':
        return CloseBoth(kLogManagerTitles, desktop, clock);
      default:
        return outcome::kSuccess;
    }
  });
}

}  // namespace kvr
