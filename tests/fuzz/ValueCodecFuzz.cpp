// ValueCodec on arbitrary bytes. The input is taken twice:
// - as an encoded text (up to its first 0 byte, as a settings file hands it
//   over), decoded into buffers of several exact capacities and compared with
//   a reference decoder written straight from the rotating-table description;
// - as plain bytes, encoded and decoded back, which must give the same bytes.
// Every output buffer is a heap block of exactly its capacity, so a write
// past it is caught by AddressSanitizer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/ValueCodec.h"

namespace {

constexpr char kTable[] = "K%5T)?P*2Z:B;8W_";

void Require(bool condition) {
  if (!condition) std::abort();
}

int PositionIn(const char* table, char c) {
  for (int i = 0; i < 16; ++i)
    if (table[i] == c) return i;
  return -1;
}

// A working table rotated left by one place.
void RotateLeft(char* working) {
  const char first = working[0];
  std::memmove(working, working + 1, 15);
  working[15] = first;
}

unsigned WeightedSum(const std::string& text, std::size_t count) {
  unsigned long sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum += (i + 1) * static_cast<unsigned char>(text[i]);
  return static_cast<unsigned>(sum % 16);
}

// The decoded bytes, or nullopt for a text the decoder must reject. A text of
// odd length is rejected, as the tool chooses.
std::optional<std::string> ReferenceDecode(const std::string& e, std::size_t capacity) {
  const std::size_t length = e.size();
  if (length < 2 || length % 2 != 0) return std::nullopt;
  const int start = PositionIn(kTable, e[0]);
  if (start < 0) return std::nullopt;
  if (PositionIn(kTable, e[length - 1]) != static_cast<int>(WeightedSum(e, length - 1)))
    return std::nullopt;
  const std::size_t pairs = (length - 2) / 2;
  if (capacity == 0 || pairs > capacity - 1) return std::nullopt;

  char working[16];
  for (int j = 0; j < 16; ++j) working[j] = kTable[(j + start) % 16];
  std::string out;
  for (std::size_t k = 0; k < pairs; ++k) {
    const int high = PositionIn(working, e[1 + 2 * k]);
    const int low = PositionIn(working, e[2 + 2 * k]);
    out += static_cast<char>(static_cast<unsigned char>(((16 * high + low) % 256 + 256) % 256));
    RotateLeft(working);
  }
  return out;
}

std::string ReferenceEncode(const std::string& p) {
  const unsigned s = WeightedSum(p, p.size());
  char working[16];
  for (int j = 0; j < 16; ++j) working[j] = kTable[(j + s) % 16];
  std::string out(1, kTable[s]);
  for (unsigned char b : p) {
    out += working[b / 16];
    out += working[b % 16];
    RotateLeft(working);
  }
  out += kTable[WeightedSum(out, out.size())];
  return out;
}

// Runs the codec into a heap block of exactly `capacity` bytes; the whole
// block on success (the caller knows how much is text), nullopt on failure.
std::optional<std::vector<char>> Run(char mode, const std::string& input, std::size_t capacity) {
  std::unique_ptr<char[]> block(new char[capacity]);
  const int result = kvr::ValueCodec(mode, input.c_str(), block.get(), capacity);
  Require(result == 0 || result == -1);
  if (result != 0) return std::nullopt;
  return std::vector<char>(block.get(), block.get() + capacity);
}

void CheckDecode(const std::string& encoded) {
  const std::size_t pairs = encoded.size() >= 2 ? (encoded.size() - 2) / 2 : 0;
  for (std::size_t capacity :
       {std::size_t{0}, std::size_t{1}, pairs, pairs + 1, std::size_t{1024}}) {
    const std::optional<std::string> expected = ReferenceDecode(encoded, capacity);
    // Any mode other than '+' decodes.
    for (char mode : {'-', '\0', 'x'}) {
      const std::optional<std::vector<char>> got = Run(mode, encoded, capacity);
      Require(got.has_value() == expected.has_value());
      if (!got) continue;
      Require(std::memcmp(got->data(), expected->data(), expected->size()) == 0);
      Require((*got)[expected->size()] == '\0');
    }
  }
}

void CheckRoundTrip(const std::string& plain) {
  const std::string encoded = kvr::EncodeValue(plain);
  Require(encoded.size() == 2 * plain.size() + 2);
  Require(encoded == ReferenceEncode(plain));
  // Decoding needs exactly one byte per pair and the terminator.
  const std::optional<std::vector<char>> back = Run('-', encoded, plain.size() + 1);
  Require(back.has_value());
  Require(std::memcmp(back->data(), plain.data(), plain.size()) == 0);
  Require(!Run('-', encoded, plain.size()).has_value());

  // The zero-terminated encoder agrees, and needs exactly 2n + 3.
  const std::string text = plain.substr(0, plain.find('\0'));
  const std::optional<std::vector<char>> viaCodec = Run('+', text, 2 * text.size() + 3);
  Require(viaCodec.has_value());
  Require(std::string(viaCodec->data()) == kvr::EncodeValue(text));
  Require(!Run('+', text, 2 * text.size() + 2).has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckDecode(bytes.substr(0, bytes.find('\0')));
  CheckRoundTrip(bytes);
  return 0;
}
