// check: a patch folder validated as the tool will read it.
#include "Arguments.h"
#include "Commands.h"
#include "FileBytes.h"
#include "PackExit.h"
#include "PatchCheck.h"

namespace kvr::pack {

int RunCheck(const CommandArgs& args, Session& session) {
  std::string error;
  const auto parsed = ParseArguments(args, {"--platform"}, {}, error);
  if (parsed && parsed->positional.size() != 1) error = "needs exactly one PATCHDIR";
  if (!error.empty()) {
    session.err << "kvrPack check: " << error << " (see kvrPack --help)\n";
    return exit_code::kUsage;
  }
  const std::string& folder = parsed->positional[0];
  const std::vector<Problem> problems =
      CheckPatchFolder(session.host, folder, parsed->all("--platform"));
  if (!problems.empty()) {
    ReportProblems(session.err, Utf8Of(HostPath(folder) / "kvrIni.ini"), problems);
    return exit_code::kProblems;
  }
  session.out << "ok: " << folder << " loads as the tool reads it\n";
  return exit_code::kDone;
}

}  // namespace kvr::pack
