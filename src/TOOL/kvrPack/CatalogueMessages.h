// The tool's message catalogue for the loaders that kvrPack runs: the English
// texts of the one catalogue source (res/Messages.def). No boxes are shown.
#pragma once

#include "platform/Platform.h"

namespace kvr::pack {

class CatalogueMessages : public Messages {
 public:
  std::string loadString(unsigned id, std::size_t capacity) override;
  int showBox(const char*, const char*, std::uint32_t) override { return 0; }
};

}  // namespace kvr::pack
