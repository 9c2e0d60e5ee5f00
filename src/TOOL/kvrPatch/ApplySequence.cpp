#include "ApplySequence.h"

#include "MessageComposer.h"
#include "OutcomeReport.h"
#include "steps/ApplicabilityCheck.h"
#include "steps/FileReplacer.h"
#include "steps/LevelStamp.h"
#include "steps/ProductCloser.h"
#include "steps/RegistryQuoter.h"

namespace kvr {

namespace {
void RaiseUnlessZero(Outcome value) {
  if (value != outcome::kSuccess) throw RaisedOutcome{value};
}
}  // namespace

void ApplySequence(RunContext& context, RunState& state, Platform& platform,
                   MessageCatalogue& catalogue) {
  FixedText<255> text;
  if (!state.silentMode) {
    ComposeMessage(text, catalogue.LoadMessageText(message::kConfirm),
                   {context.moduleName.c_str(), context.productName.c_str()}, platform.process);
    // Only OK confirms: Cancel, Escape, closing the box or no box at all do not.
    const int answer =
        platform.messages.showBox(text.c_str(), context.moduleName.c_str(), style::kConfirmBox);
    if (answer != box::kIdOk) throw RaisedOutcome{outcome::kNotConfirmed};
  }

  RaiseUnlessZero(ApplicabilityCheck(context));
  RaiseUnlessZero(ProductCloser(context, platform.desktop, platform.clock));
  RaiseUnlessZero(FileReplacer(context, platform.files, state.failedFile));
  RaiseUnlessZero(RegistryQuoter(context, platform.registry, state.failedRegistryValue));
  RaiseUnlessZero(LevelStamp(context, platform.profile));
}

}  // namespace kvr
