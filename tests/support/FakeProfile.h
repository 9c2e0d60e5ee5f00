// INI files of the fake PC, read and written with the rules Windows applies,
// on the bytes held by FakeFiles.
#pragma once

#include "FakeFiles.h"
#include "platform/Platform.h"

namespace kvr::fake {

class FakeProfile : public Profile {
 public:
  explicit FakeProfile(FakeFiles& files) : files_(files) {}
  std::string read(const char* section, const char* key, const char* path) override;
  bool write(const char* section, const char* key, const char* value, const char* path) override;

 private:
  FakeFiles& files_;
};

}  // namespace kvr::fake
