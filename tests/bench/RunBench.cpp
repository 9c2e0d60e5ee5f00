// The whole run of a patch of 100 files, 50 MiB in all (every second file
// stored shifted), on the in-memory PC: silent, its waits taken on the virtual
// clock, so what is timed is the tool's own work. In the same iteration the
// same 50 MiB are copied plainly, file by file, on the same fake PC and on the
// build machine's disk, so the ratios are taken within one run:
//   run_over_disk_copy  the tool's own work against copying the bytes on disk
//   run_over_fake_copy  the same against moving them in memory (its overhead)
//   wait_over_run       the waits the run must make against its own work
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "EncodedIni.h"
#include "Entry.h"
#include "FakePlatform.h"
#include "StdioFiles.h"

namespace kvr::bench {
namespace {

namespace fs = std::filesystem;
using testing::Enc;
using testing::IniEntry;

constexpr int kFiles = 100;
constexpr std::size_t kFileSize = 512u << 10;  // 100 x 512 KiB = 50 MiB

std::string Content(int n) {
  std::string bytes(kFileSize, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 131 + n);
  return bytes;
}

std::string Shifted(std::string bytes) {
  for (char& c : bytes) c = static_cast<char>(static_cast<unsigned char>(c) + 1);
  return bytes;
}

std::string Name(int n) {
  return "f" + std::to_string(n) + ".bin";
}

// An installed product at patch level 2 with its 100 old files and two
// registry values, and the patch to level 3 beside the tool.
void Install(fake::FakePlatform& pc, const std::vector<std::string>& contents) {
  std::vector<IniEntry> install = {
      Enc("TARGET", "0"),    Enc("MODULE_TYPE", "0"), Enc("MODULE_NM_E", "Patch 3"),
      Enc("VERSION", "V80"), Enc("PTNO", "3"),        Enc("FILES", std::to_string(kFiles)),
      Enc("REGISTRIES", "2")};
  for (int n = 1; n <= kFiles; ++n) {
    const bool shifted = n % 2 == 0;
    install.push_back(Enc("FILE" + std::to_string(n),
                          std::string(shifted ? "1," : "0,") + Name(n) + ",bin\\" + Name(n)));
    const std::string& bytes = contents[n - 1];
    pc.files.put("C:\\patch\\SET\\x86\\" + Name(n), shifted ? Shifted(bytes) : bytes, {1, 2, 3});
    pc.files.put("C:\\Program Files\\Kovra\\bin\\" + Name(n), "old");
  }
  install.push_back(Enc("REGISTRY1", "0,HKEY_LOCAL_MACHINE,SOFTWARE\\Kovra,Exe,x"));
  install.push_back(Enc("REGISTRY2", "0,HKEY_LOCAL_MACHINE,SOFTWARE\\Kovra,Path,x"));
  pc.registry.putText(RootKey::kLocalMachine, "SOFTWARE\\Kovra", "Exe", "C:\\Kovra\\kvr.exe");
  pc.registry.putText(RootKey::kLocalMachine, "SOFTWARE\\Kovra", "Path", "C:\\Kovra");
  pc.files.put("C:\\patch\\kvrIni.ini", testing::EncodedIniText({{"INSTALL", install}}));
  pc.files.put("C:\\WINDOWS\\Kovra.ini",
               testing::EncodedIniText({{"LICENSE",
                                         {Enc("VERSION", "V80"), Enc("PTNO", "2"),
                                          Enc("ORSA_INST", fake::Sjis("ORSA未インストール")),
                                          Enc("DIR", "C:\\Program Files\\Kovra")}}}));
}

// The same 100 files on the real disk, removed when done.
class DiskFiles {
 public:
  explicit DiskFiles(const std::vector<std::string>& contents)
      : folder_(fs::temp_directory_path() / ("kvr_run_bench_" + std::to_string(Unique()))) {
    fs::create_directories(folder_);
    for (int n = 1; n <= kFiles; ++n) {
      std::unique_ptr<WritableFile> out = files.createWrite(source(n).c_str(), CreateMode::kAlways);
      out->write(contents[n - 1].data(), contents[n - 1].size());
    }
  }
  ~DiskFiles() {
    std::error_code error;
    fs::remove_all(folder_, error);
  }
  std::string source(int n) const { return (folder_ / ("s" + Name(n))).string(); }
  std::string destination(int n) const { return (folder_ / ("d" + Name(n))).string(); }

  StdioFiles files;

 private:
  static unsigned Unique() { return std::random_device{}(); }
  fs::path folder_;
};

template <typename Work>
double Seconds(Work work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_WholeRun100Files50MiBAgainstPlainCopy(benchmark::State& state) {
  std::vector<std::string> contents;
  for (int n = 1; n <= kFiles; ++n) contents.push_back(Content(n));
  DiskFiles disk(contents);
  double run = 0, fakeCopy = 0, diskCopy = 0;
  std::uint64_t waitedMs = 0;
  for (auto _ : state) {
    fake::FakePlatform pc;
    Install(pc, contents);
    int exitCode = -1;
    const double took = Seconds([&] { exitCode = Run("/Silent", pc.platform); });
    run += took;
    state.SetIterationTime(took);
    if (exitCode != 0)
      state.SkipWithError(("the run failed: exit code " + std::to_string(exitCode)).c_str());
    waitedMs = pc.clock.totalSleptMs();

    fake::FakePlatform plain;
    Install(plain, contents);
    fakeCopy += Seconds([&] {
      for (int n = 1; n <= kFiles; ++n)
        plain.files.copy(("C:\\patch\\SET\\x86\\" + Name(n)).c_str(),
                         ("C:\\Program Files\\Kovra\\bin\\" + Name(n)).c_str(), false);
    });
    diskCopy += Seconds([&] {
      for (int n = 1; n <= kFiles; ++n)
        disk.files.copy(disk.source(n).c_str(), disk.destination(n).c_str(), false);
    });
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["run_ms"] = 1000 * run / n;
  state.counters["fake_copy_ms"] = 1000 * fakeCopy / n;
  state.counters["disk_copy_ms"] = 1000 * diskCopy / n;
  state.counters["run_over_disk_copy"] = run / diskCopy;
  state.counters["run_over_fake_copy"] = run / fakeCopy;
  state.counters["mandated_wait_ms"] = static_cast<double>(waitedMs);
  state.counters["wait_over_run"] = static_cast<double>(waitedMs) / (1000 * run / n);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kFiles * kFileSize);
}

BENCHMARK(BM_WholeRun100Files50MiBAgainstPlainCopy)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace
}  // namespace kvr::bench
