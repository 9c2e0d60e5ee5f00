// What the tool relies on of GetPrivateProfileStringA / WritePrivateProfileStringA
// (reading every setting, writing the level), stated once and run against the fake natively and the
// real calls under Wine.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "World.h"

namespace kvr::contract {
namespace {

// The substitution table of the value encoding: every character must come back.
constexpr char kAlphabet[] = "K%5T)?P*2Z:B;8W_";

class ProfileContract : public ::testing::Test {
 protected:
  ProfileContract() : world_(MakeWorld()), folder_(world_->freshFolder()) {}

  // A new file (never read before, so no cache can answer) with these bytes.
  std::string File(const std::string& bytes) {
    const std::string path = folder_ + "\\p" + std::to_string(++files_) + ".ini";
    world_->putFile(path, bytes);
    return path;
  }
  std::string Read(const char* section, const char* key, const std::string& path) {
    return world_->platform().profile.read(section, key, path.c_str());
  }
  bool Write(const char* section, const char* key, const char* value, const std::string& path) {
    return world_->platform().profile.write(section, key, value, path.c_str());
  }

  std::unique_ptr<World> world_;
  std::string folder_;
  int files_ = 0;
};

TEST_F(ProfileContract, SectionAndKeyMatchWithoutRegardToCase) {
  const std::string path = File("[Install]\r\nModule_Nm_E=TPP)\r\n[license]\r\nptno=KB\r\n");
  EXPECT_EQ(Read("INSTALL", "MODULE_NM_E", path), "TPP)");
  EXPECT_EQ(Read("install", "module_nm_e", path), "TPP)");
  EXPECT_EQ(Read("LICENSE", "PTNO", path), "KB");
}

TEST_F(ProfileContract, ValueIsTheTextAfterTheFirstEqualsWithBlanksAroundRemoved) {
  const std::string path = File(
      "[S]\r\n"
      "A=x=y\r\n"
      "B =  TPP)  \r\n"
      "C\t=\tKB\t\r\n"
      "  D=KTK)\r\n"
      "E=\r\n"
      "F=a b\r\n");
  EXPECT_EQ(Read("S", "A", path), "x=y");
  EXPECT_EQ(Read("S", "B", path), "TPP)");
  EXPECT_EQ(Read("S", "C", path), "KB");
  EXPECT_EQ(Read("S", "D", path), "KTK)");
  EXPECT_EQ(Read("S", "E", path), "");
  EXPECT_EQ(Read("S", "F", path), "a b");
}

TEST_F(ProfileContract, NothingInsideAValueStartsAComment) {
  const std::string path = File(
      "[S]\r\n"
      "ALPHABET=" +
      std::string(kAlphabet) +
      "\r\n"
      "SEMI=;8W_;\r\n"
      "HASH=#K%5\r\n"
      "V1=:%5WT_5K\r\n");
  EXPECT_EQ(Read("S", "ALPHABET", path), kAlphabet);
  EXPECT_EQ(Read("S", "SEMI", path), ";8W_;");
  EXPECT_EQ(Read("S", "HASH", path), "#K%5");
  EXPECT_EQ(Read("S", "V1", path), ":%5WT_5K");
}

TEST_F(ProfileContract, LfAndCrlfLinesBothWork) {
  const std::string path = File("[A]\nX=TPP)\n[B]\r\nY=KB\r\nZ=KTK)");
  EXPECT_EQ(Read("A", "X", path), "TPP)");
  EXPECT_EQ(Read("B", "Y", path), "KB");
  EXPECT_EQ(Read("B", "Z", path), "KTK)") << "last line without a line end";
}

TEST_F(ProfileContract, LongValuesAreCutTo1023Characters) {
  std::string value;
  for (int i = 0; i < 2000; ++i) value += kAlphabet[i % 16];
  const std::string path =
      File("[S]\r\nLONG=" + value + "\r\nEXACT=" + value.substr(0, 1023) + "\r\nNEXT=KB\r\n");
  EXPECT_EQ(Read("S", "LONG", path), value.substr(0, 1023));
  EXPECT_EQ(Read("S", "EXACT", path), value.substr(0, 1023));
  EXPECT_EQ(Read("S", "NEXT", path), "KB");
}

TEST_F(ProfileContract, MissingFileSectionOrKeyGivesTheEmptyText) {
  const std::string path = File("[S]\r\nKEY=TPP)\r\nNOEQUALS\r\n");
  EXPECT_EQ(Read("S", "KEY", folder_ + "\\missing.ini"), "");
  EXPECT_EQ(Read("T", "KEY", path), "");
  EXPECT_EQ(Read("S", "OTHER", path), "");
  EXPECT_EQ(Read("S", "NOEQUALS", path), "");
  EXPECT_EQ(Read("S", "KE", path), "") << "no prefix match";
  EXPECT_EQ(Read("S", "KEY2", path), "");
}

TEST_F(ProfileContract, KeysOutsideTheNamedSectionDoNotCount) {
  const std::string path = File("KEY=KB\r\n[OTHER]\r\nKEY=KTK)\r\n[S]\r\nX=TPP)\r\n");
  EXPECT_EQ(Read("S", "KEY", path), "");
  EXPECT_EQ(Read("OTHER", "KEY", path), "KTK)");
}

TEST_F(ProfileContract, FirstKeyOfANameCounts) {
  const std::string path = File("[S]\r\nKEY=KB\r\nkey=TPP)\r\n");
  EXPECT_EQ(Read("S", "KEY", path), "KB");
}

TEST_F(ProfileContract, MatchingQuotesAroundAValueAreRemoved) {
  // Not relied on (the encoding has no quote), but the fake must agree.
  const std::string path = File(
      "[S]\r\n"
      "DQ=\"TPP)\"\r\n"
      "SQ='KB'\r\n"
      "MIXED=\"KB'\r\n"
      "ONE=\"\r\n"
      "TWO=\"\"\r\n"
      "INNER=K\"B\"\r\n");
  EXPECT_EQ(Read("S", "DQ", path), "TPP)");
  EXPECT_EQ(Read("S", "SQ", path), "KB");
  EXPECT_EQ(Read("S", "MIXED", path), "\"KB'");
  EXPECT_EQ(Read("S", "ONE", path), "\"");
  EXPECT_EQ(Read("S", "TWO", path), "");
  EXPECT_EQ(Read("S", "INNER", path), "K\"B\"");
}

TEST_F(ProfileContract, FinerPointsTheFakeCopies) {
  // Not relied on by the tool; checked so the fake does not drift from Wine.
  const std::string path = File(std::string("\xEF\xBB\xBF[S]\r\nZERO=ab") + '\0' +
                                "cd\r\n"
                                "[ T ]\r\nX=1\r\n"
                                "[V] trailing\r\nZ=3\r\n"
                                "[W]\r\nC=\x0b\x0c\x1a"
                                "KB\x0b\x0c\r\n"
                                "[S]\r\nLATER=4\r\n");
  EXPECT_EQ(Read("S", "ZERO", path), "ab") << "UTF-8 BOM skipped; a value ends at a 0 byte";
  EXPECT_EQ(Read(" S ", " zero ", path), "ab") << "requested names are trimmed";
  EXPECT_EQ(Read("T", "X", path), "1") << "blanks around a section name are ignored";
  EXPECT_EQ(Read("V", "Z", path), "3") << "name between '[' and the last ']'";
  EXPECT_EQ(Read("W", "C", path), "KB") << "VT, FF and ^Z are white space";
  EXPECT_EQ(Read("S", "LATER", path), "") << "only the first section of a name";
}

TEST_F(ProfileContract, QuotedValueIsCutBeforeItsQuoteIsRemoved) {
  // Wine removes the closing quote only when the value after the opening one
  // fits the buffer of 1024; so a cut can take the closing quote's place.
  const std::string inner(1022, 'a');
  const std::string path =
      File("[Q]\r\nA=\"" + inner + "\"\r\nB=\"" + inner + "b\"\r\nC=\"" + inner + "bc\"\r\n");
  EXPECT_EQ(Read("Q", "A", path), inner);
  EXPECT_EQ(Read("Q", "B", path), inner);
  EXPECT_EQ(Read("Q", "C", path), inner + "b");
}

TEST_F(ProfileContract, WriteReplacesTheValueAndKeepsTheRest) {
  const std::string path = File(
      "[SETUP]\r\nPTNO=KTK)\r\n"
      "[LICENSE]\r\nVERSION=TPP)\r\nPTNO = KB\r\n;comment=K\r\nDIR=:%5WT_5K\r\n"
      "[HISTORY]\r\nPTNO=KB\r\n");
  ASSERT_TRUE(Write("License", "ptno", "TPP)", path));
  EXPECT_EQ(Read("LICENSE", "PTNO", path), "TPP)");
  EXPECT_EQ(Read("LICENSE", "VERSION", path), "TPP)");
  EXPECT_EQ(Read("LICENSE", "DIR", path), ":%5WT_5K");
  EXPECT_EQ(Read("SETUP", "PTNO", path), "KTK)");
  EXPECT_EQ(Read("HISTORY", "PTNO", path), "KB");
  const std::string bytes = world_->fileBytes(path).value_or("");
  EXPECT_NE(bytes.find(";comment=K"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find("KB\r\n;"), std::string::npos) << "old value gone: " << bytes;
}

TEST_F(ProfileContract, WriteAddsAMissingKeyOrSection) {
  const std::string path = File("[LICENSE]\r\nVERSION=TPP)\r\n[OTHER]\r\nA=KB\r\n");
  ASSERT_TRUE(Write("LICENSE", "SPNO64", "KTK)", path));
  ASSERT_TRUE(Write("NEW", "PTNO", "KB", path));
  EXPECT_EQ(Read("LICENSE", "SPNO64", path), "KTK)");
  EXPECT_EQ(Read("LICENSE", "VERSION", path), "TPP)");
  EXPECT_EQ(Read("OTHER", "A", path), "KB");
  EXPECT_EQ(Read("NEW", "PTNO", path), "KB");
  EXPECT_EQ(Read("OTHER", "SPNO64", path), "") << "added to its own section only";
}

TEST_F(ProfileContract, WrittenValueReadsBackWhole) {
  std::string value;
  for (int i = 0; i < 600; ++i) value += kAlphabet[(i * 7) % 16];
  const std::string path = File("[LICENSE]\r\nPTNO=KB\r\n");
  ASSERT_TRUE(Write("LICENSE", "PTNO", value.c_str(), path));
  EXPECT_EQ(Read("LICENSE", "PTNO", path), value);
}

}  // namespace
}  // namespace kvr::contract
