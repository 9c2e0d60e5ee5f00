// Third apply step: write the patch's files into the install directory.
#pragma once

#include "Outcome.h"
#include "platform/Platform.h"
#include "settings/FixedText.h"
#include "settings/RunContext.h"

namespace kvr {

// 0 when every entry was written; 20 with `failedFile` = that entry's
// destPath when one was not; -1 unexpected.
Outcome FileReplacer(const RunContext& context, Files& files, FixedText<260>& failedFile);

// Copies `source` to `destination`, adding 1 to every byte (direction '+') or
// subtracting 1 (direction '-'), in blocks of 1024 bytes, carrying the
// source's times and attributes over. 0 when the whole file was copied, -1
// otherwise; a failed copy leaves `destination` as it was.
int ShiftCopy(char direction, const char* source, const char* destination, Files& files);

}  // namespace kvr
