// kvrPack run in-process on a fresh temporary folder: write fixture files,
// run a command line, read what it printed and what it left on disk.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "HostPlatform.h"

namespace kvr::pack {

struct PackRun {
  int code = -1;
  std::string out, err;
};

class PackFixture : public ::testing::Test {
 protected:
  PackFixture() {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    root = std::filesystem::temp_directory_path() /
           ("kvrpack-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
  }
  ~PackFixture() override { std::filesystem::remove_all(root); }

  PackRun Run(const std::vector<std::string>& args) {
    const auto host = MakeHostPlatform();
    std::ostringstream out, err;
    PackRun run;
    run.code = RunPack(args, out, err, *host);
    run.out = out.str();
    run.err = err.str();
    return run;
  }

  // Writes `bytes` at root/relative, creating folders; returns the full path.
  std::string Put(const std::string& relative, const std::string& bytes) {
    const std::filesystem::path path = root / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  std::string Path(const std::string& relative) const { return (root / relative).string(); }
  std::string Read(const std::string& relative) const {
    std::ifstream in(root / relative, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  bool Exists(const std::string& relative) const {
    return std::filesystem::exists(root / relative);
  }

  std::filesystem::path root;
};

}  // namespace kvr::pack
