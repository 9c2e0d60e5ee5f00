// A text field of fixed width N (bytes, terminator included), as the run's
// record keeps it. Every write is bounded: at most N-1 bytes and a terminator,
// and the writer is told when the text did not fit.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace kvr {

template <std::size_t N>
class FixedText {
  static_assert(N >= 1, "a text needs room for its terminator");

 public:
  static constexpr std::size_t kCapacity = N;

  FixedText() = default;
  explicit FixedText(std::string_view text) { assign(text); }

  const char* c_str() const { return text_; }
  std::size_t size() const { return std::strlen(text_); }
  bool empty() const { return text_[0] == '\0'; }
  std::string str() const { return std::string(text_); }
  std::string_view view() const { return std::string_view(text_); }

  void clear() { std::memset(text_, 0, N); }

  // Copies the text up to its first NUL byte. Returns false, keeping the first
  // N-1 bytes, when it did not fit.
  bool assign(std::string_view text) {
    clear();
    return append(text);
  }
  bool assign(const char* text) { return assign(std::string_view(text ? text : "")); }

  // Appends up to the first NUL byte of `text`; false (appending what fits)
  // when it did not fit.
  bool append(std::string_view text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    const std::size_t used = size();
    const std::size_t room = N - 1 - used;
    const std::size_t take = text.size() < room ? text.size() : room;
    std::memcpy(text_ + used, text.data(), take);
    text_[used + take] = '\0';
    return take == text.size();
  }

  bool operator==(std::string_view other) const { return view() == other; }
  bool operator!=(std::string_view other) const { return view() != other; }

 private:
  char text_[N] = {};
};

}  // namespace kvr
