// What the tool relies on from Registry, checked against the fake and Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "World.h"

namespace kvr::contract {
namespace {

constexpr RootKey kRoot = RootKey::kCurrentUser;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  return text;
}

// The data up to its first NUL, as the tool reads a text.
std::string Text(const RegistryValue& value) {
  const std::string data(value.data.begin(), value.data.end());
  return data.substr(0, data.find('\0'));
}

class RegistryContract : public ::testing::Test {
 protected:
  std::unique_ptr<World> world = MakeWorld();
  Registry& registry = world->platform().registry;
  std::string keyPath = world->freshRegistryKey();
};

TEST_F(RegistryContract, TextValuesRoundTripWithTheirType) {
  std::unique_ptr<RegistryKey> key = registry.open(kRoot, keyPath.c_str());
  ASSERT_TRUE(key);
  for (std::uint32_t type : {kRegSz, kRegExpandSz}) {
    SCOPED_TRACE(type);
    // Written as the tool writes: the length counts no terminator.
    ASSERT_TRUE(key->set("Path", type, "\"%TEMP%\\a.exe\"", 14));
    const std::optional<RegistryValue> value = key->query("Path", 1024);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, type);
    EXPECT_EQ(Text(*value), "\"%TEMP%\\a.exe\"");  // not expanded
  }
}

TEST_F(RegistryContract, NamesMatchWithoutRegardToLetterCase) {
  std::unique_ptr<RegistryKey> key = registry.open(kRoot, keyPath.c_str());
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->set("MixedCase", kRegSz, "v", 2));
  std::unique_ptr<RegistryKey> again = registry.open(kRoot, Upper(keyPath).c_str());
  ASSERT_TRUE(again);
  const std::optional<RegistryValue> value = again->query("mixedcase", 1024);
  ASSERT_TRUE(value);
  EXPECT_EQ(Text(*value), "v");
}

TEST_F(RegistryContract, MissingKeysAndValuesAndDataOverCapacityFail) {
  EXPECT_FALSE(registry.open(kRoot, (keyPath + "\\NoSuchKey").c_str()));
  std::unique_ptr<RegistryKey> key = registry.open(kRoot, keyPath.c_str());
  ASSERT_TRUE(key);
  EXPECT_FALSE(key->query("NoSuchValue", 1024));

  const std::string fits(1023, 'f');  // with its terminator: 1024 bytes
  ASSERT_TRUE(key->set("Fits", kRegSz, fits.c_str(), fits.size() + 1));
  const std::optional<RegistryValue> value = key->query("Fits", 1024);
  ASSERT_TRUE(value);
  EXPECT_EQ(Text(*value), fits);

  const std::string tooLong(1024, 'l');
  ASSERT_TRUE(key->set("TooLong", kRegSz, tooLong.c_str(), tooLong.size() + 1));
  EXPECT_FALSE(key->query("TooLong", 1024));
  const std::optional<RegistryValue> whole = key->query("TooLong", 2048);
  ASSERT_TRUE(whole);
  EXPECT_EQ(Text(*whole), tooLong);
}

}  // namespace
}  // namespace kvr::contract
