// build and check: a plain description becomes a patch folder that the tool's
// own loader reads back exactly; whatever the tool would refuse is refused by
// its key, with nothing written to OUTDIR.
#include <algorithm>

#include "PackFixture.h"
#include "settings/EncodedIniReader.h"
#include "settings/PatchDescription.h"
#include "settings/ProfileText.h"
#include "settings/ValueCodec.h"

namespace kvr::pack {
namespace {

const char kModuleNameSjis[] = "\x8f\x43\x90\xb3\x83\x70\x83\x62\x83\x60 3";  // 修正パッチ 3

std::string Shifted(std::string bytes) {
  for (char& c : bytes) c = static_cast<char>(static_cast<unsigned char>(c) + 1);
  return bytes;
}

class PackBuildTest : public PackFixture {
 protected:
  PackBuildTest() {
    engine = std::string("MZ\x00\x01\xfe\xff", 6) + std::string(2000, '\x7f');
    Put("src/files/readme.txt", "new readme\r\n");
    Put("src/files/engine.dll", engine);
    lines = {
        "; demo patch",
        "[INSTALL]",
        "TARGET=0",
        "MODULE_TYPE=0",
        "MODULE_NM=修正パッチ 3",
        "MODULE_NM_E=Patch 3",
        "VERSION=10.0",
        "VERSION_DISP=Version 10.0",
        "SPNO64=1",
        "PTNO=3",
        "FILE1=0,files/readme.txt,doc\\readme.txt",
        "FILE2=1,files\\engine.dll,bin\\engine.dll",
        "REGISTRY1=0,HKEY_LOCAL_MACHINE,SOFTWARE\\Kovra,AppPath,C:\\Kovra\\app.exe",
    };
  }

