// The run from start to exit code: command line, settings, single-instance
// guard, apply sequence, report.
#pragma once

#include "MessageCatalogue.h"
#include "RunState.h"
#include "platform/Platform.h"
#include "settings/RunContext.h"

namespace kvr {

// The name of the mutex every copy of the tool shares.
extern const char kInstanceMutexName[];

// The text after the program name of a full command line, as the start-up
// code hands it to WinMain: the program name (possibly in double quotes) and
// every following character with a code from 1 to 32 skipped; blanks at the
// end and quotes around the argument kept.
const char* CommandLineTail(const char* fullCommandLine);

// Accepts the command line, loads the settings and takes the mutex. Raises
// RaisedOutcome (13, the loader's result, 9 or -1) when the run cannot go on.
void PrepareRun(RunContext& context, RunState& state, const char* commandLine, Platform& platform,
                MessageCatalogue& catalogue);

// The whole run; returns the process exit code.
int Run(const char* commandLine, Platform& platform);

}  // namespace kvr
