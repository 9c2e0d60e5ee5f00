#include <windows.h>

#include "platform/Win32Handles.h"
#include "platform/Win32Platform.h"

namespace kvr::win32 {
namespace {

// The predefined handles, as <windows.h> spells them (sign-extended on 64-bit
// Windows, so they are not simply the enum's numbers).
HKEY PredefinedKey(RootKey root) {
  switch (root) {
    case RootKey::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RootKey::kCurrentUser:
      return HKEY_CURRENT_USER;
    case RootKey::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RootKey::kUsers:
      return HKEY_USERS;
  }
  return nullptr;
}

class Win32RegistryKey : public RegistryKey {
 public:
  explicit Win32RegistryKey(KeyHandle key) : key_(std::move(key)) {}

  std::optional<RegistryValue> query(const char* valueName, std::size_t capacity) override {
    RegistryValue value;
    value.data.resize(capacity);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(capacity);
    if (RegQueryValueExA(key_.get(), valueName, nullptr, &type, value.data.data(), &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    value.type = type;
    value.data.resize(size);
    return value;
  }

  bool set(const char* valueName, std::uint32_t type, const void* data, std::size_t size) override {
    return RegSetValueExA(key_.get(), valueName, 0, type, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
  }

 private:
  KeyHandle key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::open(RootKey root, const char* keyPath) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(PredefinedKey(root), keyPath, 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32RegistryKey>(KeyHandle(opened));
}

}  // namespace kvr::win32
