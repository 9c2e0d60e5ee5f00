// encode, decode, set and show: one value, and a settings file read back as
// the tool reads it.
#include "PackFixture.h"
#include "settings/ProfileText.h"
#include "settings/ValueCodec.h"

namespace kvr::pack {
namespace {

using PackValueTest = PackFixture;

// Vectors from an independent implementation; Japanese text goes in and out
// as UTF-8 and is stored as Shift-JIS.
TEST_F(PackValueTest, EncodeAndDecodeKnownValues) {
  const struct {
    std::string plain, encoded;
  } cases[] = {
      {"", "KB"},
      {"3", "TPP)"},
      {"x86", ":%5WT_5K"},
      {"KOVRASTUDIO", "%?;P%2ZZPZPBZ;B8888WT_:?"},
      {"ORSA未インストール", "5P%2?Z*ZP_;%ZKB8;58)W)_5?P%?P2%P;:?BWZ"},
  };
  for (const auto& c : cases) {
    const PackRun encoded = Run({"encode", c.plain});
    EXPECT_EQ(encoded.code, 0) << c.plain;
    EXPECT_EQ(encoded.out, c.encoded + "\n") << c.plain;
    const PackRun decoded = Run({"decode", c.encoded});
    EXPECT_EQ(decoded.code, 0) << c.encoded;
    EXPECT_EQ(decoded.out, c.plain + "\n") << c.encoded;
  }
  // --raw: the bytes as they are, both ways.
  EXPECT_EQ(Run({"decode", "--raw", "5P%2?Z*ZP_;%ZKB8;58)W)_5?P%?P2%P;:?BWZ"}).out,
            "ORSA\x96\xa2\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b\n");
  EXPECT_EQ(
      Run({"encode", "--raw", "ORSA\x96\xa2\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b"}).out,
      "5P%2?Z*ZP_;%ZKB8;58)W)_5?P%?P2%P;:?BWZ\n");
  // Bytes that are not Shift-JIS text, a 0 byte among them, are shown, not hidden.
  const PackRun binary = Run({"decode", "_WWKKZ%)"});
  EXPECT_EQ(binary.out, "\\xFF\\x00\\x80\n");
  EXPECT_NE(binary.err.find("0 byte"), std::string::npos);
}

TEST_F(PackValueTest, RefusesWhatIsNotAValueOrCannotBeStored) {
  for (const char* bad : {"", "K", "TPP", "TPPK", "xPP)", "TPP)Z"}) {
    const PackRun run = Run({"decode", bad});
    EXPECT_EQ(run.code, 1) << bad;
    EXPECT_EQ(run.out, "") << bad;
    EXPECT_NE(run.err.find("does not decode"), std::string::npos) << bad;
  }
  EXPECT_EQ(Run({"encode", "\xff\xfe"}).code, 1);  // not UTF-8
  EXPECT_EQ(Run({"encode", "😀"}).code, 1);         // no Shift-JIS counterpart
  EXPECT_EQ(Run({"encode"}).code, 2);
  EXPECT_EQ(Run({"encode", "a", "b"}).code, 2);
  EXPECT_EQ(Run({"frobnicate"}).code, 2);
  EXPECT_EQ(Run({"--help"}).code, 0);
}

TEST_F(PackValueTest, SetWritesOneEncodedValueAndKeepsTheRest) {
  const std::string file = Put("Kovra.ini",
                               "; the product's install information\r\n"
                               "[LICENSE]\r\nVERSION=" +
                                   EncodeValue("10.0") +
                                   "\r\n"
                                   "PTNO = " +
                                   EncodeValue("2") + "\r\n\r\n[USER]\r\nNAME=x\r\n");
  ASSERT_EQ(Run({"set", file, "LICENSE", "PTNO", "3"}).code, 0);
  ASSERT_EQ(Run({"set", file, "license", "ORSA_INST", "ORSA未インストール"}).code, 0);
  ASSERT_EQ(Run({"set", Path("new/../fresh.ini"), "LICENSE", "DIR", "C:\\Kovra"}).code, 0);

  const std::string bytes = Read("Kovra.ini");
  EXPECT_EQ(ReadProfileValue(bytes, "LICENSE", "PTNO"), EncodeValue("3"));
  EXPECT_EQ(ReadProfileValue(bytes, "LICENSE", "ORSA_INST"),
            EncodeValue("ORSA\x96\xa2\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b"));
  EXPECT_EQ(ReadProfileValue(bytes, "LICENSE", "VERSION"), EncodeValue("10.0"));
  EXPECT_EQ(ReadProfileValue(bytes, "USER", "NAME"), "x");
  EXPECT_EQ(bytes.rfind("; the product's install information\r\n", 0), 0u);
  EXPECT_EQ(ReadProfileValue(Read("fresh.ini"), "LICENSE", "DIR"), EncodeValue("C:\\Kovra"));

  // Nothing is written that the tool could not read back, or that would
  // break the file's lines.
  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"set", file, "LICENSE", "DIR", std::string(511, 'x')},
                                             {"set", file, "LICENSE", "A=B", "1"},
                                             {"set", file, "LIC\nENSE", "A", "1"}}) {
    EXPECT_NE(Run(bad).code, 0) << bad[3];
  }
  EXPECT_EQ(Read("Kovra.ini"), bytes);
  EXPECT_EQ(Run({"set", Path("no/such/folder/x.ini"), "LICENSE", "DIR", "x"}).code, 3);
}

TEST_F(PackValueTest, ShowDecodesEveryKeyAndFlagsWhatTheToolWouldNotRead) {
  const std::string file =
      Put("kvrIni.ini",
          "[INSTALL]\r\nMODULE_NM=" + EncodeValue("\x8f\x43\x90\xb3\x83\x70\x83\x62\x83\x60") +
              "\r\nVERSION=" + EncodeValue("10.0") +
              "\r\nBROKEN=TPPK\r\nEMPTY=\r\n"
              "version=" +
              EncodeValue("9") + "\r\nBIN=_WWKKZ%)\r\n[INSTALL]\r\nX=KB\r\n");
  const PackRun run = Run({"show", file});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.out,
            "[INSTALL]\n"
            "MODULE_NM = 修正パッチ\n"
            "VERSION = 10.0\n"
            "BROKEN ! does not decode: TPPK\n"
            "EMPTY = (empty: read as missing)\n"
            "version = 9   (ignored: an earlier key counts)\n"
            "BIN = \\xFF   (not Shift-JIS text: bytes shown as \\xNN)\n"
            "[INSTALL]   (ignored: an earlier section of this name counts)\n"
            "X =    (ignored: its section is a repeat)\n");
  EXPECT_EQ(run.err, file + ": [INSTALL] BROKEN: value does not decode\n");
  EXPECT_NE(Run({"show", "--raw", file}).out.find("MODULE_NM = \x8f\x43\x90\xb3"),
            std::string::npos);
  EXPECT_EQ(Run({"show", Path("missing.ini")}).code, 3);
}

// show takes any bytes without crashing and without hiding a line.
TEST_F(PackValueTest, ShowSurvivesArbitraryBytes) {
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 7919 + i / 13) & 0xFF);
  noise += "\n[S]\n=\n[\n]\nK=\xff\n";
  const PackRun run = Run({"show", Put("noise.ini", noise)});
  EXPECT_TRUE(run.code == 0 || run.code == 1);
  EXPECT_NE(run.out.find("[S]"), std::string::npos);
}

}  // namespace
}  // namespace kvr::pack
