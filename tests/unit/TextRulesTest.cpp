// The number rule and the comma splitting rule of the settings files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/TextRules.h"

namespace kvr {
namespace {

TEST(TextRulesTest, ParseSettingsNumber) {
  struct Case {
    std::string text;
    std::int32_t value;
  };
  const Case cases[] = {
      {"", 0},
      {"0", 0},
      {"3", 3},
      {"00012", 12},
      {"+5", 5},
      {"-5", -5},
      {" 1", 1},
      {" \t\n\v\f\r7", 7},
      {"1a", 1},
      {"a1", 0},
      {"1 2", 1},
      {"--5", 0},
      {"+-5", 0},
      {"- 5", 0},
      {"-", 0},
      {"+", 0},
      {" ", 0},
      {"0x10", 0},
      {"1.9", 1},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-2147483649", -2147483647 - 1},
      {"99999999999999999999999999999999", 2147483647},
      {"-99999999999999999999999999999999", -2147483647 - 1},
      {"000000000000000000000000000000042", 42},
      {std::string("1\0"
                   "2",
                   3),
       1},
      {"\xA0"
       "5",
       0},              // not white space in this rule
      {"\x82\x4F", 0},  // a full-width digit is no digit
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseSettingsNumber(c.text), c.value) << '"' << c.text << '"';
}

std::vector<std::string> Split(std::string_view line, std::size_t maxFields) {
  std::vector<std::string> out;
  for (std::string_view field : SplitFields(line, maxFields)) out.emplace_back(field);
  return out;
}

TEST(TextRulesTest, SplitFields) {
  struct Case {
    std::string line;
    std::size_t maxFields;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"0,kvr.exe,bin\\kvr.exe", 3, {"0", "kvr.exe", "bin\\kvr.exe"}},
      {"0,,kvr.exe,bin\\kvr.exe", 3, {"0", "kvr.exe", "bin\\kvr.exe"}},
      {",,,0,kvr.exe,,,bin\\kvr.exe,,", 3, {"0", "kvr.exe", "bin\\kvr.exe"}},
      {"0, kvr.exe ,bin", 3, {"0", " kvr.exe ", "bin"}},
      {"a,b,c,d", 3, {"a", "b", "c"}},
      {"a,b", 3, {"a", "b"}},
      {"abc", 3, {"abc"}},
      {"", 3, {}},
      {",,,", 3, {}},
      {" ", 3, {" "}},
      {"a,b,c,d,e,f", 5, {"a", "b", "c", "d", "e"}},
      {"a,b,c", 0, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Split(c.line, c.maxFields), c.fields) << c.line;
}

TEST(TextRulesTest, SplitFieldsViewsIntoTheLine) {
  const std::string line = "0,src,dst";
  const auto fields = SplitFields(line, 3);
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(fields[2].data(), line.data() + 6);
}

}  // namespace
}  // namespace kvr
