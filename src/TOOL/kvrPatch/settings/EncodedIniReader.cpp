#include "settings/EncodedIniReader.h"

#include <algorithm>
#include <string>

#include "settings/TextRules.h"
#include "settings/ValueCodec.h"

namespace kvr {
namespace {

// lstrcpynA: at most capacity-1 bytes of `text` and a terminator.
void CopyBounded(char* output, std::size_t capacity, const char* text) {
  if (capacity == 0) return;
  std::size_t i = 0;
  if (text != nullptr)
    for (; i + 1 < capacity && text[i] != '\0'; ++i) output[i] = text[i];
  output[i] = '\0';
}

}  // namespace

int EncodedIniReader(Profile& profile, const char* section, const char* key,
                     const char* defaultText, char* output, std::size_t capacity,
                     const char* path) {
  std::string value = profile.read(section, key, path);
  // The value as a zero-terminated text of at most 1023 characters, as the
  // read buffer of 1024 would hold it.
  value.resize(std::min({value.find('\0'), value.size(), kProfileReadCapacity - 1}));
  if (!value.empty() && capacity > 0 && ValueCodec('-', value.c_str(), output, capacity) == 0)
    return 0;
  CopyBounded(output, capacity, defaultText);
  return -1;
}

std::int32_t ReadEncodedNumber(Profile& profile, const char* section, const char* key,
                               const char* defaultText, const char* path) {
  FixedText<260> text;
  EncodedIniReader(profile, section, key, defaultText, text, path);
  return ParseSettingsNumber(text.view());
}

}  // namespace kvr
