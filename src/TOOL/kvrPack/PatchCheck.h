// A patch folder examined as the tool will read it: kvrIni.ini and the
// replacement files under SET\<platform>\.
#pragma once

#include <string>
#include <vector>

#include "HostPlatform.h"
#include "Problem.h"

namespace kvr::pack {

// Every problem of the patch folder `folder` (UTF-8 host path), each with the
// kvrIni.ini key it concerns: values that do not decode, counts that do not
// match the numbered keys, list lines with missing fields or fields too wide,
// unknown modes and hives, sources missing under SET\<platform>\ for each of
// `platforms` (every folder under SET when none is given), paths that would
// not fit, a TARGET that is not 0 to 3, keys the tool does not read. Last,
// the tool's own loader reads the description; its refusal is a problem too.
// Empty only when the tool loads the description.
std::vector<Problem> CheckPatchFolder(HostPlatform& host, const std::string& folder,
                                      const std::vector<std::string>& platforms);

}  // namespace kvr::pack
