// Writing a file so that a failure never leaves a broken one behind: the new
// content goes into a temporary file beside the destination, which is moved
// over the destination only once it is complete.
#pragma once

#include <functional>
#include <optional>

#include "platform/Platform.h"
#include "settings/FixedText.h"

namespace kvr {

// A path for the temporary file of `destination`: the destination's own path
// with "~N" appended (N from 0 to 99), so it lies in the same folder without
// the path being taken apart (a backslash byte may be the second byte of a
// double-byte character). The first such path that names no existing file and
// fits 259 bytes; nullopt when there is none.
std::optional<FixedText<260>> TemporaryPathBeside(const char* destination, Files& files);

// Replaces `destination` with the file that `writeTemporary` creates at the
// path it is given. True when the destination now holds that file, with the
// attributes it was written with (read-only included). False when:
// - the destination carries the read-only attribute (refused before anything
//   is written, whatever the platform would allow);
// - no temporary path is free, `writeTemporary` fails, or the move fails.
// On false the temporary file is gone and the destination is as it was.
bool ReplaceBeside(const char* destination, Files& files,
                   const std::function<bool(const char* temporary)>& writeTemporary);

}  // namespace kvr
