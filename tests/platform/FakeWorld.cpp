#include <atomic>

#include "FakePlatform.h"
#include "World.h"

namespace kvr::contract {
namespace {

class FakeWorld : public World {
 public:
  Platform& platform() override { return pc_.platform; }
  bool real() const override { return false; }
  std::string freshFolder() override {
    const std::string folder = "C:\\contract\\" + std::to_string(++counter_);
    pc_.files.addFolder(folder);
    return folder;
  }
  void putFile(const std::string& path, const std::string& bytes) override {
    pc_.files.put(path, bytes);
  }
  std::optional<std::string> fileBytes(const std::string& path) override {
    auto f = pc_.files.find(path);
    if (!f) return std::nullopt;
    return f->bytes;
  }
  std::string freshRegistryKey() override {
    const std::string path = "Software\\kvrcontract\\" + std::to_string(++counter_);
    pc_.registry.addKey(RootKey::kCurrentUser, path);
    return path;
  }
  void openWindow(const std::string& className, const std::string& title) override {
    pc_.desktop.open(className, title);
  }

 private:
  fake::FakePlatform pc_;
  int counter_ = 0;
};

}  // namespace

std::unique_ptr<World> MakeWorld() {
  return std::make_unique<FakeWorld>();
}

}  // namespace kvr::contract
