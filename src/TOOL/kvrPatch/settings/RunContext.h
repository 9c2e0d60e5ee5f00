// The one record of a run: the paths the tool works with, the values of both
// settings files, and the lists of files and registry values the patch touches.
#pragma once

#include <cstdint>
#include <vector>

#include "settings/FixedText.h"

namespace kvr {

constexpr std::size_t kPathWidth = 260;

// One FILEn line of the patch description.
struct FileEntry {
  FixedText<260> mode;
  FixedText<260> sourceName;
  FixedText<260> destPath;  // relative after reading; absolute after the load
};

// One REGISTRYn line of the patch description.
struct RegistryEntry {
  FixedText<255> mode;
  FixedText<255> hive;
  FixedText<1024> keyPath;
  FixedText<255> valueName;
  FixedText<1024> valueData;
};

struct RunContext {
  FixedText<260> patchIniPath;
  FixedText<260> toolDir;
  FixedText<255> productVersion;
  FixedText<260> platform;
  std::int32_t productSpNo = 0;
  std::int32_t productPtNo = 0;
  FixedText<260> orsaInst;
  FixedText<260> installDir;
  FixedText<260> productIniPath;
  FixedText<260> target;
  FixedText<260> productName;
  std::int32_t moduleType = 0;
  FixedText<260> moduleName;
  FixedText<260> version;
  FixedText<260> versionDisp;
  std::int32_t spNo = 0;
  std::int32_t ptNo = 0;
  std::int32_t fileCount = 0;
  std::vector<FileEntry> files;
  std::int32_t registryCount = 0;
  std::vector<RegistryEntry> registries;

  // Every text empty, every number 0, both lists empty.
  void ZeroFill() { *this = RunContext(); }
  // Frees the registry list, then the file list.
  void Release() {
    std::vector<RegistryEntry>().swap(registries);
    std::vector<FileEntry>().swap(files);
  }
  char TargetKind() const { return target.c_str()[0]; }
};

}  // namespace kvr
