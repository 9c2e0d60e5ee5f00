// The whole run on the fake PC, from the command line to the exit code: the
// confirmation, the order of the steps, the single-instance guard, and what
// the user is shown.
#include <gtest/gtest.h>

#include <stdexcept>

#include "EncodedIni.h"
#include "Entry.h"
#include "FakePlatform.h"
#include "settings/ValueCodec.h"

namespace kvr {
namespace {

using testing::Enc;
using testing::EncodedIniText;

constexpr char kKovraIni[] = "C:\\WINDOWS\\Kovra.ini";
constexpr char kKey[] = "SOFTWARE\\Kovra\\Studio";

class RunTest : public ::testing::Test {
 protected:
  RunTest() {
    pc.files.put(
        "C:\\patch\\kvrIni.ini",
        EncodedIniText(
            {{"INSTALL",
              {Enc("TARGET", "0"), Enc("MODULE_TYPE", "0"), Enc("MODULE_NM_E", "Patch 3"),
               Enc("VERSION", "V80"), Enc("VERSION_DISP", "8.0"), Enc("PTNO", "3"),
               Enc("FILES", "2"), Enc("FILE1", "0,a.dll,bin\\a.dll"),
               Enc("FILE2", "1,b.dat,bin\\b.dat"), Enc("REGISTRIES", "1"),
               Enc("REGISTRY1", std::string("0,HKEY_LOCAL_MACHINE,") + kKey + ",Path,x")}}}));
    pc.files.put("C:\\patch\\SET\\x86\\a.dll", "new a");
    pc.files.put("C:\\patch\\SET\\x86\\b.dat", "ofx!c");  // "new b", stored shifted
    pc.files.put("C:\\K\\bin\\a.dll", "old a");
    pc.files.put("C:\\K\\bin\\b.dat", "old b");
    pc.files.put(kKovraIni, EncodedIniText({{"LICENSE",
                                             {Enc("VERSION", "V80"), Enc("PTNO", "2"),
                                              Enc("ORSA_INST", fake::Sjis("ORSA未インストール")),
                                              Enc("DIR", "C:\\K")}}}));
    pc.registry.putText(RootKey::kLocalMachine, kKey, "Path", "C:\\K\\k.exe");
  }

  // A new process on the same PC: the last run's mutex has gone with it.
  int RunAgain(const char* commandLine) {
    pc.process.existingMutexes.clear();
    return kvr::Run(commandLine, pc.platform);
  }

  std::string InstalledPatchLevel() {
    const std::string encoded = pc.profile.read("LICENSE", "PTNO", kKovraIni);
    char plain[64] = {};
    if (ValueCodec('-', encoded.c_str(), plain, sizeof plain) != 0) return "<bad>";
    return plain;
  }

  void ExpectNothingChanged() {
    EXPECT_EQ(pc.files.at("C:\\K\\bin\\a.dll").bytes, "old a");
    EXPECT_EQ(pc.files.at("C:\\K\\bin\\b.dat").bytes, "old b");
    EXPECT_EQ(pc.registry.bytes(RootKey::kLocalMachine, kKey, "Path"),
              std::string("C:\\K\\k.exe") + '\0');
    EXPECT_EQ(InstalledPatchLevel(), "2");
  }

