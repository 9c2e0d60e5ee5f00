// The fake PC's process facts, clock and message boxes.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kvr::fake {

// Converts UTF-8 text to the bytes of code page 932 (Shift-JIS). Throws on
// text that has no such bytes.
std::string Sjis(const std::string& utf8);

class FakeProcess : public Process {
 public:
  std::optional<std::string> modulePath = std::string("C:\\patch\\kvrPatch.exe");
  std::uint16_t uiLanguage = 1033;
  unsigned codePage = 1252;  // 932 makes Shift-JIS lead bytes start double-byte characters
  std::string windowsDir = "C:\\WINDOWS";
  // Named mutexes that exist on the PC (another copy of the tool holds them).
  std::set<std::string> existingMutexes;
  bool mutexFails = false;
  std::vector<std::string> mutexesTaken;

  std::optional<std::string> moduleFileName() override {
    if (modulePath && modulePath->size() > 259) return std::nullopt;
    return modulePath;
  }
  std::uint16_t userUiLanguage() override { return uiLanguage; }
  std::string windowsDirectory() override { return windowsDir; }
  MutexResult takeNamedMutex(const char* name) override;
  std::size_t charLength(const char* text) override;
};

class FakeClock : public Clock {
 public:
  std::uint64_t nowMs = 0;
  std::vector<std::uint32_t> sleeps;
  void sleepMs(std::uint32_t ms) override {
    sleeps.push_back(ms);
    nowMs += ms;
  }
  std::uint64_t totalSleptMs() const {
    std::uint64_t total = 0;
    for (auto s : sleeps) total += s;
    return total;
  }
};

struct ShownBox {
  std::string text;
  std::string caption;
  std::uint32_t style;
};

class FakeMessages : public Messages {
 public:
  explicit FakeMessages(FakeProcess& process) : process_(process) {}
  // Answers for the next boxes, in order; a box with nothing queued gets IDOK.
  std::deque<int> answers;
  // Called while a box is "open", before its answer is taken.
  std::function<void(const ShownBox&)> whileShown;
  std::vector<ShownBox> shown;
  std::vector<unsigned> loads;

  // The catalogue text of `id` for the fake's UI language, as Windows would
  // hand it out (Japanese in Shift-JIS).
  std::string catalogueText(unsigned id) const;

  std::string loadString(unsigned id, std::size_t capacity) override;
  int showBox(const char* text, const char* caption, std::uint32_t style) override;

 private:
  FakeProcess& process_;
};

}  // namespace kvr::fake
