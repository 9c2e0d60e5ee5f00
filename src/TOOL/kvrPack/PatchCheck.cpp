#include "PatchCheck.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <system_error>

#include "FileBytes.h"
#include "Outcome.h"
#include "settings/EncodedIniReader.h"
#include "settings/PatchDescription.h"
#include "settings/ProfileText.h"
#include "settings/RunContext.h"
#include "settings/TextRules.h"
#include "settings/ValueCodec.h"
#include "steps/RegistryQuoter.h"

namespace kvr::pack {
namespace {

constexpr char kSection[] = "INSTALL";
constexpr char kPatchIniName[] = "kvrIni.ini";
constexpr std::size_t kMaxPath = 259;
// The shortest install directory a destination must leave room for ("C:\x").
constexpr std::size_t kShortestInstallDir = 4;

const char* const kScalarKeys[] = {"TARGET",  "MODULE_TYPE",  "MODULE_NM", "MODULE_NM_E",
                                   "VERSION", "VERSION_DISP", "SPNO64",    "PTNO",
                                   "FILES",   "REGISTRIES"};

// One key as the tool's reader sees it.
struct KeyRead {
  bool present = false;  // a non-empty value is stored
  bool decodes = false;
  std::string plain;  // the decoded text up to its first 0 byte
};

KeyRead ReadKey(Profile& profile, const std::string& path, const std::string& key) {
  KeyRead read;
  const std::string stored = profile.read(kSection, key.c_str(), path.c_str());
  read.present = !stored.empty();
  if (!read.present) return read;
  char plain[kProfileReadCapacity];
  read.decodes = ValueCodec('-', stored.c_str(), plain, sizeof plain) == 0;
  if (read.decodes) read.plain = plain;
  return read;
}

// "FILE" or "REGISTRY" and n >= 1 without leading zeros, as the tool names
// its numbered keys; 0 for any other name.
long NumberedKey(const std::string& name, const std::string& stem) {
  if (name.size() <= stem.size() || !SameProfileName(name.substr(0, stem.size()), stem)) return 0;
  const std::string digits = name.substr(stem.size());
  if (digits[0] == '0' || digits.size() > 9) return 0;
  for (const char c : digits)
    if (c < '0' || c > '9') return 0;
  return std::stol(digits);
}

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

class Checker {
 public:
  Checker(HostPlatform& host, std::string folder, std::vector<std::string> platforms)
      : host_(host), folder_(std::move(folder)), platforms_(std::move(platforms)) {}

  std::vector<Problem> Run() {
    const std::filesystem::path ini = HostPath(folder_) / kPatchIniName;
    const std::optional<std::string> bytes = ReadFileBytes(ini);
    const std::optional<std::string> seamFolder = host_.SeamPath(folder_);
    if (!bytes) {
      Add("", "kvrIni.ini is missing: the tool stops with exit code 5");
      return problems_;
    }
    if (!seamFolder) {
      Add("", "the folder's path cannot be spelled in this system's code page");
      return problems_;
    }
    toolDir_ = *seamFolder;
    iniPath_ = toolDir_ + "\\" + kPatchIniName;
    if (iniPath_.size() > kMaxPath)
      Add("",
          "the path of kvrIni.ini here exceeds 259 characters: the tool stops with exit code 5");
    if (!ListKeys(*bytes)) return problems_;
    for (const char* key : kScalarKeys) Read(key);
    CheckScalars();
    if (platforms_.empty()) FindPlatforms();
    CheckFiles();
    CheckRegistries();
    ProveWithLoader();
    return problems_;
  }

 private:
  void Add(const std::string& key, const std::string& text) { problems_.push_back({key, text}); }

