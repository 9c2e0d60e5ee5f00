#include "steps/LevelStamp.h"

#include <cstdio>

#include "settings/ValueCodec.h"

namespace kvr {

Outcome LevelStamp(const RunContext& context, Profile& profile) {
  return CatchAtEdge([&]() -> Outcome {
    // A service pack records its number only, a patch its own; the other key
    // keeps its value.
    const bool servicePack = context.moduleType != 0;
    const char* key = servicePack ? "SPNO64" : "PTNO";
    const std::int32_t number = servicePack ? context.spNo : context.ptNo;

    char plain[1024] = {};
    char encoded[1024] = {};
    std::snprintf(plain, sizeof plain, "%d", static_cast<int>(number));
    // The encoded form of any 32-bit number fits easily; should encoding fail
    // all the same, nothing is written rather than an undefined text.
    if (ValueCodec('+', plain, encoded, sizeof encoded) != 0) return outcome::kSuccess;

    // A file that cannot be written keeps the old level, so the patch can be
    // run again; the run still counts as a success.
    profile.write("LICENSE", key, encoded, context.productIniPath.c_str());
    return outcome::kSuccess;
  });
}

}  // namespace kvr
