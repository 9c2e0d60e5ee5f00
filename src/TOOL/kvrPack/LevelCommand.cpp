// level: the installed product's install information, as the tool reads it,
// and a detection rule for deployment systems.
#include <cstdlib>
#include <iomanip>

#include "Arguments.h"
#include "CatalogueMessages.h"
#include "Commands.h"
#include "MessageCatalogue.h"
#include "Outcome.h"
#include "PackExit.h"
#include "ShownValue.h"
#include "settings/ProductInfo.h"
#include "settings/RunContext.h"
#include "steps/ApplicabilityCheck.h"

namespace kvr::pack {
namespace {

// A whole decimal number of 32 bits, or nullopt.
std::optional<std::int32_t> WholeNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0' || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

void Line(std::ostream& out, const char* label, const std::string& value) {
  out << std::left << std::setw(14) << label << value << '\n';
}

}  // namespace

int RunLevel(const CommandArgs& args, Session& session) {
  std::string error;
  const auto parsed =
      ParseArguments(args, {"--windows-dir", "--target", "--patch", "--service-pack"}, {}, error);
  if (parsed && !parsed->positional.empty()) error = "takes no positional argument";
  const std::string target = parsed ? parsed->value("--target").value_or("0") : "0";
  if (error.empty() && (target.size() != 1 || target[0] < '0' || target[0] > '3'))
    error = "--target must be 0, 1, 2 or 3";
  std::optional<std::int32_t> required;
  bool servicePack = false;
  if (error.empty() && parsed->value("--patch") && parsed->value("--service-pack"))
    error = "give --patch or --service-pack, not both";
  if (error.empty() && (parsed->value("--patch") || parsed->value("--service-pack"))) {
    servicePack = parsed->value("--service-pack").has_value();
    required = WholeNumber(*parsed->value(servicePack ? "--service-pack" : "--patch"));
    if (!required) error = "the required level must be a whole number";
  }
  const auto windowsDir = parsed ? parsed->value("--windows-dir") : std::nullopt;
#ifndef _WIN32
  if (error.empty() && !windowsDir) error = "needs --windows-dir DIR on this system";
#endif
  if (!error.empty()) {
    session.err << "kvrPack level: " << error << " (see kvrPack --help)\n";
    return exit_code::kUsage;
  }
  if (windowsDir) {
    const auto seam = session.host.SeamPath(*windowsDir);
    if (!seam) {
      session.err << *windowsDir << ": cannot be spelled in this system's code page\n";
      return exit_code::kFileError;
    }
    session.host.SetWindowsDirectory(*seam);
  }

  // The tool's own loader, second half: file and product name by target kind.
  RunContext context;
  context.target.assign(target);
  CatalogueMessages messages;
  MessageCatalogue catalogue(messages);
  const Outcome loaded = CatchAtEdge([&]() -> Outcome {
    LoadProductInfo(context, session.host.process(), session.host.files(), session.host.profile(),
                    catalogue);
    return outcome::kSuccess;
  });
  const std::string file = session.host.HostSpelling(context.productIniPath.str());
  if (loaded == outcome::kNotInstalled) {
    session.err << file << ": not installed (no install information)\n";
    return exit_code::kNotInstalled;
  }
  if (loaded != outcome::kSuccess) {
    const char* key = context.productVersion.empty() ? "VERSION" : "DIR";
    session.err << file << ": [LICENSE] " << key
                << ": missing or does not decode: the tool stops with exit code 5\n";
    return exit_code::kNotInstalled;
  }

  const std::string product = ShowValue(context.productName.view(), false).text;
  const std::int32_t installed = servicePack ? context.productSpNo : context.productPtNo;
  const char* levelWord = servicePack ? "service pack" : "patch level";
  if (required) {
    // Detection: one line on stdout only when detected.
    if (installed >= *required) {
      session.out << "detected: " << product << ' ' << levelWord << ' ' << installed
                  << " (at least " << *required << ")\n";
      return exit_code::kDone;
    }
    session.err << "not detected: " << product << ' ' << levelWord << ' ' << installed
                << " is below " << *required << '\n';
    return exit_code::kProblems;
  }

  const bool withoutOrsa = context.orsaInst == kOrsaNotInstalledMarker;
  Line(session.out, "product", product);
  Line(session.out, "file", file);
  Line(session.out, "version", ShowValue(context.productVersion.view(), false).text);
  Line(session.out, "platform", ShowValue(context.platform.view(), false).text);
  Line(session.out, "service pack", std::to_string(context.productSpNo));
  Line(session.out, "patch level", std::to_string(context.productPtNo));
  Line(session.out, "edition",
       ShowValue(context.orsaInst.view(), false).text +
           (withoutOrsa ? " (ORSA not installed)" : " (ORSA installed)"));
  Line(session.out, "install dir", ShowValue(context.installDir.view(), false).text);
  return exit_code::kDone;
}

}  // namespace kvr::pack
