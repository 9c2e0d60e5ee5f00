#include "OutcomeReport.h"

#include <cstdlib>

#include "MessageComposer.h"

namespace kvr {

// "パッチ・SP適用ファイル"
const char kDefaultModuleCaption[] =
    "\x83\x70\x83\x62\x83\x60\x81\x45\x53\x50\x93\x4B\x97\x70\x83\x74\x83\x40\x83\x43\x83\x8B";

namespace {

using P = Placeholders;

constexpr OutcomeRow kTable[] = {
    {outcome::kSuccess, 0, message::kSuccess, P::kModuleAndProduct, style::kSuccessBox},
    {outcome::kSettingsUnusable, 5, message::kSettingsUnusable, P::kModuleNameOrDefault,
     style::kErrorBox},
    {outcome::kProductRunning, 3, message::kProductRunning, P::kProductTwice, style::kErrorBox},
    {outcome::kVersionMismatch, 1, message::kVersionMismatch, P::kProductAndVersionDisp,
     style::kErrorBox},
    {outcome::kNotConfirmed, 0, 0, P::kNone, 0},
    {outcome::kNotInstalled, 4, message::kNotInstalled, P::kProductAndVersionDisp,
     style::kErrorBox},
    {outcome::kAlreadyRunning, 9, message::kAlreadyRunning, P::kModuleName, style::kErrorBox},
    {outcome::kOrsaInstalled, 10, message::kOrsaInstalled, P::kEditionsPairAndWord,
     style::kErrorBox},
    {outcome::kOrsaMissing, 10, message::kOrsaMissing, P::kEditionWordAndPair, style::kErrorBox},
    {outcome::kAlreadyApplied, 12, message::kAlreadyApplied, P::kLevelWord, style::kErrorBox},
    {outcome::kBadParameter, 13, message::kBadParameter, P::kNone, style::kErrorBox},
    {outcome::kFileNotWritten, 2, message::kFileNotWritten, P::kFailedFile, style::kErrorBox},
    {outcome::kRegistryFailed, 6, message::kRegistryFailed, P::kFailedRegistryValue,
     style::kErrorBox},
    {outcome::kUnexpected, 99, message::kException, P::kModuleName, style::kErrorBox},
};

constexpr OutcomeRow kOtherValue = {0, 0, 0, P::kNone, 0};

// The second character of the installed version read as a digit; above 4 it
// is the Enterprise edition.
void ComposeEditionWord(const RunContext& context, MessageCatalogue& catalogue,
                        FixedText<1024>& word) {
  const char second = context.version.size() >= 2 ? context.version.c_str()[1] : '\0';
  const int number = (second >= '0' && second <= '9') ? second - '0' : 0;
  if (number > 4) {
    word.assign("Enterprise");
  } else {
    word.assign(catalogue.LoadMessageText(message::kSecurityEnhancedWord));
  }
}

}  // namespace

const OutcomeRow& LookupOutcome(Outcome value) {
  for (const OutcomeRow& row : kTable)
    if (row.outcome == value) return row;
  return kOtherValue;
}

void DisplayMessage(const char* text, const char* caption, std::uint32_t style,
                    const RunState& state, Messages& messages) {
  if (!state.silentMode) messages.showBox(text, caption, style);
}

int ReportOutcome(Outcome value, RunContext& context, RunState& state, Platform& platform,
                  MessageCatalogue& catalogue) {
  const OutcomeRow& row = LookupOutcome(value);
  if (row.messageId == 0) return row.exitCode;

  // The argument texts are composed before the message is loaded: every load
  // overwrites the text of the one before.
  FixedText<1024> first, second;
  const char* editionsPair = "Standard / Professional";
  switch (row.placeholders) {
    case P::kNone:
      break;
    case P::kModuleNameOrDefault:
      if (context.moduleName.empty()) context.moduleName.assign(kDefaultModuleCaption);
      first.assign(context.moduleName.view());
      break;
    case P::kModuleName:
      first.assign(context.moduleName.view());
      break;
    case P::kModuleAndProduct:
      first.assign(context.moduleName.view());
      second.assign(context.productName.view());
      break;
    case P::kProductTwice:
      first.assign(context.productName.view());
      second.assign(context.productName.view());
      break;
    case P::kProductAndVersionDisp:
      first.assign(context.productName.view());
      second.assign(context.versionDisp.view());
      break;
    case P::kEditionsPairAndWord:
      first.assign(editionsPair);
      ComposeEditionWord(context, catalogue, second);
      break;
    case P::kEditionWordAndPair:
      ComposeEditionWord(context, catalogue, first);
      second.assign(editionsPair);
      break;
    case P::kLevelWord:
      first.assign(catalogue.LoadMessageText(context.moduleType == 0 ? message::kPatchWord
                                                                     : message::kServicePackWord));
      break;
    case P::kFailedFile:
      first.assign(state.failedFile.view());
      break;
    case P::kFailedRegistryValue:
      first.assign(state.failedRegistryValue.view());
      break;
  }

  FixedText<255> text;
  ComposeMessage(text, catalogue.LoadMessageText(row.messageId), {first.c_str(), second.c_str()},
                 platform.process);
  if (value == outcome::kSuccess) {
    if (state.silentMode) return row.exitCode;
    platform.clock.sleepMs(1000);
  }
  DisplayMessage(text.c_str(), context.moduleName.c_str(), row.boxStyle, state, platform.messages);
  return row.exitCode;
}

}  // namespace kvr
