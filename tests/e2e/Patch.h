// Writing a whole patch and an installed product for an end-to-end scenario:
// the encoded settings files, replacement files, product files, registry
// values and the product stand-in; reading back what the tool changed.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "EncodedIni.h"
#include "Robot.h"
#include "Scenario.h"

namespace kvr::e2e {

using testing::Enc;
using testing::IniEntry;
using testing::Raw;

// Writes the patch description beside the scenario's tool.
void WritePatchDescription(const Scenario& scenario, const std::vector<IniEntry>& install);
// Removes every product's install information from the Windows directory and
// writes `fileName` there with these LICENSE entries.
void WriteProductInfo(const std::string& fileName, const std::vector<IniEntry>& license);
void RemoveProductInfos();
// The decoded value of LICENSE/key in the Windows directory's `fileName`;
// nullopt when missing or not decodable.
std::optional<std::string> ReadProductValue(const std::string& fileName, const std::string& key);

// Registry values under HKEY_LOCAL_MACHINE.
void SetRegistryText(const std::string& keyPath, const std::string& name, const std::string& text,
                     DWORD type = REG_SZ);
struct RegistryText {
  DWORD type = 0;
  std::string text;
  bool operator==(const RegistryText& o) const { return type == o.type && text == o.text; }
};
std::optional<RegistryText> GetRegistryText(const std::string& keyPath, const std::string& name);
void DeleteRegistryKey(const std::string& keyPath);

// Every byte plus one: how mode "1" files are stored in the patch.
std::string Shifted(const std::string& bytes);

// Starts the product stand-in (`which`: class, title2a, ...; `quit` or
// `ignore`) and waits until its window is there.
std::optional<RunningProgram> StartProduct(const std::string& which, const std::string& behaviour);
bool ProductWindowPresent(const std::string& which);

// Shift-JIS texts the tests expect, as bytes.
extern const char kOrsaNotInstalled[];  // "ORSA未インストール"
extern const char kCreatorName[];       // "インストーラ生成ソフト"
extern const char kLogManagerNameJa[];  // "ログ情報管理ソフト"

}  // namespace kvr::e2e
