// The console as kvrPack sees it: arguments and output in UTF-8 on every host.
#pragma once

#include <string>
#include <vector>

namespace kvr::pack {

// The program's arguments after its name, in UTF-8. On Windows they are taken
// from the wide command line, so Japanese arguments survive any ANSI code
// page, and console output is switched to UTF-8.
std::vector<std::string> ConsoleArguments(int argc, char** argv);

}  // namespace kvr::pack
