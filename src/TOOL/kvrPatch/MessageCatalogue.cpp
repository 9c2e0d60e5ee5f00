#include "MessageCatalogue.h"

namespace kvr {

const char* MessageCatalogue::LoadMessageText(unsigned id) {
  buffer_.assign(messages_.loadString(id, kLoadCapacity));
  return buffer_.c_str();
}

}  // namespace kvr
