// Runs every case in tests/data through tessel-cli and compares the exit
// status, stdout and every output file byte for byte. See
// tests/data/README.md for the layout of a case.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "TestSupport.h"

namespace tessel::testing {
namespace {

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(TestDataDir())) {
    if (std::filesystem::exists(entry.path() / "args")) {
      names.push_back(entry.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> ReadArgs(const std::filesystem::path& file) {
  std::vector<std::string> args;
  std::istringstream lines(ReadFile(file));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty()) args.push_back(line);
  }
  return args;
}

class WholeRunCase : public ::testing::TestWithParam<std::string> {};

TEST_P(WholeRunCase, GivesExactOutputs) {
  const std::filesystem::path source = TestDataDir() / GetParam();
  const std::filesystem::path expect = source / "expect";
  TempDir work;
  for (const auto& entry : std::filesystem::directory_iterator(source)) {
    if (entry.is_regular_file()) {
      std::filesystem::copy_file(entry.path(),
                                 work / entry.path().filename().string());
    }
  }
  std::filesystem::create_directory(work / "out");

  const bool three = std::filesystem::exists(expect / "r3") ||
                     std::filesystem::exists(source / "s3");
  const int n = three ? 3 : 2;
  std::vector<std::string> args = ReadArgs(source / "args");
  std::vector<std::string> sources = {"s1", "s2", "s3"};
  sources.resize(static_cast<std::size_t>(n));
  if (!std::filesystem::exists(source / "s2")) sources[1] = "no-such-source";
  args.insert(args.end(), sources.begin(), sources.end());
  for (int k = 1; k <= n; ++k) {
    args.push_back("--result");
    args.push_back("out/r" + std::to_string(k));
  }
  args.push_back("--diff");
  args.push_back("out/d");

  const ProcessResult run = RunProcess(CliPath(), args, work.path());
  EXPECT_EQ(run.status, std::stoi(ReadFile(expect / "status")))
      << "stderr: " << run.err;
  EXPECT_EQ(run.out, ReadFile(expect / "stdout"));

  std::vector<std::string> outputs = {"d"};
  for (int k = 1; k <= n; ++k) outputs.push_back("r" + std::to_string(k));
  for (const std::string& name : outputs) {
    const bool want = std::filesystem::exists(expect / name);
    const bool got = std::filesystem::exists(work / "out" / name);
    ASSERT_EQ(got, want) << name << (want ? " missing" : " created");
    if (want) {
      EXPECT_EQ(BytesText(ReadFile(work / "out" / name)),
                BytesText(ReadFile(expect / name)))
          << name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Data, WholeRunCase, ::testing::ValuesIn(CaseNames()),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace tessel::testing
