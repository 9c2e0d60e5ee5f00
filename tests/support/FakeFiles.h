// In-memory files for the fake PC: bytes, three times and attributes per file,
// folders, Windows path rules (case-insensitive, backslashes), files held open
// by "another program", and injected read/write faults. Logs what it does.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kvr::fake {

struct FakeFile {
  std::string bytes;
  FileTimes times;
  std::uint32_t attributes = kAttributeNormal;
};

class FakeFiles : public Files {
 public:
  // --- Test set-up and inspection -----------------------------------------
  // Creates or replaces a file, creating its folders.
  void put(const std::string& path, const std::string& bytes, FileTimes times = {},
           std::uint32_t attributes = kAttributeNormal);
  void addFolder(const std::string& path);
  bool exists(const std::string& path) const;
  // The file; fails the test (throws) when missing.
  const FakeFile& at(const std::string& path) const;
  std::optional<FakeFile> find(const std::string& path) const;
  // Every file path, as first spelled.
  std::vector<std::string> list() const;
  // "Another program" holds the file open without sharing: it cannot be
  // opened, created over, copied over, replaced or deleted.
  void holdOpen(const std::string& path) { held_.insert(Key(path)); }
  // The next reads of `path` fail once `afterBytes` have been read.
  void failReadAfter(const std::string& path, std::size_t afterBytes) {
    readFaults_[Key(path)] = afterBytes;
  }
  // Writes to any file fail once a total of `afterBytes` has been written to
  // it (a full disk); applies to files created after this call.
  void failWritesAfter(std::size_t afterBytes) { writeLimit_ = afterBytes; }
  // Files opened through the seam and not yet closed.
  int openHandles() const;
  // Every call made, one line each ("openRead C:\\a", "replace X -> Y", ...).
  const std::vector<std::string>& log() const { return log_; }

  // --- Files ---------------------------------------------------------------
  std::optional<std::uint32_t> attributes(const char* path) override;
  bool setAttributes(const char* path, std::uint32_t attributes) override;
  std::unique_ptr<ReadableFile> openRead(const char* path) override;
  std::unique_ptr<WritableFile> createWrite(const char* path, CreateMode mode) override;
  bool copy(const char* source, const char* destination, bool failIfExists) override;
  bool replace(const char* from, const char* to) override;
  bool remove(const char* path) override;

  // For the other fakes (profile store): the file's bytes, or nullopt.
  std::optional<std::string> readAll(const std::string& path) const;
  // Writes the file's bytes as WritePrivateProfileString would; false when the
  // file is read-only, held open, or its folder is missing.
  bool writeAll(const std::string& path, const std::string& bytes);

  static std::string Key(const std::string& path);
  static std::string Parent(const std::string& path);

 private:
  friend class FakeReadable;
  friend class FakeWritable;
  struct Entry {
    std::string spelled;
    FakeFile file;
    int openCount = 0;
  };
  bool folderExists(const std::string& path) const;
  bool blocked(const std::string& key) const;

  std::map<std::string, Entry> files_;
  std::set<std::string> folders_;
  std::set<std::string> held_;
  std::map<std::string, std::size_t> readFaults_;
  std::optional<std::size_t> writeLimit_;
  std::vector<std::string> log_;
};

}  // namespace kvr::fake
