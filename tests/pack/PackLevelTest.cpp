// level: the install information by target kind, as the tool reads it, and
// the detection rule deployment systems run.
#include "PackFixture.h"

namespace kvr::pack {
namespace {

class PackLevelTest : public PackFixture {
 protected:
  void Install(const std::string& file,
               const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [key, value] : values)
      ASSERT_EQ(Run({"set", Path("windows/" + file), "LICENSE", key, value}).code, 0);
  }
  PackRun Level(std::vector<std::string> options) {
    std::vector<std::string> args = {"level", "--windows-dir", Path("windows")};
    args.insert(args.end(), options.begin(), options.end());
    return Run(args);
  }
};

TEST_F(PackLevelTest, ShowsTheInstallInformationAndDetectsTheLevel) {
  std::filesystem::create_directories(Path("windows"));
  Install("Kovra.ini", {{"VERSION", "10.0"},
                        {"PLATFORM", "x86"},
                        {"SPNO64", "1"},
                        {"PTNO", "2"},
                        {"ORSA_INST", "ORSA未インストール"},
                        {"DIR", "C:\\Kovra"}});
  const PackRun info = Level({});
  EXPECT_EQ(info.code, 0) << info.err;
  EXPECT_EQ(info.out,
            "product       KOVRASTUDIO\n"
            "file          " +
                Path("windows/Kovra.ini") +
                "\n"
                "version       10.0\n"
                "platform      x86\n"
                "service pack  1\n"
                "patch level   2\n"
                "edition       ORSA未インストール (ORSA not installed)\n"
                "install dir   C:\\Kovra\n");

  // Detection: one line on stdout and exit code 0 only at or above the level.
  const struct {
    std::vector<std::string> options;
    int code;
    std::string out;
  } cases[] = {
      {{"--patch", "2"}, 0, "detected: KOVRASTUDIO patch level 2 (at least 2)\n"},
      {{"--patch", "3"}, 1, ""},
      {{"--service-pack", "1"}, 0, "detected: KOVRASTUDIO service pack 1 (at least 1)\n"},
      {{"--service-pack", "2"}, 1, ""},
      {{"--target", "1", "--patch", "-5"},
       0,
       "detected: KOVRASTUDIO patch level 2 (at least -5)\n"},
      {{"--target", "2", "--patch", "1"}, 4, ""},  // OrsaCreator.ini is not there
      {{"--patch", "3x"}, 2, ""},
      {{"--patch", "1", "--service-pack", "1"}, 2, ""},
      {{"--target", "4"}, 2, ""},
  };
  for (const auto& c : cases) {
    const PackRun run = Level(c.options);
    EXPECT_EQ(run.code, c.code) << c.options[1];
    EXPECT_EQ(run.out, c.out) << c.options[1];
  }
  Install("Kovra.ini", {{"PTNO", "3"}});
  EXPECT_EQ(Level({"--patch", "3"}).code, 0);
}

TEST_F(PackLevelTest, ReadsTheFileOfEachTargetKindAndReportsWhatIsUnusable) {
  std::filesystem::create_directories(Path("windows"));
  Install("OrsaCreator.ini", {{"VERSION", "2.0"}, {"DIR", "C:\\Orsa"}});
  EXPECT_NE(Level({"--target", "2"}).out.find("product       インストーラ生成ソフト\n"),
            std::string::npos);
  Install("OrsaLogMng.ini", {{"VERSION", "1.0"}});
  const PackRun noDir = Level({"--target", "3"});
  EXPECT_EQ(noDir.code, 4);
  EXPECT_EQ(noDir.err, Path("windows/OrsaLogMng.ini") +
                           ": [LICENSE] DIR: missing or does not decode: the tool stops with exit "
                           "code 5\n");
  const PackRun missing = Level({"--target", "0"});
  EXPECT_EQ(missing.code, 4);
  EXPECT_EQ(missing.err, Path("windows/Kovra.ini") + ": not installed (no install information)\n");
  EXPECT_EQ(Run({"level"}).code, 2);  // natively the Windows directory must be given
}

}  // namespace
}  // namespace kvr::pack
