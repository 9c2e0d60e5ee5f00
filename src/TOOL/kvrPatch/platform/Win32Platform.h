// The real platform: each interface of the seam made of the Win32 calls (8-bit
// "A" variants) that the tool relies on. The only code that includes
// <windows.h> is in the Win32*.cpp files beside this header.
#pragma once

#include "platform/Platform.h"

namespace kvr::win32 {

class Win32Process : public Process {
 public:
  std::optional<std::string> moduleFileName() override;
  std::uint16_t userUiLanguage() override;
  std::string windowsDirectory() override;
  MutexResult takeNamedMutex(const char* name) override;
  std::size_t charLength(const char* text) override;
};

class Win32Messages : public Messages {
 public:
  // `instance` is the program's instance handle (an HINSTANCE), whose string
  // table is loaded.
  explicit Win32Messages(void* instance) : instance_(instance) {}
  std::string loadString(unsigned id, std::size_t capacity) override;
  int showBox(const char* text, const char* caption, std::uint32_t style) override;

 private:
  void* instance_;
};

class Win32Clock : public Clock {
 public:
  void sleepMs(std::uint32_t ms) override;
};

class Win32Profile : public Profile {
 public:
  std::string read(const char* section, const char* key, const char* path) override;
  bool write(const char* section, const char* key, const char* value, const char* path) override;
};

class Win32Files : public Files {
 public:
  std::optional<std::uint32_t> attributes(const char* path) override;
  bool setAttributes(const char* path, std::uint32_t attributes) override;
  std::unique_ptr<ReadableFile> openRead(const char* path) override;
  std::unique_ptr<WritableFile> createWrite(const char* path, CreateMode mode) override;
  bool copy(const char* source, const char* destination, bool failIfExists) override;
  bool replace(const char* from, const char* to) override;
  bool remove(const char* path) override;
};

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> open(RootKey root, const char* keyPath) override;
};

class Win32Desktop : public Desktop {
 public:
  WindowId findByClass(const char* className) override;
  WindowId findByTitle(const char* title) override;
  bool postQuit(WindowId window) override;
};

// All of the above for one process, bundled as the tool's Platform.
struct Win32Platform {
  explicit Win32Platform(void* instance) : messages(instance) {}
  Win32Process process;
  Win32Messages messages;
  Win32Clock clock;
  Win32Profile profile;
  Win32Files files;
  Win32Registry registry;
  Win32Desktop desktop;
  Platform platform{process, messages, clock, profile, files, registry, desktop};

  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;
};

}  // namespace kvr::win32
