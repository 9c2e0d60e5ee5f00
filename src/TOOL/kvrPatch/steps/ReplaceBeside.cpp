#include "steps/ReplaceBeside.h"

#include <string>

namespace kvr {
namespace {

constexpr int kTemporaryNames = 100;

bool IsReadOnly(const std::optional<std::uint32_t>& attributes) {
  return attributes && (*attributes & kAttributeReadOnly) != 0;
}

std::uint32_t Writable(std::uint32_t attributes) {
  const std::uint32_t rest = attributes & ~kAttributeReadOnly;
  return rest == 0 ? kAttributeNormal : rest;
}

// A read-only file can be neither deleted nor moved on every platform.
void RemoveTemporary(const char* temporary, Files& files) {
  const std::optional<std::uint32_t> attributes = files.attributes(temporary);
  if (!attributes) return;
  if (IsReadOnly(attributes)) files.setAttributes(temporary, Writable(*attributes));
  files.remove(temporary);
}

}  // namespace

std::optional<FixedText<260>> TemporaryPathBeside(const char* destination, Files& files) {
  for (int n = 0; n < kTemporaryNames; ++n) {
    FixedText<260> path;
    if (!path.assign(destination) || !path.append("~") || !path.append(std::to_string(n))) {
      break;  // longer numbers will not fit either
    }
    if (!files.attributes(path.c_str())) return path;
  }
  return std::nullopt;
}

bool ReplaceBeside(const char* destination, Files& files,
                   const std::function<bool(const char* temporary)>& writeTemporary) {
  if (IsReadOnly(files.attributes(destination))) return false;

  const std::optional<FixedText<260>> temporary = TemporaryPathBeside(destination, files);
  if (!temporary) return false;
  const char* path = temporary->c_str();
  if (!writeTemporary(path)) {
    RemoveTemporary(path, files);
    return false;
  }

  // The file is moved while writable and gets its read-only attribute back at
  // its final place: a read-only file cannot be moved on every platform.
  const std::optional<std::uint32_t> attributes = files.attributes(path);
  const bool readOnly = IsReadOnly(attributes);
  if (readOnly) files.setAttributes(path, Writable(*attributes));
  if (!files.replace(path, destination)) {
    RemoveTemporary(path, files);
    return false;
  }
  if (readOnly) files.setAttributes(destination, *attributes);
  return true;
}

}  // namespace kvr
