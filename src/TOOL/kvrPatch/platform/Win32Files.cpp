#include <windows.h>

#include <limits>

#include "platform/Win32Handles.h"
#include "platform/Win32Platform.h"

namespace kvr::win32 {
namespace {

std::uint64_t FromFileTime(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME ToFileTime(std::uint64_t value) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(value & 0xFFFFFFFFu);
  time.dwHighDateTime = static_cast<DWORD>(value >> 32);
  return time;
}

DWORD ClampToDword(std::size_t size) {
  constexpr std::size_t kMax = std::numeric_limits<DWORD>::max();
  return static_cast<DWORD>(size < kMax ? size : kMax);
}

class Win32ReadableFile : public ReadableFile {
 public:
  explicit Win32ReadableFile(FileHandle handle) : handle_(std::move(handle)) {}

  std::optional<std::size_t> read(void* buffer, std::size_t size) override {
    DWORD got = 0;
    if (!ReadFile(handle_.get(), buffer, ClampToDword(size), &got, nullptr)) return std::nullopt;
    return static_cast<std::size_t>(got);
  }

  std::optional<FileTimes> times() override {
    FILETIME creation, lastAccess, lastWrite;
    if (!GetFileTime(handle_.get(), &creation, &lastAccess, &lastWrite)) return std::nullopt;
    return FileTimes{FromFileTime(creation), FromFileTime(lastAccess), FromFileTime(lastWrite)};
  }

 private:
  FileHandle handle_;
};

class Win32WritableFile : public WritableFile {
 public:
  explicit Win32WritableFile(FileHandle handle) : handle_(std::move(handle)) {}

  bool write(const void* data, std::size_t size) override {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
      DWORD written = 0;
      if (!WriteFile(handle_.get(), bytes, ClampToDword(size), &written, nullptr)) return false;
      if (written == 0) return false;  // a write that makes no progress is a failure
      bytes += written;
      size -= written;
    }
    return true;
  }

  bool setTimes(const FileTimes& times) override {
    const FILETIME creation = ToFileTime(times.creation);
    const FILETIME lastAccess = ToFileTime(times.lastAccess);
    const FILETIME lastWrite = ToFileTime(times.lastWrite);
    return SetFileTime(handle_.get(), &creation, &lastAccess, &lastWrite) != 0;
  }

 private:
  FileHandle handle_;
};

}  // namespace

std::optional<std::uint32_t> Win32Files::attributes(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

bool Win32Files::setAttributes(const char* path, std::uint32_t attributes) {
  return SetFileAttributesA(path, attributes) != 0;
}

std::unique_ptr<ReadableFile> Win32Files::openRead(const char* path) {
  FileHandle handle(
      CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return nullptr;
  return std::make_unique<Win32ReadableFile>(std::move(handle));
}

std::unique_ptr<WritableFile> Win32Files::createWrite(const char* path, CreateMode mode) {
  const DWORD disposition = mode == CreateMode::kNew ? CREATE_NEW : CREATE_ALWAYS;
  FileHandle handle(
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return nullptr;
  return std::make_unique<Win32WritableFile>(std::move(handle));
}

bool Win32Files::copy(const char* source, const char* destination, bool failIfExists) {
  return CopyFileA(source, destination, failIfExists ? TRUE : FALSE) != 0;
}

bool Win32Files::replace(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
}

bool Win32Files::remove(const char* path) {
  return DeleteFileA(path) != 0;
}

}  // namespace kvr::win32
