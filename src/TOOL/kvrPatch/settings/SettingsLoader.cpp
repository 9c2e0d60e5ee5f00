#include "settings/SettingsLoader.h"

#include "settings/PatchDescription.h"
#include "settings/ProductInfo.h"

namespace kvr {

Outcome SettingsLoader(RunContext& context, Platform& platform, MessageCatalogue& catalogue) {
  return CatchAtEdge([&]() -> Outcome {
    LoadPatchDescription(context, platform.process, platform.files, platform.profile);
    LoadProductInfo(context, platform.process, platform.files, platform.profile, catalogue);
    return outcome::kSuccess;
  });
}

}  // namespace kvr
