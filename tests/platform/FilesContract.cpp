// What the tool relies on from Files, checked against the fake and Windows.
#include <gtest/gtest.h>

#include <string>

#include "World.h"
#include "steps/FileReplacer.h"

namespace kvr::contract {
namespace {

// Recent FILETIME values (2021), distinct for each time.
const FileTimes kTimes{132539328000000000ull, 132539328123456700ull, 132539328111111100ull};

class FilesContract : public ::testing::Test {
 protected:
  void SetUp() override { folder = world->freshFolder(); }
  std::string Path(const char* name) const { return folder + "\\" + name; }
  // Writes through the seam and sets the three times.
  void Write(const std::string& path, const std::string& bytes, const FileTimes& times) {
    std::unique_ptr<WritableFile> out = files.createWrite(path.c_str(), CreateMode::kAlways);
    ASSERT_TRUE(out);
    ASSERT_TRUE(out->write(bytes.data(), bytes.size()));
    ASSERT_TRUE(out->setTimes(times));
  }
  // Times as the file now has them. Reading a file may set its last-access
  // time to now, so tests take the times before any read of the bytes.
  FileTimes TimesOf(const std::string& path) {
    std::unique_ptr<ReadableFile> in = files.openRead(path.c_str());
    EXPECT_TRUE(in);
    if (!in) return {};
    return in->times().value_or(FileTimes{});
  }
  void ExpectWriteAndAccessTimes(const FileTimes& actual, const FileTimes& expected) {
    EXPECT_EQ(actual.lastWrite, expected.lastWrite);
    EXPECT_EQ(actual.lastAccess, expected.lastAccess);
    // Wine keeps no creation time (it reports the last-write time).
    if (!world->real()) {
      EXPECT_EQ(actual.creation, expected.creation);
    }
  }