  // The keys of the first INSTALL section, in file order; unknown and
  // repeated names are problems.
  bool ListKeys(const std::string& bytes) {
    const std::vector<ProfileLine> lines = ParseProfileText(bytes);
    bool inSection = false, found = false;
    std::vector<std::string> seen;
    for (const ProfileLine& line : lines) {
      if (line.section) {
        if (found && inSection) break;  // only the first INSTALL section is read
        inSection = SameProfileName(line.name, kSection);
        found = found || inSection;
        continue;
      }
      if (!inSection || line.blank) continue;
      const std::string name(line.name);
      const bool repeated = std::any_of(seen.begin(), seen.end(), [&](const std::string& other) {
        return SameProfileName(other, name);
      });
      if (repeated) {
        Add(name, "appears twice: the tool reads only the first");
        continue;
      }
      seen.push_back(name);
      const bool known = std::any_of(std::begin(kScalarKeys), std::end(kScalarKeys),
                                     [&](const char* k) { return SameProfileName(k, name); });
      if (const long n = NumberedKey(name, "FILE")) {
        fileKeys_.push_back(n);
      } else if (const long r = NumberedKey(name, "REGISTRY")) {
        registryKeys_.push_back(r);
      } else if (!known) {
        Add(name, "not a key the tool reads");
      }
    }
    if (!found) Add(kSection, "section missing: the tool stops with exit code 5");
    return found;
  }

  // Reads a key once; a value that does not decode is reported here.
  const KeyRead& Read(const std::string& key) {
    auto found = reads_.find(key);
    if (found != reads_.end()) return found->second;
    KeyRead read = ReadKey(host_.profile(), iniPath_, key);
    if (read.present && !read.decodes) Add(key, "value does not decode");
    return reads_.emplace(key, std::move(read)).first->second;
  }
  std::string Plain(const std::string& key) { return Read(key).plain; }

  void CheckScalars() {
    // Each is kept in a field of 260 characters; a longer value reads as empty.
    for (const char* key : kScalarKeys)
      if (Plain(key).size() > kMaxPath)
        Add(key, "longer than the 259 characters the tool keeps: it reads the empty text");

    const std::string target = Plain("TARGET");
    if (target.empty())
      Add("TARGET", "missing: the tool stops with exit code 5");
    else if (target[0] < '0' || target[0] > '3')
      Add("TARGET", Quoted(target) + " is not 0 to 3: the tool stops with exit code 5");

    moduleType_ = ParseSettingsNumber(Plain("MODULE_TYPE"));
    if (moduleType_ != 0 && moduleType_ != 1)
      Add("MODULE_TYPE", Quoted(Plain("MODULE_TYPE")) +
                             " is neither 0 (patch) nor 1 (service pack): the tool refuses it "
                             "as already applied (exit code 12)");
    const char* levelKey = moduleType_ == 1 ? "SPNO64" : "PTNO";
    if (Plain(levelKey).empty())
      Add(levelKey, "missing: level 0 is never above the installed level (exit code 12)");
    if (Plain("VERSION").empty())
      Add("VERSION", "missing: no installed product version matches it (exit code 1)");
    if (Plain("MODULE_NM").empty()) Add("MODULE_NM", "missing: Japanese users see no module name");
    if (Plain("MODULE_NM_E").empty())
      Add("MODULE_NM_E", "missing: English (US) users see no module name");
  }

  void FindPlatforms() {
    std::error_code error;
    const std::filesystem::path set = HostPath(folder_) / "SET";
    for (const auto& entry : std::filesystem::directory_iterator(set, error))
      if (entry.is_directory(error)) platforms_.push_back(Utf8Of(entry.path().filename()));
    std::sort(platforms_.begin(), platforms_.end());
  }

  // The numbered keys of a list against their count.
  void CheckCount(const std::string& countKey, const std::string& stem,
                  const std::vector<long>& present, std::int32_t count) {
    for (const long n : present)
      if (n > count)
        Add(stem + std::to_string(n),
            "beyond " + countKey + " = " + std::to_string(count) + ": the tool ignores it");
  }

