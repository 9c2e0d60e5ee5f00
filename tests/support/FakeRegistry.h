// The fake PC's registry: keys under the four roots, typed values, keys that
// cannot be opened, values that cannot be written; logs every call.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kvr::fake {

class FakeRegistry : public Registry {
 public:
  std::unique_ptr<RegistryKey> open(RootKey, const char*) override { return nullptr; }
};

}  // namespace kvr::fake
