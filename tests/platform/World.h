// The PC a contract test runs on: the in-memory fake natively, the real
// Windows calls under Wine. Each contract test states one reliance of the tool
// once and runs against both, so the fake cannot drift from Windows.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace kvr::contract {

class World {
 public:
  virtual ~World() = default;
  virtual Platform& platform() = 0;
  // True for the real Windows calls (under Wine), false for the fake.
  virtual bool real() const = 0;
  // A new, empty folder (Windows path, no trailing backslash).
  virtual std::string freshFolder() = 0;
  // Writes a file's bytes directly, not through the seam.
  virtual void putFile(const std::string& path, const std::string& bytes) = 0;
  // A file's bytes read directly, or nullopt when there is none.
  virtual std::optional<std::string> fileBytes(const std::string& path) = 0;
  // A new, empty registry key under HKEY_CURRENT_USER; its path from there.
  virtual std::string freshRegistryKey() = 0;
  // A top-level window of this class and title, open until the world ends.
  virtual void openWindow(const std::string& className, const std::string& title) = 0;
};

// Defined once per build: FakeWorld.cpp natively, Win32World.cpp for Windows.
std::unique_ptr<World> MakeWorld();

}  // namespace kvr::contract
