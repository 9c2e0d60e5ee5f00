// build: a ready patch folder from a plain description. The folder is made
// beside OUTDIR, checked as the tool will read it, and only then moved into
// place, so a refused description leaves OUTDIR untouched.
#include <filesystem>
#include <system_error>

#include "Arguments.h"
#include "Commands.h"
#include "FileBytes.h"
#include "PackExit.h"
#include "PatchCheck.h"
#include "PlainDescription.h"
#include "steps/FileReplacer.h"

namespace kvr::pack {
namespace {

namespace fs = std::filesystem;

// A folder that is removed when it goes out of scope unless released.
class ScratchFolder {
 public:
  explicit ScratchFolder(fs::path path) : path_(std::move(path)) {}
  ~ScratchFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& path() const { return path_; }
  void release() { path_.clear(); }

 private:
  fs::path path_;
};

bool EmptyOrMissing(const fs::path& folder) {
  std::error_code error;
  if (!fs::exists(folder, error)) return true;
  return fs::is_directory(folder, error) && fs::is_empty(folder, error);
}

// Copies one source into SET\<platform>\ through the tool's own file code:
// mode "1" with one added to every byte.
bool StoreSource(Session& session, const SourceFile& file, const fs::path& folder) {
  const auto source = session.host.SeamPath(Utf8Of(file.source));
  const auto target = session.host.SeamPath(Utf8Of(folder / HostPath(file.storedName)));
  if (!source || !target) return false;
  if (file.mode == "1")
    return ShiftCopy('+', source->c_str(), target->c_str(), session.host.files()) == 0;
  return session.host.files().copy(source->c_str(), target->c_str(), true);
}

// Moves the finished folder to OUTDIR, replacing what is there.
bool MoveIntoPlace(const fs::path& built, const fs::path& outDir) {
  std::error_code error;
  const fs::path old = outDir.string() + ".kvrpack-old";
  fs::remove_all(old, error);
  const bool hadOld = fs::exists(outDir, error);
  if (hadOld) {
    fs::rename(outDir, old, error);
    if (error) return false;
  }
  fs::rename(built, outDir, error);
  if (error) {
    if (hadOld) fs::rename(old, outDir, error);
    return false;
  }
  fs::remove_all(old, error);
  return true;
}

}  // namespace

int RunBuild(const CommandArgs& args, Session& session) {
  std::string error;
  const auto parsed = ParseArguments(args, {"--platform", "--tool"}, {"--force"}, error);
  if (parsed && parsed->positional.size() != 2) error = "needs DESCRIPTION OUTDIR";
  if (!error.empty()) {
    session.err << "kvrPack build: " << error << " (see kvrPack --help)\n";
    return exit_code::kUsage;
  }
  const std::string& descriptionPath = parsed->positional[0];
  const fs::path outDir = fs::absolute(HostPath(parsed->positional[1]));
  std::vector<std::string> platforms = parsed->all("--platform");
  if (platforms.empty()) platforms.push_back("x86");  // the tool's default platform
  for (const std::string& platform : platforms)
    if (platform.empty() || platform.find_first_of("\\/:") != std::string::npos) {
      session.err << "kvrPack build: '" << platform << "' is not a platform folder name\n";
      return exit_code::kUsage;
    }

  std::vector<Problem> problems;
  bool unreadable = false;
  const std::optional<PlainDescription> description =
      ReadPlainDescription(descriptionPath, problems, unreadable);
  if (unreadable) {
    session.err << descriptionPath << ": cannot be read\n";
    return exit_code::kFileError;
  }
  if (!description) {
    ReportProblems(session.err, descriptionPath, problems);
    return exit_code::kProblems;
  }
  if (!parsed->flag("--force") && !EmptyOrMissing(outDir)) {
    session.err << Utf8Of(outDir) << ": exists and is not empty (--force replaces it)\n";
    return exit_code::kFileError;
  }

  // Everything is made in a folder beside OUTDIR.
  std::error_code fsError;
  ScratchFolder scratch(outDir.string() + ".kvrpack-new");
  fs::remove_all(scratch.path(), fsError);
  const std::string scratchText = Utf8Of(scratch.path());
  if (!fs::create_directories(scratch.path(), fsError) ||
      !WriteFileBytes(scratch.path() / "kvrIni.ini", EncodedPatchIni(*description))) {
    session.err << scratchText << ": cannot be written\n";
    return exit_code::kFileError;
  }
  for (const std::string& platform : platforms) {
    const fs::path set = scratch.path() / "SET" / HostPath(platform);
    fs::create_directories(set, fsError);
    for (const SourceFile& file : description->sources)
      if (!StoreSource(session, file, set)) {
        session.err << Utf8Of(file.source) << ": cannot be copied into " << Utf8Of(set) << '\n';
        return exit_code::kFileError;
      }
  }
  if (const auto tool = parsed->value("--tool")) {
    fs::copy_file(HostPath(*tool), scratch.path() / "kvrPatch.exe", fsError);
    if (fsError) {
      session.err << *tool << ": cannot be copied (" << fsError.message() << ")\n";
      return exit_code::kFileError;
    }
  }

  // Whatever the tool would refuse is refused here, by the key it concerns.
  problems = CheckPatchFolder(session.host, scratchText, platforms);
  if (!problems.empty()) {
    ReportProblems(session.err, descriptionPath, problems);
    return exit_code::kProblems;
  }
  if (!MoveIntoPlace(scratch.path(), outDir)) {
    session.err << Utf8Of(outDir) << ": cannot be replaced\n";
    return exit_code::kFileError;
  }
  scratch.release();
  session.out << "built " << Utf8Of(outDir) << ": " << description->sources.size()
              << " file(s) for " << platforms.size() << " platform(s)\n";
  return exit_code::kDone;
}

}  // namespace kvr::pack
