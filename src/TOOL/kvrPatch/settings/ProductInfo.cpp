#include "settings/ProductInfo.h"

#include <string>

#include "MessageCatalogue.h"
#include "Outcome.h"
#include "settings/EncodedIniReader.h"

namespace kvr {
namespace {

constexpr char kSection[] = "LICENSE";

}  // namespace

void LoadProductInfo(RunContext& context, Process& process, Files& files, Profile& profile,
                     MessageCatalogue& catalogue) {
  // 1. The Windows directory and a backslash.
  if (!context.productIniPath.assign(process.windowsDirectory()) ||
      !context.productIniPath.append("\\")) {
    context.productIniPath.clear();
    RaiseOutcome(outcome::kSettingsUnusable);
  }

  // 2 and 3. The file and the product's name by the TargetKind.
  const char* fileName = nullptr;
  switch (context.TargetKind()) {
    case '0':
    case '1':
      fileName = "Kovra.ini";
      context.productName.assign(kKovraName);
      break;
    case '2':
      fileName = "OrsaCreator.ini";
      context.productName.assign(kOrsaCreatorName);
      break;
    case '3':
      fileName = "OrsaLogMng.ini";
      context.productName.assign(catalogue.LoadMessageText(message::kLogManagerName));
      break;
    default:
      RaiseOutcome(outcome::kSettingsUnusable);
  }
  if (!context.productIniPath.append(fileName)) {
    context.productIniPath.clear();  // never a cut path
    RaiseOutcome(outcome::kSettingsUnusable);
  }

  // 4. The product is installed when its file is there.
  const char* const path = context.productIniPath.c_str();
  if (!files.attributes(path)) RaiseOutcome(outcome::kNotInstalled);

  // 5 to 10, in this order.
  EncodedIniReader(profile, kSection, "VERSION", "", context.productVersion, path);
  if (context.productVersion.empty()) RaiseOutcome(outcome::kSettingsUnusable);
  EncodedIniReader(profile, kSection, "PLATFORM", "x86", context.platform, path);
  context.productSpNo = ReadEncodedNumber(profile, kSection, "SPNO64", "", path);
  context.productPtNo = ReadEncodedNumber(profile, kSection, "PTNO", "0", path);
  EncodedIniReader(profile, kSection, "ORSA_INST", "", context.orsaInst, path);
  EncodedIniReader(profile, kSection, "DIR", "", context.installDir, path);
  if (context.installDir.empty()) RaiseOutcome(outcome::kSettingsUnusable);

  // 11. Every destination: installDir, exactly one added backslash, the
  // relative path. One that would exceed 259 characters ends the load: a
  // cut path would name another file.
  for (FileEntry& entry : context.files) {
    FixedText<260> absolute(context.installDir.view());
    if (!absolute.append("\\") || !absolute.append(entry.destPath.view()))
      RaiseOutcome(outcome::kSettingsUnusable);
    entry.destPath = absolute;
  }
}

}  // namespace kvr
