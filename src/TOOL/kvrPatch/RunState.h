// The run-wide values besides the record: whether boxes are suppressed, and
// what failed, for the failure message. One per run, owned by the entry point.
#pragma once

#include "settings/FixedText.h"

namespace kvr {

struct RunState {
  // On for the command line "/Silent": no message box at all is shown.
  bool silentMode = false;
  // Destination of the file that could not be written (message 8).
  FixedText<260> failedFile;
  // The registry value that could not be quoted, as hive\keyPath\valueName
  // (message 21), cut to fit.
  FixedText<1024> failedRegistryValue;
};

}  // namespace kvr
