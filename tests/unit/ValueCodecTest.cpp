// ValueCodec: both directions, the capacity rules, the check
// character, an odd length (rejected) and the -1 rule for pair
// characters outside the table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "FakeSystem.h"
#include "settings/ValueCodec.h"

namespace kvr {
namespace {

constexpr char kTable[] = "K%5T)?P*2Z:B;8W_";
constexpr char kGuard = '\x7F';

// An independent check character: W(text) mod 16 taken from the table.
char CheckCharFor(const std::string& text) {
  unsigned long sum = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    sum += (i + 1) * static_cast<unsigned char>(text[i]);
  return kTable[sum % 16];
}

// Runs the codec into a buffer of `capacity` followed by guard bytes; fails
// the test when anything past `capacity` was written.
struct CodecRun {
  int result;
  std::string output;  // the capacity's bytes, up to the first 0 when result is 0
  std::vector<char> raw;
};
CodecRun Codec(char mode, const std::string& input, std::size_t capacity) {
  std::vector<char> buffer(capacity + 16, kGuard);
  const int result = ValueCodec(mode, input.c_str(), buffer.data(), capacity);
  for (std::size_t i = capacity; i < buffer.size(); ++i)
    EXPECT_EQ(buffer[i], kGuard) << "written past capacity " << capacity << " at " << i;
  buffer.resize(capacity);
  CodecRun run{result, {}, buffer};
  if (result == 0) run.output = std::string(buffer.data());
  return run;
}

std::string Encode(const std::string& plain) {
  const CodecRun run = Codec('+', plain, 2 * plain.size() + 3);
  EXPECT_EQ(run.result, 0);
  return run.output;
}

// Decodes into exactly enough room and returns every decoded byte, 0 bytes
// included.
std::string DecodeBytes(const std::string& encoded) {
  const std::size_t pairs = (encoded.size() - 2) / 2;
  const CodecRun run = Codec('-', encoded, pairs + 1);
  EXPECT_EQ(run.result, 0) << encoded;
  if (run.result != 0) return std::string();
  EXPECT_EQ(run.raw[pairs], '\0');
  return std::string(run.raw.data(), pairs);
}

struct Vector {
  std::string plain;
  const char* encoded;
};

TEST(ValueCodecTest, MatchesTheIndependentVectors) {
  const Vector vectors[] = {
      {"", "KB"},
      {"0", "KTK)"},
      {"3", "TPP)"},
      {"x86", ":%5WT_5K"},
      {"KOVRASTUDIO", "%?;P%2ZZPZPBZ;B8888WT_:?"},
      {std::string("\xFF\x00\x80", 3), "_WWKKZ%)"},
      {fake::Sjis("ORSA未インストール"), "5P%2?Z*ZP_;%ZKB8;58)W)_5?P%?P2%P;:?BWZ"},
  };
  for (const Vector& v : vectors) {
    SCOPED_TRACE(v.encoded);
    EXPECT_EQ(EncodeValue(v.plain), v.encoded);
    if (v.plain.find('\0') == std::string::npos) {
      EXPECT_EQ(Encode(v.plain), v.encoded);
    }
    EXPECT_EQ(DecodeBytes(v.encoded), v.plain);
  }
  EXPECT_EQ(fake::Sjis("ORSA未インストール").size(), 18u);
}

TEST(ValueCodecTest, EveryByteValueRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    const std::string plain(1, static_cast<char>(b));
    const std::string encoded = EncodeValue(plain);
    ASSERT_EQ(encoded.size(), 4u);
    EXPECT_EQ(DecodeBytes(encoded), plain) << b;
    if (b != 0) {
      EXPECT_EQ(Encode(plain), encoded) << b;
    }
  }
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(DecodeBytes(Encode(all)), all);
  std::string withZeros;
  for (int i = 0; i < 512; ++i) withZeros += static_cast<char>(i * 37);
  EXPECT_EQ(DecodeBytes(EncodeValue(withZeros)), withZeros);
}

TEST(ValueCodecTest, ShiftJisTextRoundTrips) {
  for (const char* utf8 :
       {"インストーラ生成ソフト", "ログ情報管理ソフト", "ソ表能", "パッチ・SP適用ファイル"}) {
    const std::string plain = fake::Sjis(utf8);
    EXPECT_EQ(DecodeBytes(Encode(plain)), plain) << utf8;
  }
}

TEST(ValueCodecTest, EncodedTextHasTableCharactersOnlyAndLength2nPlus2) {
  for (std::size_t n : {0u, 1u, 2u, 17u, 255u, 510u}) {
    std::string plain;
    for (std::size_t i = 0; i < n; ++i) plain += static_cast<char>('A' + i % 26);
    const std::string encoded = Encode(plain);
    EXPECT_EQ(encoded.size(), 2 * n + 2);
    EXPECT_EQ(encoded.find_first_not_of(kTable), std::string::npos);
  }
}

TEST(ValueCodecTest, EncodingNeedsCapacity2nPlus3) {
  for (std::size_t n : {0u, 1u, 3u, 100u}) {
    const std::string plain(n, 'z');
    EXPECT_EQ(Codec('+', plain, 2 * n + 3).result, 0) << n;
    EXPECT_EQ(Codec('+', plain, 2 * n + 2).result, -1) << n;
    EXPECT_EQ(Codec('+', plain, 0).result, -1) << n;
  }
}

TEST(ValueCodecTest, DecodingNeedsCapacityPairsPlusOne) {
  for (std::size_t n : {0u, 1u, 3u, 100u}) {
    const std::string encoded = Encode(std::string(n, 'z'));
    EXPECT_EQ(Codec('-', encoded, n + 1).result, 0) << n;
    EXPECT_EQ(Codec('-', encoded, n).result, -1) << n;
  }
  EXPECT_EQ(Codec('-', "KB", 0).result, -1);
}

TEST(ValueCodecTest, AnyOtherCheckCharacterFails) {
  const std::string encoded = Encode("KOVRASTUDIO");
  for (char c : std::string(kTable)) {
    std::string tampered = encoded;
    tampered.back() = c;
    EXPECT_EQ(Codec('-', tampered, 64).result, c == encoded.back() ? 0 : -1) << c;
  }
  std::string outside = encoded;
  outside.back() = 'A';
  EXPECT_EQ(Codec('-', outside, 64).result, -1);
}

TEST(ValueCodecTest, StartCharacterOutsideTheTableFails) {
  const std::string encoded = Encode("x86");
  for (char c : {'A', 'a', '0', '=', ' ', '"', '\x83'}) {
    std::string tampered = encoded;
    tampered[0] = c;
    // Even with a check character that matches the new text.
    tampered.back() = CheckCharFor(tampered.substr(0, tampered.size() - 1));
    EXPECT_EQ(Codec('-', tampered, 64).result, -1) << c;
  }
}

TEST(ValueCodecTest, TextsShorterThanTwoFail) {
  EXPECT_EQ(Codec('-', "", 64).result, -1);
  for (char c : std::string(kTable)) EXPECT_EQ(Codec('-', std::string(1, c), 64).result, -1);
}

TEST(ValueCodecTest, OddLengthIsRejectedEvenWhenTheCheckMatches) {
  // Rejected: start, 2n + 1 characters, check character that matches.
  for (const std::string body : {"K5", "TPPK", "K%5T)?", ":%5WT_5K"}) {
    const std::string odd = body + CheckCharFor(body);
    ASSERT_EQ(odd.size() % 2, 1u);
    EXPECT_EQ(Codec('-', odd, 64).result, -1) << odd;
  }
}

TEST(ValueCodecTest, EveryModeButPlusDecodes) {
  for (char mode : {'-', 'd', 'D', '\0', '*', ',', '\xFF'}) {
    const CodecRun run = Codec(mode, "TPP)", 8);
    EXPECT_EQ(run.result, 0) << static_cast<int>(mode);
    EXPECT_EQ(run.output, "3");
  }
  EXPECT_EQ(Codec('+', "TPP)", 16).output, Encode("TPP)"));
}

TEST(ValueCodecTest, PairCharacterOutsideTheTableCountsMinusOne) {
  // Start 'K' (s = 0); byte k's working position of table[j] is (j - k) mod 16.
  struct Case {
    std::string pairs;
    std::vector<unsigned char> bytes;
  };
  const Case cases[] = {
      // High outside: as position 15. Low 'T' at position 3: 16 * 15 + 3.
      {"AT", {0xF3}},
      // Low outside: 16 * high - 1. High '5' at 2: 31.
      {"5A", {0x1F}},
      // Both outside: 16 * -1 - 1 = -17, 239 modulo 256.
      {"!!", {0xEF}},
      // High '5' at 2 and low 'K' at 0 as 0x20; then, rotated by one, '%' is at
      // 0 and a low character outside gives 16 * 0 - 1 = 255.
      {"5K%a", {0x20, 0xFF}},
  };
  for (const Case& c : cases) {
    const std::string body = "K" + c.pairs;
    const std::string encoded = body + CheckCharFor(body);
    const CodecRun run = Codec('-', encoded, 16);
    ASSERT_EQ(run.result, 0) << encoded;
    for (std::size_t i = 0; i < c.bytes.size(); ++i)
      EXPECT_EQ(static_cast<unsigned char>(run.raw[i]), c.bytes[i]) << encoded << " byte " << i;
    EXPECT_EQ(run.raw[c.bytes.size()], '\0');
  }
}

TEST(ValueCodecTest, DecodedZeroByteEndsTheTextAsCallersSeeIt) {
  const CodecRun run = Codec('-', EncodeValue(std::string("ab\0cd", 5)), 16);
  ASSERT_EQ(run.result, 0);
  EXPECT_EQ(run.output, "ab");
  EXPECT_EQ(std::string(run.raw.data(), 5), std::string("ab\0cd", 5));
}

TEST(ValueCodecTest, DecoderDoesNotCompareStartWithDecodedText) {
  // The start character only sets the rotation: another start character with
  // a matching check decodes (to other bytes) without failing.
  std::string encoded = Encode("3");
  encoded[0] = 'K';
  encoded.back() = CheckCharFor(encoded.substr(0, encoded.size() - 1));
  EXPECT_EQ(Codec('-', encoded, 8).result, 0);
}

TEST(ValueCodecTest, NullTextsFail) {
  char out[8];
  EXPECT_EQ(ValueCodec('-', nullptr, out, sizeof out), -1);
  EXPECT_EQ(ValueCodec('+', "3", nullptr, 8), -1);
}

TEST(ValueCodecTest, LongTextsRoundTrip) {
  // Far past anything a settings file carries: the sums stay exact.
  std::string plain(200000, '\0');
  for (std::size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<char>(255 - i % 251);
  const std::string encoded = EncodeValue(plain);
  std::vector<char> out(plain.size() + 1);
  ASSERT_EQ(ValueCodec('-', encoded.c_str(), out.data(), out.size()), 0);
  EXPECT_EQ(std::string(out.data(), plain.size()), plain);
}

}  // namespace
}  // namespace kvr
