// Message composition with arbitrary bytes. The input is split at its 0 bytes
// into a format, two arguments and the run's texts that fill the tool's own
// messages (module name, product name, version shown, version, failed file,
// failed registry value); missing parts are empty.
//
// What must hold: a composed text never exceeds its buffer, is a prefix of
// the whole composition that ends on a character boundary of the code page,
// and says whether it was cut; the outcome report shows exactly the box its
// row names (none when silent), with a text that fits 254 bytes, the module
// name as caption, and the row's exit code.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FakePlatform.h"
#include "MessageComposer.h"
#include "OutcomeReport.h"

namespace {

using kvr::fake::FakePlatform;
using kvr::fake::FakeProcess;

void Require(bool condition) {
  if (!condition) std::abort();
}

std::vector<std::string> SplitAtZero(std::string_view input, std::size_t parts) {
  std::vector<std::string> out;
  while (out.size() < parts) {
    const std::size_t zero = input.find('\0');
    out.emplace_back(input.substr(0, zero));
    input = zero == std::string_view::npos ? std::string_view() : input.substr(zero + 1);
  }
  return out;
}

// `fitted` is the longest run of whole characters of `whole` that fits N-1
// bytes.
template <std::size_t N>
void CheckFitted(const std::string& whole, const kvr::FixedText<N>& fitted, bool complete,
                 FakeProcess& process) {
  const std::string_view text = fitted.view();
  Require(text.size() <= N - 1);
  Require(whole.compare(0, text.size(), text) == 0);
  Require(complete == (text.size() == whole.size()));
  std::size_t at = 0;
  while (at < text.size()) at += process.charLength(whole.c_str() + at);
  Require(at == text.size());
  if (!complete) Require(at + process.charLength(whole.c_str() + at) > N - 1);
}

void CheckComposer(const std::vector<std::string>& parts) {
  for (unsigned codePage : {1252u, 932u}) {
    FakeProcess process;
    process.codePage = codePage;
    const std::string whole =
        kvr::FillPlaceholders(parts[0].c_str(), {parts[1].c_str(), parts[2].c_str()});
    kvr::FixedText<255> message;
    CheckFitted(whole, message,
                kvr::ComposeMessage(message, parts[0].c_str(), {parts[1].c_str(), parts[2].c_str()},
                                    process),
                process);
    kvr::FixedText<8> small;
    CheckFitted(whole, small, kvr::FitText(whole, small, process), process);
  }
}

constexpr kvr::Outcome kOutcomes[] = {0, 2, 4, 5, 7, 8, 9, 10, 11, 12, 13, 20, 30, -1, 1, 31};

void CheckReport(const std::vector<std::string>& parts, kvr::Outcome value, bool japanese,
                 bool silent) {
  FakePlatform pc;
  if (japanese) pc.useJapanese();
  kvr::RunContext context;
  context.moduleName.assign(parts[3]);
  context.productName.assign(parts[4]);
  context.versionDisp.assign(parts[5]);
  context.version.assign(parts[6]);
  context.moduleType = parts[6].empty() ? 0 : static_cast<unsigned char>(parts[6][0]) % 3;
  kvr::RunState state;
  state.silentMode = silent;
  state.failedFile.assign(parts[7]);
  state.failedRegistryValue.assign(parts[8]);
  kvr::MessageCatalogue catalogue(pc.messages);

  const kvr::OutcomeRow& row = kvr::LookupOutcome(value);
  Require(kvr::ReportOutcome(value, context, state, pc.platform, catalogue) == row.exitCode);
  if (silent || row.messageId == 0) {
    Require(pc.messages.shown.empty() && pc.clock.sleeps.empty());
    return;
  }
  Require(pc.messages.shown.size() == 1);
  const kvr::fake::ShownBox& box = pc.messages.shown[0];
  Require(box.text.size() <= 254);
  Require(box.style == row.boxStyle);
  Require(box.caption == context.moduleName.view());
  if (value == kvr::outcome::kSettingsUnusable && parts[3].empty())
    Require(box.caption == kvr::kDefaultModuleCaption);
  Require(pc.clock.totalSleptMs() == (value == kvr::outcome::kSuccess ? 1000u : 0u));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> parts =
      SplitAtZero(std::string_view(reinterpret_cast<const char*>(data), size), 9);
  CheckComposer(parts);
  for (kvr::Outcome value : kOutcomes)
    for (bool japanese : {false, true}) {
      CheckReport(parts, value, japanese, false);
      if (value == kvr::outcome::kSuccess) CheckReport(parts, value, japanese, true);
    }
  return 0;
}
