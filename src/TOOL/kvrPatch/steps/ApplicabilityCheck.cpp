#include "steps/ApplicabilityCheck.h"

namespace kvr {

// "ORSA" and seven double-byte characters: 18 bytes.
const char kOrsaNotInstalledMarker[] =
    "ORSA\x96\xa2\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b";

Outcome ApplicabilityCheck(const RunContext& context) {
  return CatchAtEdge([&]() -> Outcome {
    // Versions match only when identical byte for byte.
    if (context.productVersion.view() != context.version.view()) {
      return outcome::kVersionMismatch;
    }

    const bool orsaMissing = context.orsaInst == kOrsaNotInstalledMarker;
    switch (context.TargetKind()) {
      case '0':  // for the product without ORSA
        if (!orsaMissing) return outcome::kOrsaInstalled;
        break;
      case '1':  // for the product with ORSA
        if (orsaMissing) return outcome::kOrsaMissing;
        break;
      default:  // the other products have no editions
        break;
    }

    // The patch must bring a level above the installed one.
    switch (context.moduleType) {
      case 1:  // service pack
        return context.productSpNo < context.spNo ? outcome::kSuccess : outcome::kAlreadyApplied;
      case 0:  // patch
        return context.productPtNo < context.ptNo ? outcome::kSuccess : outcome::kAlreadyApplied;
      default:
        return outcome::kAlreadyApplied;
    }
  });
}

}  // namespace kvr
