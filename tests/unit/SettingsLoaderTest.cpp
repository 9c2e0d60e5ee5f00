// SettingsLoader on the fake PC: realistic settings files
// written with the tool's own encoder into C:\patch\kvrIni.ini (beside the
// fake module C:\patch\kvrPatch.exe) and C:\WINDOWS\<product>.ini.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "EncodedIni.h"
#include "FakePlatform.h"
#include "MessageCatalogue.h"
#include "settings/ProductInfo.h"
#include "settings/SettingsLoader.h"

namespace kvr {
namespace {

using testing::Enc;
using testing::EncodedIniText;
using testing::IniEntry;
using testing::Raw;

constexpr char kPatchIni[] = "C:\\patch\\kvrIni.ini";
constexpr char kKovraIni[] = "C:\\WINDOWS\\Kovra.ini";
const std::string kOrsaCreator = kOrsaCreatorName;

bool SameKey(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::toupper(x) == std::toupper(y);
  });
}

// Replaces the entry of that key (any letter case) or appends it.
void Set(std::vector<IniEntry>& entries, IniEntry entry) {
  for (IniEntry& e : entries)
    if (SameKey(e.key, entry.key)) {
      e = std::move(entry);
      return;
    }
  entries.push_back(std::move(entry));
}
void Remove(std::vector<IniEntry>& entries, const std::string& key) {
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [&](const IniEntry& e) { return SameKey(e.key, key); }),
                entries.end());
}

class SettingsLoaderTest : public ::testing::Test {
 protected:
  SettingsLoaderTest() {
    // Mixed letter case in key names, as authoring tools write them.
    install_ = {
        Enc("TARGET", "0"),
        Enc("Module_Type", "0"),
        Enc("MODULE_NM", fake::Sjis("KOVRA 修正パッチ 3")),
        Enc("MODULE_NM_E", "KOVRA Patch 3"),
        Enc("VERSION", "V80"),
        Enc("VERSION_DISP", "Version 8.0"),
        Enc("SPNO64", "1"),
        Enc("ptno", "3"),
        Enc("FILES", "2"),
        Enc("FILE1", "0,kvr.exe,bin\\kvr.exe"),
        Enc("File2", "1,kvrcore.dll,bin\\kvrcore.dll"),
        Enc("REGISTRIES", "1"),
        Enc("REGISTRY1",
            "0,HKEY_LOCAL_MACHINE,SOFTWARE\\Kovra\\Studio,InstallPath,C:\\Program Files\\Kovra"),
    };
    license_ = {
        Enc("VERSION", "V80"),
        Enc("PLATFORM", "x64"),
        Enc("SPNO64", "1"),
        Enc("PTNO", "2"),
        Enc("ORSA_INST", fake::Sjis("ORSA未インストール")),
        Enc("DIR", "C:\\Program Files\\Kovra"),
    };
  }

  // The product's file; without any LICENSE value, without the section.
  void SaveProduct(const std::string& path = kKovraIni) {
    std::vector<testing::IniSection> sections = {
        {"SETUP", {Raw("Language", "1041"), Enc("DIR", "C:\\wrong")}}};
    if (!license_.empty()) sections.push_back({"LICENSE", license_});
    sections.push_back({"HISTORY", {Enc("PTNO", "99")}});
    pc_.files.put(path, EncodedIniText(sections));
  }
  void SavePatch() {
    pc_.files.put(kPatchIni, EncodedIniText({{"GENERAL", {Raw("Comment", "; made by kvrPack")}},
                                             {"Install", install_},
                                             {"INSTALL_OLD", {Enc("TARGET", "2")}}}));
  }
  void Save() {
    SavePatch();
    SaveProduct();
  }
  Outcome Load() {
    MessageCatalogue catalogue(pc_.messages);
    return SettingsLoader(context_, pc_.platform, catalogue);
  }
  Outcome SaveAndLoad() {
    Save();
    return Load();
  }
  // "SECTION KEY" of every profile read, in order.
  std::vector<std::string> Reads() const {
    std::vector<std::string> out;
    for (const std::string& line : pc_.profile.log()) {
      if (line.rfind("read ", 0) != 0) continue;
      const std::size_t section = 5, key = line.find(' ', section) + 1;
      out.push_back(line.substr(section, line.find(' ', key) - section));
    }
    return out;
  }

  fake::FakePlatform pc_;
  RunContext context_;
  std::vector<IniEntry> install_;
  std::vector<IniEntry> license_;
};

