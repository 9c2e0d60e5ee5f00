// First apply step: does the patch fit the installed version, edition, level?
#pragma once

#include "Outcome.h"
#include "settings/RunContext.h"

namespace kvr {

// The edition marker of a product without ORSA, as its Shift-JIS bytes.
extern const char kOrsaNotInstalledMarker[];

// 0 when the patch applies; otherwise 5, 10, 11 or 12 (first failing check),
// -1 for an unexpected error. Only reads the context.
Outcome ApplicabilityCheck(const RunContext& context);

}  // namespace kvr
