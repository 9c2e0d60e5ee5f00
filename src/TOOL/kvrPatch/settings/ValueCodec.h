// The reversible encoding of every settings value: each plain byte becomes two
// characters of a 16-character table whose order rotates after every byte,
// framed by a start character and a trailing check character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kvr {

// The substitution table; a character's position in it is its value.
inline constexpr char kValueCodecTable[] = "K%5T)?P*2Z:B;8W_";

// mode '+' encodes `input` into `output`; any other mode decodes. `capacity`
// counts characters including the terminator. Returns 0 on success (output
// zero-terminated), -1 on failure (output contents undefined, never written
// past `capacity`).
// Encoding needs capacity >= 2n + 3 for n plain bytes. Decoding rejects a text
// shorter than 2 characters or of odd length (the encoder never writes one), a start character
// outside the table, a check character that does not match, and more pairs than
// capacity - 1.
int ValueCodec(char mode, const char* input, char* output, std::size_t capacity);

// The encoded text of any bytes, 0 bytes included (which ValueCodec's
// zero-terminated input cannot carry). Same algorithm as ValueCodec('+').
std::string EncodeValue(std::string_view plain);

}  // namespace kvr
