#include "steps/FileReplacer.h"

#include "steps/ReplaceBeside.h"

namespace kvr {
namespace {

// CopyFile carries the source's attributes and last-write time.
bool PlainCopy(const char* source, const char* destination, Files& files) {
  return ReplaceBeside(destination, files, [&](const char* temporary) {
    return files.copy(source, temporary, /*failIfExists=*/true);
  });
}

// toolDir\SET\<platform>\sourceName; nullopt when it does not fit 259 bytes.
std::optional<FixedText<260>> SourcePath(const RunContext& context, const FileEntry& entry) {
  FixedText<260> path;
  const bool fits = path.assign(context.toolDir.view()) && path.append("\\SET\\") &&
                    path.append(context.platform.view()) && path.append("\\") &&
                    path.append(entry.sourceName.view());
  if (!fits) return std::nullopt;
  return path;
}

// True when the entry's destination now holds the new file. The mode is
// compared as exact text; any mode other than "1" and "0" writes nothing.
bool WriteEntry(const RunContext& context, const FileEntry& entry, Files& files) {
  const std::optional<FixedText<260>> source = SourcePath(context, entry);
  if (!source) return false;
  if (entry.mode == "1") return ShiftCopy('-', source->c_str(), entry.destPath.c_str(), files) == 0;
  if (entry.mode == "0") return PlainCopy(source->c_str(), entry.destPath.c_str(), files);
  return false;
}

}  // namespace

Outcome FileReplacer(const RunContext& context, Files& files, FixedText<260>& failedFile) {
  return CatchAtEdge([&]() -> Outcome {
    for (const FileEntry& entry : context.files) {
      if (!WriteEntry(context, entry, files)) {
        failedFile.assign(entry.destPath.view());
        return outcome::kFileNotWritten;
      }
    }
    return outcome::kSuccess;
  });
}

}  // namespace kvr
