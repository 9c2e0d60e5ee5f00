// The whole job of the real kvrPatch.exe under Wine: a patch applied to an
// installed product, from the confirmation to the exit code, and the ways it
// can stop. Each test checks what changed on the PC and what did not.
#include <gtest/gtest.h>

#include "Patch.h"

namespace kvr::e2e {
namespace {

const char kModuleNameJa[] = "\x8f\x43\x90\xb3\x83\x70\x83\x62\x83\x60 3";  // "修正パッチ 3"

// A product at patch level 2 with five files and two registry values, and a
// patch that brings level 3: three plain files, two shifted ones.
class Apply : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UiLanguage() == 0x0409 || UiLanguage() == 0x0411);
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    scenario = std::make_unique<Scenario>("apply");
    installDir = scenario->folder() + "\\product";
    keyPath = "SOFTWARE\\KvrE2E\\" + name;
    DeleteRegistryKey(keyPath);
    MakeFolders(scenario->folder() + "\\SET\\x86");
    MakeFolders(installDir + "\\bin");
    for (int i = 1; i <= 5; ++i) {
      const std::string n = std::to_string(i);
      newBytes.push_back(std::string("new ") + n +
                         std::string(1000 * i, static_cast<char>(i * 50)));
      const bool shifted = i % 2 == 0;
      WriteFileBytes(scenario->folder() + "\\SET\\x86\\f" + n + ".bin",
                     shifted ? Shifted(newBytes.back()) : newBytes.back());
      destinations.push_back(installDir + "\\bin\\f" + n + ".bin");
      WriteFileBytes(destinations.back(), "old " + n);
    }
    SetRegistryText(keyPath, "Exe", "C:\\Product\\run.exe");
    SetRegistryText(keyPath, "Expand", "%ProgramFiles%\\x.exe", REG_EXPAND_SZ);
    WritePatchDescription(*scenario, Install());
    WriteProductInfo("Kovra.ini", {Enc("VERSION", "10.0"), Enc("PLATFORM", "x86"),
                                   Enc("SPNO64", "1"), Enc("PTNO", "2"),
                                   Enc("ORSA_INST", kOrsaNotInstalled), Enc("DIR", installDir)});
  }
  void TearDown() override {
    for (const auto& d : destinations) SetFileAttributesA(d.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteRegistryKey(keyPath);
    RemoveProductInfos();
  }

  std::vector<IniEntry> Install() const {
    std::vector<IniEntry> entries = {Enc("TARGET", "0"),
                                     Enc("MODULE_TYPE", "0"),
                                     Enc("MODULE_NM", kModuleNameJa),
                                     Enc("MODULE_NM_E", "Patch 3"),
                                     Enc("VERSION", "10.0"),
                                     Enc("VERSION_DISP", "V10.0"),
                                     Enc("SPNO64", "1"),
                                     Enc("PTNO", "3"),
                                     Enc("FILES", "5")};
    for (int i = 1; i <= 5; ++i) {
      const std::string n = std::to_string(i);
      entries.push_back(Enc(
          "FILE" + n, std::string(i % 2 == 0 ? "1" : "0") + ",f" + n + ".bin,bin\\f" + n + ".bin"));
    }
    entries.push_back(Enc("REGISTRIES", "3"));
    entries.push_back(Enc("REGISTRY1", "0,HKEY_LOCAL_MACHINE," + keyPath + ",Exe,x"));
    entries.push_back(Enc("REGISTRY2", "1,HKEY_LOCAL_MACHINE,SOFTWARE\\NoSuchKey,Exe,x"));
    entries.push_back(Enc("REGISTRY3", "0,HKEY_LOCAL_MACHINE," + keyPath + ",Expand,x"));
    return entries;
  }

  void ExpectNothingChanged() {
    for (int i = 0; i < 5; ++i)
      EXPECT_EQ(ReadFileBytes(destinations[i]), "old " + std::to_string(i + 1)) << i;
    EXPECT_EQ(GetRegistryText(keyPath, "Exe"), (RegistryText{REG_SZ, "C:\\Product\\run.exe"}));
    EXPECT_EQ(ReadProductValue("Kovra.ini", "PTNO"), "2");
  }
  void ExpectFilesReplaced(int count) {
    for (int i = 0; i < 5; ++i) {
      if (i < count) {
        EXPECT_EQ(ReadFileBytes(destinations[i]), newBytes[i]) << i;
      } else {
        EXPECT_EQ(ReadFileBytes(destinations[i]), "old " + std::to_string(i + 1)) << i;
      }
    }
  }

  // Starts the tool interactively and answers the confirmation with `press`.
  std::optional<RunningProgram> StartConfirmed(bool (*press)(HWND) = PressOk) {
    auto tool = scenario->Start("");
    auto box = tool->WaitForBox();
    EXPECT_TRUE(box.has_value());
    if (!box) return tool;
    confirmation = *box;
    EXPECT_TRUE(press(box->window));
    return tool;
  }

  std::unique_ptr<Scenario> scenario;
  std::string installDir, keyPath;
  std::vector<std::string> newBytes, destinations;
  BoxView confirmation;
};

