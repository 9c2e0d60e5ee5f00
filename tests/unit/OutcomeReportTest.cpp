#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "OutcomeReport.h"

namespace kvr {
namespace {

using fake::Sjis;

struct ReportCase {
  Outcome outcome;
  int exitCode;
  const char* text;  // expected box text; nullptr: no box
  std::uint32_t style;
};

class OutcomeReportTest : public ::testing::Test {
 protected:
  OutcomeReportTest() {
    context.moduleName.assign("Patch 3");
    context.productName.assign("KOVRASTUDIO");
    context.versionDisp.assign("V10");
    context.version.assign("10.0");
    state.failedFile.assign("C:\\K\\a.dll");
    state.failedRegistryValue.assign("HKEY_LOCAL_MACHINE\\SOFTWARE\\K\\Path");
  }
  int Report(Outcome value) {
    MessageCatalogue catalogue(pc.messages);
    return ReportOutcome(value, context, state, pc.platform, catalogue);
  }
  fake::FakePlatform pc;
  RunContext context;
  RunState state;
};

TEST_F(OutcomeReportTest, EachOutcomeGivesItsExitCodeMessageAndBox) {
  const ReportCase cases[] = {
      {0, 0, "Patch 3 has been successfully applied. Please start \nKOVRASTUDIO.", 0x50000},
      {4, 3,
       "KOVRASTUDIO has been started.\nAfter the KOVRASTUDIO is terminated, please run again "
       "apply program.",
       0x50010},
      {5, 1,
       "This program is KOVRASTUDIO V10 only.\nBecause the version / level of products that are "
       "installed on your PC is different you can not run this program .",
       0x50010},
      {7, 0, nullptr, 0},
      {8, 4, "After you have installed the product version of KOVRASTUDIO V10, please run.",
       0x50010},
      {9, 9, "Patch 3 is already started .", 0x50010},
      {10, 10,
       "This program is Standard / Professional only.\nCan not be performed because of the "
       "product is Security enhanced version that are installed.",
       0x50010},
      {11, 10,
       "This program is Security enhanced version only.\nProduct can not be executed because of "
       "Standard / Professional is installed.",
       0x50010},
      {12, 12, "Are already up-to-date Patch apply.", 0x50010},
      {13, 13, "Parameter is invalid.", 0x50010},
      {20, 2,
       "I failed to update the file (C:\\K\\a.dll).\nPlease check to see if not read-only, or "
       "have access permissions.",
       0x50010},
      {30, 6,
       "Failed to update the registry value (HKEY_LOCAL_MACHINE\\SOFTWARE\\K\\Path).\nPlease "
       "check that the value exists and that you have access permissions.",
       0x50010},
      {-1, 99, "Exception error has occurred.\nPatch 3 will terminate?", 0x50010},
      {1, 0, nullptr, 0},
      {3, 0, nullptr, 0},
      {14, 0, nullptr, 0},
      {31, 0, nullptr, 0},
  };
  for (const ReportCase& c : cases) {
    SCOPED_TRACE(c.outcome);
    pc.messages.shown.clear();
    EXPECT_EQ(Report(c.outcome), c.exitCode);
    if (c.text == nullptr) {
      EXPECT_TRUE(pc.messages.shown.empty());
      continue;
    }
    ASSERT_EQ(pc.messages.shown.size(), 1u);
    EXPECT_EQ(pc.messages.shown[0].text, c.text);
    EXPECT_EQ(pc.messages.shown[0].caption, "Patch 3");
    EXPECT_EQ(pc.messages.shown[0].style, c.style);
  }
}

TEST_F(OutcomeReportTest, SuccessPausesASecondBeforeItsBoxAndSilentSuccessNeither) {
  EXPECT_EQ(Report(0), 0);
  EXPECT_EQ(pc.clock.sleeps, std::vector<std::uint32_t>{1000});
  ASSERT_EQ(pc.messages.shown.size(), 1u);

  pc.clock.sleeps.clear();
  pc.messages.shown.clear();
  state.silentMode = true;
  EXPECT_EQ(Report(0), 0);
  EXPECT_TRUE(pc.clock.sleeps.empty());
  EXPECT_TRUE(pc.messages.shown.empty());
}

TEST_F(OutcomeReportTest, SilentRunShowsNoErrorBoxButKeepsTheExitCode) {
  state.silentMode = true;
  EXPECT_EQ(Report(20), 2);
  EXPECT_EQ(Report(-1), 99);
  EXPECT_TRUE(pc.messages.shown.empty());
  EXPECT_TRUE(pc.clock.sleeps.empty());
}

TEST_F(OutcomeReportTest, SettingsFailureWithoutModuleNameShowsTheDefaultCaption) {
  const std::string defaultCaption = Sjis("パッチ・SP適用ファイル");
  ASSERT_EQ(defaultCaption, kDefaultModuleCaption);
  ASSERT_EQ(defaultCaption.size(), 22u);

  context.moduleName.clear();
  EXPECT_EQ(Report(2), 5);
  ASSERT_EQ(pc.messages.shown.size(), 1u);
  EXPECT_EQ(pc.messages.shown[0].caption, defaultCaption);
  EXPECT_EQ(pc.messages.shown[0].text,
            "A failure occurred loading " + defaultCaption + " information.");

  pc.messages.shown.clear();
  context.moduleName.assign("Patch 3");
  Report(2);
  EXPECT_EQ(pc.messages.shown[0].text, "A failure occurred loading Patch 3 information.");
}

TEST_F(OutcomeReportTest, EmptyModuleNameGivesEmptyTitlesAndPlaceholders) {
  context.moduleName.clear();
  Report(9);
  Report(-1);
  ASSERT_EQ(pc.messages.shown.size(), 2u);
  EXPECT_EQ(pc.messages.shown[0].caption, "");
  EXPECT_EQ(pc.messages.shown[0].text, " is already started .");
  EXPECT_EQ(pc.messages.shown[1].text, "Exception error has occurred.\n will terminate?");
}

TEST_F(OutcomeReportTest, EditionWordFollowsTheSecondCharacterOfTheVersion) {
  const struct {
    const char* version;
    const char* word;
  } cases[] = {{"15", "Enterprise"},
               {"X9.1", "Enterprise"},
               {"14", "Security enhanced version"},
               {"10", "Security enhanced version"},
               {"1A", "Security enhanced version"},
               {"1", "Security enhanced version"},
               {"", "Security enhanced version"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    pc.messages.shown.clear();
    context.version.assign(c.version);
    Report(10);
    ASSERT_EQ(pc.messages.shown.size(), 1u);
    EXPECT_NE(pc.messages.shown[0].text.find(std::string("product is ") + c.word + " that"),
              std::string::npos);
  }
}

TEST_F(OutcomeReportTest, LevelWordIsPatchOnlyForModuleTypeZero) {
  const struct {
    std::int32_t moduleType;
    const char* text;
  } cases[] = {{0, "Are already up-to-date Patch apply."},
               {1, "Are already up-to-date Service Pack apply."},
               {2, "Are already up-to-date Service Pack apply."},
               {-1, "Are already up-to-date Service Pack apply."}};
  for (const auto& c : cases) {
    pc.messages.shown.clear();
    context.moduleType = c.moduleType;
    Report(12);
    EXPECT_EQ(pc.messages.shown.at(0).text, c.text);
  }
}

TEST_F(OutcomeReportTest, JapaneseUserGetsJapaneseTextsAndWords) {
  pc.useJapanese();
  context.moduleType = 0;
  Report(12);
  Report(11);
  Report(13);
  ASSERT_EQ(pc.messages.shown.size(), 3u);
  EXPECT_EQ(pc.messages.shown[0].text, Sjis("既に最新の 修正パッチ が適用されています。"));
  EXPECT_EQ(pc.messages.shown[1].text,
            Sjis("当プログラムは セキュリティ強化版 専用です。\nインストールされている製品は "
                 "Standard / Professional のため実行できません。"));
  EXPECT_EQ(pc.messages.shown[2].text, Sjis("引数が不正です。"));
}

TEST_F(OutcomeReportTest, LongPlaceholdersAreCutAtTheBoundOnACharacterBoundary) {
  pc.useJapanese();
  // 259 bytes of destination: 129 double-byte characters and one ASCII byte.
  std::string path = "C";
  for (int i = 0; i < 129; ++i) path += "\x83\x74";
  state.failedFile.assign(path);
  Report(20);
  const std::string& text = pc.messages.shown.at(0).text;
  EXPECT_LE(text.size(), 254u);
  EXPECT_GE(text.size(), 253u);
  // Every double-byte character is whole.
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = pc.process.charLength(text.c_str() + i);
    ASSERT_LE(i + length, text.size());
    i += length;
  }
}

}  // namespace
}  // namespace kvr
