#include <windows.h>

#include <fstream>
#include <iterator>

#include "World.h"
#include "platform/Win32Platform.h"

namespace kvr::contract {
namespace {

class Win32World : public World {
 public:
  Win32World() : pc_(GetModuleHandleA(nullptr)) {}
  Platform& platform() override { return pc_.platform; }
  bool real() const override { return true; }
  std::string freshFolder() override {
    CreateDirectoryA("C:\\kvrcontract", nullptr);
    const std::string folder = "C:\\kvrcontract\\" + std::to_string(GetCurrentProcessId()) + "_" +
                               std::to_string(++counter_);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
  }
  void putFile(const std::string& path, const std::string& bytes) override {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::optional<std::string> fileBytes(const std::string& path) override {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  win32::Win32Platform pc_;
  int counter_ = 0;
};

}  // namespace

std::unique_ptr<World> MakeWorld() { return std::make_unique<Win32World>(); }

}  // namespace kvr::contract
