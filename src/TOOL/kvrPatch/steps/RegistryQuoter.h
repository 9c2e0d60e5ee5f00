// Fourth apply step: put double quotes around the listed registry values.
#pragma once

#include <optional>
#include <string_view>

#include "Outcome.h"
#include "platform/Platform.h"
#include "settings/FixedText.h"
#include "settings/RunContext.h"

namespace kvr {

// The root key a hive name stands for: the four names, exact and
// case-sensitive; nullopt for any other text.
std::optional<RootKey> RootKeyNamed(std::string_view hive);

// 0 when every handled entry is quoted (or was already, or is empty); 30 on
// the first failure, with `failedValue` = hive\keyPath\valueName of that
// entry (cut to fit); -1 unexpected.
Outcome RegistryQuoter(const RunContext& context, Registry& registry, FixedText<1024>& failedValue);

}  // namespace kvr
