// Runs the report in-process as its command line would, for the report's
// tests: its JSON, and generated laps to give it.
#ifndef SKIDLOG_TESTS_SUPPORT_REPORT_JSON_H_
#define SKIDLOG_TESTS_SUPPORT_REPORT_JSON_H_

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "report/cli/report_run.h"
#include "tests/support/temp_dir.h"
#include "tools/generator/car.h"
#include "tools/generator/synth.h"

namespace skidlog::test {

// The JSON `skidlog-report --json JSON ARGS...` writes; a failed run fails
// the test with its messages.
inline nlohmann::json reportJson(const std::string& json, std::vector<std::string> args) {
  args.insert(args.begin(), {"skidlog-report", "--json", json});
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream out, messages;
  EXPECT_EQ(runReport(argv, out, messages), 0) << messages.str();
  return nlohmann::json::parse(readFile(json));
}

// Writes a generated replay of `car` to `path` and returns the path.
inline std::string writeLap(const std::string& path, const generator::CarSetup& car,
                            const generator::LapOptions& options) {
  const std::vector<std::byte> bytes = generator::generateLap(car, options);
  writeFile(path, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return path;
}

}  // namespace skidlog::test

#endif  // SKIDLOG_TESTS_SUPPORT_REPORT_JSON_H_
