// SettingsLoader on the in-memory PC with 1,000 and with 10,000 FILEn entries.
// Both loads run in every iteration, one after the other, so the ratio of
// their times (counter `ratio_10000_over_1000`) is taken within one run: a
// loader that grows linearly gives about 10, and anything above about 12 means
// it grows worse than linearly.
//
// The fake PC's own profile store parses the whole file again at every read,
// so through it each read costs as much as the file is long and the loads grow
// with the square of the entries: that is the test double's cost. The main
// benchmark therefore reads through an indexed profile over the same fake
// files and the same text rules, each file parsed once, as the platform's
// profile functions keep a parsed file cached between calls; the second one
// shows the fake store's figure.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "EncodedIni.h"
#include "FakePlatform.h"
#include "MessageCatalogue.h"
#include "settings/ProfileText.h"
#include "settings/SettingsLoader.h"

namespace kvr::bench {
namespace {

using testing::Enc;
using testing::IniEntry;

// Section and key names as the profile functions compare them.
std::string Folded(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// The profile functions over the fake PC's files, each file parsed and indexed
// at its first read. For loads only: a file must not change after its first
// read, and writes fail.
class IndexedProfile : public Profile {
 public:
  explicit IndexedProfile(fake::FakeFiles& files) : files_(files) {}

  std::string read(const char* section, const char* key, const char* path) override {
    auto [at, added] = files_by_path_.try_emplace(fake::FakeFiles::Key(path));
    Indexed& file = at->second;
    if (added) Index(file, path);
    const auto found = file.sections.find(Folded(section));
    if (found == file.sections.end()) return std::string();
    const auto value = found->second.find(Folded(key));
    if (value == found->second.end() || !value->second) return std::string();
    return ProfileReturnedValue(*value->second);
  }
  bool write(const char*, const char*, const char*, const char*) override { return false; }

 private:
  struct Indexed {
    std::string bytes;
    // The first section of each name, its first key of each name.
    std::unordered_map<std::string,
                       std::unordered_map<std::string, std::optional<std::string_view>>>
        sections;
  };

  void Index(Indexed& file, const char* path) {
    file.bytes = files_.readAll(path).value_or(std::string());
    std::unordered_map<std::string, std::optional<std::string_view>>* current = nullptr;
    for (const ProfileLine& line : ParseProfileText(file.bytes)) {
      if (line.section) {
        const auto [section, added] = file.sections.try_emplace(Folded(line.name));
        current = added && !line.name.empty() ? &section->second : nullptr;
      } else if (current != nullptr && !line.blank) {
        current->try_emplace(Folded(line.name), line.value);
      }
    }
  }

  fake::FakeFiles& files_;
  std::unordered_map<std::string, Indexed> files_by_path_;
};

// A PC whose patch description lists `count` files, and whose product is
// installed.
void PutSettings(fake::FakePlatform& pc, int count) {
  std::vector<IniEntry> install = {Enc("TARGET", "0"),
                                   Enc("MODULE_TYPE", "0"),
                                   Enc("MODULE_NM_E", "Patch 3"),
                                   Enc("VERSION", "V80"),
                                   Enc("VERSION_DISP", "V8.0"),
                                   Enc("PTNO", "3"),
                                   Enc("FILES", std::to_string(count))};
  for (int n = 1; n <= count; ++n) {
    const std::string name = "module" + std::to_string(n) + ".dll";
    install.push_back(
        Enc("FILE" + std::to_string(n), std::string(n % 2 ? "0," : "1,") + name + ",bin\\" + name));
  }
  pc.files.put("C:\\patch\\kvrIni.ini", testing::EncodedIniText({{"INSTALL", install}}));
  pc.files.put("C:\\WINDOWS\\Kovra.ini",
               testing::EncodedIniText({{"LICENSE",
                                         {Enc("VERSION", "V80"), Enc("PTNO", "2"),
                                          Enc("DIR", "C:\\Program Files\\Kovra")}}}));
}

// Seconds one load of `count` files takes, on a PC set up before the clock
// starts.
double TimeLoad(int count, bool indexed, benchmark::State& state) {
  fake::FakePlatform pc;
  PutSettings(pc, count);
  IndexedProfile indexedProfile(pc.files);
  Platform platform = pc.platform;
  Platform through{
      platform.process, platform.messages,
      platform.clock,   indexed ? static_cast<Profile&>(indexedProfile) : platform.profile,
      platform.files,   platform.registry,
      platform.desktop};
  MessageCatalogue catalogue(pc.messages);
  RunContext context;

  const auto start = std::chrono::steady_clock::now();
  const Outcome result = SettingsLoader(context, through, catalogue);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

  if (result != outcome::kSuccess || context.files.size() != static_cast<std::size_t>(count))
    state.SkipWithError("the load failed");
  return took.count();
}

void LoadBoth(benchmark::State& state, bool indexed) {
  double smallSeconds = 0, largeSeconds = 0;
  for (auto _ : state) {
    const double small = TimeLoad(1000, indexed, state);
    const double large = TimeLoad(10000, indexed, state);
    smallSeconds += small;
    largeSeconds += large;
    state.SetIterationTime(small + large);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ms_1000"] = 1000 * smallSeconds / n;
  state.counters["ms_10000"] = 1000 * largeSeconds / n;
  state.counters["ratio_10000_over_1000"] = largeSeconds / smallSeconds;
}

void BM_SettingsLoaderFiles1000Against10000(benchmark::State& state) {
  LoadBoth(state, true);
}
void BM_SettingsLoaderFiles1000Against10000FakeProfileStore(benchmark::State& state) {
  LoadBoth(state, false);
}

BENCHMARK(BM_SettingsLoaderFiles1000Against10000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettingsLoaderFiles1000Against10000FakeProfileStore)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
}  // namespace kvr::bench
