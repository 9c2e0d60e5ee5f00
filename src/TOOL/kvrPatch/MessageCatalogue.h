// The texts the tool shows, from the program's own string table, in the
// user's language (the system's resource lookup chooses it).
#pragma once

#include <cstddef>

#include "platform/Platform.h"
#include "settings/FixedText.h"

namespace kvr {

// Ids of the message table.
namespace message {
constexpr unsigned kConfirm = 1;
constexpr unsigned kVersionMismatch = 2;
constexpr unsigned kAlreadyRunning = 3;
constexpr unsigned kProductRunning = 4;
constexpr unsigned kSettingsUnusable = 6;
constexpr unsigned kException = 7;
constexpr unsigned kFileNotWritten = 8;
constexpr unsigned kNotInstalled = 9;
constexpr unsigned kSuccess = 10;
constexpr unsigned kAlreadyApplied = 12;
constexpr unsigned kOrsaInstalled = 13;
constexpr unsigned kBadParameter = 14;
constexpr unsigned kOrsaMissing = 15;
constexpr unsigned kServicePackWord = 16;
constexpr unsigned kPatchWord = 17;
constexpr unsigned kSecurityEnhancedWord = 19;
constexpr unsigned kLogManagerName = 20;
constexpr unsigned kRegistryFailed = 21;
}  // namespace message

class MessageCatalogue {
 public:
  // What one load may copy, terminator included.
  static constexpr std::size_t kLoadCapacity = 1020;

  explicit MessageCatalogue(Messages& messages) : messages_(messages) {}
  // The text of `id` in one shared buffer, valid until the next call. A
  // missing id gives the empty text.
  const char* LoadMessageText(unsigned id);

 private:
  Messages& messages_;
  FixedText<1024> buffer_;
};

}  // namespace kvr