TEST_F(Apply, TypicalRunFromConfirmationToSuccessThenRefusedAsAlreadyApplied) {
  ASSERT_EQ(UiLanguage(), 0x0409);
  auto product = StartProduct("class", "quit");
  ASSERT_TRUE(product.has_value());

  auto tool = StartConfirmed();
  EXPECT_EQ(confirmation.caption, "Patch 3");
  EXPECT_EQ(confirmation.text,
            "Run the Patch 3.\nAre you sure you want ?\n*Running KOVRASTUDIO will terminate.");
  EXPECT_TRUE(confirmation.hasOk && confirmation.hasCancel);
  EXPECT_FALSE(confirmation.hasIcon);

  auto success = tool->WaitForBox(60000);
  ASSERT_TRUE(success.has_value());
  EXPECT_FALSE(ProductWindowPresent("class"));
  EXPECT_EQ(success->text, "Patch 3 has been successfully applied. Please start \nKOVRASTUDIO.");
  EXPECT_EQ(success->caption, "Patch 3");
  EXPECT_FALSE(success->hasIcon);
  EXPECT_FALSE(success->hasCancel);
  PressOk(success->window);
  EXPECT_EQ(tool->WaitForExit(), std::optional<DWORD>(0u));
  EXPECT_EQ(product->WaitForExit(1000), std::optional<DWORD>(0u));

  ExpectFilesReplaced(5);
  EXPECT_EQ(GetRegistryText(keyPath, "Exe"), (RegistryText{REG_SZ, "\"C:\\Product\\run.exe\""}));
  EXPECT_EQ(GetRegistryText(keyPath, "Expand"),
            (RegistryText{REG_EXPAND_SZ, "\"%ProgramFiles%\\x.exe\""}));
  EXPECT_EQ(ReadProductValue("Kovra.ini", "PTNO"), "3");
  EXPECT_EQ(ReadProductValue("Kovra.ini", "SPNO64"), "1");
  EXPECT_EQ(ReadProductValue("Kovra.ini", "DIR"), installDir);

  auto again = scenario->Start("/Silent");
  EXPECT_EQ(again->WaitForExitWithoutBox(), std::optional<DWORD>(12u));
  auto interactive = StartConfirmed();
  auto refused = interactive->WaitForBox();
  ASSERT_TRUE(refused.has_value());
  EXPECT_EQ(refused->text, "Are already up-to-date Patch apply.");
  EXPECT_TRUE(refused->hasIcon);
  PressOk(refused->window);
  EXPECT_EQ(interactive->WaitForExit(), std::optional<DWORD>(12u));
}

TEST_F(Apply, SilentRunAppliesWithoutAnyBox) {
  auto tool = scenario->Start("/Silent");
  EXPECT_EQ(tool->WaitForExitWithoutBox(), std::optional<DWORD>(0u));
  ExpectFilesReplaced(5);
  EXPECT_EQ(ReadProductValue("Kovra.ini", "PTNO"), "3");
}

