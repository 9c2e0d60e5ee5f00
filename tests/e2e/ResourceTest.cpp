// Reads the resources back from the built kvrPatch.exe: both string tables
// (against the one catalogue source), the version record and the manifest.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "Scenario.h"
#include "res/MessageTable.h"

namespace kvr::e2e {
namespace {

std::wstring Utf16(const char* utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
  out.resize(static_cast<std::size_t>(n - 1));
  return out;
}

class ResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ProgramFolder() + "\\kvrPatch.exe";
    module_ = LoadLibraryExA(path_.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  // String `id` of the table in language `language`, read from its block.
  std::optional<std::wstring> StringOf(unsigned id, WORD language) {
    HRSRC found =
        FindResourceExA(module_, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(id / 16 + 1), language);
    if (!found) return std::nullopt;
    const auto* block = static_cast<const WCHAR*>(LockResource(LoadResource(module_, found)));
    for (unsigned i = 0; i < id % 16; ++i) block += 1 + *block;
    return std::wstring(block + 1, *block);
  }
  std::string path_;
  HMODULE module_ = nullptr;
};

TEST_F(ResourceTest, BothStringTablesHoldEveryCatalogueText) {
  const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL);
  const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);
  ASSERT_EQ(english, 0x0009);
  ASSERT_EQ(japanese, 0x0411);
  for (const MessageTableRow& row : kMessageTable) {
    SCOPED_TRACE(row.id);
    EXPECT_EQ(StringOf(row.id, english), Utf16(row.english));
    EXPECT_EQ(StringOf(row.id, japanese), Utf16(row.japanese));
  }
  // A line break is one line feed.
  EXPECT_EQ(StringOf(10, english),
            std::wstring(L"%s has been successfully applied. Please start \n%s."));
}

TEST_F(ResourceTest, OnlyStringTablesVersionRecordAndManifest) {
  std::set<ULONG_PTR> types;
  EnumResourceTypesA(
      module_,
      [](HMODULE, LPSTR type, LONG_PTR param) -> BOOL {
        reinterpret_cast<std::set<ULONG_PTR>*>(param)->insert(reinterpret_cast<ULONG_PTR>(type));
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&types));
  EXPECT_EQ(types, (std::set<ULONG_PTR>{6, 16, 24}));  // RT_STRING, RT_VERSION, RT_MANIFEST
}

TEST_F(ResourceTest, ManifestAsksForAdministratorRightsAndNothingElse) {
  HRSRC found = FindResourceExA(module_, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1),
                                MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(module_, found))),
                             SizeofResource(module_, found));
  EXPECT_NE(manifest.find("requestedExecutionLevel level=\"requireAdministrator\""),
            std::string::npos);
  EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
  for (const char* absent : {"dependency", "dpiAware", "supportedOS", "compatibility"})
    EXPECT_EQ(manifest.find(absent), std::string::npos) << absent;
}

TEST_F(ResourceTest, VersionRecord) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path_.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::string data(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, size, data.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
  EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
  EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(fixed->dwFileFlags, 0u);
  EXPECT_EQ(fixed->dwFileOS, 0x40004u);
  EXPECT_EQ(fixed->dwFileType, 1u);
  EXPECT_EQ(fixed->dwFileSubtype, 0u);
  EXPECT_EQ(fixed->dwFileDateMS | fixed->dwFileDateLS, 0u);

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0411);
  EXPECT_EQ(translation[1], 0x04B0);

  auto entry = [&](const char* name) {
    char* value = nullptr;
    UINT n = 0;
    const std::string key = std::string("\\StringFileInfo\\041104B0\\") + name;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &n))
      return std::string("<missing>");
    return std::string(value);
  };
  const auto numbers = [](DWORD ms, DWORD ls, const char* join) {
    return std::to_string(HIWORD(ms)) + join + std::to_string(LOWORD(ms)) + join +
           std::to_string(HIWORD(ls)) + join + std::to_string(LOWORD(ls));
  };
  EXPECT_EQ(entry("FileDescription"), "kvrPatch");
  EXPECT_EQ(entry("ProductName"), "kvrPatch");
  EXPECT_EQ(entry("FileVersion"), numbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS, "."));
  EXPECT_EQ(entry("ProductVersion"),
            numbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS, ","));
  EXPECT_NE(entry("CompanyName"), "<missing>");
  EXPECT_NE(entry("LegalCopyright"), "<missing>");
}

}  // namespace
}  // namespace kvr::e2e
