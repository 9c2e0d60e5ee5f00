// set: one value written encoded into a settings file, the rest kept.
#include "Arguments.h"
#include "Commands.h"
#include "PackExit.h"
#include "TextEncoding.h"
#include "settings/EncodedIniReader.h"
#include "settings/ValueCodec.h"

namespace kvr::pack {

int RunSet(const CommandArgs& args, Session& session) {
  std::string error;
  const auto parsed = ParseArguments(args, {}, {"--raw"}, error);
  if (parsed && parsed->positional.size() != 4) error = "needs FILE SECTION KEY VALUE";
  if (!error.empty()) {
    session.err << "kvrPack set: " << error << " (see kvrPack --help)\n";
    return exit_code::kUsage;
  }
  const std::string& file = parsed->positional[0];
  const std::string& section = parsed->positional[1];
  const std::string& key = parsed->positional[2];
  const std::string& value = parsed->positional[3];
  const std::string where = file + ": [" + section + "] " + key;
  // A name that the profile functions would read differently would corrupt the file.
  const bool badSection = section.empty() || section.find_first_of("]\r\n") != std::string::npos;
  const bool badKey = key.empty() || key.find_first_of("=[\r\n") != std::string::npos;
  if (badSection || badKey) {
    session.err << where << ": not a usable " << (badSection ? "section" : "key") << " name\n";
    return exit_code::kUsage;
  }

  const std::optional<std::string> plain =
      parsed->flag("--raw") ? value
                            : ConvertText(value, TextEncoding::kUtf8, TextEncoding::kShiftJis);
  if (!plain) {
    session.err << where << ": the value has a character that Shift-JIS does not have\n";
    return exit_code::kProblems;
  }
  const std::string encoded = EncodeValue(*plain);
  // The tool reads at most 1023 characters: a longer value could never be read back.
  if (encoded.size() > kProfileReadCapacity - 1 || plain->find('\0') != std::string::npos) {
    session.err << where << ": the value is longer than the 510 bytes the tool can read back\n";
    return exit_code::kProblems;
  }
  const std::optional<std::string> path = session.host.SeamPath(file);
  if (!path ||
      !session.host.profile().write(section.c_str(), key.c_str(), encoded.c_str(), path->c_str())) {
    session.err << where << ": cannot be written\n";
    return exit_code::kFileError;
  }
  return exit_code::kDone;
}

}  // namespace kvr::pack
