#include "CatalogueMessages.h"

namespace kvr::pack {
namespace {

struct CatalogueText {
  unsigned id;
  const char* english;
};

constexpr CatalogueText kTexts[] = {
#define KVR_MESSAGE(id, english, japanese) {id, english},
#include "res/Messages.def"
#undef KVR_MESSAGE
};

}  // namespace

std::string CatalogueMessages::loadString(unsigned id, std::size_t capacity) {
  if (capacity == 0) return std::string();
  for (const CatalogueText& text : kTexts)
    if (text.id == id) return std::string(text.english).substr(0, capacity - 1);
  return std::string();
}

}  // namespace kvr::pack