  void CheckFiles() {
    const std::int32_t count = ParseSettingsNumber(Plain("FILES"));
    CheckCount("FILES", "FILE", fileKeys_, count);
    if (count > 0 && platforms_.empty())
      Add("FILES", "no SET\\<platform>\\ folder holds the replacement files");
    for (std::int64_t n = 1; n <= count; ++n) {
      const std::string key = "FILE" + std::to_string(n);
      const KeyRead& read = Read(key);
      if (!read.present) {
        Add(key,
            "missing (FILES is " + std::to_string(count) + "): the tool stops with exit code 5");
        continue;
      }
      if (!read.decodes) continue;
      if (read.plain.size() > kMaxPath) {
        Add(key, "longer than 259 characters: the tool stops with exit code 5");
        continue;
      }
      const auto fields = SplitFields(read.plain, 3);
      if (fields.size() < 3) {
        Add(key, "needs mode,source,destination: the tool stops with exit code 5");
        continue;
      }
      const std::string mode(fields[0]), source(fields[1]), destination(fields[2]);
      if (mode != "0" && mode != "1")
        Add(key, "mode " + Quoted(mode) +
                     " is neither 0 (plain copy) nor 1 (stored shifted): the tool stops at "
                     "this file (exit code 2)");
      for (const std::string& platform : platforms_) {
        const std::string relative = "SET\\" + platform + "\\" + source;
        const std::string path = toolDir_ + "\\" + relative;
        const std::optional<std::uint32_t> attributes = host_.files().attributes(path.c_str());
        if (path.size() > kMaxPath)
          Add(key, "source " + relative + " does not fit 259 characters in this folder");
        else if (!attributes || (*attributes & 0x10))
          Add(key, "source " + relative + " is missing");
      }
      if (destination.size() + 1 + kShortestInstallDir > kMaxPath)
        Add(key, "destination " + Quoted(destination) +
                     " leaves no room for an install directory within 259 characters");
    }
  }

  void CheckRegistries() {
    const std::int32_t count = ParseSettingsNumber(Plain("REGISTRIES"));
    CheckCount("REGISTRIES", "REGISTRY", registryKeys_, count);
    for (std::int64_t n = 1; n <= count; ++n) {
      const std::string key = "REGISTRY" + std::to_string(n);
      const KeyRead& read = Read(key);
      if (!read.present) {
        Add(key, "missing (REGISTRIES is " + std::to_string(count) +
                     "): the tool stops with exit code 5");
        continue;
      }
      if (!read.decodes) continue;
      const auto fields = SplitFields(read.plain, 5);
      if (fields.size() < 5) {
        Add(key, "needs mode,hive,key,value name,value data: the tool stops with exit code 5");
        continue;
      }
      // The widths of the tool's own record.
      RegistryEntry entry;
      const bool fits = entry.mode.assign(fields[0]) && entry.hive.assign(fields[1]) &&
                        entry.keyPath.assign(fields[2]) && entry.valueName.assign(fields[3]) &&
                        entry.valueData.assign(fields[4]);
      if (!fits) Add(key, "a field is wider than the tool keeps: it stops with exit code 5");
      const std::string mode(fields[0]), hive(fields[1]);
      if (mode != "0" && mode != "1")
        Add(key, "mode " + Quoted(mode) + " is neither 0 (quote the value) nor 1 (leave it)");
      if (!RootKeyNamed(hive))
        Add(key, "hive " + Quoted(hive) +
                     " is not HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or "
                     "HKEY_USERS (exit code 6)");
    }
  }

  // The tool's own loader, first half, on the folder as it stands.
  void ProveWithLoader() {
    host_.SetModulePath(toolDir_ + "\\kvrPatch.exe");
    RunContext context;
    const Outcome loaded = CatchAtEdge([&]() -> Outcome {
      LoadPatchDescription(context, host_.process(), host_.files(), host_.profile());
      return outcome::kSuccess;
    });
    if (loaded != outcome::kSuccess && problems_.empty())
      Add("", "the tool refuses to load it (exit code 5)");
  }

  HostPlatform& host_;
  std::string folder_;
  std::vector<std::string> platforms_;
  std::string toolDir_, iniPath_;
  std::vector<long> fileKeys_, registryKeys_;
  std::map<std::string, KeyRead> reads_;
  std::int32_t moduleType_ = 0;
  std::vector<Problem> problems_;
};

}  // namespace

std::vector<Problem> CheckPatchFolder(HostPlatform& host, const std::string& folder,
                                      const std::vector<std::string>& platforms) {
  return Checker(host, folder, platforms).Run();
}

}  // namespace kvr::pack
