#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "FakeFiles.h"
#include "steps/FileReplacer.h"

namespace kvr {
namespace {

using fake::FakeFiles;

const FileTimes kSourceTimes{111, 222, 333};
const FileTimes kOldTimes{7, 8, 9};
const std::string kOld = "old product file";

// The stored form of a mode "1" file: every byte plus one.
std::string Stored(std::string plain) {
  for (char& c : plain) c = static_cast<char>(static_cast<unsigned char>(c) + 1);
  return plain;
}

// `size` bytes running through every byte value.
std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

class FileReplacerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context.toolDir.assign("D:\\patch");
    context.platform.assign("x86");
    files.addFolder("C:\\App");
  }

  // An entry for SET\x86\<name> onto C:\App\<name>; returns the destination.
  std::string Add(const char* mode, const std::string& name) {
    FileEntry entry;
    entry.mode.assign(mode);
    entry.sourceName.assign(name);
    entry.destPath.assign("C:\\App\\" + name);
    context.files.push_back(entry);
    return entry.destPath.str();
  }
  std::string Source(const std::string& name) { return "D:\\patch\\SET\\x86\\" + name; }

  Outcome Run() { return FileReplacer(context, files, failedFile); }

  // Nothing is left beside the destinations and every handle is closed.
  void ExpectNoLeftovers(std::size_t fileCount) {
    EXPECT_EQ(files.list().size(), fileCount);
    for (const std::string& path : files.list())
      EXPECT_EQ(path.find('~'), std::string::npos) << path;
    EXPECT_EQ(files.openHandles(), 0);
  }

  RunContext context;
  FakeFiles files;
  FixedText<260> failedFile;
};

TEST_F(FileReplacerTest, ShiftedFilesAreRestoredWithTimesAndAttributes) {
  for (std::size_t size : {0, 1, 1023, 1024, 1025, 2048, 5000}) {
    SCOPED_TRACE(size);
    FakeFiles fresh;
    files = fresh;
    context.files.clear();
    const std::string dest = Add("1", "a.dll");
    files.put(Source("a.dll"), Stored(Pattern(size)), kSourceTimes, 0x20 /* archive */);
    files.put(dest, kOld, kOldTimes);

    EXPECT_EQ(Run(), 0);
    const fake::FakeFile& written = files.at(dest);
    EXPECT_EQ(written.bytes, Pattern(size));
    EXPECT_EQ(written.times.creation, kSourceTimes.creation);
    EXPECT_EQ(written.times.lastAccess, kSourceTimes.lastAccess);
    EXPECT_EQ(written.times.lastWrite, kSourceTimes.lastWrite);
    EXPECT_EQ(written.attributes, 0x20u);
    EXPECT_TRUE(failedFile.empty());
    ExpectNoLeftovers(2);
  }
}

TEST_F(FileReplacerTest, ShiftUndoesOneAndWrapsAround) {
  const std::string dest = Add("1", "b.bin");
  files.put(Source("b.bin"), std::string("\x00\x01\xFF\x80", 4));
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(files.at(dest).bytes, std::string("\xFF\x00\xFE\x7F", 4));

  // '+' is the inverse of '-'.
  EXPECT_EQ(ShiftCopy('+', dest.c_str(), "C:\\App\\back.bin", files), 0);
  EXPECT_EQ(files.at("C:\\App\\back.bin").bytes, std::string("\x00\x01\xFF\x80", 4));
  EXPECT_EQ(ShiftCopy('*', dest.c_str(), "C:\\App\\other.bin", files), -1);
  EXPECT_FALSE(files.exists("C:\\App\\other.bin"));
}

TEST_F(FileReplacerTest, ReadOnlySourceGivesReadOnlyDestinationInBothModes) {
  const std::string shifted = Add("1", "s.dll");
  const std::string plain = Add("0", "p.dll");
  files.put(Source("s.dll"), Stored("shifted"), kSourceTimes, kAttributeReadOnly | 0x20);
  files.put(Source("p.dll"), "plain", kSourceTimes, kAttributeReadOnly);
  files.put(shifted, kOld, kOldTimes);
  files.put(plain, kOld, kOldTimes);

  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(files.at(shifted).bytes, "shifted");
  EXPECT_EQ(files.at(shifted).attributes, kAttributeReadOnly | 0x20);
  EXPECT_EQ(files.at(plain).bytes, "plain");
  EXPECT_EQ(files.at(plain).attributes, kAttributeReadOnly);
  EXPECT_EQ(files.at(plain).times.lastWrite, kSourceTimes.lastWrite);
  ExpectNoLeftovers(4);
}

