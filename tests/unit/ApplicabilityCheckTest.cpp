#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "FakeSystem.h"
#include "steps/ApplicabilityCheck.h"

namespace kvr {
namespace {

const std::string kMarker = fake::Sjis("ORSA未インストール");

TEST(ApplicabilityCheckTest, MarkerIsTheEighteenShiftJisBytes) {
  EXPECT_EQ(std::string(kOrsaNotInstalledMarker), kMarker);
  EXPECT_EQ(std::strlen(kOrsaNotInstalledMarker), 18u);
}

const char* const kM = "<marker>";  // stands for the marker in the table below

struct Case {
  const char* name;
  const char* productVersion;
  const char* version;
  const char* target;
  std::string orsaInst;  // kM: exactly the marker
  std::int32_t moduleType, productSpNo, spNo, productPtNo, ptNo;
  Outcome expected;
};

TEST(ApplicabilityCheckTest, ChecksVersionThenEditionThenLevel) {
  const Case cases[] = {
      // name, installed version, patch version, kind, ORSA_INST, module type,
      // installed sp, patch sp, installed pt, patch pt, expected
      {"patch fits, installed sp above", "7.1", "7.1", "0", kM, 0, 5, 1, 2, 3, 0},
      // Version: identical bytes only, checked first.
      {"version letter case", "7.1a", "7.1A", "0", kM, 0, 0, 0, 2, 3, 5},
      {"version trailing space", "7.1", "7.1 ", "0", kM, 0, 0, 0, 2, 3, 5},
      {"version leading part", "7.1", "7", "0", kM, 0, 0, 0, 2, 3, 5},
      {"version and edition wrong", "7.1", "8.0", "0", "x", 0, 0, 0, 2, 3, 5},
      // Edition by target kind, before the level.
      {"kind 0, ORSA installed, level reached", "7.1", "7.1", "0", "ORSA", 0, 0, 0, 3, 3, 10},
      {"kind 0, empty ORSA_INST", "7.1", "7.1", "0", "", 0, 0, 0, 2, 3, 10},
      {"kind 0, marker and more", "7.1", "7.1", "0", "<marker>x", 0, 0, 0, 2, 3, 10},
      {"kind 1, marker, level reached", "7.1", "7.1", "1", kM, 0, 0, 0, 3, 3, 11},
      {"kind 1, empty ORSA_INST", "7.1", "7.1", "1", "", 0, 0, 0, 2, 3, 0},
      {"kind 2 ignores ORSA_INST", "7.1", "7.1", "2", "x", 0, 0, 0, 2, 3, 0},
      {"kind 3 ignores the marker", "7.1", "7.1", "3", kM, 0, 0, 0, 2, 3, 0},
      // Level by module type, as signed numbers.
      {"patch, equal numbers", "7.1", "7.1", "0", kM, 0, 0, 0, 3, 3, 12},
      {"patch, installed above", "7.1", "7.1", "0", kM, 0, 0, 0, 4, 3, 12},
      {"patch, -1 below 0", "7.1", "7.1", "0", kM, 0, 0, 0, -1, 0, 0},
      {"patch, lowest number installed", "7.1", "7.1", "0", kM, 0, 0, 0, INT_MIN, INT_MIN + 1, 0},
      {"service pack fits, installed pt above", "7.1", "7.1", "0", kM, 1, 1, 2, 9, 0, 0},
      {"service pack, equal numbers", "7.1", "7.1", "0", kM, 1, 2, 2, 0, 9, 12},
      {"module type 2", "7.1", "7.1", "0", kM, 2, 0, 9, 0, 9, 12},
      {"module type -1", "7.1", "7.1", "0", kM, -1, 0, 9, 0, 9, 12},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    RunContext context;
    context.productVersion.assign(test.productVersion);
    context.version.assign(test.version);
    context.target.assign(test.target);
    std::string orsaInst = test.orsaInst;
    if (orsaInst.rfind(kM, 0) == 0) orsaInst.replace(0, std::strlen(kM), kMarker);
    context.orsaInst.assign(orsaInst);
    context.moduleType = test.moduleType;
    context.productSpNo = test.productSpNo;
    context.spNo = test.spNo;
    context.productPtNo = test.productPtNo;
    context.ptNo = test.ptNo;
    EXPECT_EQ(ApplicabilityCheck(context), test.expected);
  }
}

}  // namespace
}  // namespace kvr
