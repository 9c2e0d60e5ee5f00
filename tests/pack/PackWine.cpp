// kvrPack.exe and the real kvrPatch.exe under Wine: a patch folder built from a
// plain description is checked, applied to an installed product, and the
// product's level read back as a deployment system's detection step would.
#include <gtest/gtest.h>

#include "Patch.h"

namespace kvr::e2e {
namespace {

struct Result {
  DWORD code = 0xFFFFFFFF;
  std::string out, err;
};

std::wstring Wide(const std::string& utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), length);
  wide.resize(wide.size() - 1);
  return wide;
}

// Runs kvrPack.exe with these arguments (UTF-8, each quoted) and collects its
// exit code and output.
Result Pack(const std::vector<std::string>& args, const std::string& scratch) {
  std::string line = "\"" + ProgramFolder() + "\\kvrPack.exe\"";
  for (const std::string& arg : args) line += " \"" + arg + "\"";
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  // Fresh files for every call: a helper process of the previous call (its
  // console host) may still hold the last ones open for a moment.
  static int calls = 0;
  const std::string stem = scratch + "\\pack" + std::to_string(++calls);
  const std::string outPath = stem + ".out", errPath = stem + ".err";
  HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           0, nullptr);
  HANDLE err = CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           0, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = err;
  Result result;
  if (out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot create " << stem << ".out/.err";
    for (HANDLE h : {out, err})
      if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return result;
  }
  PROCESS_INFORMATION info = {};
  std::wstring wide = Wide(line);
  if (CreateProcessW(nullptr, wide.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                     nullptr, &startup, &info)) {
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 60000), WAIT_OBJECT_0) << line;
    GetExitCodeProcess(info.hProcess, &result.code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  CloseHandle(out);
  CloseHandle(err);
  result.out = ReadFileBytes(outPath).value_or("");
  result.err = ReadFileBytes(errPath).value_or("");
  return result;
}

TEST(PackWine, BuiltPatchIsCheckedAppliedAndDetected) {
  Scenario scenario("pack");
  const std::string folder = scenario.folder();
  const std::string keyPath = "SOFTWARE\\KvrPackE2E";
  const std::string installDir = folder + "\\product";
  const std::string patch = folder + "\\out";
  const std::string engine = std::string("MZ\x00\x01\xfe\xff", 6) + std::string(3000, '\x42');

  // The author's side: a plain description and its source files.
  MakeFolders(folder + "\\src\\files");
  WriteFileBytes(folder + "\\src\\files\\readme.txt", "new readme");
  WriteFileBytes(folder + "\\src\\files\\engine.dll", engine);
  WriteFileBytes(folder + "\\src\\patch.txt",
                 "[INSTALL]\nTARGET=0\nMODULE_TYPE=0\nMODULE_NM=修正パッチ 3\n"
                 "MODULE_NM_E=Patch 3\nVERSION=10.0\nVERSION_DISP=Version 10.0\nSPNO64=1\nPTNO=3\n"
                 "FILE1=0,files/readme.txt,doc\\readme.txt\n"
                 "FILE2=1,files/engine.dll,bin\\engine.dll\n"
                 "REGISTRY1=0,HKEY_LOCAL_MACHINE," +
                     keyPath + ",AppPath,-\n");
  const Result built = Pack(
      {"build", "--tool", ProgramFolder() + "\\kvrPatch.exe", folder + "\\src\\patch.txt", patch},
      folder);
  ASSERT_EQ(built.code, 0u) << built.err;
  const Result checked = Pack({"check", patch}, folder);
  EXPECT_EQ(checked.code, 0u) << checked.err;
  const Result broken = Pack({"check", folder + "\\src"}, folder);
  EXPECT_EQ(broken.code, 1u);
  EXPECT_NE(broken.err.find("kvrIni.ini is missing"), std::string::npos) << broken.err;

  // The installed product, its install information written by kvrPack.exe.
  RemoveProductInfos();
  MakeFolders(installDir + "\\doc");
  MakeFolders(installDir + "\\bin");
  WriteFileBytes(installDir + "\\doc\\readme.txt", "old readme");
  WriteFileBytes(installDir + "\\bin\\engine.dll", "old engine");
  const std::string ini = WindowsDirectory() + "\\Kovra.ini";
  for (const auto& [key, value] :
       std::vector<std::pair<std::string, std::string>>{{"VERSION", "10.0"},
                                                        {"PLATFORM", "x86"},
                                                        {"SPNO64", "1"},
                                                        {"PTNO", "2"},
                                                        {"ORSA_INST", "ORSA未インストール"},
                                                        {"DIR", installDir}})
    ASSERT_EQ(Pack({"set", ini, "LICENSE", key, value}, folder).code, 0u) << key;
  SetRegistryText(keyPath, "AppPath", "C:\\Kovra\\app.exe");

  const Result before = Pack({"level"}, folder);
  EXPECT_EQ(before.code, 0u) << before.err;
  EXPECT_NE(before.out.find("patch level   2\r\n"), std::string::npos) << before.out;
  EXPECT_NE(before.out.find("ORSA未インストール (ORSA not installed)"), std::string::npos);
  const Result notYet = Pack({"level", "--patch", "3"}, folder);
  EXPECT_EQ(notYet.code, 1u);
  EXPECT_EQ(notYet.out, "");

  auto tool = RunningProgram::Start("\"" + patch + "\\kvrPatch.exe\" /Silent");
  ASSERT_TRUE(tool.has_value());
  EXPECT_EQ(tool->WaitForExitWithoutBox(), std::optional<DWORD>(0u));
  EXPECT_EQ(ReadFileBytes(installDir + "\\doc\\readme.txt"), "new readme");
  EXPECT_EQ(ReadFileBytes(installDir + "\\bin\\engine.dll"), engine);
  EXPECT_EQ(GetRegistryText(keyPath, "AppPath"), (RegistryText{REG_SZ, "\"C:\\Kovra\\app.exe\""}));

  const Result detected = Pack({"level", "--patch", "3"}, folder);
  EXPECT_EQ(detected.code, 0u) << detected.err;
  EXPECT_EQ(detected.out, "detected: KOVRASTUDIO patch level 3 (at least 3)\r\n");

  DeleteRegistryKey(keyPath);
  RemoveProductInfos();
}

}  // namespace
}  // namespace kvr::e2e
