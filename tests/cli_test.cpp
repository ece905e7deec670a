// What only a process shows: standard output stays empty, and the exit code.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tests/replay_builder.h"
#include "tests/temp_dir.h"

namespace skidlog {
namespace {

struct Process {
  int code;
  std::string out;
  std::string err;
};

// Quotes a path for the shell.
std::string quoted(const std::string& path) {
  std::string q = "'";
  q.append(path).append("'");
  return q;
}

Process runTool(const test::TempDir& dir, const std::string& args) {
  std::string command = quoted(SKIDLOG_EXE);
  command.append(" ").append(args).append(" >").append(quoted(dir / "stdout"));
  command.append(" 2>").append(quoted(dir / "stderr"));
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::readFile(dir / "stdout"), test::readFile(dir / "stderr")};
}

TEST(Cli, WritesNothingToStandardOutput) {
  test::TempDir dir;
  test::writeFile(dir / "lap.raf", test::drivingReplay(4).text());
  const Process ok = runTool(dir, "/s " + quoted(dir / "lap.raf") + " " + quoted(dir / "lap.csv"));
  EXPECT_EQ(ok.code, 0);
  EXPECT_EQ(ok.out, "");
  EXPECT_EQ(ok.err.substr(0, 15), "Skidlog 0.15a1\n");
  EXPECT_EQ(test::readFile(dir / "lap.csv").substr(0, 9), "time [s],");
}

TEST(Cli, ExitCodes) {
  test::TempDir dir;
  test::writeFile(dir / "short.raf", std::string(915, '\0'));
  EXPECT_EQ(runTool(dir, "").code, 1);
  EXPECT_EQ(runTool(dir, quoted(dir / "none.raf") + " x.csv").code, 2);
  EXPECT_EQ(runTool(dir, quoted(dir / "short.raf") + " " + quoted(dir / "out.csv")).code, 4);
  test::writeFile(dir / "lap.raf", test::drivingReplay(2).text());
  EXPECT_EQ(runTool(dir, quoted(dir / "lap.raf") + " " + quoted(dir / "lap.raf")).code, 3);
  const Process full = runTool(dir, quoted(dir / "lap.raf") + " /dev/full");
  EXPECT_EQ(full.code, 5);
  EXPECT_EQ(full.out, "");
}

}  // namespace
}  // namespace skidlog
