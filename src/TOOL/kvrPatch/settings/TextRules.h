// The number and line rules of the settings files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

// Signed decimal: leading white space skipped, one optional sign, digits up to
// the first other character; no digit gives 0; clamped to the 32-bit range.
std::int32_t ParseSettingsNumber(std::string_view text);

// Splits a list line at commas. A run of commas is one separator and commas at
// the start are skipped, so no field is empty; blanks belong to the fields.
// Returns at most `maxFields` fields (the rest of the line is ignored).
std::vector<std::string_view> SplitFields(std::string_view line, std::size_t maxFields);

}  // namespace kvr
