// Second apply step: ask the running product programs to quit and wait.
#pragma once

#include "Outcome.h"
#include "platform/Platform.h"
#include "settings/RunContext.h"

namespace kvr {

// Handles one window name ("KOVRA" is a class, any other name a title):
// 0 when it is gone or never was there, 4 when it stays, -1 unexpected.
Outcome CloseProductWindow(const char* name, Desktop& desktop, Clock& clock);

// 0 when no window of the target product is left, 4 when one is.
Outcome ProductCloser(const RunContext& context, Desktop& desktop, Clock& clock);

}  // namespace kvr
