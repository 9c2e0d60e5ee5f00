#include "PlainDescription.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "FileBytes.h"
#include "TextEncoding.h"
#include "settings/ProfileText.h"
#include "settings/TextRules.h"
#include "settings/ValueCodec.h"

namespace kvr::pack {
namespace {

// The largest plain value whose encoded form (2n + 2) the tool's read of
// 1023 characters holds whole.
constexpr std::size_t kMaxPlainBytes = 510;

const char* const kScalarKeys[] = {"TARGET",  "MODULE_TYPE",  "MODULE_NM", "MODULE_NM_E",
                                   "VERSION", "VERSION_DISP", "SPNO64",    "PTNO"};

// n of "FILEn" / "REGISTRYn" (n >= 1, no leading zero), else 0.
long NumberOf(const std::string& name, const std::string& stem) {
  if (name.size() <= stem.size() || !SameProfileName(name.substr(0, stem.size()), stem)) return 0;
  const std::string digits = name.substr(stem.size());
  if (digits[0] == '0' || digits.size() > 6) return 0;
  for (const char c : digits)
    if (c < '0' || c > '9') return 0;
  return std::stol(digits);
}

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

class Reader {
 public:
  Reader(std::string path, std::vector<Problem>& problems)
      : path_(std::move(path)), problems_(problems) {}

  std::optional<PlainDescription> Run(bool& unreadable) {
    const std::optional<std::string> bytes = ReadFileBytes(HostPath(path_));
    unreadable = !bytes;
    if (!bytes) return std::nullopt;
    Collect(*bytes);
    PlainDescription description;
    for (const char* key : kScalarKeys)
      if (const auto found = values_.find(key); found != values_.end())
        description.values.emplace_back(key, Plain(key, found->second));
    AddList(description, "FILE", "FILES", files_);
    AddList(description, "REGISTRY", "REGISTRIES", registries_);
    if (!problems_.empty()) return std::nullopt;
    return description;
  }

 private:
  void Add(const std::string& key, const std::string& text) { problems_.push_back({key, text}); }

  // The [INSTALL] keys and their UTF-8 values.
  void Collect(const std::string& bytes) {
    bool inInstall = false, sawInstall = false;
    for (const ProfileLine& line : ParseProfileText(bytes)) {
      if (line.blank) continue;
      const std::string name(line.name);
      const std::string text = bytes.substr(line.begin, line.end - line.begin);
      const auto first = text.find_first_not_of(" \t");
      if (first != std::string::npos && (text[first] == ';' || text[first] == '#')) continue;
      if (line.section) {
        inInstall = SameProfileName(name, "INSTALL");
        if (!inInstall) Add("[" + name + "]", "only the section [INSTALL] is read");
        if (inInstall && sawInstall) Add("[INSTALL]", "appears twice");
        sawInstall = sawInstall || inInstall;
        continue;
      }
      if (!inInstall) {
        Add(name, "outside the section [INSTALL]");
        continue;
      }
      if (!line.value) {
        Add(name, "has no '='");
        continue;
      }
      const std::string key = Upper(name);
      const bool scalar =
          std::find(std::begin(kScalarKeys), std::end(kScalarKeys), key) != std::end(kScalarKeys);
      std::map<long, std::string>* list = nullptr;
      long n = 0;
      if ((n = NumberOf(key, "FILE")) != 0) {
        list = &files_;
      } else if ((n = NumberOf(key, "REGISTRY")) != 0) {
        list = &registries_;
      } else if (key == "FILES" || key == "REGISTRIES") {
        Add(key, "is counted from the numbered keys: leave it out");
        continue;
      } else if (!scalar) {
        Add(name, "not a key of the patch description");
        continue;
      }
      const std::string value = ProfileReturnedValue(*line.value);
      const bool repeated = list ? list->count(n) != 0 : values_.count(key) != 0;
      if (repeated) {
        Add(key, "appears twice");
        continue;
      }
      if (list)
        (*list)[n] = value;
      else
        values_[key] = value;
    }
    if (!sawInstall) Add("[INSTALL]", "section missing");
  }

