#include <cstddef>
#include <cstdint>

#include "steps/FileReplacer.h"
#include "steps/ReplaceBeside.h"

namespace kvr {
namespace {

constexpr std::size_t kBlockSize = 1024;

}  // namespace

int ShiftCopy(char direction, const char* source, const char* destination, Files& files) {
  // Adding 0xFF modulo 256 subtracts 1.
  std::uint8_t delta = 0;
  if (direction == '+') {
    delta = 0x01;
  } else if (direction == '-') {
    delta = 0xFF;
  } else {
    return -1;
  }

  const bool replaced = ReplaceBeside(destination, files, [&](const char* temporary) {
    std::unique_ptr<ReadableFile> in = files.openRead(source);
    if (!in) return false;
    std::unique_ptr<WritableFile> out = files.createWrite(temporary, CreateMode::kNew);
    if (!out) return false;

    // Streams one block at a time, whatever the file's size.
    std::uint8_t block[kBlockSize];
    for (;;) {
      const std::optional<std::size_t> got = in->read(block, sizeof block);
      if (!got || *got > sizeof block) return false;
      if (*got == 0) break;
      for (std::size_t i = 0; i < *got; ++i) block[i] = static_cast<std::uint8_t>(block[i] + delta);
      if (!out->write(block, *got)) return false;
    }

    // The times are set after the last write, so nothing changes them again;
    // failing to carry times or attributes does not fail the copy.
    if (const std::optional<FileTimes> times = in->times()) out->setTimes(*times);
    in.reset();
    out.reset();
    if (const std::optional<std::uint32_t> attributes = files.attributes(source)) {
      files.setAttributes(temporary, *attributes);
    }
    return true;
  });
  return replaced ? 0 : -1;
}

}  // namespace kvr
