#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FakeRegistry.h"
#include "steps/RegistryQuoter.h"

namespace kvr {
namespace {

using fake::FakeRegistry;

constexpr RootKey kHklm = RootKey::kLocalMachine;
const char kKey[] = "Software\\Kovra";

class RegistryQuoterTest : public ::testing::Test {
 protected:
  void Add(const char* valueName, const char* mode = "0", const char* hive = "HKEY_LOCAL_MACHINE",
           const std::string& keyPath = kKey) {
    RegistryEntry entry;
    entry.mode.assign(mode);
    entry.hive.assign(hive);
    entry.keyPath.assign(keyPath);
    entry.valueName.assign(valueName);
    entry.valueData.assign("not used");
    context.registries.push_back(entry);
  }
  Outcome Run() { return RegistryQuoter(context, registry, failedValue); }
  std::vector<std::string> Sets() const {
    std::vector<std::string> sets;
    for (const std::string& line : registry.log())
      if (line.rfind("set ", 0) == 0) sets.push_back(line);
    return sets;
  }

  RunContext context;
  FakeRegistry registry;
  FixedText<1024> failedValue;
};

TEST_F(RegistryQuoterTest, QuotesWhatIsMissingAndWritesOnlyChanges) {
  struct {
    std::string stored;  // data as the registry holds it
    std::string after;   // data afterwards
    bool written;
  } cases[] = {
      {std::string("D:\\x\\a.exe\0", 11), "\"D:\\x\\a.exe\"", true},
      {std::string("\"abc\0", 5), "\"abc\"", true},
      {std::string("abc\"\0", 5), "\"abc\"", true},
      {std::string("a\0", 2), "\"a\"", true},
      {"abc", "\"abc\"", true},                      // stored without terminator
      {std::string("ab\0cd\0", 6), "\"ab\"", true},  // text ends at the first NUL
      {std::string("\"abc\"\0", 6), std::string("\"abc\"\0", 6), false},
      {std::string("\"\0", 2), std::string("\"\0", 2), false},  // a lone quote is quoted
      {std::string("\"\"\0", 3), std::string("\"\"\0", 3), false},
      {std::string("\0", 1), std::string("\0", 1), false},
      {"", "", false},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.stored);
    FakeRegistry fresh;
    registry = fresh;
    context.registries.clear();
    registry.put(kHklm, kKey, "Path", kRegSz, test.stored);
    Add("Path");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(registry.bytes(kHklm, kKey, "Path"), test.after);
    EXPECT_EQ(registry.value(kHklm, kKey, "Path")->type, kRegSz);
    // Written with the length of the text, no terminator.
    const std::vector<std::string> expectedSets =
        test.written
            ? std::vector<std::string>{"set Path type 1 size " + std::to_string(test.after.size())}
            : std::vector<std::string>{};
    EXPECT_EQ(Sets(), expectedSets);
    EXPECT_EQ(registry.openKeys(), 0);
  }
}

TEST_F(RegistryQuoterTest, ExpandableStringKeepsItsType) {
  registry.putText(kHklm, kKey, "Cmd", "%ProgramFiles%\\k.exe", kRegExpandSz);
  Add("Cmd");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(registry.value(kHklm, kKey, "Cmd")->type, kRegExpandSz);
  EXPECT_EQ(registry.bytes(kHklm, kKey, "Cmd"), "\"%ProgramFiles%\\k.exe\"");
}

TEST_F(RegistryQuoterTest, LongValuesAreQuotedOnlyWhenTheyFit) {
  const std::string a1021(1021, 'a');
  struct {
    const char* name;
    std::string text;
    Outcome expected;
    std::optional<std::string> after;  // nullopt: left byte for byte
  } cases[] = {
      {"1021 needing both", a1021, 0, "\"" + a1021 + "\""},
      {"1022 needing both", a1021 + "a", 30, std::nullopt},
      {"1022 needing one", "\"" + a1021, 0, "\"" + a1021 + "\""},
      {"1023 needing one", "\"" + a1021 + "a", 30, std::nullopt},
      {"1023 quoted, 1024 bytes with terminator", "\"" + a1021 + "\"", 0, std::nullopt},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    registry.putText(kHklm, kKey, "Long", test.text);
    context.registries.clear();
    Add("Long");
    const std::string before = registry.bytes(kHklm, kKey, "Long");
    EXPECT_EQ(Run(), test.expected);
    EXPECT_EQ(registry.bytes(kHklm, kKey, "Long"), test.after.value_or(before));
  }
}

TEST_F(RegistryQuoterTest, FailuresGiveThirtyNamingTheValue) {
  struct {
    const char* name;
    const char* hive;
    std::function<void(FakeRegistry&)> setUp;
  } cases[] = {
      {"key cannot be opened", "HKEY_LOCAL_MACHINE",
       [](FakeRegistry& r) {
         r.putText(kHklm, kKey, "Path", "x");
         r.denyOpen(kHklm, kKey);
       }},
      {"key missing", "HKEY_LOCAL_MACHINE", [](FakeRegistry&) {}},
      {"value missing", "HKEY_LOCAL_MACHINE", [](FakeRegistry& r) { r.addKey(kHklm, kKey); }},
      {"data over 1024 bytes", "HKEY_LOCAL_MACHINE",
       [](FakeRegistry& r) { r.putText(kHklm, kKey, "Path", std::string(1024, 'a')); }},
      {"value cannot be written", "HKEY_LOCAL_MACHINE",
       [](FakeRegistry& r) {
         r.putText(kHklm, kKey, "Path", "x");
         r.denySet(kHklm, kKey, "Path");
       }},
      {"hive in another letter case", "hkey_local_machine",
       [](FakeRegistry& r) { r.putText(kHklm, kKey, "Path", "x"); }},
      {"hive abbreviated", "HKLM", [](FakeRegistry& r) { r.putText(kHklm, kKey, "Path", "x"); }},
      {"number value", "HKEY_LOCAL_MACHINE",
       [](FakeRegistry& r) { r.put(kHklm, kKey, "Path", 4, std::string("\x41\0\0\0", 4)); }},
      {"list value", "HKEY_LOCAL_MACHINE",
       [](FakeRegistry& r) { r.put(kHklm, kKey, "Path", 7, std::string("a\0b\0\0", 5)); }},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    FakeRegistry fresh;
    registry = fresh;
    context.registries.clear();
    failedValue.clear();
    test.setUp(registry);
    const std::optional<RegistryValue> before = registry.value(kHklm, kKey, "Path");
    Add("Path", "0", test.hive);

    EXPECT_EQ(Run(), 30);
    EXPECT_EQ(failedValue.str(), std::string(test.hive) + "\\Software\\Kovra\\Path");
    const std::optional<RegistryValue> after = registry.value(kHklm, kKey, "Path");
    ASSERT_EQ(after.has_value(), before.has_value());
    if (before) {
      EXPECT_EQ(after->data, before->data);
    }
    EXPECT_EQ(registry.openKeys(), 0);
  }
}

TEST_F(RegistryQuoterTest, FailedValueIsCutToFit) {
  const std::string longPath = std::string(1000, 'k');
  Add("Value", "0", "HKEY_USERS", longPath);
  EXPECT_EQ(Run(), 30);
  EXPECT_EQ(failedValue.str(), ("HKEY_USERS\\" + longPath + "\\Value").substr(0, 1023));
}

TEST_F(RegistryQuoterTest, ThreeEntriesAreHandledInOrder) {
  registry.putText(kHklm, kKey, "A", "a");
  registry.putText(kHklm, kKey, "B", "\"b\"");
  registry.putText(kHklm, "Software\\Other", "C", "c");
  Add("A");
  Add("B");
  Add("C", "0", "HKEY_LOCAL_MACHINE", "Software\\Other");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(registry.bytes(kHklm, kKey, "A"), "\"a\"");
  EXPECT_EQ(registry.bytes(kHklm, kKey, "B"), std::string("\"b\"\0", 4));
  EXPECT_EQ(registry.bytes(kHklm, "Software\\Other", "C"), "\"c\"");
  EXPECT_EQ(Sets(), (std::vector<std::string>{"set A type 1 size 3", "set C type 1 size 3"}));
  // One key handle per entry, closed before the next is opened.
  const std::vector<std::string> expected = {"open HKLM\\Software\\Kovra",
                                             "query A",
                                             "set A type 1 size 3",
                                             "close HKLM\\Software\\Kovra",
                                             "open HKLM\\Software\\Kovra",
                                             "query B",
                                             "close HKLM\\Software\\Kovra",
                                             "open HKLM\\Software\\Other",
                                             "query C",
                                             "set C type 1 size 3",
                                             "close HKLM\\Software\\Other"};
  EXPECT_EQ(registry.log(), expected);
}

TEST_F(RegistryQuoterTest, MissingSecondValueStopsBeforeTheThird) {
  registry.putText(kHklm, kKey, "A", "a");
  registry.putText(kHklm, "Software\\Third", "C", "c");
  Add("A");
  Add("B");
  Add("C", "0", "HKEY_LOCAL_MACHINE", "Software\\Third");
  EXPECT_EQ(Run(), 30);
  EXPECT_EQ(failedValue.str(), "HKEY_LOCAL_MACHINE\\Software\\Kovra\\B");
  EXPECT_EQ(registry.bytes(kHklm, kKey, "A"), "\"a\"");
  EXPECT_EQ(registry.bytes(kHklm, "Software\\Third", "C"), std::string("c\0", 2));
  for (const std::string& line : registry.log()) EXPECT_EQ(line.find("Third"), std::string::npos);
}

TEST_F(RegistryQuoterTest, OnlyModesReadingAsZeroAreHandled) {
  struct {
    const char* mode;
    bool handled;
  } cases[] = {{"0", true},   {"00", true},  {"+0", true}, {"-0", true}, {" \t0", true},
               {"", true},    {"x", true},   {"-", true},  {"1", false}, {"2", false},
               {"1x", false}, {" 1", false}, {"-1", false}};
  for (const auto& test : cases) {
    SCOPED_TRACE(std::string("mode '") + test.mode + "'");
    FakeRegistry fresh;
    registry = fresh;
    context.registries.clear();
    Add("Missing", test.mode, "HKEY_CURRENT_USER", "Software\\NoSuchKey");
    EXPECT_EQ(Run(), test.handled ? 30 : 0);
    EXPECT_EQ(registry.log().empty(), !test.handled);
  }
}

TEST_F(RegistryQuoterTest, EmptyListTouchesNothing) {
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(registry.log().empty());
}

}  // namespace
}  // namespace kvr
