// Conversion between the text encodings kvrPack meets: UTF-8 (descriptions,
// the console on Linux), Shift-JIS (code page 932, every Japanese value of
// the settings files) and the host's ANSI code page (paths handed to the
// tool's Windows calls; UTF-8 on Linux).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvr::pack {

enum class TextEncoding { kUtf8, kShiftJis, kAnsi };

// `text` converted from one encoding to the other. nullopt when the bytes are
// not valid in `from` or a character has no exact counterpart in `to` (no
// replacement character and no best-fit guess is ever produced).
std::optional<std::string> ConvertText(std::string_view text, TextEncoding from, TextEncoding to);

}  // namespace kvr::pack
