// What only Windows shows: wide names, other spellings of one file, files held
// by other programs, CR LF line ends, and a real process's console output.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/run.h"
#include "skidlog/skidlog.h"
#include "tests/support/replay_builder.h"
#include "tests/support/temp_dir.h"

namespace skidlog {
namespace {

namespace fs = std::filesystem;

std::string utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// Runs the tool in this process; returns the exit code and what followed the banner.
std::pair<int, std::string> runWith(const std::vector<std::string>& names) {
  std::vector<const char*> argv = {"skidlog"};
  for (const std::string& n : names) argv.push_back(n.c_str());
  std::ostringstream messages;
  const int code = run(argv, messages);
  const std::string all = messages.str();
  return {code, all.substr(std::min(all.size(), banner.size() + 1))};
}

// Opens `path` as another program would, sharing only what `share` allows.
HANDLE holdOpen(const fs::path& path, DWORD access, DWORD share) {
  return ::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

class WindowsTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  fs::path replay = dir.fsPath() / "lap.raf";
  fs::path csv = dir.fsPath() / "lap.csv";
  std::string bytes = test::drivingReplay(6).text();
  void SetUp() override { test::writeFile(replay, bytes); }
};

TEST_F(WindowsTest, UnicodeNamesConvertWithCrLfLineEnds) {
  const fs::path input = dir.fsPath() / u8"Łódź 日本 lap.raf";
  const fs::path output = dir.fsPath() / u8"Łódź 日本 lap.csv";
  fs::copy_file(replay, input);
  ASSERT_EQ(runWith({"/s", utf8(input), utf8(output)}).first, 0);
  ASSERT_TRUE(fs::exists(output));

  StringSink expected;
  ConvertOptions options;
  options.sideBySide = true;
  options.memoryLimit = 1u << 30;
  std::ostringstream ignored;
  ASSERT_EQ(convertReplay(std::as_bytes(std::span(bytes)), options, expected, ignored), ExitCode::success);
  std::string crlf;
  for (char c : expected.text) crlf.append(c == '\n' ? "\r\n" : std::string(1, c));
  EXPECT_EQ(test::readFile(output), crlf);
}

TEST_F(WindowsTest, OtherSpellingsAndLinksOfTheInputAreRefused) {
  fs::create_hard_link(replay, dir.fsPath() / "hard.csv");
  const std::string base = utf8(dir.fsPath());
  std::string slashes = utf8(replay);
  for (char& c : slashes) c = c == '\\' ? '/' : c;
  for (const std::string& out : {base + "\\LAP.RAF", base + "\\.\\sub\\..\\lap.raf", slashes, base + "\\hard.csv"}) {
    const auto [code, messages] = runWith({utf8(replay), out});
    EXPECT_EQ(code, 3) << out;
    EXPECT_EQ(messages, "Output file is the input file: " + out + ".\n");
  }
  EXPECT_EQ(test::readFile(replay), bytes);
}

TEST_F(WindowsTest, LockedOutputIsLeftAlone) {
  test::writeFile(csv, "open in a spreadsheet");
  const HANDLE lock = holdOpen(csv, GENERIC_READ | GENERIC_WRITE, 0);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  const auto [code, messages] = runWith({utf8(replay), utf8(csv)});
  ::CloseHandle(lock);
  EXPECT_EQ(code, 3);
  EXPECT_EQ(messages, "Could not open file: " + utf8(csv) + ".\n");
  EXPECT_EQ(test::readFile(csv), "open in a spreadsheet");
}

TEST_F(WindowsTest, ReplayHeldOpenForWritingIsRead) {
  const HANDLE writer = holdOpen(replay, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  const int code = runWith({utf8(replay), utf8(csv)}).first;
  ::CloseHandle(writer);
  EXPECT_EQ(code, 0);
}

TEST_F(WindowsTest, PathsLongerThan260Characters) {
  fs::path deep = dir.fsPath();
  for (int k = 0; k < 6; ++k) deep /= std::string(50, static_cast<char>('a' + k));
  fs::create_directories(LR"(\\?\)" + deep.wstring());
  const fs::path input = deep / "lap.raf";
  ASSERT_GT(input.wstring().size(), 300u);
  ASSERT_TRUE(::CopyFileW((LR"(\\?\)" + replay.wstring()).c_str(), (LR"(\\?\)" + input.wstring()).c_str(), TRUE));
  EXPECT_EQ(runWith({utf8(input), utf8(deep / "lap.csv")}).first, 0);
  EXPECT_TRUE(fs::exists(LR"(\\?\)" + (deep / "lap.csv").wstring()));
}

// Runs the real executable with a wide command line, standard output and
// error redirected to files; returns the exit code.
DWORD runProcess(const std::wstring& arguments, const fs::path& out, const fs::path& err) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const auto create = [&](const fs::path& p) {
    return ::CreateFileW(p.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  };
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = create(out);
  startup.hStdError = create(err);
  startup.hStdInput = nullptr;
  const fs::path exe = fs::absolute(SKIDLOG_EXE);
  std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + arguments;
  PROCESS_INFORMATION process{};
  DWORD code = 99;
  if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process)) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
  }
  ::CloseHandle(startup.hStdOutput);
  ::CloseHandle(startup.hStdError);
  return code;
}

TEST_F(WindowsTest, ProcessTakesWideArgumentsAndWritesUtf8WhenRedirected) {
  const fs::path input = dir.fsPath() / u8"Łódź 日本 lap.raf";
  const fs::path output = dir.fsPath() / u8"Łódź 日本 lap.csv";
  const fs::path out = dir.fsPath() / "stdout";
  const fs::path err = dir.fsPath() / "stderr";
  const std::wstring quotedOutput = L" \"" + output.wstring() + L"\"";
  EXPECT_EQ(runProcess(L"\"" + input.wstring() + L"\"" + quotedOutput, out, err), 2u);
  EXPECT_EQ(test::readFile(err),
            std::string(banner) + "\nCould not open file: " + utf8(input) + ".\n");

  fs::copy_file(replay, input);
  EXPECT_EQ(runProcess(L"\"" + input.wstring() + L"\"" + quotedOutput, out, err), 0u);
  EXPECT_EQ(test::readFile(out), "");
  EXPECT_EQ(test::readFile(output).substr(0, 9), "time [s],");
}

}  // namespace
}  // namespace skidlog
