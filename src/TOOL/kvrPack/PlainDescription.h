// The plain patch description a patch author edits: section [INSTALL] with
// the keys of kvrIni.ini, values in clear UTF-8 text, each FILEn naming a real
// source file (relative to the description), counts left out. Lines starting
// with ';' or '#' are comments.
//
//   [INSTALL]
//   TARGET=0
//   MODULE_TYPE=0
//   MODULE_NM=修正パッチ 3
//   PTNO=3
//   FILE1=1,files/engine.dll,bin\engine.dll
//   REGISTRY1=0,HKEY_LOCAL_MACHINE,SOFTWARE\Kovra,AppPath,-
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Problem.h"

namespace kvr::pack {

// One replacement file: how it is stored and where it comes from.
struct SourceFile {
  std::string mode;  // "0" plain, "1" stored with one added to every byte
  std::filesystem::path source;
  std::string storedName;  // its name under SET\<platform>\ (UTF-8)
};

struct PlainDescription {
  // Every kvrIni.ini key with its plain value in Shift-JIS, in the order the
  // tool reads them, FILES and REGISTRIES derived from the numbered keys.
  std::vector<std::pair<std::string, std::string>> values;
  std::vector<SourceFile> sources;  // one per stored name
};

// Reads and converts the description. nullopt with every problem found, each
// naming its key; `unreadable` is set when the file itself cannot be read.
std::optional<PlainDescription> ReadPlainDescription(const std::string& path,
                                                     std::vector<Problem>& problems,
                                                     bool& unreadable);

// kvrIni.ini for these values: [INSTALL] and one encoded "KEY=value" line
// each, CR LF line ends.
std::string EncodedPatchIni(const PlainDescription& description);

}  // namespace kvr::pack
