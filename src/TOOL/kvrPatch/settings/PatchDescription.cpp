#include "settings/PatchDescription.h"

#include <cstring>
#include <string>

#include "Outcome.h"
#include "settings/EncodedIniReader.h"
#include "settings/TextRules.h"

namespace kvr {
namespace {

constexpr char kSection[] = "INSTALL";
constexpr char kPatchIniName[] = "kvrIni.ini";
constexpr std::uint16_t kLanguageJapanese = 1041;
constexpr std::uint16_t kLanguageEnglishUs = 1033;
// Read capacities of the list lines.
constexpr std::size_t kFileLineCapacity = 260;
constexpr std::size_t kRegistryLineCapacity = 4096;

std::int32_t ReadNumber(Profile& profile, const char* key, const char* path) {
  return ReadEncodedNumber(profile, kSection, key, "", path);
}

// Stores `field` into `target`; a field wider than the target ends the load:
// a cut value would mean something else.
template <std::size_t N>
void Store(FixedText<N>& target, std::string_view field) {
  if (!target.assign(field)) RaiseOutcome(outcome::kSettingsUnusable);
}

void ReadFiles(RunContext& context, Profile& profile, const char* path) {
  // 64-bit counter: a count of 2^31-1 cannot overflow it. Nothing is reserved
  // for the count; a missing key ends the loop at once.
  for (std::int64_t n = 1; n <= context.fileCount; ++n) {
    const std::string key = "FILE" + std::to_string(n);
    FixedText<kFileLineCapacity> line;
    EncodedIniReader(profile, kSection, key.c_str(), "", line, path);
    if (line.empty()) RaiseOutcome(outcome::kSettingsUnusable);
    const auto fields = SplitFields(line.view(), 3);
    if (fields.size() < 3) RaiseOutcome(outcome::kSettingsUnusable);
    FileEntry entry;
    Store(entry.mode, fields[0]);
    Store(entry.sourceName, fields[1]);
    Store(entry.destPath, fields[2]);
    context.files.push_back(entry);
  }
}

void ReadRegistries(RunContext& context, Profile& profile, const char* path) {
  for (std::int64_t n = 1; n <= context.registryCount; ++n) {
    const std::string key = "REGISTRY" + std::to_string(n);
    FixedText<kRegistryLineCapacity> line;
    EncodedIniReader(profile, kSection, key.c_str(), "", line, path);
    if (line.empty()) RaiseOutcome(outcome::kSettingsUnusable);
    const auto fields = SplitFields(line.view(), 5);
    if (fields.size() < 5) RaiseOutcome(outcome::kSettingsUnusable);
    RegistryEntry entry;
    Store(entry.mode, fields[0]);
    Store(entry.hive, fields[1]);
    Store(entry.keyPath, fields[2]);
    Store(entry.valueName, fields[3]);
    Store(entry.valueData, fields[4]);
    context.registries.push_back(entry);
  }
}

}  // namespace

bool FindToolFolder(Process& process, FixedText<260>& toolDir) {
  toolDir.clear();
  const std::optional<std::string> modulePath = process.moduleFileName();
  if (!modulePath || modulePath->empty()) return false;
  if (!toolDir.assign(*modulePath)) {
    toolDir.clear();
    return false;
  }
  const char* const start = toolDir.c_str();
  const std::size_t length = toolDir.size();
  std::size_t lastBackslash = std::string::npos;
  for (std::size_t at = 0; at < length;) {
    if (start[at] == '\\') lastBackslash = at;
    const std::size_t step = process.charLength(start + at);
    if (step == 0) break;
    at += step;
  }
  const std::string folder =
      lastBackslash == std::string::npos ? std::string() : std::string(start, lastBackslash);
  toolDir.assign(folder);
  return true;
}

void LoadPatchDescription(RunContext& context, Process& process, Files& files, Profile& profile) {
  // 1 to 3: the tool's folder and the patch description beside it.
  const bool found = FindToolFolder(process, context.toolDir);
  const bool fits = context.patchIniPath.assign(context.toolDir.view()) &&
                    context.patchIniPath.append("\\") && context.patchIniPath.append(kPatchIniName);
  if (!fits) {
    context.patchIniPath.clear();  // never a cut path
    RaiseOutcome(outcome::kSettingsUnusable);
  }
  if (!found || !files.attributes(context.patchIniPath.c_str()))
    RaiseOutcome(outcome::kSettingsUnusable);
  const char* const path = context.patchIniPath.c_str();

  // 4 to 11, in this order: moduleName is read before any value can fail.
  EncodedIniReader(profile, kSection, "TARGET", "", context.target, path);
  context.moduleType = ReadNumber(profile, "MODULE_TYPE", path);
  const std::uint16_t language = process.userUiLanguage();
  if (language == kLanguageJapanese)
    EncodedIniReader(profile, kSection, "MODULE_NM", "", context.moduleName, path);
  else if (language == kLanguageEnglishUs)
    EncodedIniReader(profile, kSection, "MODULE_NM_E", "", context.moduleName, path);
  EncodedIniReader(profile, kSection, "VERSION", "", context.version, path);
  EncodedIniReader(profile, kSection, "VERSION_DISP", "", context.versionDisp, path);
  context.spNo = ReadNumber(profile, "SPNO64", path);
  context.ptNo = ReadNumber(profile, "PTNO", path);
  context.fileCount = ReadNumber(profile, "FILES", path);

  // 12 to 14: the two lists.
  ReadFiles(context, profile, path);
  context.registryCount = ReadNumber(profile, "REGISTRIES", path);
  ReadRegistries(context, profile, path);
}

}  // namespace kvr
