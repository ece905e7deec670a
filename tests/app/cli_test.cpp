// What only a process shows: standard output stays empty, and the exit code.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/replay_builder.h"
#include "tests/support/temp_dir.h"

namespace skidlog {
namespace {

struct Process {
  int code;
  std::string out;
  std::string err;
};

// Quotes a path for the shell.
std::string shellQuoted(const std::string& path) {
  std::string q = "'";
  q.append(path).append("'");
  return q;
}

Process runTool(const test::TempDir& dir, const std::string& args) {
  std::string command = shellQuoted(SKIDLOG_EXE);
  command.append(" ").append(args).append(" >").append(shellQuoted(dir / "stdout"));
  command.append(" 2>").append(shellQuoted(dir / "stderr"));
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::readFile(dir / "stdout"), test::readFile(dir / "stderr")};
}

TEST(Cli, WritesNothingToStandardOutput) {
  test::TempDir dir;
  test::writeFile(dir / "lap.raf", test::drivingReplay(4).text());
  const Process ok = runTool(dir, "/s " + shellQuoted(dir / "lap.raf") + " " + shellQuoted(dir / "lap.csv"));
  EXPECT_EQ(ok.code, 0);
  EXPECT_EQ(ok.out, "");
  EXPECT_EQ(ok.err.substr(0, 15), "Skidlog 0.15a1\n");
  EXPECT_EQ(test::readFile(dir / "lap.csv").substr(0, 9), "time [s],");
}

class CliTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string replay = dir / "lap.raf";
  std::string csv = dir / "lap.csv";
  void SetUp() override { test::writeFile(replay, test::drivingReplay(6).text()); }
  Process convert(const std::string& in, const std::string& out) { return runTool(dir, shellQuoted(in) + " " + shellQuoted(out)); }
};

TEST_F(CliTest, UsageAndUnreadableInput) {
  EXPECT_EQ(runTool(dir, "").code, 1);
  EXPECT_EQ(runTool(dir, "/s " + shellQuoted(replay)).code, 1);
  EXPECT_EQ(convert(dir / "none.raf", csv).code, 2);
  EXPECT_EQ(convert(dir.path(), csv).code, 2);  // a directory
  EXPECT_FALSE(std::filesystem::exists(csv));
}

TEST_F(CliTest, ShortFileLeavesTheOutputAlone) {
  test::writeFile(dir / "short.raf", test::drivingReplay(1).text().substr(0, 915));
  test::writeFile(csv, "earlier table");
  const Process p = convert(dir / "short.raf", csv);
  EXPECT_EQ(p.code, 4);
  EXPECT_EQ(test::readFile(csv), "earlier table");
}

TEST_F(CliTest, OutputThatCannotBeWrittenOrIsTheInput) {
  EXPECT_EQ(convert(replay, dir / "missing/lap.csv").code, 3);
  const std::string before = test::readFile(replay);
  std::filesystem::create_symlink(replay, dir / "soft.csv");
  std::filesystem::create_hard_link(replay, dir / "hard.csv");
  for (const std::string& out : {replay, dir / "soft.csv", dir / "hard.csv"}) EXPECT_EQ(convert(replay, out).code, 3);
  EXPECT_EQ(test::readFile(replay), before);
  const Process full = convert(replay, "/dev/full");
  EXPECT_EQ(full.code, 5);
  EXPECT_NE(full.err.find("Could not write file: /dev/full."), std::string::npos);
}

TEST_F(CliTest, TruncatedReplayKeepsItsCompleteBlocks) {
  test::writeFile(replay, test::drivingReplay(6).text().substr(0, 1024 + 192 * 4 + 50));
  const Process p = runTool(dir, "/s " + shellQuoted(replay) + " " + shellQuoted(csv));
  EXPECT_EQ(p.code, 0);
  EXPECT_NE(p.err.find("holds 4 of 6 sample blocks."), std::string::npos);
  const std::string table = test::readFile(csv);
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 5);
}

TEST_F(CliTest, HugeSampleCountIsRefusedQuickly) {
  test::ReplayBuilder b = test::drivingReplay(1);
  b.put<std::uint16_t>(14, 0).put<std::int32_t>(20, 2147483647);
  test::writeFile(replay, b.text());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(convert(replay, csv).code, 4);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_FALSE(std::filesystem::exists(csv));
}

}  // namespace
}  // namespace skidlog
