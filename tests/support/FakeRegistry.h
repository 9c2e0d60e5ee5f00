// The fake PC's registry: keys under the four roots, typed values, keys that
// cannot be opened, values that cannot be written; logs every call.
//
// Key and value names match without regard to ASCII letter case, as Windows
// matches them. A value's data is kept exactly as set (a text written without
// its terminator is stored without one).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kvr::fake {

class FakeRegistry : public Registry {
 public:
  // --- Test set-up and inspection -----------------------------------------
  // Creates the key and every key above it.
  void addKey(RootKey root, const std::string& keyPath);
  // Creates the key when missing and sets the value to exactly these bytes.
  void put(RootKey root, const std::string& keyPath, const std::string& valueName,
           std::uint32_t type, const std::string& bytes);
  // A text value as a registry editor stores it: the text and its terminator.
  void putText(RootKey root, const std::string& keyPath, const std::string& valueName,
               const std::string& text, std::uint32_t type = kRegSz) {
    put(root, keyPath, valueName, type, text + '\0');
  }
  // The value, or nullopt when it (or its key) is missing.
  std::optional<RegistryValue> value(RootKey root, const std::string& keyPath,
                                     const std::string& valueName) const;
  // The value's bytes as text (terminator included if stored); "" if missing.
  std::string bytes(RootKey root, const std::string& keyPath, const std::string& valueName) const;
  // The key exists but opening it fails (access denied).
  void denyOpen(RootKey root, const std::string& keyPath);
  // Setting this value fails; the stored data stays as it was.
  void denySet(RootKey root, const std::string& keyPath, const std::string& valueName);
  // One line per call: "open HKLM\\Software\\X", "query Name", "set Name type
  // 2 size 12", "close HKLM\\Software\\X"; a failed call ends in " failed".
  const std::vector<std::string>& log() const { return log_; }
  // Keys opened and not yet closed.
  int openKeys() const { return openKeys_; }

  // --- Registry --------------------------------------------------------------
  std::unique_ptr<RegistryKey> open(RootKey root, const char* keyPath) override;

 private:
  friend class FakeKey;
  struct Key {
    std::map<std::string, RegistryValue> values;  // by folded name
  };
  static std::string Fold(const std::string& name);
  static std::string KeyId(RootKey root, const std::string& keyPath);
  static std::string Spelled(RootKey root, const std::string& keyPath);

  std::map<std::string, Key> keys_;  // by KeyId
  std::set<std::string> deniedOpens_;
  std::set<std::string> deniedSets_;  // KeyId + "\\" + folded value name
  std::vector<std::string> log_;
  int openKeys_ = 0;
};

}  // namespace kvr::fake
