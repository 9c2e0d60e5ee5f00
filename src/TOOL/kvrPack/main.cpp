// kvrPack: the entry point. Everything else is in the library, so the tests
// run the commands in-process.
#include <iostream>

#include "Commands.h"
#include "Console.h"
#include "HostPlatform.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = kvr::pack::ConsoleArguments(argc, argv);
  const auto host = kvr::pack::MakeHostPlatform();
  const int code = kvr::pack::RunPack(args, std::cout, std::cerr, *host);
  std::cout.flush();
  return code;
}
