// The message catalogue as a table of rows, for code that reads the texts
// without the resources (the fake PC, and tests that compare the built
// resources with their source).
#pragma once

namespace kvr {

struct MessageTableRow {
  unsigned id;
  const char* english;   // as written
  const char* japanese;  // UTF-8
};

inline constexpr MessageTableRow kMessageTable[] = {
#define KVR_MESSAGE(id, english, japanese) {id, english, japanese},
#include "res/Messages.def"
#undef KVR_MESSAGE
};

}  // namespace kvr