  // The value as the tool will hold it: Shift-JIS, short enough to be read.
  std::string Plain(const std::string& key, const std::string& utf8) {
    const auto sjis = ConvertText(utf8, TextEncoding::kUtf8, TextEncoding::kShiftJis);
    if (!sjis) {
      Add(key, "not UTF-8 text, or has a character that Shift-JIS does not have");
      return std::string();
    }
    if (sjis->size() > kMaxPlainBytes)
      Add(key, "longer than the 510 bytes whose encoded form the tool can read");
    return *sjis;
  }

  void AddList(PlainDescription& description, const std::string& stem, const char* countKey,
               const std::map<long, std::string>& list) {
    const long count = list.empty() ? 0 : list.rbegin()->first;
    description.values.emplace_back(countKey, std::to_string(count));
    for (long n = 1; n <= count; ++n) {
      const std::string key = stem + std::to_string(n);
      const auto found = list.find(n);
      if (found == list.end()) {
        Add(key,
            "missing: " + stem + "1 to " + stem + std::to_string(count) + " must all be there");
        continue;
      }
      if (stem == "FILE")
        description.values.emplace_back(key, FileLine(description, key, found->second));
      else
        description.values.emplace_back(key, RegistryLine(key, found->second));
    }
  }

  // mode,source,destination: the source becomes its name under SET\<platform>\.
  std::string FileLine(PlainDescription& description, const std::string& key,
                       const std::string& utf8) {
    const auto fields = SplitFields(utf8, 4);
    if (fields.size() != 3) {
      Add(key, fields.size() < 3 ? "needs mode,source,destination"
                                 : "has more than mode,source,destination (a comma in a name?)");
      return std::string();
    }
    std::string relative(fields[1]);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const std::filesystem::path source = HostPath(path_).parent_path() / HostPath(relative);
    std::error_code error;
    if (!std::filesystem::is_regular_file(source, error)) {
      Add(key, "source " + relative + " not found");
      return std::string();
    }
    const std::string mode(fields[0]);
    const std::string stored = Utf8Of(source.filename());
    // Stored names are one folder, and Windows does not tell letter cases apart.
    for (const SourceFile& other : description.sources) {
      if (!SameProfileName(other.storedName, stored)) continue;
      if (std::filesystem::equivalent(other.source, source, error) && other.mode == mode)
        return Plain(key, mode + "," + stored + "," + std::string(fields[2]));
      Add(key, "source " + stored + " has the name of another source or mode");
      return std::string();
    }
    description.sources.push_back({mode, source, stored});
    return Plain(key, mode + "," + stored + "," + std::string(fields[2]));
  }

  std::string RegistryLine(const std::string& key, const std::string& utf8) {
    const auto fields = SplitFields(utf8, 6);
    if (fields.size() != 5) {
      Add(key, fields.size() < 5 ? "needs mode,hive,key,value name,value data"
                                 : "has more than five fields: the tool keeps only the first five");
      return std::string();
    }
    return Plain(key, utf8);
  }

  std::string path_;
  std::vector<Problem>& problems_;
  std::map<std::string, std::string> values_;
  std::map<long, std::string> files_, registries_;
};

}  // namespace

std::optional<PlainDescription> ReadPlainDescription(const std::string& path,
                                                     std::vector<Problem>& problems,
                                                     bool& unreadable) {
  return Reader(path, problems).Run(unreadable);
}

std::string EncodedPatchIni(const PlainDescription& description) {
  std::string text = "[INSTALL]\r\n";
  for (const auto& [key, plain] : description.values)
    text += key + "=" + EncodeValue(plain) + "\r\n";
  return text;
}

}  // namespace kvr::pack
