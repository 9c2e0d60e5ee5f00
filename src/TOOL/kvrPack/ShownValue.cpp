#include "ShownValue.h"

#include <cstdio>

#include "TextEncoding.h"

namespace kvr::pack {
namespace {

std::string Escaped(std::string_view text, bool escapeHigh) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || (escapeHigh && byte >= 0x80)) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

ShownValue ShowValue(std::string_view plain, bool raw) {
  if (raw) return ShownValue{std::string(plain), false};
  if (const auto utf8 = ConvertText(plain, TextEncoding::kShiftJis, TextEncoding::kUtf8))
    return ShownValue{Escaped(*utf8, false), false};
  return ShownValue{Escaped(plain, true), true};
}

}  // namespace kvr::pack
