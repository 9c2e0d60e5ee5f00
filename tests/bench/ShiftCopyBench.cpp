// ShiftCopy against a plain copy of the same 64 MiB file on the real disk.
// The byte transform should cost little next to the block loop itself:
// compare BM_ShiftCopy with BM_PlainBlockCopy (the same 1024-byte loop through
// the same Files, without the transform) and BM_FileCopy (the platform copy).
// BM_ShiftCopyAgainstPlainCopies runs all three in every iteration and gives
// the ratios within one run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "StdioFiles.h"
#include "steps/FileReplacer.h"

namespace kvr::bench {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileSize = 64u << 20;

// A folder with a 64 MiB source file, removed when done.
class Scratch {
 public:
  Scratch() : folder_(fs::temp_directory_path() / ("kvr_bench_" + std::to_string(Unique()))) {
    fs::create_directories(folder_);
    std::vector<char> block(1u << 20);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31 + 7);
    std::unique_ptr<WritableFile> out = files.createWrite(source().c_str(), CreateMode::kAlways);
    for (std::size_t written = 0; written < kFileSize; written += block.size()) {
      out->write(block.data(), block.size());
    }
  }
  ~Scratch() {
    std::error_code error;
    fs::remove_all(folder_, error);
  }
  std::string source() const { return (folder_ / "source.bin").string(); }
  std::string destination() const { return (folder_ / "destination.bin").string(); }

  StdioFiles files;

 private:
  static unsigned Unique() { return std::random_device{}(); }
  fs::path folder_;
};

// The same 1024-byte loop as ShiftCopy through the same Files, without the
// transform and without writing beside the destination.
void PlainBlockCopy(Scratch& scratch) {
  std::unique_ptr<ReadableFile> in = scratch.files.openRead(scratch.source().c_str());
  std::unique_ptr<WritableFile> out =
      scratch.files.createWrite(scratch.destination().c_str(), CreateMode::kAlways);
  char block[1024];
  for (;;) {
    const std::optional<std::size_t> got = in->read(block, sizeof block);
    if (!got || *got == 0) break;
    out->write(block, *got);
  }
}

void BM_ShiftCopy(benchmark::State& state) {
  Scratch scratch;
  for (auto _ : state) {
    if (ShiftCopy('-', scratch.source().c_str(), scratch.destination().c_str(), scratch.files) !=
        0) {
      state.SkipWithError("ShiftCopy failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

void BM_PlainBlockCopy(benchmark::State& state) {
  Scratch scratch;
  for (auto _ : state) PlainBlockCopy(scratch);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

void BM_FileCopy(benchmark::State& state) {
  Scratch scratch;
  for (auto _ : state) {
    scratch.files.copy(scratch.source().c_str(), scratch.destination().c_str(), false);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

template <typename Work>
double Seconds(Work work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// All three copies of the same file in every iteration; the reported time is
// ShiftCopy's, the counters its ratio to each plain copy.
void BM_ShiftCopyAgainstPlainCopies(benchmark::State& state) {
  Scratch scratch;
  double shift = 0, block = 0, file = 0;
  for (auto _ : state) {
    int result = 0;
    const double took = Seconds([&] {
      result =
          ShiftCopy('-', scratch.source().c_str(), scratch.destination().c_str(), scratch.files);
    });
    if (result != 0) {
      state.SkipWithError("ShiftCopy failed");
      break;
    }
    shift += took;
    state.SetIterationTime(took);
    block += Seconds([&] { PlainBlockCopy(scratch); });
    file += Seconds([&] {
      scratch.files.copy(scratch.source().c_str(), scratch.destination().c_str(), false);
    });
  }
  state.counters["shift_over_block_copy"] = shift / block;
  state.counters["shift_over_file_copy"] = shift / file;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

BENCHMARK(BM_ShiftCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainBlockCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FileCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ShiftCopyAgainstPlainCopies)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);

}  // namespace
}  // namespace kvr::bench
