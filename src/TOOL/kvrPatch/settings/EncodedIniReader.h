// Reads one encoded key of a settings file and decodes it, falling back to a
// default.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Platform.h"
#include "settings/FixedText.h"

namespace kvr {

// What the profile read hands back at most (GetPrivateProfileStringA with a
// buffer of 1024 characters).
constexpr std::size_t kProfileReadCapacity = 1024;

// Stores the decoded value of [section] key in `output` (capacity including
// the terminator) and returns 0; when the key is missing, empty or does not
// decode into the capacity, stores `defaultText` cut to capacity-1 and
// returns -1. With capacity 0 nothing is written.
int EncodedIniReader(Profile& profile, const char* section, const char* key,
                     const char* defaultText, char* output, std::size_t capacity, const char* path);

// The same into a field of the run's record, with the field's width as the
// capacity. The field holds the decoded text up to its first 0 byte.
template <std::size_t N>
int EncodedIniReader(Profile& profile, const char* section, const char* key,
                     const char* defaultText, FixedText<N>& field, const char* path) {
  char buffer[N];
  const int result = EncodedIniReader(profile, section, key, defaultText, buffer, N, path);
  field.assign(static_cast<const char*>(buffer));
  return result;
}

// A number key: its decoded text (up to 259 characters, or `defaultText`)
// read as a signed decimal.
std::int32_t ReadEncodedNumber(Profile& profile, const char* section, const char* key,
                               const char* defaultText, const char* path);

}  // namespace kvr