  std::string Description() {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return Put("src/patch.txt", text);
  }
  PackRun Build(std::vector<std::string> options = {}) {
    std::vector<std::string> args = {"build"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(Description());
    args.push_back(Path("out"));
    return Run(args);
  }

  std::string engine;
  std::vector<std::string> lines;
};

TEST_F(PackBuildTest, RoundTripTheToolsLoaderReadsExactlyTheDescription) {
  Put("kvrPatch.exe", "MZ tool");
  const PackRun run =
      Build({"--platform", "x86", "--platform", "x64", "--tool", Path("kvrPatch.exe")});
  ASSERT_EQ(run.code, 0) << run.err;

  // The tool's own loader, first half, on the folder as the tool finds it.
  const auto host = MakeHostPlatform();
  host->SetModulePath(*host->SeamPath(Path("out")) + "\\kvrPatch.exe");
  RunContext context;
  LoadPatchDescription(context, host->process(), host->files(), host->profile());
  EXPECT_EQ(context.target, "0");
  EXPECT_EQ(context.moduleType, 0);
  EXPECT_EQ(context.moduleName, "Patch 3");
  EXPECT_EQ(context.version, "10.0");
  EXPECT_EQ(context.versionDisp, "Version 10.0");
  EXPECT_EQ(context.spNo, 1);
  EXPECT_EQ(context.ptNo, 3);
  EXPECT_EQ(context.fileCount, 2);
  ASSERT_EQ(context.files.size(), 2u);
  EXPECT_EQ(context.files[0].mode, "0");
  EXPECT_EQ(context.files[0].sourceName, "readme.txt");
  EXPECT_EQ(context.files[0].destPath, "doc\\readme.txt");
  EXPECT_EQ(context.files[1].mode, "1");
  EXPECT_EQ(context.files[1].sourceName, "engine.dll");
  EXPECT_EQ(context.files[1].destPath, "bin\\engine.dll");
  EXPECT_EQ(context.registryCount, 1);
  ASSERT_EQ(context.registries.size(), 1u);
  EXPECT_EQ(context.registries[0].hive, "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(context.registries[0].keyPath, "SOFTWARE\\Kovra");
  EXPECT_EQ(context.registries[0].valueName, "AppPath");
  EXPECT_EQ(context.registries[0].valueData, "C:\\Kovra\\app.exe");
  // The Japanese name, read as a Japanese user's run reads it: Shift-JIS.
  char name[260];
  EncodedIniReader(host->profile(), "INSTALL", "MODULE_NM", "", name, sizeof name,
                   context.patchIniPath.c_str());
  EXPECT_STREQ(name, kModuleNameSjis);

  // Plain files as they are, mode "1" files with one added to every byte.
  for (const char* platform : {"x86", "x64"}) {
    EXPECT_EQ(Read(std::string("out/SET/") + platform + "/readme.txt"), "new readme\r\n");
    EXPECT_EQ(Read(std::string("out/SET/") + platform + "/engine.dll"), Shifted(engine));
  }
  EXPECT_EQ(Read("out/kvrPatch.exe"), "MZ tool");
  EXPECT_FALSE(Exists("out.kvrpack-new"));
  EXPECT_EQ(Run({"check", Path("out")}).code, 0);

  // An existing folder is replaced only when asked.
  EXPECT_EQ(Build().code, 3);
  EXPECT_TRUE(Exists("out/SET/x64"));
  EXPECT_EQ(Build({"--force"}).code, 0);
  EXPECT_FALSE(Exists("out/SET/x64"));
}

// Each description the tool would refuse (or that would not do what it says)
// is refused by the key concerned, and OUTDIR is left as it was.
TEST_F(PackBuildTest, RefusesByKeyAndWritesNothing) {
  Put("src/other/engine.dll", "another engine");
  const struct {
    const char* key;
    std::string line;  // replaces the key's line, or is added
    const char* expected;
  } cases[] = {
      {"TARGET", "TARGET=4", "TARGET: '4' is not 0 to 3"},
      {"TARGET", "TARGET=", "TARGET: missing"},
      {"MODULE_TYPE", "MODULE_TYPE=2", "MODULE_TYPE: '2' is neither"},
      {"PTNO", "PTNO=", "PTNO: missing"},
      {"MODULE_NM", "MODULE_NM=😀", "MODULE_NM: not UTF-8 text, or has a character"},
      {"VERSION", "VERSION=" + std::string(300, 'v'), "VERSION: longer than the 259"},
      {"VERSION_DISP", "VERSION_DISP=" + std::string(600, 'v'),
       "VERSION_DISP: longer than the 510"},
      {"FILE1", "FILE1=0,files/nothing.txt,doc\\x.txt",
       "FILE1: source files/nothing.txt not found"},
      {"FILE1", "FILE1=0,files/readme.txt", "FILE1: needs mode,source,destination"},
      {"FILE1", "FILE1=0,files/readme.txt,a,b", "FILE1: has more than"},
      {"FILE2", "FILE2=2,files/engine.dll,bin\\engine.dll", "FILE2: mode '2' is neither"},
      {"FILE3", "FILE3=0,other/engine.dll,bin\\e2.dll", "FILE3: source engine.dll has the name"},
      {"FILE2", "FILE2=1,files/engine.dll," + std::string(250, 'd'), "FILE2: longer than 259"},
      {"FILE2", "FILE3=1,files/engine.dll,bin\\engine.dll", "FILE2: missing"},
      {"REGISTRY1", "REGISTRY1=0,HKLM,SOFTWARE\\Kovra,AppPath,x", "REGISTRY1: hive 'HKLM'"},
      {"REGISTRY1", "REGISTRY1=0,hkey_local_machine,S,V,x", "REGISTRY1: hive"},
      {"REGISTRY1", "REGISTRY1=x,HKEY_USERS,S,V,x", "REGISTRY1: mode 'x'"},
      {"REGISTRY1", "REGISTRY1=0,HKEY_USERS,S,V", "REGISTRY1: needs mode,hive"},
      {"REGISTRY1", "REGISTRY1=0,HKEY_USERS,S," + std::string(300, 'n') + ",x",
       "REGISTRY1: a field is wider"},
      {"FILES", "FILES=2", "FILES: is counted from the numbered keys"},
      {"TYPO", "MODUL_NM=x", "MODUL_NM: not a key of the patch description"},
      {"TARGET", "TARGET=1\nTarget=2", "TARGET: appears twice"},
  };
  Put("out/keep.txt", "untouched");
  for (const auto& c : cases) {
    const std::vector<std::string> saved = lines;
    const auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
      return l.rfind(std::string(c.key) + "=", 0) == 0;
    });
    if (at == lines.end())
      lines.push_back(c.line);
    else
      *at = c.line;
    const PackRun run = Build({"--force"});
    EXPECT_EQ(run.code, 1) << c.line;
    EXPECT_NE(run.err.find(Path("src/patch.txt") + ": " + c.expected), std::string::npos)
        << c.line << "\n"
        << run.err;
    EXPECT_EQ(Read("out/keep.txt"), "untouched") << c.line;
    EXPECT_FALSE(Exists("out/kvrIni.ini")) << c.line;
    EXPECT_FALSE(Exists("out.kvrpack-new")) << c.line;
    lines = saved;
  }
  EXPECT_EQ(Run({"build", Path("src/none.txt"), Path("out")}).code, 3);
}

// check lists every problem of a folder by its key; 0 only when the tool loads it.
TEST_F(PackBuildTest, CheckNamesEachProblemByItsKey) {
  ASSERT_EQ(Build().code, 0);
  const std::string ini = Path("out/kvrIni.ini");
  const auto setRaw = [&](const std::string& key, const std::string& stored) {
    Put("out/kvrIni.ini", WriteProfileValue(Read("out/kvrIni.ini"), "INSTALL", key, stored));
  };
  const std::string good = Read("out/kvrIni.ini");
  const struct {
    std::function<void()> damage;
    const char* expected;
  } cases[] = {
      {[&] { std::filesystem::remove(Path("out/SET/x86/engine.dll")); },
       "FILE2: source SET\\x86\\engine.dll is missing"},
      {[&] { setRaw("FILES", EncodeValue("3")); }, "FILE3: missing (FILES is 3)"},
      {[&] { setRaw("FILES", EncodeValue("1")); }, "FILE2: beyond FILES = 1"},
      {[&] { setRaw("VERSION", "TPPK"); }, "VERSION: value does not decode"},
      {[&] { setRaw("TARGET", EncodeValue("7")); }, "TARGET: '7' is not 0 to 3"},
      {[&] { setRaw("FILE1", EncodeValue("0,readme.txt")); }, "FILE1: needs mode,source"},
      {[&] { setRaw("FILE1", EncodeValue(" 0,readme.txt,doc\\readme.txt")); },
       "FILE1: mode ' 0' is neither"},
      {[&] { setRaw("REGISTRY1", EncodeValue("0,HKEY_Local_Machine,S,V,x")); }, "REGISTRY1: hive"},
      {[&] { setRaw("REGISTRY2", EncodeValue("0,HKEY_USERS,S,V,x")); },
       "REGISTRY2: beyond REGISTRIES = 1"},
      {[&] { setRaw("NOTES", EncodeValue("x")); }, "NOTES: not a key the tool reads"},
      {[&] { std::filesystem::remove_all(Path("out/SET")); }, "FILES: no SET\\<platform>\\ folder"},
      {[&] { std::filesystem::remove(ini); }, "kvrIni.ini is missing"},
      {[&] { Put("out/kvrIni.ini", "[OTHER]\r\nTARGET=KTK)\r\n"); }, "INSTALL: section missing"},
  };
  for (const auto& c : cases) {
    c.damage();
    const PackRun run = Run({"check", Path("out")});
    EXPECT_EQ(run.code, 1) << c.expected;
    EXPECT_NE(run.err.find(ini + ": " + c.expected), std::string::npos) << c.expected << "\n"
                                                                        << run.err;
    Put("out/kvrIni.ini", good);
    std::filesystem::create_directories(Path("out/SET/x86"));
    Put("out/SET/x86/engine.dll", Shifted(engine));
    Put("out/SET/x86/readme.txt", "new readme\r\n");
  }
  EXPECT_EQ(Run({"check", Path("out")}).code, 0);
  // Only the platform asked for is looked at.
  EXPECT_NE(
      Run({"check", "--platform", "x64", Path("out")}).err.find("SET\\x64\\readme.txt is missing"),
      std::string::npos);

  // Any bytes at all: a list of problems, never a crash.
  std::string noise;
  for (int i = 0; i < 3000; ++i) noise += static_cast<char>((i * 131 + 7) & 0xFF);
  Put("out/kvrIni.ini", "[INSTALL]\nFILES=" + EncodeValue("99") + "\n" + noise);
  EXPECT_EQ(Run({"check", Path("out")}).code, 1);
}

}  // namespace
}  // namespace kvr::pack