TEST_F(FileReplacerTest, PlainCopyReplacesAndCreates) {
  const std::string existing = Add("0", "x.exe");
  const std::string created = Add("0", "new.txt");
  files.put(Source("x.exe"), std::string("new\0bytes", 9), kSourceTimes);
  files.put(Source("new.txt"), "");
  files.put(existing, kOld, kOldTimes);

  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(files.at(existing).bytes, std::string("new\0bytes", 9));
  EXPECT_EQ(files.at(existing).times.lastWrite, kSourceTimes.lastWrite);
  EXPECT_EQ(files.at(created).bytes, "");
  ExpectNoLeftovers(4);
}

struct FaultCase {
  const char* name;
  const char* mode;
  std::function<void(FakeFiles&, const std::string& source, const std::string& dest)> fault;
};

// A failed copy leaves the old destination byte for byte, its times and
// attributes, and nothing beside it.
TEST_F(FileReplacerTest, FailuresLeaveTheOldDestinationIntact) {
  const FaultCase cases[] = {
      {"read fails mid shifted copy", "1",
       [](FakeFiles& f, const std::string& s, const std::string&) { f.failReadAfter(s, 1500); }},
      {"write fails mid shifted copy", "1",
       [](FakeFiles& f, const std::string&, const std::string&) { f.failWritesAfter(2000); }},
      {"disk full in plain copy", "0",
       [](FakeFiles& f, const std::string&, const std::string&) { f.failWritesAfter(2000); }},
      {"missing source, shifted", "1",
       [](FakeFiles& f, const std::string& s, const std::string&) { f.remove(s.c_str()); }},
      {"missing source, plain", "0",
       [](FakeFiles& f, const std::string& s, const std::string&) { f.remove(s.c_str()); }},
      {"source held open", "1",
       [](FakeFiles& f, const std::string& s, const std::string&) { f.holdOpen(s); }},
      {"destination held open, shifted", "1",
       [](FakeFiles& f, const std::string&, const std::string& d) { f.holdOpen(d); }},
      {"destination held open, plain", "0",
       [](FakeFiles& f, const std::string&, const std::string& d) { f.holdOpen(d); }},
      {"read-only destination, shifted", "1",
       [](FakeFiles& f, const std::string&, const std::string& d) {
         f.setAttributes(d.c_str(), kAttributeReadOnly);
       }},
      {"read-only destination, plain", "0",
       [](FakeFiles& f, const std::string&, const std::string& d) {
         f.setAttributes(d.c_str(), kAttributeReadOnly);
       }},
  };
  for (const FaultCase& test : cases) {
    SCOPED_TRACE(test.name);
    FakeFiles fresh;
    files = fresh;
    context.files.clear();
    failedFile.clear();
    const std::string dest = Add(test.mode, "big.dll");
    files.put(Source("big.dll"), Pattern(4096), kSourceTimes);
    files.put(dest, kOld, kOldTimes, 0x20);
    test.fault(files, Source("big.dll"), dest);
    const fake::FakeFile before = files.at(dest);

    EXPECT_EQ(Run(), 20);
    EXPECT_EQ(failedFile.str(), dest);
    const fake::FakeFile& after = files.at(dest);
    EXPECT_EQ(after.bytes, kOld);
    EXPECT_EQ(after.attributes, before.attributes);
    EXPECT_EQ(after.times.lastWrite, kOldTimes.lastWrite);
    EXPECT_EQ(files.openHandles(), 0);
    for (const std::string& path : files.list())
      EXPECT_EQ(path.find('~'), std::string::npos) << path;
  }
}

TEST_F(FileReplacerTest, ReadOnlyDestinationIsRefusedBeforeAnythingIsWritten) {
  const std::string dest = Add("1", "ro.dll");
  files.put(Source("ro.dll"), "x");
  files.put(dest, kOld, kOldTimes, kAttributeReadOnly);
  EXPECT_EQ(Run(), 20);
  for (const std::string& line : files.log()) {
    EXPECT_EQ(line.rfind("createWrite", 0), std::string::npos) << line;
    EXPECT_EQ(line.rfind("openRead", 0), std::string::npos) << line;
  }
}

