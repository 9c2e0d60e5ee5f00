// show: every section and key of a settings file with its decoded value.
#include <algorithm>

#include "Arguments.h"
#include "Commands.h"
#include "FileBytes.h"
#include "PackExit.h"
#include "ShownValue.h"
#include "settings/EncodedIniReader.h"
#include "settings/ProfileText.h"
#include "settings/ValueCodec.h"

namespace kvr::pack {
namespace {

bool SeenBefore(std::vector<std::string>& seen, std::string_view name) {
  const bool before = std::any_of(seen.begin(), seen.end(), [&](const std::string& other) {
    return SameProfileName(other, name);
  });
  if (!before) seen.emplace_back(name);
  return before;
}

}  // namespace

int RunShow(const CommandArgs& args, Session& session) {
  std::string error;
  const auto parsed = ParseArguments(args, {}, {"--raw"}, error);
  if (parsed && parsed->positional.size() != 1) error = "needs exactly one FILE";
  if (!error.empty()) {
    session.err << "kvrPack show: " << error << " (see kvrPack --help)\n";
    return exit_code::kUsage;
  }
  const bool raw = parsed->flag("--raw");
  const std::string& file = parsed->positional[0];
  const std::optional<std::string> bytes = ReadFileBytes(HostPath(file));
  if (!bytes) {
    session.err << file << ": cannot be read\n";
    return exit_code::kFileError;
  }

  // Every line the profile functions see, in file order; what the tool would
  // not read (a repeated section or key) is marked, not left out.
  bool flagged = false;
  std::string section;
  bool sectionIgnored = false;
  std::vector<std::string> sections, keys;
  for (const ProfileLine& line : ParseProfileText(*bytes)) {
    if (line.blank) continue;
    const std::string name = ShowValue(line.name, raw).text;
    if (line.section) {
      section = std::string(line.name);
      sectionIgnored = SeenBefore(sections, line.name);
      keys.clear();
      session.out << '[' << name << ']'
                  << (sectionIgnored ? "   (ignored: an earlier section of this name counts)" : "")
                  << '\n';
      continue;
    }
    const std::string where = file + ": [" + section + "] " + std::string(line.name);
    const char* const ignored = sectionIgnored ? "   (ignored: its section is a repeat)"
                                : SeenBefore(keys, line.name)
                                    ? "   (ignored: an earlier key counts)"
                                    : "";
    if (!line.value) {
      session.out << name << " ! no '=' on this line: no value" << ignored << '\n';
      continue;
    }
    const std::string stored = ProfileReturnedValue(*line.value);
    if (stored.empty()) {
      session.out << name << " = (empty: read as missing)" << ignored << '\n';
      continue;
    }
    char plain[kProfileReadCapacity];
    if (ValueCodec('-', stored.c_str(), plain, sizeof plain) != 0) {
      flagged = true;
      session.out << name << " ! does not decode: " << ShowValue(stored, raw).text << ignored
                  << '\n';
      session.err << where << ": value does not decode\n";
      continue;
    }
    const ShownValue shown = ShowValue(plain, raw);
    session.out << name << " = " << shown.text
                << (shown.notShiftJis ? "   (not Shift-JIS text: bytes shown as \\xNN)" : "")
                << ignored << '\n';
  }
  return flagged ? exit_code::kProblems : exit_code::kDone;
}

}  // namespace kvr::pack
