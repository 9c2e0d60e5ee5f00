#include <gtest/gtest.h>

#include "EncodedIni.h"
#include "FakeFiles.h"
#include "FakeProfile.h"
#include "settings/EncodedIniReader.h"
#include "steps/LevelStamp.h"

namespace kvr {
namespace {

using testing::Enc;

const char kIni[] = "C:\\WINDOWS\\Kovra.ini";

class LevelStampTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.put(kIni,
              testing::EncodedIniText(
                  {{"LICENSE", {Enc("VERSION", "7.1"), Enc("SPNO64", "5"), Enc("PTNO", "2")}}}));
    context.productIniPath.assign(kIni);
  }
  // The decoded value, as the next run's level check reads it.
  std::string Decoded(const char* key) {
    char value[1024] = {};
    EncodedIniReader(profile, "LICENSE", key, "", value, sizeof value, kIni);
    return value;
  }
  std::string Raw(const char* key) { return profile.read("LICENSE", key, kIni); }

  fake::FakeFiles files;
  fake::FakeProfile profile{files};
  RunContext context;
};

TEST_F(LevelStampTest, WritesTheNumberOfTheModuleTypeOnly) {
  struct {
    const char* name;
    std::int32_t moduleType, spNo, ptNo;
    const char* changedKey;
    const char* keptKey;
    const char* decoded;
  } cases[] = {
      {"service pack", 1, 3, 99, "SPNO64", "PTNO", "3"},
      {"patch", 0, 99, 2, "PTNO", "SPNO64", "2"},
      {"negative patch number", 0, 0, -12, "PTNO", "SPNO64", "-12"},
      {"largest number", 0, 0, 2147483647, "PTNO", "SPNO64", "2147483647"},
      {"lowest number", 1, -2147483647 - 1, 0, "SPNO64", "PTNO", "-2147483648"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    SetUp();
    context.moduleType = test.moduleType;
    context.spNo = test.spNo;
    context.ptNo = test.ptNo;
    const std::string kept = Raw(test.keptKey);

    EXPECT_EQ(LevelStamp(context, profile), 0);
    EXPECT_EQ(Decoded(test.changedKey), test.decoded);
    EXPECT_EQ(Raw(test.changedKey), testing::EncodeForIni(test.decoded));
    EXPECT_EQ(Raw(test.keptKey), kept);
    EXPECT_EQ(Decoded("VERSION"), "7.1");
  }
}

TEST_F(LevelStampTest, StoresTheEncodedText) {
  context.moduleType = 1;
  context.spNo = 3;
  EXPECT_EQ(LevelStamp(context, profile), 0);
  EXPECT_EQ(Raw("SPNO64"), "TPP)");
}

TEST_F(LevelStampTest, AddsAMissingKey) {
  files.put(kIni, testing::EncodedIniText({{"LICENSE", {Enc("VERSION", "7.1")}}}));
  context.ptNo = 4;
  EXPECT_EQ(LevelStamp(context, profile), 0);
  EXPECT_EQ(Decoded("PTNO"), "4");
  EXPECT_EQ(Decoded("VERSION"), "7.1");
}

TEST_F(LevelStampTest, UnwritableFileStillSucceedsAndKeepsTheOldLevel) {
  const std::string before = files.at(kIni).bytes;
  files.setAttributes(kIni, kAttributeReadOnly);
  context.ptNo = 3;
  EXPECT_EQ(LevelStamp(context, profile), 0);
  EXPECT_EQ(files.at(kIni).bytes, before);
  EXPECT_EQ(Decoded("PTNO"), "2");
}

}  // namespace
}  // namespace kvr
