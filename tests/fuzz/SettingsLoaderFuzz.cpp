// The whole settings load on the in-memory PC, fed one arbitrary INI text that
// serves as the patch description (its INSTALL section) and as the product's
// install information (its LICENSE section). Each input is loaded several
// ways: as it stands (values as the fuzzer wrote them, so mostly not
// decodable) and with every value encoded first (so the fuzzer's bytes reach
// the number rules, the list lines and the path joins), under English,
// Japanese and German users, with and without the product installed.
//
// What must hold after any load: the result is 0, 2 or 8, never -1; nothing
// was written; a complete load has lists as long as their counts, fields that
// fit, and every destination inside the install directory. A complete load is
// then applied by the whole tool, interactively, on a PC that has the patch's
// files and registry values: it ends with an exit code the checks, the files
// or the registry explain, never 99,
// shows boxes whose text fits its buffer, and leaves no file or key open.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "Entry.h"
#include "FakePlatform.h"
#include "MessageCatalogue.h"
#include "settings/SettingsLoader.h"
#include "settings/ValueCodec.h"

namespace {

using kvr::RootKey;
using kvr::fake::FakeFiles;
using kvr::fake::FakePlatform;

const char* const kProductFiles[] = {"Kovra.ini", "OrsaCreator.ini", "OrsaLogMng.ini"};

void Require(bool condition) {
  if (!condition) std::abort();
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The text with the value of every key line replaced by its encoding; the
// value is every byte after the first '=' up to the line's end (a CR before
// the LF stays outside).
std::string EncodeValues(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
    const bool cr = !line.empty() && line.back() == '\r';
    if (cr) line.remove_suffix(1);
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || line.find('[') < eq) {
      out += line;
    } else {
      out += line.substr(0, eq + 1);
      out += kvr::EncodeValue(line.substr(eq + 1));
    }
    if (cr) out += '\r';
    if (lf != std::string_view::npos) out += '\n';
  }
  return out;
}

std::optional<RootKey> RootNamed(std::string_view hive) {
  if (hive == "HKEY_CLASSES_ROOT") return RootKey::kClassesRoot;
  if (hive == "HKEY_CURRENT_USER") return RootKey::kCurrentUser;
  if (hive == "HKEY_LOCAL_MACHINE") return RootKey::kLocalMachine;
  if (hive == "HKEY_USERS") return RootKey::kUsers;
  return std::nullopt;
}

struct Variant {
  bool encode;
  std::uint16_t language;
  unsigned codePage;
  bool installed;
  bool apply;
};

constexpr Variant kVariants[] = {
    {false, 1033, 1252, true, true}, {false, 1041, 932, true, false},
    {true, 1033, 1252, true, true},  {true, 1041, 932, true, true},
    {true, 1031, 1252, true, false}, {true, 1033, 1252, false, false},
};

void Prepare(FakePlatform& pc, const Variant& variant, const std::string& text) {
  pc.process.uiLanguage = variant.language;
  pc.process.codePage = variant.codePage;
  pc.files.put("C:\\patch\\kvrIni.ini", text);
  if (variant.installed)
    for (const char* name : kProductFiles) pc.files.put(pc.process.windowsDir + "\\" + name, text);
}

void CheckLoaded(const kvr::RunContext& context, const FakePlatform& pc) {
  Require(context.files.size() == static_cast<std::size_t>(std::max(0, context.fileCount)));
  Require(context.registries.size() ==
          static_cast<std::size_t>(std::max(0, context.registryCount)));
  const char kind = context.TargetKind();
  Require(kind >= '0' && kind <= '3');
  Require(!context.productName.empty());
  Require(!context.productVersion.empty() && !context.installDir.empty());
  bool knownFile = false;
  for (const char* name : kProductFiles)
    knownFile |= context.productIniPath == pc.process.windowsDir + "\\" + name;
  Require(knownFile);
  const std::string prefix = context.installDir.str() + "\\";
  for (const kvr::FileEntry& entry : context.files) {
    Require(!entry.mode.empty() && !entry.sourceName.empty());
    Require(entry.destPath.size() > prefix.size() && StartsWith(entry.destPath.view(), prefix));
    Require(entry.mode.view().find(',') == std::string_view::npos);
    Require(entry.sourceName.view().find(',') == std::string_view::npos);
  }
  for (const kvr::RegistryEntry& entry : context.registries) {
    for (std::string_view field : {entry.mode.view(), entry.hive.view(), entry.keyPath.view(),
                                   entry.valueName.view(), entry.valueData.view()})
      Require(!field.empty() && field.find(',') == std::string_view::npos);
  }
}

// Loading reads and looks; it never writes.
void CheckNothingWritten(const FakePlatform& pc) {
  for (const std::string& line : pc.files.log()) Require(StartsWith(line, "attributes "));
  for (const std::string& line : pc.profile.log()) Require(StartsWith(line, "read "));
}

// Gives the PC what the loaded patch needs: its files under SET\<platform>,
// the destination folders, and the registry values it quotes.
void Furnish(FakePlatform& pc, const kvr::RunContext& context) {
  for (const kvr::FileEntry& entry : context.files) {
    const std::string source =
        context.toolDir.str() + "\\SET\\" + context.platform.str() + "\\" + entry.sourceName.str();
    pc.files.put(source, "new " + entry.sourceName.str(), {1, 2, 3});
    pc.files.addFolder(FakeFiles::Parent(entry.destPath.str()));
  }
  for (const kvr::RegistryEntry& entry : context.registries)
    if (const std::optional<RootKey> root = RootNamed(entry.hive.view()))
      pc.registry.putText(*root, entry.keyPath.str(), entry.valueName.str(), entry.valueData.str());
}

// The same settings have just loaded, no other copy runs and no product
// window is open: only the checks, the files and the registry can stop it.
void CheckApplied(FakePlatform& pc, int exitCode) {
  static const std::set<int> kPossible = {0, 1, 2, 6, 10, 12};
  Require(kPossible.count(exitCode) == 1);
  Require(pc.files.openHandles() == 0 && pc.registry.openKeys() == 0);
  Require(pc.messages.shown.size() <= 2);
  for (const kvr::fake::ShownBox& box : pc.messages.shown) Require(box.text.size() <= 254);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string encoded = EncodeValues(input);
  for (const Variant& variant : kVariants) {
    const std::string text = variant.encode ? encoded : std::string(input);
    kvr::RunContext context;
    {
      FakePlatform pc;
      Prepare(pc, variant, text);
      kvr::MessageCatalogue catalogue(pc.messages);
      const kvr::Outcome loaded = kvr::SettingsLoader(context, pc.platform, catalogue);
      Require(loaded == 0 || loaded == 2 || loaded == 8);
      if (!variant.installed) Require(loaded != 0);
      CheckNothingWritten(pc);
      if (loaded != 0) continue;
      CheckLoaded(context, pc);
    }
    if (!variant.apply) continue;
    FakePlatform pc;
    Prepare(pc, variant, text);
    Furnish(pc, context);
    CheckApplied(pc, kvr::Run("", pc.platform));
  }
  return 0;
}
