// Composes a message: each "%s" (flags such as "% s" change nothing for a
// text) takes the next argument; the result is cut at the text's bound on a
// character boundary, never past it.
#pragma once

#include <initializer_list>
#include <string>

#include "platform/Platform.h"
#include "settings/FixedText.h"

namespace kvr {

// The format with its placeholders filled, unbounded. A placeholder with no
// argument left is filled with the empty text; any other '%' stays as it is.
std::string FillPlaceholders(const char* format, std::initializer_list<const char*> arguments);

// Copies as many whole characters of `text` as fit N-1 bytes into `out`.
// Returns false when something was cut.
template <std::size_t N>
bool FitText(const std::string& text, FixedText<N>& out, Process& process) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t length = process.charLength(text.c_str() + end);
    if (length == 0 || end + length > N - 1) break;
    end += length;
  }
  out.assign(std::string_view(text.data(), end));
  return end == text.size();
}

template <std::size_t N>
bool ComposeMessage(FixedText<N>& out, const char* format,
                    std::initializer_list<const char*> arguments, Process& process) {
  return FitText(FillPlaceholders(format, arguments), out, process);
}

}  // namespace kvr
