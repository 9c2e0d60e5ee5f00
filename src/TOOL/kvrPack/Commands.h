// kvrPack's commands. Each takes its own arguments (after the command name),
// writes its result to `out` and every error to `err` naming the file and key
// it concerns, and returns an exit code of PackExit.h.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "HostPlatform.h"

namespace kvr::pack {

struct Session {
  std::ostream& out;
  std::ostream& err;
  HostPlatform& host;
};

using CommandArgs = std::vector<std::string>;

int RunEncode(const CommandArgs& args, Session& session);
int RunDecode(const CommandArgs& args, Session& session);
int RunShow(const CommandArgs& args, Session& session);
int RunSet(const CommandArgs& args, Session& session);
int RunBuild(const CommandArgs& args, Session& session);
int RunCheck(const CommandArgs& args, Session& session);
int RunLevel(const CommandArgs& args, Session& session);

// The whole program: `args` are the arguments after the program's name.
int RunPack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            HostPlatform& host);

}  // namespace kvr::pack
