#include "FakeProfile.h"

namespace kvr::fake {

// Placeholder rules; replaced by the full Windows rules.
std::string FakeProfile::read(const char*, const char*, const char*) { return std::string(); }
bool FakeProfile::write(const char*, const char*, const char*, const char*) { return false; }

}  // namespace kvr::fake