// --- A good load --------------------------------------------------------------

TEST_F(SettingsLoaderTest, FillsTheRecordFromBothFiles) {
  ASSERT_EQ(SaveAndLoad(), 0);
  EXPECT_EQ(context_.toolDir, "C:\\patch");
  EXPECT_EQ(context_.patchIniPath, "C:\\patch\\kvrIni.ini");
  EXPECT_EQ(context_.target, "0");
  EXPECT_EQ(context_.moduleType, 0);
  EXPECT_EQ(context_.moduleName, "KOVRA Patch 3");
  EXPECT_EQ(context_.version, "V80");
  EXPECT_EQ(context_.versionDisp, "Version 8.0");
  EXPECT_EQ(context_.spNo, 1);
  EXPECT_EQ(context_.ptNo, 3);
  EXPECT_EQ(context_.fileCount, 2);
  ASSERT_EQ(context_.files.size(), 2u);
  EXPECT_EQ(context_.files[0].mode, "0");
  EXPECT_EQ(context_.files[0].sourceName, "kvr.exe");
  EXPECT_EQ(context_.files[0].destPath, "C:\\Program Files\\Kovra\\bin\\kvr.exe");
  EXPECT_EQ(context_.files[1].mode, "1");
  EXPECT_EQ(context_.files[1].sourceName, "kvrcore.dll");
  EXPECT_EQ(context_.files[1].destPath, "C:\\Program Files\\Kovra\\bin\\kvrcore.dll");
  EXPECT_EQ(context_.registryCount, 1);
  ASSERT_EQ(context_.registries.size(), 1u);
  const RegistryEntry& r = context_.registries[0];
  EXPECT_EQ(r.mode, "0");
  EXPECT_EQ(r.hive, "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(r.keyPath, "SOFTWARE\\Kovra\\Studio");
  EXPECT_EQ(r.valueName, "InstallPath");
  EXPECT_EQ(r.valueData, "C:\\Program Files\\Kovra");

  EXPECT_EQ(context_.productIniPath, kKovraIni);
  EXPECT_EQ(context_.productName, "KOVRASTUDIO");
  EXPECT_EQ(context_.productVersion, "V80");
  EXPECT_EQ(context_.platform, "x64");
  EXPECT_EQ(context_.productSpNo, 1);
  EXPECT_EQ(context_.productPtNo, 2);
  EXPECT_EQ(context_.orsaInst, fake::Sjis("ORSA未インストール"));
  EXPECT_EQ(context_.installDir, "C:\\Program Files\\Kovra");
}

TEST_F(SettingsLoaderTest, ReadsInTheirFixedOrder) {
  ASSERT_EQ(SaveAndLoad(), 0);
  const std::vector<std::string> expected = {
      "INSTALL TARGET",       "INSTALL MODULE_TYPE", "INSTALL MODULE_NM_E", "INSTALL VERSION",
      "INSTALL VERSION_DISP", "INSTALL SPNO64",      "INSTALL PTNO",        "INSTALL FILES",
      "INSTALL FILE1",        "INSTALL FILE2",       "INSTALL REGISTRIES",  "INSTALL REGISTRY1",
      "LICENSE VERSION",      "LICENSE PLATFORM",    "LICENSE SPNO64",      "LICENSE PTNO",
      "LICENSE ORSA_INST",    "LICENSE DIR"};
  EXPECT_EQ(Reads(), expected);
  for (const std::string& line : pc_.profile.log()) {
    const bool install = line.find(" INSTALL ") != std::string::npos;
    EXPECT_NE(line.find(install ? kPatchIni : kKovraIni), std::string::npos) << line;
  }
}

// --- The module name by UI language --------------------------------------------

TEST_F(SettingsLoaderTest, ModuleNameFollowsTheUiLanguage) {
  struct Case {
    std::uint16_t language;
    std::string moduleName;
    const char* keyRead;
  };
  const Case cases[] = {
      {1041, fake::Sjis("KOVRA 修正パッチ 3"), "INSTALL MODULE_NM"},
      {1033, "KOVRA Patch 3", "INSTALL MODULE_NM_E"},
      {2057, "", nullptr},
      {1031, "", nullptr},
      {0, "", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    pc_.process.uiLanguage = c.language;
    context_ = RunContext();
    pc_.profile.clearLog();
    ASSERT_EQ(SaveAndLoad(), 0);
    EXPECT_EQ(context_.moduleName, c.moduleName);
    const auto reads = Reads();
    const int nameReads =
        static_cast<int>(std::count_if(reads.begin(), reads.end(), [](const std::string& r) {
          return r.rfind("INSTALL MODULE_NM", 0) == 0;
        }));
    EXPECT_EQ(nameReads, c.keyRead ? 1 : 0);
    if (c.keyRead) {
      EXPECT_EQ(reads[2], c.keyRead);
    }
  }
}

// --- The tool's folder and the patch description -------------------------------

TEST_F(SettingsLoaderTest, MissingPatchDescriptionGives2WithEmptyModuleName) {
  SaveProduct();
  EXPECT_EQ(Load(), 2);
  EXPECT_TRUE(context_.moduleName.empty());
  EXPECT_EQ(context_.patchIniPath, kPatchIni);
  EXPECT_TRUE(Reads().empty());
}

TEST_F(SettingsLoaderTest, MissingModulePathGives2) {
  Save();
  pc_.process.modulePath.reset();
  EXPECT_EQ(Load(), 2);
  EXPECT_TRUE(Reads().empty());
  EXPECT_TRUE(context_.toolDir.empty());
}

TEST_F(SettingsLoaderTest, ToolFolderIsNotCutInsideAShiftJisCharacter) {
  pc_.useJapanese();
  // "ソ" is 83 5C: its trail byte has the backslash's value.
  const std::string folder = "C:\\" + fake::Sjis("ソフト");
  struct Case {
    std::string modulePath;
    std::string toolDir;
  };
  const Case cases[] = {
      {folder + "\\kvrPatch.exe", folder},
      // "表" (95 5C) in the executable's name: a byte walk would cut there.
      {"C:\\kvr\\" + fake::Sjis("表") + ".exe", "C:\\kvr"},
      {folder + "\\" + fake::Sjis("表ソ") + ".exe", folder},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.toolDir);
    context_ = RunContext();
    pc_.process.modulePath = c.modulePath;
    install_.clear();
    Set(install_, Enc("TARGET", "1"));
    pc_.files.put(c.toolDir + "\\kvrIni.ini", EncodedIniText({{"INSTALL", install_}}));
    SaveProduct();
    EXPECT_EQ(Load(), 0);
    EXPECT_EQ(context_.toolDir, c.toolDir);
    EXPECT_EQ(context_.patchIniPath, c.toolDir + "\\kvrIni.ini");
  }
}

TEST_F(SettingsLoaderTest, ModulePathWithoutBackslashGivesEmptyToolDir) {
  pc_.process.modulePath = "kvrPatch.exe";
  EXPECT_EQ(Load(), 2);
  EXPECT_TRUE(context_.toolDir.empty());
  EXPECT_EQ(context_.patchIniPath, "\\kvrIni.ini");
}

TEST_F(SettingsLoaderTest, PatchIniPathOver259Gives2) {
  for (std::size_t toolDirLength : {248u, 249u}) {
    SCOPED_TRACE(toolDirLength);
    context_ = RunContext();
    const std::string toolDir = "C:\\" + std::string(toolDirLength - 3, 'd');
    pc_.process.modulePath = toolDir + "\\k.exe";
    const std::string ini = toolDir + "\\kvrIni.ini";
    pc_.files.put(ini, EncodedIniText({{"INSTALL", install_}}));
    SaveProduct();
    if (ini.size() <= 259) {
      EXPECT_EQ(Load(), 0);
      EXPECT_EQ(context_.patchIniPath, ini);
    } else {
      EXPECT_EQ(Load(), 2);
      EXPECT_TRUE(context_.patchIniPath.empty()) << "never a cut path";
    }
  }
}

// --- Numbers -------------------------------------------------------------------

TEST_F(SettingsLoaderTest, NumbersFollowTheSignedDecimalRule) {
  struct Case {
    IniEntry entry;
    std::int32_t moduleType;
  };
  const Case cases[] = {
      {Enc("MODULE_TYPE", "1"), 1},
      {Enc("MODULE_TYPE", " 1"), 1},
      {Enc("MODULE_TYPE", "1a"), 1},
      {Enc("MODULE_TYPE", "a1"), 0},
      {Enc("MODULE_TYPE", "-7"), -7},
      {Enc("MODULE_TYPE", "99999999999"), 2147483647},
      {Enc("MODULE_TYPE", "-99999999999"), -2147483647 - 1},
      {Enc("MODULE_TYPE", ""), 0},
      {Raw("MODULE_TYPE", "1"), 0},  // not encoded: does not decode
      {Raw("MODULE_TYPE", ""), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry.value);
    context_ = RunContext();
    Set(install_, c.entry);
    ASSERT_EQ(SaveAndLoad(), 0);
    EXPECT_EQ(context_.moduleType, c.moduleType);
  }
  context_ = RunContext();
  Remove(install_, "MODULE_TYPE");
  Remove(install_, "SPNO64");
  Remove(install_, "PTNO");
  ASSERT_EQ(SaveAndLoad(), 0);
  EXPECT_EQ(context_.moduleType, 0);
  EXPECT_EQ(context_.spNo, 0);
  EXPECT_EQ(context_.ptNo, 0);
}

// --- The file list -------------------------------------------------------------

TEST_F(SettingsLoaderTest, CountsThatReadNoFileKey) {
  struct Case {
    std::vector<IniEntry> files;  // FILES (none: missing)
    std::int32_t count;
  };
  const Case cases[] = {
      {{}, 0},
      {{Raw("FILES", "")}, 0},
      {{Enc("FILES", "")}, 0},
      {{Enc("FILES", "two")}, 0},
      {{Enc("FILES", "0")}, 0},
      {{Enc("FILES", "-1")}, -1},
      {{Enc("FILES", "-2147483648")}, -2147483647 - 1},
  };
  for (const Case& c : cases) {
    context_ = RunContext();
    Remove(install_, "FILES");
    for (const IniEntry& e : c.files) Set(install_, e);
    ASSERT_EQ(SaveAndLoad(), 0) << c.count;
    EXPECT_EQ(context_.fileCount, c.count);
    EXPECT_TRUE(context_.files.empty());
  }
  const auto reads = Reads();
  EXPECT_EQ(std::count(reads.begin(), reads.end(), "INSTALL FILE1"), 0);
}

TEST_F(SettingsLoaderTest, CountsThatReadNoRegistryKey) {
  for (const char* count : {"", "0", "-1", "x"}) {
    context_ = RunContext();
    Set(install_, Enc("REGISTRIES", count));
    ASSERT_EQ(SaveAndLoad(), 0) << count;
    EXPECT_TRUE(context_.registries.empty());
  }
  EXPECT_EQ(context_.registryCount, 0);
}

TEST_F(SettingsLoaderTest, HugeCountWithoutKeysEndsAtTheFirstMissingKey) {
  for (const char* key : {"FILES", "REGISTRIES"}) {
    for (const char* count : {"2147483647", "99999999999999"}) {
      SCOPED_TRACE(std::string(key) + "=" + count);
      context_ = RunContext();
      pc_.profile.clearLog();
      install_ = {Enc("TARGET", "0"), Enc(key, count)};
      EXPECT_EQ(SaveAndLoad(), 2);
      const auto reads = Reads();
      const std::string first = std::string("INSTALL ") + (key[0] == 'F' ? "FILE1" : "REGISTRY1");
      EXPECT_EQ(reads.back(), first) << "nothing read after the first missing key";
      EXPECT_EQ(context_.files.capacity(), 0u) << "nothing allocated for the count";
      EXPECT_EQ(context_.registries.capacity(), 0u);
    }
  }
  EXPECT_EQ(context_.registryCount, 2147483647);
}

TEST_F(SettingsLoaderTest, MissingFileKeyWithinTheCountGives2KeepingEarlierEntries) {
  Set(install_, Enc("FILES", "3"));
  Set(install_, Enc("FILE3", "0,c.dll,c.dll"));
  Remove(install_, "FILE2");
  EXPECT_EQ(SaveAndLoad(), 2);
  ASSERT_EQ(context_.files.size(), 1u);
  EXPECT_EQ(context_.files[0].destPath, "bin\\kvr.exe")
      << "still relative: the install information was not reached";
  EXPECT_TRUE(context_.registries.empty());
  EXPECT_TRUE(context_.productIniPath.empty());
}

TEST_F(SettingsLoaderTest, KeysBeyondTheCountAreIgnored) {
  Set(install_, Enc("FILE3", "0,c.dll,c.dll"));
  Set(install_, Enc("REGISTRY2", "garbage"));
  ASSERT_EQ(SaveAndLoad(), 0);
  EXPECT_EQ(context_.files.size(), 2u);
  EXPECT_EQ(context_.registries.size(), 1u);
}

TEST_F(SettingsLoaderTest, FileLinesSplitAtCommas) {
  struct Case {
    std::string line;
    const char* mode;
    const char* source;
    const char* dest;
  };
  const Case cases[] = {
      {"0,a.dll,bin\\a.dll", "0", "a.dll", "bin\\a.dll"},
      {"0,,a.dll,bin\\a.dll", "0", "a.dll", "bin\\a.dll"},
      {",,0,a.dll,,,bin\\a.dll,,", "0", "a.dll", "bin\\a.dll"},
      {"0, a.dll,bin\\a.dll", "0", " a.dll", "bin\\a.dll"},
      {"0,a.dll,bin\\a.dll,extra,more", "0", "a.dll", "bin\\a.dll"},
      {"1,a b.dll,sub dir\\a b.dll", "1", "a b.dll", "sub dir\\a b.dll"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    context_ = RunContext();
    Set(install_, Enc("FILES", "1"));
    Set(install_, Enc("FILE1", c.line));
    ASSERT_EQ(SaveAndLoad(), 0);
    ASSERT_EQ(context_.files.size(), 1u);
    EXPECT_EQ(context_.files[0].mode, c.mode);
    EXPECT_EQ(context_.files[0].sourceName, c.source);
    EXPECT_EQ(context_.files[0].destPath, std::string("C:\\Program Files\\Kovra\\") + c.dest);
  }
}

TEST_F(SettingsLoaderTest, BadFileLinesGive2) {
  const std::vector<IniEntry> cases = {
      Enc("FILE1", "0,a.dll"),  // two fields
      Enc("FILE1", "0"),        // one field
      Enc("FILE1", ",,,"),      // commas alone
      Enc("FILE1", ""),         // encoded empty
      Enc("FILE1", std::string("\0"
                               "0,a,b",
                               6)),                  // 0 byte first
      Enc("FILE1", std::string(256, 'm') + ",a,b"),  // 260 decoded
      Raw("FILE1", ""),
      Raw("FILE1", "0,a.dll,bin\\a.dll"),  // not encoded
      Raw("FILE1", "TPP"),                 // odd length
      Raw("FILE1", "TPPK"),                // check character wrong
      Raw("FILE1", "T\x01\x02)"),          // outside the table, check wrong
  };
  for (const IniEntry& e : cases) {
    SCOPED_TRACE(e.value);
    context_ = RunContext();
    Set(install_, e);
    EXPECT_EQ(SaveAndLoad(), 2);
    EXPECT_TRUE(context_.files.empty());
  }
}

TEST_F(SettingsLoaderTest, FileLineOf259CharactersIsAccepted) {
  Set(install_, Enc("FILES", "1"));
  Set(install_, Enc("FILE1", std::string(255, 'm') + ",a,b"));
  ASSERT_EQ(SaveAndLoad(), 0);
  EXPECT_EQ(context_.files[0].mode.size(), 255u);
}

TEST_F(SettingsLoaderTest, ZeroByteInsideAFileLineEndsIt) {
  Set(install_, Enc("FILES", "1"));
  Set(install_, Enc("FILE1", std::string("0,a.dll,a.dll\0,x,y", 19)));
  ASSERT_EQ(SaveAndLoad(), 0);
  EXPECT_EQ(context_.files[0].destPath, "C:\\Program Files\\Kovra\\a.dll");
}

// --- The registry list ---------------------------------------------------------

TEST_F(SettingsLoaderTest, BadRegistryLinesGive2) {
  const std::string w254(254, 'w'), w255(255, 'w');
  struct Case {
    std::string line;
    Outcome outcome;
  };
  const Case cases[] = {
      {"0,HKLM,Key,Value", 2},  // four fields
      {",,,,", 2},
      {"0,,,,HKLM,,Key,,Value,,Data", 0},
      {w254 + ",HKLM,Key,Value,Data", 0},
      {w255 + ",HKLM,Key,Value,Data", 2},  // mode wider than 255
      {"0," + w254 + ",Key,Value,Data", 0},
      {"0," + w255 + ",Key,Value,Data", 2},
      {"0,HKLM,Key," + w254 + ",Data", 0},
      {"0,HKLM,Key," + w255 + ",Data", 2},
      // 510 plain bytes is the most a 1023-character read carries.
      {"0,HKLM," + std::string(499, 'k') + ",V,D", 0},
      {"0,HKLM," + std::string(500, 'k') + ",V,D", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.substr(0, 40) + "... " + std::to_string(c.line.size()));
    context_ = RunContext();
    Set(install_, Enc("REGISTRY1", c.line));
    EXPECT_EQ(SaveAndLoad(), c.outcome);
    EXPECT_EQ(context_.registries.size(), c.outcome == 0 ? 1u : 0u);
  }
}

TEST_F(SettingsLoaderTest, RegistryLineOfFiveFieldsIsStoredWhole) {
  Set(install_, Enc("REGISTRIES", "2"));
  Set(install_, Enc("REGISTRY2", "1,HKEY_CURRENT_USER,Software\\Kovra, Name ,a,b,c"));
  ASSERT_EQ(SaveAndLoad(), 0);
  ASSERT_EQ(context_.registries.size(), 2u);
  const RegistryEntry& r = context_.registries[1];
  EXPECT_EQ(r.mode, "1");
  EXPECT_EQ(r.hive, "HKEY_CURRENT_USER");
  EXPECT_EQ(r.keyPath, "Software\\Kovra");
  EXPECT_EQ(r.valueName, " Name ");
  EXPECT_EQ(r.valueData, "a");
}

TEST_F(SettingsLoaderTest, MissingRegistryKeyGives2KeepingWhatWasRead) {
  Set(install_, Enc("REGISTRIES", "2"));
  EXPECT_EQ(SaveAndLoad(), 2);
  EXPECT_EQ(context_.files.size(), 2u);
  EXPECT_EQ(context_.registries.size(), 1u);
}

// --- Text fields at and over their widths --------------------------------------

TEST_F(SettingsLoaderTest, InstallTextsOverTheirWidthFallBackToEmpty) {
  for (const char* key : {"MODULE_NM_E", "VERSION", "VERSION_DISP"}) {
    for (std::size_t length : {259u, 260u}) {
      SCOPED_TRACE(std::string(key) + " " + std::to_string(length));
      context_ = RunContext();
      Set(install_, Enc(key, std::string(length, 'v')));
      ASSERT_EQ(SaveAndLoad(), 0);
      const std::size_t got = key[1] == 'O'   ? context_.moduleName.size()
                              : key[7] == '_' ? context_.versionDisp.size()
                                              : context_.version.size();
      EXPECT_EQ(got, length == 259 ? 259u : 0u);
      Set(install_, Enc(key, "x"));
    }
  }
}

TEST_F(SettingsLoaderTest, BadValuesFallBackToTheDefault) {
  const std::vector<IniEntry> cases = {
      Raw("VERSION_DISP", "hello"),
      Raw("VERSION_DISP", "KB K"),
      Raw("VERSION_DISP", "K%5"),
      Raw("VERSION_DISP", "\"TPP)\"x"),
      Raw("VERSION_DISP", "abcdefgh"),
      Raw("VERSION_DISP", std::string(2000, 'K')),
      Raw("VERSION_DISP", "\x83\x5C\x83\x5C"),
  };
  for (const IniEntry& e : cases) {
    SCOPED_TRACE(e.value.substr(0, 20));
    context_ = RunContext();
    Set(install_, e);
    ASSERT_EQ(SaveAndLoad(), 0);
    EXPECT_TRUE(context_.versionDisp.empty());
  }
}

// --- TargetKind and the product install information ----------------------------

TEST_F(SettingsLoaderTest, TargetKindChoosesFileAndName) {
  struct Case {
    const char* target;
    std::uint16_t language;
    const char* file;
    std::string productName;
  };
  const Case cases[] = {
      {"0", 1033, "Kovra.ini", "KOVRASTUDIO"},
      {"1", 1041, "Kovra.ini", "KOVRASTUDIO"},
      {"12", 1033, "Kovra.ini", "KOVRASTUDIO"},
      {"2", 1033, "OrsaCreator.ini", kOrsaCreator},
      {"2", 1041, "OrsaCreator.ini", kOrsaCreator},
      {"3", 1033, "OrsaLogMng.ini", "OrsaLogMng"},
      {"3", 1041, "OrsaLogMng.ini", fake::Sjis("ログ情報管理ソフト")},
      {"3", 2057, "OrsaLogMng.ini", "OrsaLogMng"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.target) + " " + std::to_string(c.language));
    context_ = RunContext();
    pc_.process.uiLanguage = c.language;
    pc_.process.codePage = c.language == 1041 ? 932 : 1252;
    Set(install_, Enc("TARGET", c.target));
    for (const char* other : {"Kovra.ini", "OrsaCreator.ini", "OrsaLogMng.ini"})
      pc_.files.remove((std::string("C:\\WINDOWS\\") + other).c_str());
    SavePatch();
    SaveProduct(std::string("C:\\WINDOWS\\") + c.file);
    ASSERT_EQ(Load(), 0);
    EXPECT_EQ(context_.productIniPath, std::string("C:\\WINDOWS\\") + c.file);
    EXPECT_EQ(context_.productName, c.productName);
  }
  EXPECT_EQ(kOrsaCreator, fake::Sjis("インストーラ生成ソフト"));
  EXPECT_EQ(kOrsaCreator.size(), 22u);
}

TEST_F(SettingsLoaderTest, InvalidTargetKindGives2AfterBothLists) {
  const std::vector<IniEntry> cases = {
      Enc("TARGET", "4"),
      Enc("TARGET", ""),
      Enc("TARGET", " 0"),
      Enc("TARGET", "a"),
      Enc("TARGET", "/"),
      Raw("TARGET", "0"),
      Raw("TARGET", ""),
      Enc("TARGET", std::string("\0"
                                "0",
                                2)),
  };
  for (const IniEntry& e : cases) {
    SCOPED_TRACE(e.value);
    context_ = RunContext();
    Set(install_, e);
    EXPECT_EQ(SaveAndLoad(), 2);
    EXPECT_EQ(context_.files.size(), 2u);
    EXPECT_EQ(context_.registries.size(), 1u);
    EXPECT_EQ(context_.productIniPath, "C:\\WINDOWS\\");
    EXPECT_TRUE(context_.productName.empty());
  }
  context_ = RunContext();
  Remove(install_, "TARGET");
  EXPECT_EQ(SaveAndLoad(), 2);
}

TEST_F(SettingsLoaderTest, MissingProductFileGives8NamingTheProduct) {
  pc_.process.windowsDir = "D:\\WINNT";
  for (const char* target : {"0", "2", "3"}) {
    SCOPED_TRACE(target);
    context_ = RunContext();
    Set(install_, Enc("TARGET", target));
    EXPECT_EQ(SaveAndLoad(), 8) << "Kovra.ini is only in C:\\WINDOWS";
    EXPECT_EQ(context_.productIniPath.view().substr(0, 9), "D:\\WINNT\\");
    EXPECT_FALSE(context_.productName.empty());
    EXPECT_EQ(context_.versionDisp, "Version 8.0");
  }
}

TEST_F(SettingsLoaderTest, WindowsDirectoryLeadsTheProductPath) {
  pc_.process.windowsDir = "D:\\WINNT";
  Save();
  SaveProduct("D:\\WINNT\\Kovra.ini");
  ASSERT_EQ(Load(), 0);
  EXPECT_EQ(context_.productIniPath, "D:\\WINNT\\Kovra.ini");
}

TEST_F(SettingsLoaderTest, RequiredLicenseValuesGive2) {
  struct Case {
    const char* name;
    std::function<void(std::vector<IniEntry>&)> change;
  };
  const Case cases[] = {
      {"VERSION missing", [](auto& l) { Remove(l, "VERSION"); }},
      {"VERSION encoded empty", [](auto& l) { Set(l, Enc("VERSION", "")); }},
      {"VERSION not decodable", [](auto& l) { Set(l, Raw("VERSION", "V80")); }},
      {"VERSION 255 characters", [](auto& l) { Set(l, Enc("VERSION", std::string(255, 'v'))); }},
      {"DIR missing", [](auto& l) { Remove(l, "DIR"); }},
      {"DIR encoded empty", [](auto& l) { Set(l, Enc("DIR", "")); }},
      {"DIR 260 characters", [](auto& l) { Set(l, Enc("DIR", std::string(260, 'd'))); }},
      {"no LICENSE section", [](auto& l) { l.clear(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    context_ = RunContext();
    auto saved = license_;
    c.change(license_);
    EXPECT_EQ(SaveAndLoad(), 2);
    EXPECT_EQ(context_.productName, "KOVRASTUDIO");
    license_ = saved;
  }
  context_ = RunContext();
  Set(license_, Enc("VERSION", std::string(254, 'v')));
  EXPECT_EQ(SaveAndLoad(), 0);
  EXPECT_EQ(context_.productVersion.size(), 254u);
}

TEST_F(SettingsLoaderTest, OptionalLicenseValuesTakeTheirDefaults) {
  for (const char* key : {"PLATFORM", "SPNO64", "PTNO", "ORSA_INST"}) Remove(license_, key);
  ASSERT_EQ(SaveAndLoad(), 0);
  EXPECT_EQ(context_.platform, "x86");
  EXPECT_EQ(context_.productSpNo, 0);
  EXPECT_EQ(context_.productPtNo, 0);
  EXPECT_TRUE(context_.orsaInst.empty());

  context_ = RunContext();
  Set(license_, Enc("PLATFORM", ""));  // the encoded empty text is not "missing"
  Set(license_, Raw("PTNO", "5"));
  Set(license_, Enc("SPNO64", "-3"));
  ASSERT_EQ(SaveAndLoad(), 0);
  EXPECT_EQ(context_.platform, "");
  EXPECT_EQ(context_.productPtNo, 0);
  EXPECT_EQ(context_.productSpNo, -3);

  context_ = RunContext();
  Set(license_, Enc("PLATFORM", std::string(260, 'p')));
  ASSERT_EQ(SaveAndLoad(), 0);
  EXPECT_EQ(context_.platform, "x86");
}

// --- Destinations --------------------------------------------------------------

TEST_F(SettingsLoaderTest, DestinationGetsExactlyOneAddedBackslash) {
  Set(license_, Enc("DIR", "C:\\Kovra\\"));
  ASSERT_EQ(SaveAndLoad(), 0);
  EXPECT_EQ(context_.files[0].destPath, "C:\\Kovra\\\\bin\\kvr.exe");
  EXPECT_EQ(context_.installDir, "C:\\Kovra\\");
}

TEST_F(SettingsLoaderTest, JoinedDestinationOver259Gives2NeverACutPath) {
  const std::string dir = "C:\\" + std::string(200, 'd');  // 203 characters
  Set(license_, Enc("DIR", dir));
  Set(install_, Enc("FILES", "2"));
  for (std::size_t relative : {55u, 56u}) {  // 203 + 1 + 55 = 259
    SCOPED_TRACE(relative);
    context_ = RunContext();
    Set(install_, Enc("FILE2", "0,b.dll," + std::string(relative, 'r')));
    const Outcome result = SaveAndLoad();
    ASSERT_EQ(context_.files.size(), 2u);
    if (relative == 55) {
      EXPECT_EQ(result, 0);
      EXPECT_EQ(context_.files[1].destPath.size(), 259u);
    } else {
      EXPECT_EQ(result, 2);
      EXPECT_EQ(context_.files[1].destPath, std::string(relative, 'r')) << "left as read";
    }
  }
}

TEST_F(SettingsLoaderTest, InstallDirOf259LeavesNoRoomForTheBackslash) {
  Set(license_, Enc("DIR", std::string(259, 'd')));
  EXPECT_EQ(SaveAndLoad(), 2);
  context_ = RunContext();
  Set(install_, Enc("FILES", "0"));
  EXPECT_EQ(SaveAndLoad(), 0) << "nothing to join without files";
}

// --- The edge ------------------------------------------------------------------

// Throws from the profile read of one key.
class ThrowingProfile : public Profile {
 public:
  ThrowingProfile(Profile& inner, std::string key, bool badAlloc)
      : inner_(inner), key_(std::move(key)), badAlloc_(badAlloc) {}
  std::string read(const char* section, const char* key, const char* path) override {
    if (key_ == key) {
      if (badAlloc_) throw std::bad_alloc();
      throw std::runtime_error("unexpected");
    }
    return inner_.read(section, key, path);
  }
  bool write(const char*, const char*, const char*, const char*) override { return false; }

 private:
  Profile& inner_;
  std::string key_;
  bool badAlloc_;
};

TEST_F(SettingsLoaderTest, AnyOtherExceptionBecomesMinus1) {
  Save();
  for (const char* key : {"FILE2", "REGISTRY1", "DIR"}) {
    for (bool badAlloc : {true, false}) {
      SCOPED_TRACE(key);
      context_ = RunContext();
      ThrowingProfile profile(pc_.profile, key, badAlloc);
      Platform platform{pc_.process, pc_.messages, pc_.clock,  profile,
                        pc_.files,   pc_.registry, pc_.desktop};
      MessageCatalogue catalogue(pc_.messages);
      EXPECT_EQ(SettingsLoader(context_, platform, catalogue), -1);
    }
  }
}

}  // namespace
}  // namespace kvr
