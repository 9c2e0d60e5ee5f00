#include "FakeProfile.h"

#include <optional>

#include "settings/ProfileText.h"

namespace kvr::fake {
namespace {

std::string Safe(const char* text) {
  return text ? text : "";
}

}  // namespace

std::string FakeProfile::read(const char* section, const char* key, const char* path) {
  log_.push_back("read " + Safe(section) + " " + Safe(key) + " " + Safe(path));
  if (!section || !key || !path) return std::string();
  const std::optional<std::string> bytes = files_.readAll(path);
  if (!bytes) return std::string();
  return ReadProfileValue(*bytes, section, key);
}

bool FakeProfile::write(const char* section, const char* key, const char* value, const char* path) {
  log_.push_back("write " + Safe(section) + " " + Safe(key) + " " + Safe(value) + " " + Safe(path));
  if (!section || !key || !value || !path) return false;
  if (files_.exists(path) && !files_.readAll(path)) return false;  // held open
  return files_.writeAll(
      path, WriteProfileValue(files_.readAll(path).value_or(std::string()), section, key, value));
}

}  // namespace kvr::fake
