#include "FakeDesktop.h"

namespace kvr::fake {
namespace {

char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsLeadByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace

bool FakeDesktop::SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsLeadByte(a[i]) && i + 1 < a.size()) {
      // A trail byte is not a letter, whatever ASCII code it shares.
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

WindowId FakeDesktop::open(const std::string& className, const std::string& title,
                           std::uint64_t fromMs, std::uint64_t untilMs) {
  windows_.push_back(Window{className, title, fromMs, untilMs, std::nullopt});
  return kFirstId + windows_.size() - 1;
}

const FakeDesktop::Window* FakeDesktop::at(WindowId window) const {
  if (window < kFirstId || window - kFirstId >= windows_.size()) return nullptr;
  return &windows_[window - kFirstId];
}

void FakeDesktop::quitsAfterPost(WindowId window, std::uint64_t delayMs) {
  windows_.at(window - kFirstId).quitDelayMs = delayMs;
}

bool FakeDesktop::exists(WindowId window) const {
  const Window* w = at(window);
  const std::uint64_t now = clock_.nowMs;
  return w != nullptr && w->fromMs <= now && now < w->untilMs;
}

WindowId FakeDesktop::find(bool byClass, const std::string& name) const {
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    const WindowId id = kFirstId + i;
    const Window& w = windows_[i];
    if (exists(id) && SameName(byClass ? w.className : w.title, name)) return id;
  }
  return 0;
}

WindowId FakeDesktop::findByClass(const char* className) {
  if (beforeLookup) beforeLookup(lookups_.size());
  lookups_.push_back(std::string("class ") + className);
  return find(true, className);
}

WindowId FakeDesktop::findByTitle(const char* title) {
  if (beforeLookup) beforeLookup(lookups_.size());
  lookups_.push_back(std::string("title ") + title);
  return find(false, title);
}

bool FakeDesktop::postQuit(WindowId window) {
  posts_.push_back(window);
  if (!exists(window)) return false;
  Window& w = windows_[window - kFirstId];
  if (w.quitDelayMs) {
    const std::uint64_t gone = clock_.nowMs + *w.quitDelayMs;
    if (gone < w.untilMs) w.untilMs = gone;
  }
  return true;
}

}  // namespace kvr::fake
