// A settings value's plain bytes, as a UTF-8 console can show them.
#pragma once

#include <string>
#include <string_view>

namespace kvr::pack {

struct ShownValue {
  std::string text;
  bool notShiftJis = false;  // the bytes are not Shift-JIS text: shown byte by byte
};

// Shift-JIS converted to UTF-8, control characters and (when the bytes are
// not Shift-JIS) every byte above 127 written as \xNN, so nothing is hidden.
// With `raw`, the bytes as they are.
ShownValue ShowValue(std::string_view plain, bool raw);

}  // namespace kvr::pack
