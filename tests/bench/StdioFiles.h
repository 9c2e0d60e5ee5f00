// Files over the C library and std::filesystem, for benchmarks on the build
// machine's real disk. Times and attributes are not kept: every file reports
// kAttributeNormal and zero times.
#pragma once

#include "platform/Platform.h"

namespace kvr::bench {

class StdioFiles : public Files {
 public:
  std::optional<std::uint32_t> attributes(const char* path) override;
  bool setAttributes(const char* path, std::uint32_t attributes) override;
  std::unique_ptr<ReadableFile> openRead(const char* path) override;
  std::unique_ptr<WritableFile> createWrite(const char* path, CreateMode mode) override;
  bool copy(const char* source, const char* destination, bool failIfExists) override;
  bool replace(const char* from, const char* to) override;
  bool remove(const char* path) override;
};

}  // namespace kvr::bench
