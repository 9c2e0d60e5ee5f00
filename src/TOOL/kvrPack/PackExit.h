// kvrPack's exit codes, the same for every command.
#pragma once

namespace kvr::pack::exit_code {

constexpr int kDone = 0;          // done; `level` with a required level: detected
constexpr int kProblems = 1;      // the input has problems, or `level`: below the required level
constexpr int kUsage = 2;         // the command line is not valid
constexpr int kFileError = 3;     // a file or folder could not be read or written
constexpr int kNotInstalled = 4;  // `level`: no usable install information

}  // namespace kvr::pack::exit_code
