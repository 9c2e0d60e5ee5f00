#include "StdioFiles.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kvr::bench {
namespace {

namespace fs = std::filesystem;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class StdioReadable : public ReadableFile {
 public:
  explicit StdioReadable(FilePtr file) : file_(std::move(file)) {}
  std::optional<std::size_t> read(void* buffer, std::size_t size) override {
    const std::size_t got = std::fread(buffer, 1, size, file_.get());
    if (got < size && std::ferror(file_.get())) return std::nullopt;
    return got;
  }
  std::optional<FileTimes> times() override { return FileTimes{}; }

 private:
  FilePtr file_;
};

class StdioWritable : public WritableFile {
 public:
  explicit StdioWritable(FilePtr file) : file_(std::move(file)) {}
  bool write(const void* data, std::size_t size) override {
    return std::fwrite(data, 1, size, file_.get()) == size;
  }
  bool setTimes(const FileTimes&) override { return true; }

 private:
  FilePtr file_;
};

}  // namespace

std::optional<std::uint32_t> StdioFiles::attributes(const char* path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::exists(status)) return std::nullopt;
  return fs::is_directory(status) ? 0x10u : kAttributeNormal;
}

bool StdioFiles::setAttributes(const char* path, std::uint32_t) {
  return attributes(path).has_value();
}

std::unique_ptr<ReadableFile> StdioFiles::openRead(const char* path) {
  FilePtr file(std::fopen(path, "rb"));
  if (!file) return nullptr;
  return std::make_unique<StdioReadable>(std::move(file));
}

std::unique_ptr<WritableFile> StdioFiles::createWrite(const char* path, CreateMode mode) {
  FilePtr file(std::fopen(path, mode == CreateMode::kNew ? "wbx" : "wb"));
  if (!file) return nullptr;
  return std::make_unique<StdioWritable>(std::move(file));
}

bool StdioFiles::copy(const char* source, const char* destination, bool failIfExists) {
  std::error_code error;
  const auto options = failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing;
  return fs::copy_file(source, destination, options, error) && !error;
}

bool StdioFiles::replace(const char* from, const char* to) {
  std::error_code error;
  fs::rename(from, to, error);
  return !error;
}

bool StdioFiles::remove(const char* path) {
  std::error_code error;
  return fs::remove(path, error) && !error;
}

}  // namespace kvr::bench
