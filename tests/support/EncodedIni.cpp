#include "EncodedIni.h"

#include "settings/ValueCodec.h"

namespace kvr::testing {

std::string EncodeForIni(std::string_view plain) {
  return EncodeValue(plain);
}

std::string EncodedIniText(const std::vector<IniSection>& sections) {
  std::string text;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += "[" + sections[i].name + "]\r\n";
    for (const IniEntry& entry : sections[i].entries)
      text += entry.key + "=" + (entry.raw ? entry.value : EncodeForIni(entry.value)) + "\r\n";
  }
  return text;
}

}  // namespace kvr::testing
