#include "settings/ValueCodec.h"

#include <cstring>

namespace kvr {
namespace {

constexpr unsigned kTableSize = 16;

// Position of `c` in the substitution table, or -1.
int Position(char c) {
  for (unsigned i = 0; i < kTableSize; ++i)
    if (kValueCodecTable[i] == c) return static_cast<int>(i);
  return -1;
}

// Appends the weighted sum's term for the character at 0-based index `i` to
// `sum`, modulo 16. W mod 16 only depends on each term mod 16, so this never
// overflows, whatever the length.
unsigned AddWeighted(unsigned sum, std::size_t i, unsigned char byte) {
  return (sum + static_cast<unsigned>((i + 1) % kTableSize) * byte) % kTableSize;
}

// Writes the 2n + 2 characters of the encoding of `plain` (n bytes) and a
// terminator. REQUIRES: `out` has room for 2n + 3 characters.
void EncodeInto(const unsigned char* plain, std::size_t n, char* out) {
  unsigned s = 0;
  for (std::size_t i = 0; i < n; ++i) s = AddWeighted(s, i, plain[i]);

  std::size_t at = 0;
  out[at++] = kValueCodecTable[s];
  // The working table is the table rotated left by s + k places for byte k, so
  // the character for nibble v of byte k is table[(s + k + v) mod 16].
  for (std::size_t k = 0; k < n; ++k) {
    const unsigned rotation = static_cast<unsigned>((s + k) % kTableSize);
    out[at++] = kValueCodecTable[(rotation + (plain[k] >> 4)) % kTableSize];
    out[at++] = kValueCodecTable[(rotation + (plain[k] & 0x0F)) % kTableSize];
  }
  unsigned q = 0;
  for (std::size_t i = 0; i < at; ++i) q = AddWeighted(q, i, static_cast<unsigned char>(out[i]));
  out[at++] = kValueCodecTable[q];
  out[at] = '\0';
}

int Encode(const char* input, char* output, std::size_t capacity) {
  const std::size_t n = std::strlen(input);
  // capacity < 2n + 3, written so that it cannot overflow.
  if (capacity < 3 || (capacity - 3) / 2 < n) return -1;
  EncodeInto(reinterpret_cast<const unsigned char*>(input), n, output);
  return 0;
}

int Decode(const char* input, char* output, std::size_t capacity) {
  const std::size_t length = std::strlen(input);
  if (length < 2) return -1;
  // The encoder never writes an odd length; such a text is rejected.
  if (length % 2 != 0) return -1;
  const int start = Position(input[0]);
  if (start < 0) return -1;

  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < length; ++i)
    sum = AddWeighted(sum, i, static_cast<unsigned char>(input[i]));
  if (Position(input[length - 1]) != static_cast<int>(sum)) return -1;

  const std::size_t pairs = (length - 2) / 2;
  if (capacity == 0 || pairs > capacity - 1) return -1;

  for (std::size_t k = 0; k < pairs; ++k) {
    const int rotation = static_cast<int>((static_cast<std::size_t>(start) + k) % kTableSize);
    // Position in the working table; a character outside the table counts -1.
    auto working = [rotation](char c) {
      const int p = Position(c);
      return p < 0 ? -1
                   : (p - rotation + static_cast<int>(kTableSize)) % static_cast<int>(kTableSize);
    };
    const int high = working(input[1 + 2 * k]);
    const int low = working(input[2 + 2 * k]);
    // (16 x high + low) mod 256, the ordinary remainder, for high or low -1.
    const int byte = ((16 * high + low) % 256 + 256) % 256;
    output[k] = static_cast<char>(static_cast<unsigned char>(byte));
  }
  output[pairs] = '\0';
  return 0;
}

}  // namespace

int ValueCodec(char mode, const char* input, char* output, std::size_t capacity) {
  if (input == nullptr || output == nullptr) return -1;
  return mode == '+' ? Encode(input, output, capacity) : Decode(input, output, capacity);
}

std::string EncodeValue(std::string_view plain) {
  std::string out(2 * plain.size() + 3, '\0');
  EncodeInto(reinterpret_cast<const unsigned char*>(plain.data()), plain.size(), out.data());
  out.resize(2 * plain.size() + 2);
  return out;
}

}  // namespace kvr
