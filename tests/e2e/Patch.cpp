#include "Patch.h"

#include "settings/ValueCodec.h"

namespace kvr::e2e {

const char kOrsaNotInstalled[] = "ORSA\x96\xa2\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b";
const char kCreatorName[] =
    "\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x89\x90\xb6\x90\xac\x83\x5c\x83\x74\x83\x67";
const char kLogManagerNameJa[] =
    "\x83\x8d\x83\x4f\x8f\xee\x95\xf1\x8a\xc7\x97\x9d\x83\x5c\x83\x74\x83\x67";

void WritePatchDescription(const Scenario& scenario, const std::vector<IniEntry>& install) {
  WriteFileBytes(scenario.folder() + "\\kvrIni.ini",
                 testing::EncodedIniText({{"OTHER", {Enc("TARGET", "9")}}, {"INSTALL", install}}));
}

void RemoveProductInfos() {
  for (const char* name : {"Kovra.ini", "OrsaCreator.ini", "OrsaLogMng.ini"}) {
    const std::string path = WindowsDirectory() + "\\" + name;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
}

void WriteProductInfo(const std::string& fileName, const std::vector<IniEntry>& license) {
  RemoveProductInfos();
  WriteFileBytes(WindowsDirectory() + "\\" + fileName,
                 testing::EncodedIniText({{"LICENSE", license}, {"USER", {Enc("NAME", "x")}}}));
}

std::optional<std::string> ReadProductValue(const std::string& fileName, const std::string& key) {
  char encoded[1024] = {};
  const std::string path = WindowsDirectory() + "\\" + fileName;
  GetPrivateProfileStringA("LICENSE", key.c_str(), "", encoded, sizeof encoded, path.c_str());
  if (encoded[0] == '\0') return std::nullopt;
  char plain[1024] = {};
  if (ValueCodec('-', encoded, plain, sizeof plain) != 0) return std::nullopt;
  return std::string(plain);
}

void SetRegistryText(const std::string& keyPath, const std::string& name, const std::string& text,
                     DWORD type) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

std::optional<RegistryText> GetRegistryText(const std::string& keyPath, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  std::string data(4096, '\0');
  DWORD size = static_cast<DWORD>(data.size());
  DWORD type = 0;
  const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(data.data()), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return std::nullopt;
  data.resize(size);
  while (!data.empty() && data.back() == '\0') data.pop_back();
  return RegistryText{type, data};
}

void DeleteRegistryKey(const std::string& keyPath) {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath.c_str());
}

std::string Shifted(const std::string& bytes) {
  std::string out = bytes;
  for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) + 1);
  return out;
}

namespace {
HWND FindProductWindow(const std::string& which) {
  if (which == "class") return FindWindowA("KOVRA", nullptr);
  const char* titles[][2] = {
      {"title2a", kCreatorName},
      {"title3a", "\x83\x8d\x83\x4f\x8f\xee\x95\xf1\x8a\xc7\x97\x9d"},
  };
  for (const auto& t : titles)
    if (which == t[0]) return FindWindowA(nullptr, t[1]);
  return nullptr;
}
}  // namespace

bool ProductWindowPresent(const std::string& which) {
  return FindProductWindow(which) != nullptr;
}

std::optional<RunningProgram> StartProduct(const std::string& which, const std::string& behaviour) {
  auto product = RunningProgram::Start("\"" + ProgramFolder() + "\\product_standin.exe\" " + which +
                                       " " + behaviour);
  if (!product) return product;
  if (!WaitUntil([&] { return ProductWindowPresent(which); }, 30000)) return std::nullopt;
  return product;
}

}  // namespace kvr::e2e
