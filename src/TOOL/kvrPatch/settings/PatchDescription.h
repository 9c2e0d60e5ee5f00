// The first half of SettingsLoader: the tool's folder and the
// patch description kvrIni.ini beside it, section INSTALL.
#pragma once

#include "platform/Platform.h"
#include "settings/RunContext.h"

namespace kvr {

// Writes the executable's folder, without the trailing backslash, into
// `toolDir`. The path is walked a character at a time, so a Shift-JIS trail
// byte 0x5C is never taken for a separator; a path without a backslash gives
// the empty text. False when the executable's path is not available.
bool FindToolFolder(Process& process, FixedText<260>& toolDir);

// Fills toolDir, patchIniPath and every INSTALL value and list of the context,
// in a fixed order. Raises RaisedOutcome 2 when the executable's path
// or kvrIni.ini is missing, patchIniPath would exceed 259 characters, or a
// FILEn / REGISTRYn line (n within its count) is empty, has too few fields or
// a field wider than its width. Running out of memory throws bad_alloc.
void LoadPatchDescription(RunContext& context, Process& process, Files& files, Profile& profile);

}  // namespace kvr