TEST_F(Apply, NotConfirmingChangesNothing) {
  for (bool (*press)(HWND) : {PressCancel, PressEscape, CloseBox}) {
    auto tool = StartConfirmed(press);
    EXPECT_EQ(tool->WaitForExitWithoutBox(), std::optional<DWORD>(0u));
    ExpectNothingChanged();
  }
}

TEST_F(Apply, ProductThatIgnoresTheQuitStopsTheRunBeforeAnyFile) {
  auto product = StartProduct("class", "ignore");
  ASSERT_TRUE(product.has_value());
  auto tool = scenario->Start("/Silent");
  EXPECT_EQ(tool->WaitForExitWithoutBox(60000), std::optional<DWORD>(3u));
  EXPECT_TRUE(ProductWindowPresent("class"));
  ExpectNothingChanged();
}

TEST_F(Apply, UnwritableThirdFileStopsTheRunNamingIt) {
  // Read-only, or held open by another program.
  for (bool readOnly : {true, false}) {
    SCOPED_TRACE(readOnly ? "read-only" : "held open");
    for (int i = 0; i < 5; ++i) WriteFileBytes(destinations[i], "old " + std::to_string(i + 1));
    HANDLE held = INVALID_HANDLE_VALUE;
    if (readOnly) {
      SetFileAttributesA(destinations[2].c_str(), FILE_ATTRIBUTE_READONLY);
    } else {
      held = CreateFileA(destinations[2].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    auto tool = StartConfirmed();
    auto box = tool->WaitForBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text,
              "I failed to update the file (" + destinations[2] +
                  ").\nPlease check to see if not read-only, or have access permissions.");
    EXPECT_TRUE(box->hasIcon);
    PressOk(box->window);
    EXPECT_EQ(tool->WaitForExit(), std::optional<DWORD>(2u));
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    SetFileAttributesA(destinations[2].c_str(), FILE_ATTRIBUTE_NORMAL);

    ExpectFilesReplaced(2);
    EXPECT_EQ(GetRegistryText(keyPath, "Exe"), (RegistryText{REG_SZ, "C:\\Product\\run.exe"}));
    EXPECT_EQ(ReadProductValue("Kovra.ini", "PTNO"), "2");
  }
}

TEST_F(Apply, MissingRegistryValueIsReportedAndTheLevelIsNotStamped) {
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_ALL_ACCESS, &key);
  RegDeleteValueA(key, "Expand");
  RegCloseKey(key);

  auto tool = StartConfirmed();
  auto box = tool->WaitForBox(60000);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, "Failed to update the registry value (HKEY_LOCAL_MACHINE\\" + keyPath +
                           "\\Expand).\nPlease check that the value exists and that you have "
                           "access permissions.");
  PressOk(box->window);
  EXPECT_EQ(tool->WaitForExit(), std::optional<DWORD>(6u));
  ExpectFilesReplaced(5);
  EXPECT_EQ(GetRegistryText(keyPath, "Exe"), (RegistryText{REG_SZ, "\"C:\\Product\\run.exe\""}));
  EXPECT_EQ(ReadProductValue("Kovra.ini", "PTNO"), "2");

  // Mended, the same patch runs again: the level check passes.
  SetRegistryText(keyPath, "Expand", "y", REG_EXPAND_SZ);
  auto again = scenario->Start("/Silent");
  EXPECT_EQ(again->WaitForExitWithoutBox(), std::optional<DWORD>(0u));
  EXPECT_EQ(GetRegistryText(keyPath, "Expand"), (RegistryText{REG_EXPAND_SZ, "\"y\""}));
  EXPECT_EQ(ReadProductValue("Kovra.ini", "PTNO"), "3");
}

