#include "Entry.h"

#include <cstring>

#include "ApplySequence.h"
#include "MessageComposer.h"
#include "OutcomeReport.h"
#include "settings/SettingsLoader.h"

namespace kvr {

const char kInstanceMutexName[] = "KOVRA_PATCH";

const char* CommandLineTail(const char* fullCommandLine) {
  const auto* p = reinterpret_cast<const unsigned char*>(fullCommandLine ? fullCommandLine : "");
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p > ' ') ++p;
  }
  while (*p != '\0' && *p <= ' ') ++p;
  return reinterpret_cast<const char*>(p);
}

void PrepareRun(RunContext& context, RunState& state, const char* commandLine, Platform& platform,
                MessageCatalogue& catalogue) {
  if (std::strcmp(commandLine, "/Silent") == 0) {
    state.silentMode = true;
  } else if (commandLine[0] == '\0') {
    state.silentMode = false;
  } else {
    throw RaisedOutcome{outcome::kBadParameter};
  }

  // Settings come before the guard: a second copy with unusable settings
  // reports those, not that another copy runs.
  const Outcome loaded = SettingsLoader(context, platform, catalogue);
  if (loaded != outcome::kSuccess) throw RaisedOutcome{loaded};

  switch (platform.process.takeNamedMutex(kInstanceMutexName)) {
    case MutexResult::kCreated:
      return;  // held until the process ends
    case MutexResult::kAlreadyExists:
      throw RaisedOutcome{outcome::kAlreadyRunning};
    case MutexResult::kFailed:
      break;
  }
  throw RaisedOutcome{outcome::kUnexpected};
}

int Run(const char* commandLine, Platform& platform) {
  RunContext context;
  context.ZeroFill();
  RunState state;
  MessageCatalogue catalogue(platform.messages);
  int exitCode = 99;
  try {
    Outcome result = outcome::kSuccess;
    try {
      PrepareRun(context, state, commandLine ? commandLine : "", platform, catalogue);
      ApplySequence(context, state, platform, catalogue);
    } catch (const RaisedOutcome& raised) {
      result = raised.value;
    }
    exitCode = ReportOutcome(result, context, state, platform, catalogue);
  } catch (...) {
    // Anything else ends the run as an unexpected error, told in the
    // system-modal box.
    exitCode = 99;
    try {
      FixedText<255> text;
      ComposeMessage(text, catalogue.LoadMessageText(message::kException),
                     {context.moduleName.c_str()}, platform.process);
      DisplayMessage(text.c_str(), context.moduleName.c_str(), style::kSystemModalErrorBox, state,
                     platform.messages);
    } catch (...) {
    }
  }
  context.Release();
  return exitCode;
}

}  // namespace kvr
