// The fake profile store beyond the contract (tests/platform/ProfileContract.cpp,
// which also runs against the fake): how a write lays out the file's bytes, and
// the faults it shows through FakeFiles.
#include <gtest/gtest.h>

#include <string>

#include "FakeFiles.h"
#include "FakeProfile.h"

namespace kvr::fake {
namespace {

constexpr char kPath[] = "C:\\WINDOWS\\Kovra.ini";

class FakeProfileTest : public ::testing::Test {
 protected:
  std::string Read(const char* section, const char* key) {
    return profile_.read(section, key, kPath);
  }
  FakeFiles files_;
  FakeProfile profile_{files_};
};

TEST_F(FakeProfileTest, WriteChangesOnlyTheValueBytes) {
  files_.put(
      kPath,
      "; header\r\n[SETUP]\r\nA=1\r\n\r\n[LICENSE]\r\nVERSION=TPP)\r\n  PTNO = KB \r\nDIR=x\n");
  ASSERT_TRUE(profile_.write("LICENSE", "PTNO", "KTK)", kPath));
  EXPECT_EQ(files_.at(kPath).bytes,
            "; header\r\n[SETUP]\r\nA=1\r\n\r\n[LICENSE]\r\nVERSION=TPP)\r\nPTNO=KTK)\r\nDIR=x\n");
}

TEST_F(FakeProfileTest, NewKeyGoesAfterTheSectionsLastLine) {
  files_.put(kPath, "[LICENSE]\r\nVERSION=TPP)\r\n\r\n[OTHER]\r\nA=1");
  ASSERT_TRUE(profile_.write("LICENSE", "PTNO", "KB", kPath));
  ASSERT_TRUE(profile_.write("OTHER", "B", "2", kPath));
  ASSERT_TRUE(profile_.write("NEW", "C", "3", kPath));
  EXPECT_EQ(
      files_.at(kPath).bytes,
      "[LICENSE]\r\nVERSION=TPP)\r\nPTNO=KB\r\n\r\n[OTHER]\r\nA=1\r\nB=2\r\n[NEW]\r\nC=3\r\n");
}

TEST_F(FakeProfileTest, WriteCreatesAMissingFileInAnExistingFolder) {
  files_.addFolder("C:\\WINDOWS");
  ASSERT_TRUE(profile_.write("LICENSE", "PTNO", "  KB", kPath));
  EXPECT_EQ(files_.at(kPath).bytes, "[LICENSE]\r\nPTNO=KB\r\n");
  EXPECT_FALSE(profile_.write("LICENSE", "PTNO", "KB", "C:\\nowhere\\x.ini"));
}

TEST_F(FakeProfileTest, ReadOnlyOrHeldFileCannotBeWritten) {
  files_.put(kPath, "[LICENSE]\r\nPTNO=KB\r\n", {}, kAttributeReadOnly);
  EXPECT_FALSE(profile_.write("LICENSE", "PTNO", "TPP)", kPath));
  EXPECT_EQ(Read("LICENSE", "PTNO"), "KB");
  files_.put(kPath, "[LICENSE]\r\nPTNO=KB\r\n");
  files_.holdOpen(kPath);
  EXPECT_FALSE(profile_.write("LICENSE", "PTNO", "TPP)", kPath));
  EXPECT_EQ(Read("LICENSE", "PTNO"), "") << "a file held without sharing cannot be read";
}

TEST_F(FakeProfileTest, LogsEveryCall) {
  files_.put(kPath, "[S]\r\nA=1\r\n");
  Read("S", "A");
  profile_.write("S", "A", "2", kPath);
  ASSERT_EQ(profile_.log().size(), 2u);
  EXPECT_EQ(profile_.log()[0], std::string("read S A ") + kPath);
  EXPECT_EQ(profile_.log()[1], std::string("write S A 2 ") + kPath);
}

}  // namespace
}  // namespace kvr::fake
