// The host platform on Linux: the seam over the local file system. A seam
// path's backslashes stand for '/'; the profile follows the rules of the
// Windows profile functions (settings/ProfileText.h).
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "FileBytes.h"
#include "HostPlatform.h"
#include "settings/ProfileText.h"

namespace kvr::pack {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kAttributeDirectory = 0x10;
// FILETIME counts 100 ns from 1601; Unix time seconds from 1970.
constexpr std::uint64_t kUnixEpochAsFileTime = 116444736000000000ull;

std::string NativePath(const char* seamPath) {
  std::string path = seamPath ? seamPath : "";
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

std::uint64_t ToFileTime(const timespec& time) {
  return kUnixEpochAsFileTime + static_cast<std::uint64_t>(time.tv_sec) * 10000000ull +
         static_cast<std::uint64_t>(time.tv_nsec) / 100;
}

timespec FromFileTime(std::uint64_t value) {
  const std::uint64_t since = value > kUnixEpochAsFileTime ? value - kUnixEpochAsFileTime : 0;
  timespec time{};
  time.tv_sec = static_cast<time_t>(since / 10000000ull);
  time.tv_nsec = static_cast<long>((since % 10000000ull) * 100);
  return time;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class PosixReadable : public ReadableFile {
 public:
  explicit PosixReadable(FilePtr file) : file_(std::move(file)) {}
  std::optional<std::size_t> read(void* buffer, std::size_t size) override {
    const std::size_t got = std::fread(buffer, 1, size, file_.get());
    if (got < size && std::ferror(file_.get())) return std::nullopt;
    return got;
  }
  std::optional<FileTimes> times() override {
    struct stat status {};
    if (fstat(fileno(file_.get()), &status) != 0) return std::nullopt;
    return FileTimes{ToFileTime(status.st_mtim), ToFileTime(status.st_atim),
                     ToFileTime(status.st_mtim)};
  }

 private:
  FilePtr file_;
};

class PosixWritable : public WritableFile {
 public:
  explicit PosixWritable(FilePtr file) : file_(std::move(file)) {}
  bool write(const void* data, std::size_t size) override {
    return std::fwrite(data, 1, size, file_.get()) == size;
  }
  bool setTimes(const FileTimes& times) override {
    if (std::fflush(file_.get()) != 0) return false;
    const timespec both[2] = {FromFileTime(times.lastAccess), FromFileTime(times.lastWrite)};
    return futimens(fileno(file_.get()), both) == 0;
  }

 private:
  FilePtr file_;
};

class PosixFiles : public Files {
 public:
  std::optional<std::uint32_t> attributes(const char* path) override {
    struct stat status {};
    if (stat(NativePath(path).c_str(), &status) != 0) return std::nullopt;
    if (S_ISDIR(status.st_mode)) return kAttributeDirectory;
    return (status.st_mode & S_IWUSR) ? kAttributeNormal : kAttributeReadOnly;
  }
  bool setAttributes(const char* path, std::uint32_t attributes) override {
    std::error_code error;
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(
        NativePath(path), (attributes & kAttributeReadOnly) ? write : fs::perms::owner_write,
        (attributes & kAttributeReadOnly) ? fs::perm_options::remove : fs::perm_options::add,
        error);
    return !error;
  }
  std::unique_ptr<ReadableFile> openRead(const char* path) override {
    std::error_code error;
    if (!fs::is_regular_file(NativePath(path), error)) return nullptr;
    FilePtr file(std::fopen(NativePath(path).c_str(), "rb"));
    if (!file) return nullptr;
    return std::make_unique<PosixReadable>(std::move(file));
  }
  std::unique_ptr<WritableFile> createWrite(const char* path, CreateMode mode) override {
    FilePtr file(std::fopen(NativePath(path).c_str(), mode == CreateMode::kNew ? "wbx" : "wb"));
    if (!file) return nullptr;
    return std::make_unique<PosixWritable>(std::move(file));
  }
  bool copy(const char* source, const char* destination, bool failIfExists) override {
    std::error_code error;
    const auto options =
        failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing;
    if (!fs::copy_file(NativePath(source), NativePath(destination), options, error) || error)
      return false;
    // Like Windows' copy: the last-write time comes along.
    const auto written = fs::last_write_time(NativePath(source), error);
    if (!error) fs::last_write_time(NativePath(destination), written, error);
    return true;
  }
  bool replace(const char* from, const char* to) override {
    std::error_code error;
    fs::rename(NativePath(from), NativePath(to), error);
    return !error;
  }
  bool remove(const char* path) override {
    std::error_code error;
    return fs::remove(NativePath(path), error) && !error;
  }
};

class PosixProfile : public Profile {
 public:
  std::string read(const char* section, const char* key, const char* path) override {
    if (!section || !key || !path) return std::string();
    const std::optional<std::string> bytes = ReadFileBytes(NativePath(path));
    return bytes ? ReadProfileValue(*bytes, section, key) : std::string();
  }
  bool write(const char* section, const char* key, const char* value, const char* path) override {
    if (!section || !key || !value || !path) return false;
    const fs::path file = NativePath(path);
    std::error_code error;
    std::string bytes;
    if (fs::exists(file, error)) {
      const std::optional<std::string> old = ReadFileBytes(file);
      if (!old) return false;
      bytes = *old;
    }
    return WriteFileBytes(file, WriteProfileValue(bytes, section, key, value));
  }
};

class PosixProcess : public Process {
 public:
  std::optional<std::string> moduleFileName() override {
    if (modulePath.empty() || modulePath.size() > 259) return std::nullopt;
    return modulePath;
  }
  std::uint16_t userUiLanguage() override { return 1033; }
  std::string windowsDirectory() override { return windowsDir; }
  MutexResult takeNamedMutex(const char*) override { return MutexResult::kFailed; }
  // UTF-8 has no trail byte that could be taken for a backslash.
  std::size_t charLength(const char* text) override { return text[0] == '\0' ? 0 : 1; }

  std::string modulePath;
  std::string windowsDir;
};

class PosixHost : public HostPlatform {
 public:
  Process& process() override { return process_; }
  Files& files() override { return files_; }
  Profile& profile() override { return profile_; }

  std::optional<std::string> SeamPath(const std::string& hostPath) override {
    std::error_code error;
    std::string path = fs::absolute(hostPath, error).lexically_normal().string();
    // A backslash in a Linux name could not be told from a separator.
    if (error || path.find('\\') != std::string::npos) return std::nullopt;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    for (char& c : path)
      if (c == '/') c = '\\';
    return path;
  }
  std::string HostSpelling(const std::string& seamPath) override {
    return NativePath(seamPath.c_str());
  }
  void SetModulePath(const std::string& seamPath) override { process_.modulePath = seamPath; }
  void SetWindowsDirectory(const std::string& seamPath) override { process_.windowsDir = seamPath; }

 private:
  PosixProcess process_;
  PosixFiles files_;
  PosixProfile profile_;
};

}  // namespace

std::unique_ptr<HostPlatform> MakeHostPlatform() {
  return std::make_unique<PosixHost>();
}

}  // namespace kvr::pack
