// The part of the run that changes the PC: the confirmation, then the five
// apply steps in order, stopping at the first that fails. Nothing is undone.
#pragma once

#include "MessageCatalogue.h"
#include "RunState.h"
#include "platform/Platform.h"
#include "settings/RunContext.h"

namespace kvr {

// Returns when every step returned 0. Otherwise raises RaisedOutcome: 7 when
// the user did not confirm, or the first non-zero result of a step unchanged.
void ApplySequence(RunContext& context, RunState& state, Platform& platform,
                   MessageCatalogue& catalogue);

}  // namespace kvr
