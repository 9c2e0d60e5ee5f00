#include "MessageComposer.h"

#include <cstring>

namespace kvr {

std::string FillPlaceholders(const char* format, std::initializer_list<const char*> arguments) {
  std::string out;
  auto next = arguments.begin();
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p == '%') {
      // Flags have no effect on a text argument.
      const char* q = p + 1;
      while (*q != '\0' && std::strchr(" -+#0", *q) != nullptr) ++q;
      if (*q == 's') {
        if (next != arguments.end()) {
          if (*next != nullptr) out += *next;
          ++next;
        }
        p = q;
        continue;
      }
      if (*q == '%') {
        out += '%';
        p = q;
        continue;
      }
    }
    out += *p;
  }
  return out;
}

}  // namespace kvr
