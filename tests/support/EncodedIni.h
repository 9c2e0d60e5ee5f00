// Settings files for tests: INI text whose values are encoded with the tool's
// own encoder (ValueCodec), CRLF lines. Platform-neutral (no fake, no
// Windows), so unit, contract and end-to-end tests can all write scenarios.
//
//   const std::string text = kvr::testing::EncodedIniText({
//       {"INSTALL", {Enc("TARGET", "0"), Enc("FILES", "1"), Raw("FILE1", "garbage")}},
//   });
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvr::testing {

// One "key=value" line. `value` is encoded unless `raw`, in which case it is
// written as it stands (for bad input).
struct IniEntry {
  std::string key;
  std::string value;
  bool raw = false;
};

// A key whose plain value (any bytes, 0 bytes included) is written encoded.
inline IniEntry Enc(std::string key, std::string plain) {
  return IniEntry{std::move(key), std::move(plain), false};
}
// A key whose value is written exactly as given.
inline IniEntry Raw(std::string key, std::string text) {
  return IniEntry{std::move(key), std::move(text), true};
}

struct IniSection {
  std::string name;
  std::vector<IniEntry> entries;
};

// The encoded form of a plain value, as the settings files store it.
std::string EncodeForIni(std::string_view plain);

// "[name]" and one "key=value" line per entry for each section, in order, a
// blank line between sections; every line ends with CR LF.
std::string EncodedIniText(const std::vector<IniSection>& sections);

}  // namespace kvr::testing
