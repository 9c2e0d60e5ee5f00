// EncodedIniReader: read through the profile, decode into the
// caller's capacity, fall back to the default with a bounded copy.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EncodedIni.h"
#include "FakePlatform.h"
#include "settings/EncodedIniReader.h"

namespace kvr {
namespace {

using testing::Enc;
using testing::EncodedIniText;
using testing::Raw;

constexpr char kPath[] = "C:\\WINDOWS\\Kovra.ini";
constexpr char kGuard = '\x7F';

class EncodedIniReaderTest : public ::testing::Test {
 protected:
  void Write(const std::vector<testing::IniEntry>& entries) {
    pc_.files.put(kPath, EncodedIniText(
                             {{"OTHER", {Enc("VERSION", "wrong section")}}, {"License", entries}}));
  }
  // Reads VERSION into `capacity` (guarded) with `defaultText`.
  std::pair<int, std::string> Read(const char* defaultText, std::size_t capacity,
                                   const char* key = "VERSION") {
    std::vector<char> out(capacity + 8, kGuard);
    const int result =
        EncodedIniReader(pc_.profile, "LICENSE", key, defaultText, out.data(), capacity, kPath);
    for (std::size_t i = capacity; i < out.size(); ++i) EXPECT_EQ(out[i], kGuard) << i;
    return {result, capacity ? std::string(out.data()) : std::string()};
  }
  fake::FakePlatform pc_;
};

TEST_F(EncodedIniReaderTest, DecodedValueIsStored) {
  Write({Enc("version", "V8.0")});
  EXPECT_EQ(Read("", 260), std::make_pair(0, std::string("V8.0")));
}

TEST_F(EncodedIniReaderTest, EncodedEmptyTextGivesEmptyNotTheDefault) {
  Write({Enc("VERSION", "")});
  EXPECT_EQ(Read("x86", 260), std::make_pair(0, std::string()));
}

TEST_F(EncodedIniReaderTest, DefaultWhenTheValueIsNotUsable) {
  const std::string tooLong(260, 'v');
  struct Case {
    const char* name;
    std::vector<testing::IniEntry> entries;
  };
  const Case cases[] = {
      {"key missing", {Enc("PLATFORM", "x64")}},
      {"key empty", {Raw("VERSION", "")}},
      {"garbage", {Raw("VERSION", "hello world")}},
      {"odd length", {Raw("VERSION", "TPP")}},
      {"one character", {Raw("VERSION", "K")}},
      {"check tampered", {Raw("VERSION", "TPPK")}},
      {"start outside table", {Raw("VERSION", "APP)")}},
      {"plain text", {Raw("VERSION", "3")}},
      {"does not fit 260", {Enc("VERSION", tooLong)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write(c.entries);
    EXPECT_EQ(Read("x86", 260), std::make_pair(-1, std::string("x86")));
  }
  pc_.files.remove(kPath);
  EXPECT_EQ(Read("0", 260), std::make_pair(-1, std::string("0"))) << "file missing";
}

TEST_F(EncodedIniReaderTest, CapacityBoundary) {
  Write({Enc("VERSION", std::string(259, 'v'))});
  EXPECT_EQ(Read("", 260).first, 0);
  EXPECT_EQ(Read("", 260).second, std::string(259, 'v'));
  EXPECT_EQ(Read("", 259), std::make_pair(-1, std::string()));
}

TEST_F(EncodedIniReaderTest, DefaultIsCutToTheCapacity) {
  EXPECT_EQ(Read("x86", 2), std::make_pair(-1, std::string("x")));
  EXPECT_EQ(Read("x86", 1), std::make_pair(-1, std::string()));
  EXPECT_EQ(Read("x86", 0).first, -1);  // nothing written at all
}

TEST_F(EncodedIniReaderTest, ReadIsCutAt1023Characters) {
  // 510 plain bytes encode to 1022 characters and come through; 511 encode to
  // 1024, which the read cuts to an odd 1023: the default.
  Write({Enc("VERSION", std::string(510, 'a')), Enc("DIR", std::string(511, 'a'))});
  EXPECT_EQ(Read("", 1024).second, std::string(510, 'a'));
  EXPECT_EQ(Read("d", 1024, "DIR"), std::make_pair(-1, std::string("d")));
}

// A profile that hands back more than GetPrivateProfileStringA could.
class OverlongProfile : public Profile {
 public:
  explicit OverlongProfile(std::string value) : value_(std::move(value)) {}
  std::string read(const char*, const char*, const char*) override { return value_; }
  bool write(const char*, const char*, const char*, const char*) override { return false; }

 private:
  std::string value_;
};

TEST(EncodedIniReaderOwnCut, ValueIsTakenAsTheFirst1023Characters) {
  // The reader holds what a 1024-character buffer would, whatever the profile.
  OverlongProfile profile(testing::EncodeForIni(std::string(511, 'a')));
  char out[1024];
  EXPECT_EQ(EncodedIniReader(profile, "S", "K", "d", out, sizeof out, kPath), -1);
  EXPECT_STREQ(out, "d");
  OverlongProfile fits(testing::EncodeForIni(std::string(510, 'a')));
  EXPECT_EQ(EncodedIniReader(fits, "S", "K", "d", out, sizeof out, kPath), 0);
  EXPECT_EQ(std::string(out), std::string(510, 'a'));
}

TEST_F(EncodedIniReaderTest, ZeroByteInsideTheDecodedTextEndsIt) {
  Write({Enc("VERSION", std::string("V8\0junk", 7))});
  EXPECT_EQ(Read("x", 260), std::make_pair(0, std::string("V8")));
}

TEST_F(EncodedIniReaderTest, FixedTextFieldTakesItsWidth) {
  Write({Enc("VERSION", std::string(254, 'v')), Enc("DIR", std::string(255, 'd'))});
  FixedText<255> field;
  EXPECT_EQ(EncodedIniReader(pc_.profile, "LICENSE", "VERSION", "", field, kPath), 0);
  EXPECT_EQ(field.size(), 254u);
  EXPECT_EQ(EncodedIniReader(pc_.profile, "LICENSE", "DIR", "def", field, kPath), -1);
  EXPECT_EQ(field, "def");
}

}  // namespace
}  // namespace kvr
