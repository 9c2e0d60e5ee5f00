// Last apply step: record the new service-pack or patch number.
#pragma once

#include "Outcome.h"
#include "platform/Platform.h"
#include "settings/RunContext.h"

namespace kvr {

// Writes spNo under SPNO64 (service pack) or ptNo under PTNO (patch), encoded,
// into [LICENSE] of productIniPath. The write's result is ignored: returns 0.
Outcome LevelStamp(const RunContext& context, Profile& profile);

}  // namespace kvr
