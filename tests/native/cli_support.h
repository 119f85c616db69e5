// Runs vantorel-cli in-process on a program built in a fresh directory, and
// collects its exit status and both streams.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli.h"
#include "test_support.h"
#include "vantorel/engine.h"

namespace vantorel::cli::test {

namespace fs = std::filesystem;

struct Output {
  int status = -1;
  std::string out, err;
};

inline std::string Slurp(std::FILE* f) {
  std::rewind(f);
  std::string s;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) s.append(buffer, n);
  std::fclose(f);
  return s;
}

inline Output Cli(std::vector<fs::path> args) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Output o;
  o.status = cli::Run(args, out, err);
  o.out = Slurp(out);
  o.err = Slurp(err);
  return o;
}

inline size_t Lines(const std::string& s) { return static_cast<size_t>(std::count(s.begin(), s.end(), '\n')); }

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pe_ = engine::test::BuildPe(engine::test::IconProgram({800, 800}));
    icon_ = dir_ / "new.ico";
    target_ = dir_ / "app.exe";
    engine::test::IconFileEntry image = engine::test::Image(744, 3, 48);
    image.bits = 8;
    engine::test::WriteFileBytes(icon_, engine::test::IconFile({image}));
    engine::test::WriteFileBytes(target_, pe_.bytes);
  }
  engine::test::TempDir dir_;
  engine::test::BuiltPe pe_;
  fs::path icon_, target_;
};

}  // namespace vantorel::cli::test
