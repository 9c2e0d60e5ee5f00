// The real kvrPatch.exe under Wine: command line, missing patch description,
// boxes and exit codes, in English and Japanese.
#include <gtest/gtest.h>

#include "Scenario.h"

namespace kvr::e2e {
namespace {

// "パッチ・SP適用ファイル": the caption when no module name could be read.
const std::string kDefaultCaption =
    "\x83\x70\x83\x62\x83\x60\x81\x45\x53\x50\x93\x4B\x97\x70\x83\x74\x83\x40\x83\x43\x83\x8B";

TEST(Foundation, RunsUnderAnEnglishUserInterface) {
  ASSERT_EQ(UiLanguage(), 0x0409);
}

TEST(Foundation, AnyCommandLineButEmptyOrSilentIsRefusedWithABoxEvenWhenItAskedForSilence) {
  Scenario scenario("badparam");
  const std::string cases[] = {"/silent",
                               "/SILENT",
                               "/Silent ",
                               "\"/Silent\"",
                               "/Silent /Silent",
                               "-Silent",
                               "x",
                               "\xE9\xFF\x80 \x83\x5C",
                               std::string(5000, 'A')};
  for (const std::string& arguments : cases) {
    SCOPED_TRACE(arguments.substr(0, 40));
    auto [box, code] = scenario.RunPressingOk(arguments);
    EXPECT_EQ(code, 13u);
    EXPECT_EQ(box.text, "Parameter is invalid.");
    EXPECT_EQ(box.caption, "");
    EXPECT_TRUE(box.hasIcon);
    EXPECT_TRUE(box.hasOk);
    EXPECT_FALSE(box.hasCancel);
    EXPECT_FALSE(box.systemModal);
  }
}

TEST(Foundation, MissingPatchDescriptionInteractiveNamesTheDefaultCaption) {
  Scenario scenario("noini");
  auto [box, code] = scenario.RunPressingOk("");
  EXPECT_EQ(code, 5u);
  EXPECT_EQ(box.caption, kDefaultCaption);
  EXPECT_EQ(box.text, "A failure occurred loading " + kDefaultCaption + " information.");
  EXPECT_TRUE(box.hasIcon);
}

TEST(Foundation, MissingPatchDescriptionSilentShowsNoBox) {
  Scenario scenario("noini_silent");
  for (const std::string& commandLine :
       {"\"" + scenario.toolPath() + "\" /Silent", "\"" + scenario.toolPath() + "\"  \t /Silent"}) {
    auto tool = scenario.StartRaw(commandLine);
    ASSERT_TRUE(tool.has_value());
    EXPECT_EQ(tool->WaitForExitWithoutBox(), std::optional<DWORD>(5u)) << commandLine;
  }
}

TEST(Japanese, RunsUnderAJapaneseUserInterface) {
  ASSERT_EQ(UiLanguage(), 0x0411);
  ASSERT_EQ(GetACP(), 932u);
}

TEST(Japanese, BadParameterAndMissingSettingsAreToldInJapanese) {
  ASSERT_EQ(UiLanguage(), 0x0411);
  Scenario scenario("japanese");
  auto [bad, badCode] = scenario.RunPressingOk("/silent");
  EXPECT_EQ(badCode, 13u);
  EXPECT_EQ(bad.text, "\x88\xf8\x90\x94\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7\x81\x42");
  EXPECT_EQ(bad.caption, "");

  auto [missing, missingCode] = scenario.RunPressingOk("");
  EXPECT_EQ(missingCode, 5u);
  EXPECT_EQ(missing.caption, kDefaultCaption);
  EXPECT_EQ(missing.text,
            kDefaultCaption +
                "\x20\x82\xcc\x8f\xee\x95\xf1\x8e\xe6\x93\xbe\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82"
                "\xdc\x82\xb5\x82\xbd\x81\x42");
}

}  // namespace
}  // namespace kvr::e2e
