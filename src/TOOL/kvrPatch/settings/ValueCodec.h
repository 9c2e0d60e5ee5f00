// The reversible encoding of every settings value: each plain byte becomes two
// characters of a 16-character table whose order rotates after every byte,
// framed by a start character and a trailing check character.
#pragma once

#include <cstddef>

namespace kvr {

// mode '+' encodes `input` into `output`; any other mode decodes. `capacity`
// counts characters including the terminator. Returns 0 on success (output
// zero-terminated), -1 on failure (output contents undefined, never written
// past `capacity`).
int ValueCodec(char mode, const char* input, char* output, std::size_t capacity);

}  // namespace kvr
