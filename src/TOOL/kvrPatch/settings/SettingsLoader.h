// The one load of the run: the patch description beside the tool, then the
// product install information in the Windows directory.
#pragma once

#include "Outcome.h"
#include "platform/Platform.h"
#include "settings/RunContext.h"

namespace kvr {

class MessageCatalogue;

// Fills the zero-filled context. Returns 0, 2 (settings missing or unusable),
// 8 (product not installed) or -1 (unexpected). Raises nothing. What was read
// before a failure stays in the context.
Outcome SettingsLoader(RunContext& context, Platform& platform, MessageCatalogue& catalogue);

}  // namespace kvr
