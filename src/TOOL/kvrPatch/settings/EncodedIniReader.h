// Reads one encoded key of a settings file and decodes it, falling back to a
// default.
#pragma once

#include <cstddef>

#include "platform/Platform.h"

namespace kvr {

// Stores the decoded value of [section] key in `output` (capacity including
// the terminator) and returns 0; when the key is missing, empty or does not
// decode into the capacity, stores `defaultText` cut to capacity-1 and
// returns -1.
int EncodedIniReader(Profile& profile, const char* section, const char* key,
                     const char* defaultText, char* output, std::size_t capacity,
                     const char* path);

}  // namespace kvr
