// What the tool relies on from process facts, the string table, the named
// mutex and file existence, checked on the fake and on Windows alike.
#include <gtest/gtest.h>

#include "World.h"

namespace kvr::contract {
namespace {

class ProcessContract : public ::testing::Test {
 protected:
  std::unique_ptr<World> world = MakeWorld();
  Platform& pc = world->platform();
};

TEST_F(ProcessContract, ModuleFileNameIsTheFullPathOfTheExecutable) {
  const auto path = pc.process.moduleFileName();
  ASSERT_TRUE(path.has_value());
  EXPECT_LE(path->size(), 259u);
  EXPECT_EQ(path->substr(1, 2), ":\\");
  EXPECT_EQ(path->substr(path->size() - 4), ".exe");
}

TEST_F(ProcessContract, WindowsDirectoryHasNoTrailingBackslash) {
  const std::string dir = pc.process.windowsDirectory();
  ASSERT_GE(dir.size(), 3u);
  EXPECT_NE(dir.back(), '\\');
  EXPECT_TRUE(pc.files.attributes(dir.c_str()).has_value());
}

TEST_F(ProcessContract, EnglishUserInterfaceUsesSingleByteCharacters) {
  EXPECT_EQ(pc.process.userUiLanguage(), 1033);
  EXPECT_EQ(pc.process.charLength("\x83\x74"), 1u);
  EXPECT_EQ(pc.process.charLength("a"), 1u);
  EXPECT_EQ(pc.process.charLength(""), 0u);
}

TEST_F(ProcessContract, StringTableTextsAreCutToTheCapacity) {
  EXPECT_EQ(pc.messages.loadString(14, 1020), "Parameter is invalid.");
  EXPECT_EQ(pc.messages.loadString(14, 10), "Parameter");
  EXPECT_EQ(pc.messages.loadString(10, 1020),
            "%s has been successfully applied. Please start \n%s.");
  EXPECT_EQ(pc.messages.loadString(999, 1020), "");
}

TEST_F(ProcessContract, ASecondTakeOfTheNamedMutexFindsItAlreadyThere) {
  const std::string name = "KVR_CONTRACT_" + world->freshFolder().substr(3);
  std::string unique = name;
  for (char& c : unique)
    if (c == '\\') c = '_';
  EXPECT_EQ(pc.process.takeNamedMutex(unique.c_str()), MutexResult::kCreated);
  EXPECT_EQ(pc.process.takeNamedMutex(unique.c_str()), MutexResult::kAlreadyExists);
}

TEST_F(ProcessContract, FileExistenceByAttributes) {
  const std::string folder = world->freshFolder();
  const std::string file = folder + "\\kvrIni.ini";
  EXPECT_FALSE(pc.files.attributes(file.c_str()).has_value());
  world->putFile(file, "[INSTALL]\r\n");
  EXPECT_TRUE(pc.files.attributes(file.c_str()).has_value());
  EXPECT_FALSE(pc.files.attributes((folder + "\\missing\\x.ini").c_str()).has_value());
}

TEST_F(ProcessContract, SleepReturns) {
  pc.clock.sleepMs(1);
}

}  // namespace
}  // namespace kvr::contract
