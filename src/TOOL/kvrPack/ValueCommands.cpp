// encode and decode: one value of the settings encoding.
#include <vector>

#include "Arguments.h"
#include "Commands.h"
#include "PackExit.h"
#include "ShownValue.h"
#include "TextEncoding.h"
#include "settings/ValueCodec.h"

namespace kvr::pack {
namespace {

// The single TEXT argument of encode and decode, or nullopt after a message.
std::optional<Arguments> OneText(const char* command, const CommandArgs& args, Session& session) {
  std::string error;
  auto parsed = ParseArguments(args, {}, {"--raw"}, error);
  if (parsed && parsed->positional.size() != 1) error = "needs exactly one TEXT";
  if (!error.empty()) {
    session.err << "kvrPack " << command << ": " << error << " (see kvrPack --help)\n";
    return std::nullopt;
  }
  return parsed;
}

}  // namespace

int RunEncode(const CommandArgs& args, Session& session) {
  const auto parsed = OneText("encode", args, session);
  if (!parsed) return exit_code::kUsage;
  const std::string& text = parsed->positional[0];
  // Settings values hold Japanese as Shift-JIS; --raw encodes the bytes as given.
  const std::optional<std::string> plain =
      parsed->flag("--raw") ? text
                            : ConvertText(text, TextEncoding::kUtf8, TextEncoding::kShiftJis);
  if (!plain) {
    session.err << "kvrPack encode: the text is not UTF-8 or has a character that Shift-JIS "
                   "does not have\n";
    return exit_code::kProblems;
  }
  session.out << EncodeValue(*plain) << '\n';
  return exit_code::kDone;
}

int RunDecode(const CommandArgs& args, Session& session) {
  const auto parsed = OneText("decode", args, session);
  if (!parsed) return exit_code::kUsage;
  const std::string& text = parsed->positional[0];
  std::vector<char> plain(text.size() / 2 + 2);
  if (ValueCodec('-', text.c_str(), plain.data(), plain.size()) != 0) {
    session.err << "kvrPack decode: '" << text << "' does not decode: it is not a value of the "
                << "settings encoding (wrong length, a character outside the table, or a check "
                   "character that does not match)\n";
    return exit_code::kProblems;
  }
  // Every decoded byte is shown, a 0 byte included (which the tool's readers
  // take for the end of the value).
  const std::string_view bytes(plain.data(), (text.size() - 2) / 2);
  session.out << ShowValue(bytes, parsed->flag("--raw")).text << '\n';
  if (bytes.find('\0') != std::string_view::npos)
    session.err << "kvrPack decode: the value holds a 0 byte; the tool reads only what comes "
                   "before it\n";
  return exit_code::kDone;
}

}  // namespace kvr::pack
