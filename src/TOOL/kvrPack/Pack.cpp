#include <map>

#include "Commands.h"
#include "PackExit.h"

namespace kvr::pack {
namespace {

constexpr char kUsage[] =
    R"(kvrPack: the companion of kvrPatch for patch authors and administrators.

usage:
  kvrPack encode [--raw] TEXT        the encoded form of one value
  kvrPack decode [--raw] TEXT        the plain text of one encoded value
  kvrPack show [--raw] FILE          every section and key of a settings file, decoded
  kvrPack set [--raw] FILE SECTION KEY VALUE
                                     writes one value, encoded, keeping the rest of the file
  kvrPack build [--platform NAME]... [--tool KVRPATCH_EXE] [--force] DESCRIPTION OUTDIR
                                     a ready patch folder from a plain description
  kvrPack check [--platform NAME]... PATCHDIR
                                     validates a patch folder as kvrPatch will read it
  kvrPack level [--windows-dir DIR] [--target 0-3] [--patch N | --service-pack N]
                                     the installed product's level; with N, a detection rule

Text is UTF-8; values are stored in Shift-JIS, and --raw takes or shows the
bytes as they are instead. `build` stores files for platform x86 unless
--platform is given, and writes nothing to OUTDIR when it refuses. `level`
reads the install information from the Windows directory by target kind
(0 and 1 Kovra.ini, 2 OrsaCreator.ini, 3 OrsaLogMng.ini); --windows-dir is
required on Linux. With --patch N (or --service-pack N) it prints one line
"detected: ..." and exits 0 only when the installed level is at least N.

exit codes:
  0  done; level with a required level: detected
  1  problems found (listed on stderr with file and key); level: below the required level
  2  the command line is not valid
  3  a file or folder could not be read or written
  4  level: the product is not installed or its install information is unusable
)";

}  // namespace

int RunPack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            HostPlatform& host) {
  Session session{out, err, host};
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    (args.empty() ? err : out) << kUsage;
    return args.empty() ? exit_code::kUsage : exit_code::kDone;
  }
  using Command = int (*)(const CommandArgs&, Session&);
  static const std::map<std::string, Command> kCommands = {
      {"encode", RunEncode}, {"decode", RunDecode}, {"show", RunShow},   {"set", RunSet},
      {"build", RunBuild},   {"check", RunCheck},   {"level", RunLevel},
  };
  const auto found = kCommands.find(args[0]);
  if (found == kCommands.end()) {
    err << "kvrPack: unknown command '" << args[0] << "' (see kvrPack --help)\n";
    return exit_code::kUsage;
  }
  const CommandArgs rest(args.begin() + 1, args.end());
  if (rest.size() == 1 && rest[0] == "--help") {
    out << kUsage;
    return exit_code::kDone;
  }
  try {
    return found->second(rest, session);
  } catch (const std::exception& e) {
    err << "kvrPack " << args[0] << ": " << e.what() << '\n';
    return exit_code::kFileError;
  }
}

}  // namespace kvr::pack