TEST_F(FileReplacerTest, MissingFolderIsNotWritten) {
  FileEntry entry;
  entry.mode.assign("1");
  entry.sourceName.assign("a.dll");
  entry.destPath.assign("C:\\App\\missing\\a.dll");
  context.files.push_back(entry);
  files.put(Source("a.dll"), "x");
  EXPECT_EQ(Run(), 20);
  EXPECT_EQ(failedFile.str(), "C:\\App\\missing\\a.dll");
  ExpectNoLeftovers(1);
}

TEST_F(FileReplacerTest, ModesAreComparedAsExactText) {
  for (const char* mode : {" 1", "1 ", "01", "0 ", "00", "2", ""}) {
    SCOPED_TRACE(std::string("mode '") + mode + "'");
    context.files.clear();
    const std::string dest = Add(mode, "m.dll");
    files.put(Source("m.dll"), "new");
    files.put(dest, kOld);
    EXPECT_EQ(Run(), 20);
    EXPECT_EQ(failedFile.str(), dest);
    EXPECT_EQ(files.at(dest).bytes, kOld);
  }
}

TEST_F(FileReplacerTest, SourcePathIsJoinedAndMustFit) {
  const std::string dest = Add("1", "a.dll");
  files.put("D:\\patch\\SET\\x86\\a.dll", "x");
  EXPECT_EQ(Run(), 0);
  EXPECT_NE(
      std::find(files.log().begin(), files.log().end(), "openRead D:\\patch\\SET\\x86\\a.dll"),
      files.log().end());

  // toolDir + "\SET\x86\" + name: 259 bytes are written, 260 are not.
  for (std::size_t length : {259u, 260u}) {
    SCOPED_TRACE(length);
    const std::string tool = "D:\\" + std::string(length - 3 - 9 - 5, 't');
    context.toolDir.assign(tool);
    const std::string source = tool + "\\SET\\x86\\a.dll";
    ASSERT_EQ(source.size(), length);
    files.put(source, Stored("new"));
    files.put(dest, kOld);
    EXPECT_EQ(Run(), length == 259u ? 0 : 20);
    EXPECT_EQ(files.at(dest).bytes, length == 259u ? "new" : kOld);
  }
}

TEST_F(FileReplacerTest, FirstFailureStopsTheList) {
  const std::string first = Add("0", "one.dll");
  const std::string second = Add("1", "two.dll");
  const std::string third = Add("0", "three.dll");
  files.put(Source("one.dll"), "1");
  files.put(Source("three.dll"), "3");
  files.put(first, kOld);
  files.put(third, kOld);

  EXPECT_EQ(Run(), 20);
  EXPECT_EQ(failedFile.str(), second);
  EXPECT_EQ(files.at(first).bytes, "1");
  EXPECT_EQ(files.at(third).bytes, kOld);
  for (const std::string& line : files.log()) {
    EXPECT_EQ(line.find("three"), std::string::npos) << line;
  }
}

TEST_F(FileReplacerTest, EmptyListTouchesNothing) {
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(files.log().empty());
}

TEST_F(FileReplacerTest, TemporaryFileAvoidsExistingNamesAndMustFit) {
  const std::string dest = Add("1", "t.dll");
  files.put(Source("t.dll"), Stored("new"));
  files.put(dest + "~0", "left over by someone");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(files.at(dest).bytes, "new");
  EXPECT_EQ(files.at(dest + "~0").bytes, "left over by someone");

  // A destination of 258 bytes leaves no room for "~0": refused, untouched.
  const std::string folder = "C:\\" + std::string(250, 'f');
  const std::string longDest = folder + "\\abcd";
  ASSERT_EQ(longDest.size(), 258u);
  files.put(longDest, kOld);
  EXPECT_EQ(ShiftCopy('-', Source("t.dll").c_str(), longDest.c_str(), files), -1);
  EXPECT_EQ(files.at(longDest).bytes, kOld);
}

}  // namespace
}  // namespace kvr