  std::unique_ptr<World> world = MakeWorld();
  Files& files = world->platform().files;
  std::string folder;
};

TEST_F(FilesContract, WrittenBytesAndTimesReadBack) {
  const std::string bytes = std::string("\x00\x01\xFF", 3) + std::string(3000, 'x');
  Write(Path("a.bin"), bytes, kTimes);

  std::unique_ptr<ReadableFile> in = files.openRead(Path("a.bin").c_str());
  ASSERT_TRUE(in);
  ExpectWriteAndAccessTimes(in->times().value(), kTimes);
  std::string read;
  char block[1024];
  for (;;) {
    const std::optional<std::size_t> got = in->read(block, sizeof block);
    ASSERT_TRUE(got);
    if (*got == 0) break;  // end of file: success with 0 bytes
    EXPECT_LE(*got, sizeof block);
    read.append(block, *got);
  }
  EXPECT_EQ(read, bytes);
  in.reset();
  EXPECT_EQ(world->fileBytes(Path("a.bin")), bytes);
}

TEST_F(FilesContract, OpenWithoutSharingBlocksEveryOtherUse) {
  world->putFile(Path("held.dll"), "held");
  world->putFile(Path("other.dll"), "other");
  {
    std::unique_ptr<ReadableFile> holder = files.openRead(Path("held.dll").c_str());
    ASSERT_TRUE(holder);
    EXPECT_FALSE(files.openRead(Path("held.dll").c_str()));
    EXPECT_FALSE(files.createWrite(Path("held.dll").c_str(), CreateMode::kAlways));
    EXPECT_FALSE(files.replace(Path("other.dll").c_str(), Path("held.dll").c_str()));
    EXPECT_FALSE(files.remove(Path("held.dll").c_str()));
  }
  EXPECT_EQ(world->fileBytes(Path("held.dll")), "held");
  EXPECT_EQ(world->fileBytes(Path("other.dll")), "other");
  EXPECT_TRUE(files.openRead(Path("held.dll").c_str()));  // closed with its owner
}

TEST_F(FilesContract, CreateNewFailsOnAnExistingFileAndAlwaysEmptiesIt) {
  world->putFile(Path("x.txt"), "old");
  EXPECT_FALSE(files.createWrite(Path("x.txt").c_str(), CreateMode::kNew));
  EXPECT_EQ(world->fileBytes(Path("x.txt")), "old");
  EXPECT_TRUE(files.createWrite(Path("x.txt").c_str(), CreateMode::kAlways));
  EXPECT_EQ(world->fileBytes(Path("x.txt")), "");
  EXPECT_TRUE(files.createWrite(Path("new.txt").c_str(), CreateMode::kNew));
  EXPECT_EQ(world->fileBytes(Path("new.txt")), "");
}

TEST_F(FilesContract, CopyCarriesLastWriteTimeAndReadOnly) {
  Write(Path("src.dll"), "source", kTimes);
  ASSERT_TRUE(files.setAttributes(Path("src.dll").c_str(), kAttributeReadOnly));
  world->putFile(Path("dst.dll"), "old");

  EXPECT_FALSE(files.copy(Path("src.dll").c_str(), Path("dst.dll").c_str(), true));
  EXPECT_EQ(world->fileBytes(Path("dst.dll")), "old");
  EXPECT_TRUE(files.copy(Path("src.dll").c_str(), Path("new.dll").c_str(), true));
  EXPECT_EQ(world->fileBytes(Path("new.dll")), "source");
  EXPECT_EQ(TimesOf(Path("new.dll")).lastWrite, kTimes.lastWrite);
  EXPECT_TRUE(*files.attributes(Path("new.dll").c_str()) & kAttributeReadOnly);

  EXPECT_TRUE(files.setAttributes(Path("new.dll").c_str(), kAttributeNormal));
  EXPECT_FALSE(*files.attributes(Path("new.dll").c_str()) & kAttributeReadOnly);
  EXPECT_TRUE(files.remove(Path("new.dll").c_str()));
  EXPECT_FALSE(files.attributes(Path("new.dll").c_str()));
}

// A finished temporary file moved over the destination keeps its times, also
// when the destination is made read-only afterwards.
TEST_F(FilesContract, ReplaceMovesOverAnExistingFileKeepingItsTimes) {
  Write(Path("t.tmp"), "new", kTimes);
  world->putFile(Path("d.dll"), "old");
  ASSERT_TRUE(files.replace(Path("t.tmp").c_str(), Path("d.dll").c_str()));
  EXPECT_FALSE(files.attributes(Path("t.tmp").c_str()));
  ASSERT_TRUE(files.setAttributes(Path("d.dll").c_str(), kAttributeReadOnly));
  ExpectWriteAndAccessTimes(TimesOf(Path("d.dll")), kTimes);
  files.setAttributes(Path("d.dll").c_str(), kAttributeNormal);
  EXPECT_EQ(world->fileBytes(Path("d.dll")), "new");

  EXPECT_FALSE(files.replace(Path("missing").c_str(), Path("d.dll").c_str()));
  EXPECT_EQ(world->fileBytes(Path("d.dll")), "new");
}

// The order in which the tool writes beside a destination, moves the file
// over it and restores its read-only attribute works on both platforms.
TEST_F(FilesContract, ShiftedCopyOfAReadOnlySourceReplacesTheDestination) {
  Write(Path("src.bin"), std::string("\x01\x00\xFF", 3), kTimes);
  ASSERT_TRUE(files.setAttributes(Path("src.bin").c_str(), kAttributeReadOnly));
  world->putFile(Path("dst.bin"), "old");

  ASSERT_EQ(ShiftCopy('-', Path("src.bin").c_str(), Path("dst.bin").c_str(), files), 0);
  // The source's times as they are after it has been read (reading may have
  // set its last-access time to now).
  ExpectWriteAndAccessTimes(TimesOf(Path("dst.bin")), TimesOf(Path("src.bin")));
  EXPECT_EQ(TimesOf(Path("dst.bin")).lastWrite, kTimes.lastWrite);
  EXPECT_TRUE(*files.attributes(Path("dst.bin").c_str()) & kAttributeReadOnly);
  EXPECT_EQ(world->fileBytes(Path("dst.bin")), std::string("\x00\xFF\xFE", 3));
  EXPECT_FALSE(files.attributes((Path("dst.bin") + "~0").c_str()));

  // Now read-only itself, the destination is refused and left as it is.
  world->putFile(Path("next.bin"), "next");
  EXPECT_EQ(ShiftCopy('-', Path("next.bin").c_str(), Path("dst.bin").c_str(), files), -1);
  EXPECT_EQ(world->fileBytes(Path("dst.bin")), std::string("\x00\xFF\xFE", 3));
  files.setAttributes(Path("dst.bin").c_str(), kAttributeNormal);
}

TEST_F(FilesContract, MissingFilesAndFoldersFail) {
  const std::string inMissing = folder + "\\missing\\a.dll";
  world->putFile(Path("a.dll"), "a");
  EXPECT_FALSE(files.attributes(inMissing.c_str()));
  EXPECT_FALSE(files.openRead(Path("none").c_str()));
  EXPECT_FALSE(files.createWrite(inMissing.c_str(), CreateMode::kNew));
  EXPECT_FALSE(files.copy(Path("a.dll").c_str(), inMissing.c_str(), false));
  EXPECT_FALSE(files.copy(Path("none").c_str(), Path("b.dll").c_str(), false));
  EXPECT_FALSE(world->fileBytes(Path("b.dll")));
  EXPECT_TRUE(*files.attributes(folder.c_str()) & 0x10u);  // a folder
}

}  // namespace
}  // namespace kvr::contract
