#include <windows.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "World.h"
#include "platform/Win32Platform.h"

namespace kvr::contract {
namespace {

class Win32World : public World {
 public:
  Win32World() : pc_(GetModuleHandleA(nullptr)) {}
  ~Win32World() override {
    for (HWND window : windows_) DestroyWindow(window);
  }
  Platform& platform() override { return pc_.platform; }
  bool real() const override { return true; }
  std::string freshFolder() override {
    CreateDirectoryA("C:\\kvrcontract", nullptr);
    // Wine reuses process ids from run to run: count on until the folder is new.
    for (;;) {
      const std::string folder = "C:\\kvrcontract\\" + std::to_string(GetCurrentProcessId()) + "_" +
                                 std::to_string(++counter_);
      if (CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) {
        return folder;
      }
    }
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
  std::string freshRegistryKey() override {
    for (;;) {
      const std::string path = "Software\\kvrcontract\\" + std::to_string(GetCurrentProcessId()) +
                               "_" + std::to_string(++counter_);
      HKEY key = nullptr;
      DWORD disposition = 0;
      if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, &disposition) != ERROR_SUCCESS) {
        return path;
      }
      RegCloseKey(key);
      if (disposition == REG_CREATED_NEW_KEY) return path;
    }
  }
  void openWindow(const std::string& className, const std::string& title) override {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className.c_str();
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    HWND window = CreateWindowA(className.c_str(), title.c_str(), WS_OVERLAPPED, 0, 0, 10, 10,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window) windows_.push_back(window);
  }

 private:
  win32::Win32Platform pc_;
  int counter_ = 0;
  std::vector<HWND> windows_;
};

}  // namespace

std::unique_ptr<World> MakeWorld() {
  return std::make_unique<Win32World>();
}

}  // namespace kvr::contract
