#include "settings/TextRules.h"

#include <limits>

namespace kvr {

std::int32_t ParseSettingsNumber(std::string_view text) {
  std::size_t i = 0;
  auto isSpace = [](char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
  };
  while (i < text.size() && isSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // Accumulated as a magnitude that stops growing once it is past either end.
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMinMagnitude = kMax + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kMinMagnitude) magnitude = kMinMagnitude + 1;
  }
  if (negative) {
    return magnitude >= kMinMagnitude ? std::numeric_limits<std::int32_t>::min()
                                      : static_cast<std::int32_t>(-magnitude);
  }
  return magnitude > kMax ? std::numeric_limits<std::int32_t>::max()
                          : static_cast<std::int32_t>(magnitude);
}

std::vector<std::string_view> SplitFields(std::string_view line, std::size_t maxFields) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (fields.size() < maxFields) {
    while (i < line.size() && line[i] == ',') ++i;
    if (i >= line.size()) break;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ',') ++i;
    fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

}  // namespace kvr
