#include <gtest/gtest.h>

#include <string>

#include "Entry.h"

namespace kvr {
namespace {

TEST(CommandLineTail, SkipsTheProgramNameAndTheControlAndBlankCharactersAfterIt) {
  const struct {
    const char* full;
    const char* tail;
  } cases[] = {
      {"kvrPatch.exe", ""},
      {"kvrPatch.exe /Silent", "/Silent"},
      {"kvrPatch.exe    \t/Silent", "/Silent"},
      {"\"C:\\a b\\kvrPatch.exe\" /Silent", "/Silent"},
      {"\"C:\\a b\\kvrPatch.exe\"/Silent", "/Silent"},
      {"kvrPatch.exe /Silent ", "/Silent "},
      {"kvrPatch.exe \"/Silent\"", "\"/Silent\""},
      {"\"unterminated", ""},
      {"kvrPatch.exe \x01\x1f /silent", "/silent"},
      {"C:\\\x83\x5C\\kvrPatch.exe \xff", "\xff"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_STREQ(CommandLineTail(c.full), c.tail) << c.full;
}

}  // namespace
}  // namespace kvr
