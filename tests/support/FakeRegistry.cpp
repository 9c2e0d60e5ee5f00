#include "FakeRegistry.h"

namespace kvr::fake {
namespace {

const char* RootName(RootKey root) {
  switch (root) {
    case RootKey::kClassesRoot:
      return "HKCR";
    case RootKey::kCurrentUser:
      return "HKCU";
    case RootKey::kLocalMachine:
      return "HKLM";
    case RootKey::kUsers:
      return "HKU";
  }
  return "?";
}

}  // namespace

std::string FakeRegistry::Fold(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::string FakeRegistry::Spelled(RootKey root, const std::string& keyPath) {
  return keyPath.empty() ? RootName(root) : std::string(RootName(root)) + "\\" + keyPath;
}

std::string FakeRegistry::KeyId(RootKey root, const std::string& keyPath) {
  return Fold(Spelled(root, keyPath));
}

void FakeRegistry::addKey(RootKey root, const std::string& keyPath) {
  std::string path = keyPath;
  for (;;) {
    keys_[KeyId(root, path)];
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos) break;
    path.resize(slash);
  }
}

void FakeRegistry::put(RootKey root, const std::string& keyPath, const std::string& valueName,
                       std::uint32_t type, const std::string& bytes) {
  addKey(root, keyPath);
  keys_[KeyId(root, keyPath)].values[Fold(valueName)] =
      RegistryValue{type, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

std::optional<RegistryValue> FakeRegistry::value(RootKey root, const std::string& keyPath,
                                                 const std::string& valueName) const {
  auto key = keys_.find(KeyId(root, keyPath));
  if (key == keys_.end()) return std::nullopt;
  auto it = key->second.values.find(Fold(valueName));
  if (it == key->second.values.end()) return std::nullopt;
  return it->second;
}

std::string FakeRegistry::bytes(RootKey root, const std::string& keyPath,
                                const std::string& valueName) const {
  const std::optional<RegistryValue> v = value(root, keyPath, valueName);
  return v ? std::string(v->data.begin(), v->data.end()) : std::string();
}

void FakeRegistry::denyOpen(RootKey root, const std::string& keyPath) {
  addKey(root, keyPath);
  deniedOpens_.insert(KeyId(root, keyPath));
}

void FakeRegistry::denySet(RootKey root, const std::string& keyPath, const std::string& valueName) {
  deniedSets_.insert(KeyId(root, keyPath) + "\\" + Fold(valueName));
}

class FakeKey : public RegistryKey {
 public:
  FakeKey(FakeRegistry& registry, std::string id, std::string spelled)
      : registry_(registry), id_(std::move(id)), spelled_(std::move(spelled)) {
    registry_.openKeys_++;
  }
  ~FakeKey() override {
    registry_.openKeys_--;
    registry_.log_.push_back("close " + spelled_);
  }

  std::optional<RegistryValue> query(const char* valueName, std::size_t capacity) override {
    std::string line = std::string("query ") + valueName;
    std::optional<RegistryValue> found;
    auto key = registry_.keys_.find(id_);
    if (key != registry_.keys_.end()) {
      auto it = key->second.values.find(FakeRegistry::Fold(valueName));
      // Data that does not fit the buffer is a failure (ERROR_MORE_DATA).
      if (it != key->second.values.end() && it->second.data.size() <= capacity) found = it->second;
    }
    registry_.log_.push_back(found ? line : line + " failed");
    return found;
  }

  bool set(const char* valueName, std::uint32_t type, const void* data, std::size_t size) override {
    const std::string folded = FakeRegistry::Fold(valueName);
    std::string line = std::string("set ") + valueName + " type " + std::to_string(type) +
                       " size " + std::to_string(size);
    auto key = registry_.keys_.find(id_);
    if (key == registry_.keys_.end() || registry_.deniedSets_.count(id_ + "\\" + folded)) {
      registry_.log_.push_back(line + " failed");
      return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    key->second.values[folded] =
        RegistryValue{type, std::vector<std::uint8_t>(bytes, bytes + size)};
    registry_.log_.push_back(line);
    return true;
  }

 private:
  FakeRegistry& registry_;
  std::string id_;
  std::string spelled_;
};

std::unique_ptr<RegistryKey> FakeRegistry::open(RootKey root, const char* keyPath) {
  const std::string spelled = Spelled(root, keyPath);
  const std::string id = KeyId(root, keyPath);
  if (!keys_.count(id) && !std::string(keyPath).empty()) {
    log_.push_back("open " + spelled + " failed");
    return nullptr;
  }
  if (deniedOpens_.count(id)) {
    log_.push_back("open " + spelled + " failed");
    return nullptr;
  }
  keys_[id];  // the root key itself always exists
  log_.push_back("open " + spelled);
  return std::make_unique<FakeKey>(*this, id, spelled);
}

}  // namespace kvr::fake
