// The second half of SettingsLoader: the product install
// information in the Windows directory, section LICENSE.
#pragma once

#include "platform/Platform.h"
#include "settings/RunContext.h"

namespace kvr {

class MessageCatalogue;

// Product name of TargetKind 2, "インストーラ生成ソフト" in Shift-JIS (22 bytes).
inline constexpr char kOrsaCreatorName[] =
    "\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x89\x90\xB6\x90\xAC\x83\x5C\x83\x74\x83\x67";
// Product name of TargetKind 0 and 1.
inline constexpr char kKovraName[] = "KOVRASTUDIO";

// Sets productIniPath and productName by the TargetKind, reads LICENSE into
// the context and makes every destPath absolute (installDir, one backslash,
// the relative path). Raises RaisedOutcome 2 for a TargetKind other than 0..3,
// an empty VERSION or DIR, or a path that would exceed 259 characters;
// 8 when the install-information file does not exist.
void LoadProductInfo(RunContext& context, Process& process, Files& files, Profile& profile,
                     MessageCatalogue& catalogue);

}  // namespace kvr
