#include "FakeFiles.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kvr::fake {

std::string FakeFiles::Key(const std::string& path) {
  std::string key = path;
  for (char& c : key) {
    if (c == '/') c = '\\';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  while (key.size() > 3 && key.back() == '\\') key.pop_back();
  return key;
}

std::string FakeFiles::Parent(const std::string& path) {
  const std::string key = Key(path);
  const std::size_t slash = key.rfind('\\');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

void FakeFiles::addFolder(const std::string& path) {
  std::string key = Key(path);
  while (!key.empty()) {
    folders_.insert(key);
    const std::size_t slash = key.rfind('\\');
    if (slash == std::string::npos) break;
    key = key.substr(0, slash);
  }
}

bool FakeFiles::folderExists(const std::string& path) const {
  return path.empty() || folders_.count(Key(path)) > 0;
}

bool FakeFiles::blocked(const std::string& key) const {
  if (held_.count(key)) return true;
  auto it = files_.find(key);
  return it != files_.end() && it->second.openCount > 0;
}

void FakeFiles::put(const std::string& path, const std::string& bytes, FileTimes times,
                    std::uint32_t attributes) {
  addFolder(Parent(path));
  Entry& e = files_[Key(path)];
  e.spelled = path;
  e.file = FakeFile{bytes, times, attributes};
}

int FakeFiles::openHandles() const {
  int open = 0;
  for (const auto& [key, e] : files_) open += e.openCount;
  return open;
}

bool FakeFiles::exists(const std::string& path) const {
  return files_.count(Key(path)) > 0;
}

const FakeFile& FakeFiles::at(const std::string& path) const {
  auto it = files_.find(Key(path));
  if (it == files_.end()) throw std::runtime_error("fake: no file " + path);
  return it->second.file;
}

std::optional<FakeFile> FakeFiles::find(const std::string& path) const {
  auto it = files_.find(Key(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.file;
}

std::vector<std::string> FakeFiles::list() const {
  std::vector<std::string> out;
  for (const auto& [key, e] : files_) out.push_back(e.spelled);
  return out;
}

std::optional<std::string> FakeFiles::readAll(const std::string& path) const {
  auto it = files_.find(Key(path));
  if (it == files_.end() || held_.count(it->first)) return std::nullopt;
  return it->second.file.bytes;
}

bool FakeFiles::writeAll(const std::string& path, const std::string& bytes) {
  const std::string key = Key(path);
  if (blocked(key) || !folderExists(Parent(path))) return false;
  auto it = files_.find(key);
  if (it != files_.end()) {
    if (it->second.file.attributes & kAttributeReadOnly) return false;
    it->second.file.bytes = bytes;
    return true;
  }
  put(path, bytes);
  return true;
}

std::optional<std::uint32_t> FakeFiles::attributes(const char* path) {
  log_.push_back(std::string("attributes ") + path);
  const std::string key = Key(path);
  auto it = files_.find(key);
  if (it != files_.end()) return it->second.file.attributes;
  if (folders_.count(key)) return 0x10u;  // FILE_ATTRIBUTE_DIRECTORY
  return std::nullopt;
}

bool FakeFiles::setAttributes(const char* path, std::uint32_t attributes) {
  log_.push_back(std::string("setAttributes ") + path);
  auto it = files_.find(Key(path));
  if (it == files_.end()) return false;
  it->second.file.attributes = attributes == 0 ? kAttributeNormal : attributes;
  return true;
}

class FakeReadable : public ReadableFile {
 public:
  FakeReadable(FakeFiles& files, std::string key) : files_(files), key_(std::move(key)) {
    files_.files_[key_].openCount++;
  }
  ~FakeReadable() override {
    auto it = files_.files_.find(key_);
    if (it != files_.files_.end()) it->second.openCount--;
  }
  std::optional<std::size_t> read(void* buffer, std::size_t size) override {
    const std::string& bytes = files_.files_.at(key_).file.bytes;
    auto fault = files_.readFaults_.find(key_);
    if (fault != files_.readFaults_.end() && position_ + size > fault->second &&
        position_ < bytes.size())
      return std::nullopt;
    const std::size_t n = std::min(size, bytes.size() - std::min(position_, bytes.size()));
    std::memcpy(buffer, bytes.data() + position_, n);
    position_ += n;
    return n;
  }
  std::optional<FileTimes> times() override { return files_.files_.at(key_).file.times; }

 private:
  FakeFiles& files_;
  std::string key_;
  std::size_t position_ = 0;
};

class FakeWritable : public WritableFile {
 public:
  FakeWritable(FakeFiles& files, std::string key, std::optional<std::size_t> limit)
      : files_(files), key_(std::move(key)), limit_(limit) {
    files_.files_[key_].openCount++;
  }
  ~FakeWritable() override {
    auto it = files_.files_.find(key_);
    if (it != files_.files_.end()) it->second.openCount--;
  }
  bool write(const void* data, std::size_t size) override {
    std::string& bytes = files_.files_.at(key_).file.bytes;
    std::size_t take = size;
    if (limit_ && written_ + size > *limit_) take = *limit_ - written_;
    bytes.append(static_cast<const char*>(data), take);
    written_ += take;
    return take == size;
  }
  bool setTimes(const FileTimes& times) override {
    files_.files_.at(key_).file.times = times;
    return true;
  }

 private:
  FakeFiles& files_;
  std::string key_;
  std::optional<std::size_t> limit_;
  std::size_t written_ = 0;
};

std::unique_ptr<ReadableFile> FakeFiles::openRead(const char* path) {
  log_.push_back(std::string("openRead ") + path);
  const std::string key = Key(path);
  if (!files_.count(key) || blocked(key)) return nullptr;
  return std::make_unique<FakeReadable>(*this, key);
}

std::unique_ptr<WritableFile> FakeFiles::createWrite(const char* path, CreateMode mode) {
  log_.push_back(std::string("createWrite ") + path);
  const std::string key = Key(path);
  if (!folderExists(Parent(path)) || blocked(key) || folders_.count(key)) return nullptr;
  auto it = files_.find(key);
  if (it != files_.end()) {
    if (mode == CreateMode::kNew) return nullptr;
    if (it->second.file.attributes & kAttributeReadOnly) return nullptr;
    it->second.file.bytes.clear();
  } else {
    Entry& e = files_[key];
    e.spelled = path;
  }
  return std::make_unique<FakeWritable>(*this, key, writeLimit_);
}

bool FakeFiles::copy(const char* source, const char* destination, bool failIfExists) {
  log_.push_back(std::string("copy ") + source + " -> " + destination);
  const std::string from = Key(source), to = Key(destination);
  auto src = files_.find(from);
  if (src == files_.end() || blocked(from) || blocked(to)) return false;
  if (!folderExists(Parent(destination))) return false;
  auto dst = files_.find(to);
  if (dst != files_.end() && (failIfExists || (dst->second.file.attributes & kAttributeReadOnly)))
    return false;
  if (writeLimit_ && src->second.file.bytes.size() > *writeLimit_) return false;
  FakeFile copied = src->second.file;
  copied.times.creation = copied.times.lastAccess = 0;  // new file: only last-write carries
  Entry& e = files_[to];
  if (e.spelled.empty()) e.spelled = destination;
  e.file = copied;
  return true;
}

bool FakeFiles::replace(const char* from, const char* to) {
  log_.push_back(std::string("replace ") + from + " -> " + to);
  const std::string src = Key(from), dst = Key(to);
  auto it = files_.find(src);
  if (it == files_.end() || blocked(src) || blocked(dst)) return false;
  if (!folderExists(Parent(to))) return false;
  auto old = files_.find(dst);
  if (old != files_.end() && (old->second.file.attributes & kAttributeReadOnly)) return false;
  FakeFile moved = it->second.file;
  files_.erase(it);
  Entry& e = files_[dst];
  if (e.spelled.empty()) e.spelled = to;
  e.file = moved;
  return true;
}

bool FakeFiles::remove(const char* path) {
  log_.push_back(std::string("remove ") + path);
  const std::string key = Key(path);
  auto it = files_.find(key);
  if (it == files_.end() || blocked(key) || (it->second.file.attributes & kAttributeReadOnly))
    return false;
  files_.erase(it);
  return true;
}

}  // namespace kvr::fake
