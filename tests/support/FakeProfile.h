// INI files of the fake PC, read and written with the rules Windows applies
// (settings/ProfileText.h), on the bytes held by FakeFiles. The file goes
// through FakeFiles::writeAll, so a read-only file, one held open or a missing
// folder fails the write.
#pragma once

#include <string>
#include <vector>

#include "FakeFiles.h"
#include "platform/Platform.h"

namespace kvr::fake {

class FakeProfile : public Profile {
 public:
  explicit FakeProfile(FakeFiles& files) : files_(files) {}
  std::string read(const char* section, const char* key, const char* path) override;
  bool write(const char* section, const char* key, const char* value, const char* path) override;

  // Every call made, one line each ("read SECTION KEY path", "write ...").
  const std::vector<std::string>& log() const { return log_; }
  void clearLog() { log_.clear(); }

 private:
  FakeFiles& files_;
  std::vector<std::string> log_;
};

}  // namespace kvr::fake