  fake::FakePlatform pc;
};

TEST_F(RunTest, TypicalInteractiveRunThenTheSamePatchIsRefused) {
  const WindowId product = pc.desktop.open("KOVRA", "Kovra Studio");
  pc.desktop.quitsAfterPost(product, 500);

  EXPECT_EQ(kvr::Run("", pc.platform), 0);

  ASSERT_EQ(pc.messages.shown.size(), 2u);
  EXPECT_EQ(pc.messages.shown[0].text,
            "Run the Patch 3.\nAre you sure you want ?\n*Running KOVRASTUDIO will terminate.");
  EXPECT_EQ(pc.messages.shown[0].caption, "Patch 3");
  EXPECT_EQ(pc.messages.shown[0].style, 0x40001u);
  EXPECT_EQ(pc.messages.shown[1].text,
            "Patch 3 has been successfully applied. Please start \nKOVRASTUDIO.");
  EXPECT_EQ(pc.messages.shown[1].style, 0x50000u);
  // One round until the window is gone, the wait after it, the pause before success.
  EXPECT_EQ(pc.clock.sleeps, (std::vector<std::uint32_t>{1000, 3000, 1000}));
  EXPECT_EQ(pc.desktop.posts(), std::vector<WindowId>{product});
  EXPECT_EQ(pc.process.mutexesTaken, std::vector<std::string>{"KOVRA_PATCH"});

  EXPECT_EQ(pc.files.at("C:\\K\\bin\\a.dll").bytes, "new a");
  EXPECT_EQ(pc.files.at("C:\\K\\bin\\b.dat").bytes, "new b");
  EXPECT_EQ(pc.registry.bytes(RootKey::kLocalMachine, kKey, "Path"), "\"C:\\K\\k.exe\"");
  EXPECT_EQ(InstalledPatchLevel(), "3");

  pc.messages.shown.clear();
  EXPECT_EQ(RunAgain(""), 12);
  ASSERT_EQ(pc.messages.shown.size(), 2u);
  EXPECT_EQ(pc.messages.shown[1].text, "Are already up-to-date Patch apply.");
  EXPECT_EQ(pc.messages.shown[1].style, 0x50010u);
}

TEST_F(RunTest, SilentRunShowsNothingAndWaitsOnlyForTheProduct) {
  EXPECT_EQ(kvr::Run("/Silent", pc.platform), 0);
  EXPECT_TRUE(pc.messages.shown.empty());
  EXPECT_EQ(pc.clock.sleeps, std::vector<std::uint32_t>{3000});
  EXPECT_EQ(InstalledPatchLevel(), "3");
}

TEST_F(RunTest, OnlyOkConfirms) {
  for (int answer : {box::kIdCancel, 0, 3 /* IDABORT */, 7 /* IDNO */}) {
    SCOPED_TRACE(answer);
    pc.messages.shown.clear();
    pc.messages.answers = {answer};
    EXPECT_EQ(RunAgain(""), 0);
    EXPECT_EQ(pc.messages.shown.size(), 1u) << "no message follows";
    EXPECT_TRUE(pc.desktop.lookups().empty()) << "no step ran";
    ExpectNothingChanged();
  }
}

TEST_F(RunTest, AFailingStepStopsTheRunWithItsOutcomeAndLaterStepsDoNotRun) {
  pc.files.holdOpen("C:\\K\\bin\\b.dat");
  EXPECT_EQ(kvr::Run("", pc.platform), 2);
  EXPECT_EQ(pc.messages.shown.back().text,
            "I failed to update the file (C:\\K\\bin\\b.dat).\nPlease check to see if not "
            "read-only, or have access permissions.");
  EXPECT_EQ(pc.files.at("C:\\K\\bin\\a.dll").bytes, "new a");
  EXPECT_TRUE(pc.registry.log().empty());
  EXPECT_EQ(InstalledPatchLevel(), "2");
}

TEST_F(RunTest, SecondCopyIsRefusedOnlyOnceItsSettingsLoad) {
  pc.process.existingMutexes.insert("KOVRA_PATCH");
  EXPECT_EQ(kvr::Run("", pc.platform), 9);
  ASSERT_EQ(pc.messages.shown.size(), 1u);
  EXPECT_EQ(pc.messages.shown[0].text, "Patch 3 is already started .");
  ExpectNothingChanged();

  pc.files.remove(kKovraIni);
  EXPECT_EQ(kvr::Run("/Silent", pc.platform), 4);
}

TEST_F(RunTest, UnexpectedFailuresEndWithExitCode99) {
  // No mutex at all: the error box.
  pc.process.mutexFails = true;
  EXPECT_EQ(kvr::Run("", pc.platform), 99);
  ASSERT_EQ(pc.messages.shown.size(), 1u);
  EXPECT_EQ(pc.messages.shown[0].text, "Exception error has occurred.\nPatch 3 will terminate?");
  EXPECT_EQ(pc.messages.shown[0].style, 0x50010u);

  // Anything else thrown: the system-modal box, or nothing when silent.
  pc.process.mutexFails = false;
  pc.messages.shown.clear();
  pc.messages.whileShown = [](const fake::ShownBox& box) {
    if (box.style == 0x40001u) throw std::runtime_error("box failed");
  };
  EXPECT_EQ(RunAgain(""), 99);
  ASSERT_EQ(pc.messages.shown.size(), 2u);
  EXPECT_EQ(pc.messages.shown[1].text, "Exception error has occurred.\nPatch 3 will terminate?");
  EXPECT_EQ(pc.messages.shown[1].style, 0x51010u);
  ExpectNothingChanged();
}

TEST_F(RunTest, BadCommandLineIsToldEvenWhenItAskedForSilence) {
  for (const char* line : {"/silent", "/Silent ", "\"/Silent\"", "/Silent/Silent"}) {
    pc.messages.shown.clear();
    EXPECT_EQ(RunAgain(line), 13);
    ASSERT_EQ(pc.messages.shown.size(), 1u);
    EXPECT_EQ(pc.messages.shown[0].text, "Parameter is invalid.");
    EXPECT_EQ(pc.messages.shown[0].caption, "");
    EXPECT_TRUE(pc.files.log().empty()) << "nothing is loaded";
  }
}

}  // namespace
}  // namespace kvr
