#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "MessageComposer.h"

namespace kvr {
namespace {

TEST(FillPlaceholders, EachPlaceholderTakesTheNextArgument) {
  EXPECT_EQ(FillPlaceholders("%s and %s", {"a", "b"}), "a and b");
  EXPECT_EQ(FillPlaceholders("This is % s only.", {"X"}), "This is X only.");
  EXPECT_EQ(FillPlaceholders("%s, %s", {"only"}), "only, ");
  EXPECT_EQ(FillPlaceholders("100%% %d", {}), "100% %d");
  EXPECT_EQ(FillPlaceholders("%s", {"%s"}), "%s");
}

TEST(FitText, CutsOnlyBetweenCharacters) {
  fake::FakeProcess japanese;
  japanese.codePage = 932;
  FixedText<6> out;
  EXPECT_FALSE(FitText("ab\x83\x74\x83\x74", out, japanese));
  EXPECT_EQ(out.str(), "ab\x83\x74");  // the second double-byte character does not fit whole
  EXPECT_TRUE(FitText("ab\x83\x74", out, japanese));

  fake::FakeProcess western;
  EXPECT_FALSE(FitText("ab\x83\x74\x83\x74", out, western));
  EXPECT_EQ(out.size(), 5u);
}

}  // namespace
}  // namespace kvr
