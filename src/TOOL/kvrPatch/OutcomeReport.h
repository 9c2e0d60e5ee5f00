// The one table from an Outcome to the exit code and the message box, and the
// report that acts on it.
#pragma once

#include <cstdint>

#include "MessageCatalogue.h"
#include "Outcome.h"
#include "RunState.h"
#include "platform/Platform.h"
#include "settings/RunContext.h"

namespace kvr {

// What fills a message's placeholders, in order.
enum class Placeholders {
  kNone,
  kModuleName,             // moduleName
  kModuleNameOrDefault,    // moduleName, set to the default caption first when empty
  kModuleAndProduct,       // moduleName, productName
  kProductTwice,           // productName, productName
  kProductAndVersionDisp,  // productName, versionDisp
  kEditionsPairAndWord,    // "Standard / Professional", the edition word
  kEditionWordAndPair,     // the edition word, "Standard / Professional"
  kLevelWord,              // the level word
  kFailedFile,             // failedFile
  kFailedRegistryValue,    // hive\keyPath\valueName
};

namespace style {
constexpr std::uint32_t kSuccessBox = box::kTopmost | box::kSetForeground;     // 0x50000
constexpr std::uint32_t kErrorBox = kSuccessBox | box::kIconError;             // 0x50010
constexpr std::uint32_t kSystemModalErrorBox = kErrorBox | box::kSystemModal;  // 0x51010
constexpr std::uint32_t kConfirmBox = box::kTopmost | box::kOkCancel;          // 0x40001
}  // namespace style

struct OutcomeRow {
  Outcome outcome;
  int exitCode;
  unsigned messageId;  // 0: no message
  Placeholders placeholders;
  std::uint32_t boxStyle;  // 0: no box
};

// The row for `value`; values missing from the table end with exit code 0 and
// no message.
const OutcomeRow& LookupOutcome(Outcome value);

// The caption shown when the patch description gave no module name and
// loading failed: Shift-JIS, the same in every language.
extern const char kDefaultModuleCaption[];

// Reports the run's Outcome by its row: composes the message, shows it unless
// silent (the success box after a 1000 ms pause), and returns the exit code.
// May throw only what the platform or an allocation throws.
int ReportOutcome(Outcome value, RunContext& context, RunState& state, Platform& platform,
                  MessageCatalogue& catalogue);

// The one display point: shows the finished text unless the run is silent.
void DisplayMessage(const char* text, const char* caption, std::uint32_t style,
                    const RunState& state, Messages& messages);

}  // namespace kvr