TEST_F(Apply, SecondCopyIsRefusedWhileTheFirstWaitsAtItsConfirmation) {
  auto first = scenario->Start("");
  auto confirm = first->WaitForBox();
  ASSERT_TRUE(confirm.has_value());

  auto second = scenario->Start("");
  auto refused = second->WaitForBox();
  ASSERT_TRUE(refused.has_value());
  EXPECT_EQ(refused->text, "Patch 3 is already started .");
  EXPECT_TRUE(refused->hasIcon);
  PressOk(refused->window);
  EXPECT_EQ(second->WaitForExit(), std::optional<DWORD>(9u));
  auto secondSilent = scenario->Start("/Silent");
  EXPECT_EQ(secondSilent->WaitForExitWithoutBox(), std::optional<DWORD>(9u));

  PressOk(confirm->window);
  auto success = first->WaitForBox(60000);
  ASSERT_TRUE(success.has_value());
  PressOk(success->window);
  EXPECT_EQ(first->WaitForExit(), std::optional<DWORD>(0u));
  ExpectFilesReplaced(5);
}

TEST_F(Apply, WrongVersionIsToldAfterTheConfirmationAndTouchesNothing) {
  WriteProductInfo("Kovra.ini", {Enc("VERSION", "10.0 "), Enc("DIR", installDir),
                                 Enc("ORSA_INST", kOrsaNotInstalled)});
  auto product = StartProduct("class", "quit");
  auto tool = StartConfirmed();
  auto box = tool->WaitForBox();
  ASSERT_TRUE(box.has_value());
  PressOk(box->window);
  EXPECT_EQ(tool->WaitForExit(), std::optional<DWORD>(1u));
  EXPECT_TRUE(ProductWindowPresent("class"));
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(ReadFileBytes(destinations[i]), "old " + std::to_string(i + 1));
}

// Runs under a Japanese user interface only.
class JapaneseApply : public Apply {};

TEST_F(JapaneseApply, TypicalRunIsToldInJapanese) {
  ASSERT_EQ(UiLanguage(), 0x0411);
  auto tool = StartConfirmed();
  EXPECT_EQ(confirmation.caption, kModuleNameJa);
  // "%s を実行します。\nよろしいですか？\n※ 起動中の %s は終了します。"
  EXPECT_EQ(confirmation.text,
            std::string(kModuleNameJa) +
                " \x82\xf0\x8e\xc0\x8d\x73\x82\xb5\x82\xdc\x82\xb7\x81\x42\n\x82\xe6\x82\xeb\x82"
                "\xb5\x82\xa2\x82\xc5\x82\xb7\x82\xa9\x81\x48\n\x81\xa6 \x8b\x4e\x93\xae\x92\x86"
                "\x82\xcc KOVRASTUDIO \x82\xcd\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7\x81\x42");
  auto success = tool->WaitForBox(60000);
  ASSERT_TRUE(success.has_value());
  // "%s は正常に適用されました。\n%s を起動してください。"
  EXPECT_EQ(success->text,
            std::string(kModuleNameJa) +
                " \x82\xcd\x90\xb3\x8f\xed\x82\xc9\x93\x4b\x97\x70\x82\xb3\x82\xea\x82\xdc\x82\xb5"
                "\x82\xbd\x81\x42\nKOVRASTUDIO \x82\xf0\x8b\x4e\x93\xae\x82\xb5\x82\xc4\x82\xad"
                "\x82\xbe\x82\xb3\x82\xa2\x81\x42");
  PressOk(success->window);
  EXPECT_EQ(tool->WaitForExit(), std::optional<DWORD>(0u));
  ExpectFilesReplaced(5);

  auto again = StartConfirmed();
  auto refused = again->WaitForBox();
  ASSERT_TRUE(refused.has_value());
  // "既に最新の 修正パッチ が適用されています。"
  EXPECT_EQ(refused->text,
            "\x8a\xf9\x82\xc9\x8d\xc5\x90\x56\x82\xcc \x8f\x43\x90\xb3\x83\x70\x83\x62\x83\x60 "
            "\x82\xaa\x93\x4b\x97\x70\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb7\x81\x42");
  PressOk(refused->window);
  EXPECT_EQ(again->WaitForExit(), std::optional<DWORD>(12u));
}

}  // namespace
}  // namespace kvr::e2e
