// The real kvrPatch.exe reading settings written by the project's own
// encoder: what an unusable patch description or install information ends in.
#include <gtest/gtest.h>

#include "Patch.h"

namespace kvr::e2e {
namespace {

const char kModuleNameJa[] = "\x8f\x43\x90\xb3\x83\x70\x83\x62\x83\x60 3";  // "修正パッチ 3"

std::vector<IniEntry> Install(const std::string& target) {
  return {Enc("TARGET", target),
          Enc("MODULE_TYPE", "0"),
          Enc("module_nm", kModuleNameJa),
          Enc("MODULE_NM_E", "Sample Patch 3"),
          Enc("VERSION", "10.0"),
          Enc("VERSION_DISP", "V10.0"),
          Enc("SPNO64", "1"),
          Enc("PTNO", "3"),
          Enc("FILES", "0"),
          Enc("REGISTRIES", "0")};
}

std::vector<IniEntry> License() {
  return {Enc("VERSION", "10.0"),
          Enc("PLATFORM", "x86"),
          Enc("SPNO64", "1"),
          Enc("PTNO", "2"),
          Enc("ORSA_INST", kOrsaNotInstalled),
          Enc("DIR", "C:\\kvre2e\\product")};
}

// Runs the tool silently and then interactively; returns the box of the
// interactive run and checks that both end with `exitCode`.
BoxView RunBoth(const Scenario& scenario, DWORD exitCode) {
  auto silent = scenario.Start("/Silent");
  EXPECT_EQ(silent->WaitForExitWithoutBox(), std::optional<DWORD>(exitCode));
  const AnsweredRun run = scenario.RunPressingOk("");
  EXPECT_EQ(run.exitCode, exitCode);
  return run.box;
}

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(UiLanguage(), 0x0409); }
  void TearDown() override { RemoveProductInfos(); }
};

TEST_F(Settings, MissingNumberedFileLineEndsTheLoadUnderTheModuleName) {
  Scenario scenario("missing_file2");
  auto install = Install("0");
  install[8] = Enc("FILES", "3");
  install.push_back(Enc("FILE1", "0,a.dll,a.dll"));
  install.push_back(Enc("FILE3", "0,c.dll,c.dll"));
  WritePatchDescription(scenario, install);
  WriteProductInfo("Kovra.ini", License());
  const BoxView box = RunBoth(scenario, 5);
  EXPECT_EQ(box.caption, "Sample Patch 3");
  EXPECT_EQ(box.text, "A failure occurred loading Sample Patch 3 information.");
  EXPECT_TRUE(box.hasIcon);
}

TEST_F(Settings, UnusableTargetEndsTheLoad) {
  for (const char* target : {"", "4", " 0"}) {
    SCOPED_TRACE(target);
    Scenario scenario("bad_target");
    WritePatchDescription(scenario, Install(target));
    WriteProductInfo("Kovra.ini", License());
    EXPECT_EQ(RunBoth(scenario, 5).text, "A failure occurred loading Sample Patch 3 information.");
  }
}

TEST_F(Settings, MissingProductNamesProductAndVersionForEachTargetKind) {
  const struct {
    const char* target;
    std::string product;
  } cases[] = {
      {"0", "KOVRASTUDIO"}, {"12", "KOVRASTUDIO"}, {"2", kCreatorName}, {"3", "OrsaLogMng"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    Scenario scenario("no_product");
    WritePatchDescription(scenario, Install(c.target));
    RemoveProductInfos();
    const BoxView box = RunBoth(scenario, 4);
    EXPECT_EQ(box.text, "After you have installed the product version of " + c.product +
                            " V10.0, please run.");
    EXPECT_EQ(box.caption, "Sample Patch 3");
  }
}

TEST_F(Settings, UnusableInstallInformationEndsTheLoad) {
  Scenario scenario("bad_license");
  WritePatchDescription(scenario, Install("0"));
  // The file is there but has no LICENSE section.
  RemoveProductInfos();
  WriteFileBytes(WindowsDirectory() + "\\Kovra.ini", "[USER]\r\nNAME=KB\r\n");
  RunBoth(scenario, 5);

  auto license = License();
  license.back() = Enc("DIR", "");
  WriteProductInfo("Kovra.ini", license);
  RunBoth(scenario, 5);

  license.back() = Raw("DIR", "not encoded");
  WriteProductInfo("Kovra.ini", license);
  RunBoth(scenario, 5);
}

TEST(Japanese, ModuleNameAndLogManagerNameAreJapanese) {
  ASSERT_EQ(UiLanguage(), 0x0411);
  Scenario scenario("ja_names");
  WritePatchDescription(scenario, Install("3"));
  RemoveProductInfos();
  const BoxView box = RunBoth(scenario, 4);
  EXPECT_EQ(box.caption, kModuleNameJa);
  // "%s %s 製品版をインストールした後、実行してください。"
  EXPECT_EQ(box.text, std::string(kLogManagerNameJa) +
                          " V10.0 \x90\xbb\x95\x69\x94\xc5\x82\xf0\x83\x43\x83\x93\x83\x58\x83\x67"
                          "\x81\x5b\x83\x8b\x82\xb5\x82\xbd\x8c\xe3\x81\x41\x8e\xc0\x8d\x73\x82\xb5"
                          "\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42");
}

TEST(British, NoModuleNameIsReadSoTheCaptionIsEmpty) {
  ASSERT_EQ(UiLanguage(), 0x0809);
  Scenario scenario("gb_names");
  WritePatchDescription(scenario, Install("0"));
  RemoveProductInfos();
  const BoxView box = RunBoth(scenario, 4);
  EXPECT_EQ(box.caption, "");
  EXPECT_EQ(box.text,
            "After you have installed the product version of KOVRASTUDIO V10.0, please run.");
}

}  // namespace
}  // namespace kvr::e2e
