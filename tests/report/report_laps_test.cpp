// Laps read by place, against generated laps whose circuit, corners and
// times are known: the delta meets the recorded times, the corners are the
// circuit's wherever the reference lap is, a slower corner shows its loss
// there alone, and damaged headers make no lap or a partial one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "raf/lap_splits.h"
#include "raf/raf_format.h"
#include "report/cli/report_run.h"
#include "report/laps/corners/corners.h"
#include "tests/support/temp_dir.h"
#include "tools/generator/circuit.h"
#include "tools/generator/drive.h"
#include "tools/generator/synth.h"

namespace skidlog {
namespace {

using Json = nlohmann::json;

// The generator's layout: a 1024-byte header, then blocks of 192 bytes.
constexpr std::size_t headerBytes = 1024;
constexpr std::size_t blockBytes = 192;

class LapsTest : public ::testing::Test {
 protected:
  // A whole generated lap from the line, written as `name`.
  std::string lap(const std::string& name, std::uint64_t seed, int slowCorner = -1, double interval = 0.01,
                  const generator::CarSetup& car = generator::exampleCar()) {
    generator::LapOptions options;
    options.wholeLap = true;
    options.seed = seed;
    options.slowCorner = slowCorner;
    options.sampleInterval = interval;
    return write(name, generator::generateLap(car, options));
  }
  std::string write(const std::string& name, const std::vector<std::byte>& bytes) {
    test::writeFile(dir / name, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return dir / name;
  }
  std::vector<std::byte> bytesOf(const std::string& path) {
    const std::string text = test::readFile(path);
    std::vector<std::byte> bytes(text.size());
    std::memcpy(bytes.data(), text.data(), text.size());
    return bytes;
  }
  // The report's JSON for these arguments.
  Json report(std::vector<std::string> args) {
    args.insert(args.begin(), {"skidlog-report", "--json", json});
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::ostringstream out;
    messages.str("");
    EXPECT_EQ(runReport(argv, out, messages), 0) << messages.str();
    return Json::parse(test::readFile(json));
  }

  test::TempDir dir;
  std::string json = dir / "report.json";
  std::ostringstream messages;
};

// The circuit's corners as the report counts them: arcs tighter than the
// report's entry radius that turn enough for it to find, those of one
// direction a short run apart joined; each apex where half its angle is
// turned, in distance from the line.
std::vector<double> circuitApexes() {
  const generator::Circuit circuit(generator::Turns::both);
  struct Joined {
    double start, end, angle;
    bool left;
    std::vector<generator::Corner> arcs;
  };
  std::vector<Joined> joined;
  for (const generator::Corner& c : circuit.corners()) {
    const double angle = (c.end - c.start) / c.radius * 180.0 / std::numbers::pi;
    if (c.radius >= cornerEnterRadius) continue;
    if (!joined.empty() && joined.back().left == c.left && c.start - joined.back().end < mergeGap) {
      joined.back().end = c.end;
      joined.back().angle += angle;
      joined.back().arcs.push_back(c);
    } else {
      joined.push_back({c.start, c.end, angle, c.left, {c}});
    }
  }
  std::vector<double> apexes;
  for (const Joined& j : joined) {
    // Arcs of 20 degrees or less read as less than minCornerAngle once their
    // ramps are shared with the next bend; 28 degrees and more as more.
    if (j.angle < 25.0) continue;
    double half = j.angle / 2.0, at = j.start;
    for (const generator::Corner& c : j.arcs) {
      const double angle = (c.end - c.start) / c.radius * 180.0 / std::numbers::pi;
      if (half <= angle) {
        at = c.start + half / angle * (c.end - c.start);
        break;
      }
      half -= angle;
    }
    const double fromLine = at - generator::lineDistance;
    apexes.push_back(fromLine < 0.0 ? fromLine + circuit.length() : fromLine);
  }
  std::sort(apexes.begin(), apexes.end());
  return apexes;
}

// The corners' apexes by the number in their names (T1 first), with the flat
// sweepers folded into the corners before them left NaN: the names are the
// path's bends'.
std::vector<double> apexesOf(const Json& track) {
  std::vector<double> apexes;
  for (const Json& c : track["corners"]) {
    const std::size_t k = std::stoul(c["name"].get<std::string>().substr(1)) - 1;
    apexes.resize(std::max(apexes.size(), k + 1 + c["sweepers"].size()), std::nan(""));
    apexes[k] = c["apex_m"];
  }
  return apexes;
}

TEST_F(LapsTest, TheCircuitsCornersAreFoundWhicheverLapIsTheReference) {
  const std::vector<std::string> laps = {lap("a.raf", 1), lap("b.raf", 2), lap("c.raf", 3)};
  const std::vector<double> truth = circuitApexes();
  ASSERT_GE(truth.size(), 10u);
  for (const std::string& reference : laps) {
    const Json s = report({"--reference=" + reference, laps[0], laps[1], laps[2]});
    ASSERT_EQ(s["tracks"].size(), 1u);
    EXPECT_EQ(s["tracks"][0]["reference"], reference);
    const std::vector<double> found = apexesOf(s["tracks"][0]);
    ASSERT_EQ(found.size(), truth.size()) << reference;
    std::size_t listed = 0;
    for (std::size_t k = 0; k < truth.size(); ++k) {
      if (std::isnan(found[k])) continue;
      ++listed;
      EXPECT_NEAR(found[k], truth[k], 25.0) << "corner " << k;
    }
    EXPECT_GE(listed, truth.size() * 2 / 3);
    EXPECT_EQ(s["tracks"][0]["corners"][0]["name"], "T1");
  }
}

std::string cornerName(std::size_t n) { return std::string("T").append(std::to_string(n)); }

// The generated driver takes three of the circuit's bends flat right after a
// corner: each is that corner's exit. The segments still tile the lap, in
// order, and the corners keep the path's names around the folded ones.
TEST_F(LapsTest, AFlatSweeperIsTheExitOfTheCornerBeforeIt) {
  const Json s = report({lap("a.raf", 1), lap("b.raf", 2)});
  const Json& track = s["tracks"][0];
  double at = 0.0, lapTime = 0.0;
  std::size_t next = 1, folded = 0;
  for (const Json& c : track["corners"]) {
    EXPECT_EQ(c["name"], cornerName(next)) << "the names are the path's bends'";
    const Json& sweepers = c["sweepers"];
    for (std::size_t j = 0; j < sweepers.size(); ++j) EXPECT_EQ(sweepers[j], cornerName(next + 1 + j));
    next += 1 + sweepers.size();
    folded += sweepers.size();
    EXPECT_DOUBLE_EQ(c["segment_m"][0].get<double>(), at) << c["name"];
    at = c["segment_m"][1];
    lapTime += c["laps"][0]["segment_time_s"].get<double>();
  }
  EXPECT_EQ(folded, 3u);
  EXPECT_NEAR(at, track["length_m"].get<double>(), 1e-9);
  EXPECT_NEAR(lapTime, track["laps"][0]["lap_time_s"].get<double>(), 1e-6);
}

TEST_F(LapsTest, TheDeltaMeetsTheRecordedLapAndSplitTimes) {
  for (const double interval : {0.01, 0.1}) {
    const std::string a = lap("a.raf", 1, -1, interval), b = lap("b.raf", 2, -1, interval);
    const Json s = report({a, b});
    const Json& laps = s["tracks"][0]["laps"];
    ASSERT_EQ(laps.size(), 2u);
    const Json& ref = laps[0]["lap_time_s"] < laps[1]["lap_time_s"] ? laps[0] : laps[1];
    EXPECT_EQ(s["tracks"][0]["reference"], ref["file"]);
    for (const Json& l : laps) {
      EXPECT_TRUE(l["complete"].get<bool>());
      EXPECT_NEAR(l["delta_at_line_s"].get<double>(), l["lap_time_s"].get<double>() - ref["lap_time_s"].get<double>(),
                  1e-9);
      ASSERT_EQ(l["delta_at_splits_s"].size(), 2u);
      for (std::size_t k = 0; k < 2; ++k) {
        const double recorded = l["splits_s"][k].get<double>() - ref["splits_s"][k].get<double>();
        EXPECT_NEAR(l["delta_at_splits_s"][k].get<double>(), recorded, interval) << interval;
      }
    }
  }
}

// The second lap is one whose reference split, turned into a place on the
// path and back into a time, came back 7e-15 s off.
TEST_F(LapsTest, ALapAgainstItselfHasNoDelta) {
  generator::CarSetup sensitive = generator::exampleCar();
  sensitive.front.stiffnessPeakLoad = sensitive.rear.stiffnessPeakLoad = 4500.0;
  for (const std::string& a : {lap("a.raf", 4), lap("b.raf", 4, -1, 0.01, sensitive)}) {
    const std::string copy = write("copy.raf", bytesOf(a));
    const Json s = report({a, copy});
    for (const Json& l : s["tracks"][0]["laps"]) {
      EXPECT_EQ(l["delta_at_line_s"], 0.0);
      for (const Json& d : l["delta_at_splits_s"]) EXPECT_EQ(d, 0.0);
    }
    for (const Json& c : s["tracks"][0]["corners"]) {
      for (const Json& l : c["laps"]) EXPECT_EQ(l["delta_s"], 0.0) << c["name"];
    }
  }
}

TEST_F(LapsTest, ASlowerCornerShowsItsLossThereAndNowhereElse) {
  const generator::Circuit circuit(generator::Turns::both);
  // The corner of 30 m radius on the first long side.
  int slow = -1;
  for (std::size_t c = 0; c < circuit.corners().size() && slow < 0; ++c) {
    if (circuit.corners()[c].radius == 30.0) slow = static_cast<int>(c);
  }
  ASSERT_GE(slow, 0);
  const double apex = (circuit.corners()[static_cast<std::size_t>(slow)].start +
                       circuit.corners()[static_cast<std::size_t>(slow)].end) / 2.0 - generator::lineDistance;
  const Json s = report({"--reference=" + lap("base.raf", 5), dir / "base.raf", lap("slow.raf", 5, slow)});
  int losing = 0;
  for (const Json& c : s["tracks"][0]["corners"]) {
    const double delta = c["laps"][1]["delta_s"];
    if (std::fabs(c["apex_m"].get<double>() - apex) < 25.0) {
      EXPECT_GT(delta, 0.03) << c["name"];
      ++losing;
    } else {
      EXPECT_LT(std::fabs(delta), 0.01) << c["name"];
    }
  }
  EXPECT_EQ(losing, 1);
}

TEST_F(LapsTest, GroupsOfLapsGetIntervalsAndCornerDifferences) {
  const Json s = report({lap("a1.raf", 11), lap("a2.raf", 12), "--vs", lap("b1.raf", 13), lap("b2.raf", 14)});
  const Json& corner = s["tracks"][0]["corners"][0];
  ASSERT_EQ(corner["groups"].size(), 2u);
  for (const Json& g : corner["groups"]) {
    EXPECT_EQ(g["laps"], 2);
    ASSERT_TRUE(g["time_s_ci"].is_array());
    EXPECT_LE(g["time_s_ci"][0].get<double>(), g["time_s"].get<double>());
    EXPECT_GE(g["time_s_ci"][1].get<double>(), g["time_s"].get<double>());
  }
  std::size_t corners = 0;
  for (const Json& d : s["differences"]) {
    if (d["quantity"] != "corner_time_s") continue;
    ++corners;
    EXPECT_TRUE(d["curve"].is_null());
    EXPECT_EQ(d["where"].get<std::string>().front(), 'T');
  }
  EXPECT_EQ(corners, s["tracks"][0]["corners"].size());
  // One lap a group: a corner's number stands alone, with no interval, and
  // the difference is given without one, never claimed (the platform's take
  // their intervals from each lap's blocks).
  const Json one = report({dir / "a1.raf", "--vs", dir / "b1.raf"});
  EXPECT_TRUE(one["tracks"][0]["corners"][0]["groups"][0]["time_s_ci"].is_null());
  EXPECT_EQ(one["tracks"][0]["corners"][0]["groups"][0]["time_s_laps"], 1);
  std::size_t alone = 0;
  for (const Json& d : one["differences"]) {
    const std::string where = d["where"];
    if (d["curve"].is_null() && where.front() == 'T') {
      ++alone;
      EXPECT_EQ(d["verdict"], "one lap each: no interval") << d["where"] << " " << d["quantity"];
      EXPECT_TRUE(d["ci"].is_null());
    }
  }
  EXPECT_GT(alone, 0u);
}

// The page read against itself, on two laps a side of which one brakes
// 120 m late at one corner (laps that disagree): the page's data holds the
// JSON's findings, claims and quantities as they are; every compared number
// and corner table column is in the quantity table; no interval passes what its quantity can differ by (the
// track's length, the longest lap, the table's range); an unclaimed interval
// holds zero and a claimed one leaves it out; a finding's interval runs the
// way its words do; and the session's corner cells against the first group
// are the findings' own numbers.
TEST_F(LapsTest, ThePageReadsTheSameAgainstItself) {
  generator::LapOptions late;
  late.wholeLap = true;
  late.seed = 12;
  late.lateBrakeCorner = 2;
  late.lateBrakeMetres = 120.0;
  const std::string lateLap = write("a2.raf", generator::generateLap(generator::exampleCar(), late));
  const std::string html = dir / "page.html";
  const Json r = report({"-o", html, lap("a1.raf", 11), lateLap, "--vs", lap("b1.raf", 13), lap("b2.raf", 14)});
  // The page's data holds the JSON's members as the JSON writes them, and
  // names its corner tables' columns by the table's keys.
  const std::string page = test::readFile(html);
  const std::string dataTag = "id=\"report-data\">";
  const std::size_t from = page.find(dataTag) + dataTag.size();
  const Json data = Json::parse(page.substr(from, page.find("</script>", from) - from));
  for (const char* member : {"findings", "claims", "setup_notes", "setup_differences"}) {
    EXPECT_EQ(data[member], r[member]) << member;
  }
  // Its differences and quantities are the JSON's, compacted: null and
  // empty members left out, and a difference's groups, verdict and notes
  // where they are the previous one's; every number exact.
  const auto compacted = [](const Json& shown, const Json& entry, const std::string& what) {
    for (const auto& [member, value] : entry.items()) {
      if (value.is_null() || (value.is_array() && value.empty())) {
        EXPECT_FALSE(shown.contains(member)) << what << " " << member;
      } else {
        EXPECT_EQ(shown[member], value) << what << " " << member;
      }
    }
    EXPECT_LE(shown.size(), entry.size()) << what;
  };
  ASSERT_EQ(data["quantities"].size(), r["quantities"].size());
  for (std::size_t k = 0; k < r["quantities"].size(); ++k) compacted(data["quantities"][k], r["quantities"][k], "quantity");
  ASSERT_EQ(data["differences"].size(), r["differences"].size());
  for (std::size_t k = 0; k < r["differences"].size(); ++k) {
    Json shown = data["differences"][k];
    for (const char* repeated : {"from", "to", "verdict", "notes"}) {
      if (!shown.contains(repeated)) shown[repeated] = k > 0 ? r["differences"][k - 1][repeated] : Json::array();
    }
    if (shown["notes"].empty()) shown.erase("notes");
    compacted(shown, r["differences"][k], "difference " + std::to_string(k));
  }
  std::map<std::string, Json> table;
  for (const Json& q : r["quantities"]) table[q["key"]] = q;
  for (const Json& keys : data["cornerTables"]) {
    for (const Json& k : keys) EXPECT_TRUE(table.count(k)) << k;
  }
  const Json& track = r["tracks"][0];
  double longest = 0.0;
  for (const Json& g : track["groups"]) longest = std::max(longest, g["lap_time_s"].get<double>());
  const auto reach = [&](const Json& q) {
    if (q["bound"] == "track length") return track["length_m"].get<double>();
    if (q["bound"] == "lap time") return longest;
    return q["range"][0].is_null() || q["range"][1].is_null() ? HUGE_VAL
                                                               : q["range"][1].get<double>() - q["range"][0].get<double>();
  };
  std::size_t disagree = 0;
  for (const Json& d : r["differences"]) {
    std::string what = d["where"];
    what.append(" ").append(d["quantity"].get<std::string>());
    ASSERT_TRUE(table.count(d["quantity"])) << what;
    disagree += d["verdict"] == "laps disagree";
    if (d["ci"].is_null()) continue;
    const double low = d["ci"][0], high = d["ci"][1];
    if (d["curve"].is_null()) {
      EXPECT_LE(std::max(std::fabs(low), std::fabs(high)), reach(table[d["quantity"]])) << what;
    }
    const bool claimed = d["verdict"] == "higher" || d["verdict"] == "lower";
    if (d["verdict"] != "not comparable") {
      EXPECT_EQ(claimed, low > 0.0 || high < 0.0) << what << " " << d["verdict"];
    }
  }
  EXPECT_GT(disagree, 0u);
  // "T3: b1 gains 0.12 s (0.02 to 0.22 s)": the number within its interval.
  const auto number = [](const std::string& t) {
    const std::string minus = "\u2212";
    return t.rfind(minus, 0) == 0 ? -std::stod(t.substr(minus.size())) : std::stod(t);
  };
  std::map<std::string, double> found;
  std::size_t read = 0;
  for (const Json& c : r["findings"][0]["corners"]) {
    found[c["corner"]] = c["time_lost_s"];
    const std::string sentence = c["sentence"];
    const std::string time = sentence.substr(0, sentence.find("; "));
    const std::size_t said = std::min(time.find(" gains "), time.find(" loses "));
    const std::size_t open = time.find('('), to = time.find(" to ", open);
    if (said == std::string::npos || open == std::string::npos || to == std::string::npos) continue;
    ++read;
    const double x = std::stod(time.substr(said + 7)), a = number(time.substr(open + 1, to - open - 1));
    const double b = std::stod(time.substr(to + 4));
    EXPECT_LE(a, x + 0.005) << sentence;
    EXPECT_GE(b, x - 0.005) << sentence;
  }
  EXPECT_GT(read, 5u);
  const std::string fastest = r["session"]["fastest"];
  const std::string first = r["groups"][0]["label"];
  for (const Json& cell : r["session"]["corners"]) {
    if (cell["label"] == fastest || (fastest != first && cell["label"] != first)) continue;
    const double sign = fastest == first ? 1.0 : -1.0;
    EXPECT_DOUBLE_EQ(sign * cell["delta_s"].get<double>(), found.at(cell["corner"])) << cell["corner"];
  }
}

// The bytes of a whole lap with its header's split record replaced.
std::vector<std::byte> withSplits(std::vector<std::byte> bytes, std::uint8_t count, std::vector<std::int32_t> splits) {
  bytes[raf::splitCountOffset] = std::byte{count};
  splits.resize(raf::maxSplits, 0);
  std::memcpy(bytes.data() + raf::splitsOffset, splits.data(), raf::maxSplits * sizeof(std::int32_t));
  return bytes;
}

TEST_F(LapsTest, DamagedHeadersMakeNoLapOrAPartialOne) {
  const std::string good = lap("good.raf", 6);
  const std::vector<std::byte> bytes = bytesOf(good);
  // Five splits, a negative one, a zero one, splits that go back: no lap.
  const std::string bad[] = {write("five.raf", withSplits(bytes, 5, {1000, 2000, 3000, 4000})),
                             write("negative.raf", withSplits(bytes, 3, {-5, 20000, 70000})),
                             write("zero.raf", withSplits(bytes, 3, {0, 20000, 70000})),
                             write("back.raf", withSplits(bytes, 3, {30000, 20000, 70000}))};
  for (const std::string& b : bad) {
    const Json s = report({good, b});
    EXPECT_EQ(s["tracks"][0]["laps"].size(), 1u) << b;
    EXPECT_NE(messages.str().find(b + " records no split times, so no lap"), std::string::npos) << b;
  }
  // A lap time its samples do not meet: partial, no lap time, no delta at the line.
  const Json s = report({good, write("long.raf", withSplits(bytes, 3, {20000, 40000, 99000}))});
  const Json& partial = s["tracks"][0]["laps"][1];
  EXPECT_FALSE(partial["complete"].get<bool>());
  EXPECT_TRUE(partial["lap_time_s"].is_null());
  EXPECT_TRUE(partial["delta_at_line_s"].is_null());
  // A partial copy: followed as far as it goes; corners it never reached are null.
  std::vector<std::byte> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(headerBytes + blockBytes * 3000));
  const Json c = report({good, write("cut.raf", cut)});
  const Json& copy = c["tracks"][0]["laps"][1];
  EXPECT_FALSE(copy["complete"].get<bool>());
  EXPECT_LT(copy["reach_m"].get<double>(), 0.6 * c["tracks"][0]["length_m"].get<double>());
  EXPECT_TRUE(copy["delta_at_splits_s"][1].is_null());
  EXPECT_TRUE(c["tracks"][0]["corners"].back()["laps"][1]["time_s"].is_null());
  // Positions that jump half way: the lap is followed up to the jump.
  std::vector<std::byte> jumped = bytes;
  const std::size_t blocks = (bytes.size() - headerBytes) / blockBytes;
  for (std::size_t i = blocks / 2; i < blocks; ++i) {
    const std::size_t at = headerBytes + blockBytes * i + raf::blockPosition;
    const std::int32_t far = 30000 << 16;
    std::memcpy(jumped.data() + at, &far, sizeof far);
  }
  const Json j = report({good, write("jumped.raf", jumped)});
  const double reach = j["tracks"][0]["laps"][1]["reach_m"];
  EXPECT_GT(reach, 0.3 * j["tracks"][0]["length_m"].get<double>());
  EXPECT_LT(reach, 0.7 * j["tracks"][0]["length_m"].get<double>());
  EXPECT_FALSE(j["tracks"][0]["laps"][1]["complete"].get<bool>());
  EXPECT_TRUE(j["tracks"][0]["laps"][1]["delta_at_line_s"].is_null());
  // A replay without split times: no track at all, the rest of the report as before.
  const Json none = report({write("none.raf", withSplits(bytes, 0, {}))});
  EXPECT_TRUE(none["tracks"].empty());
  EXPECT_EQ(none["wheels"].size(), 4u);
}

}  // namespace
}  // namespace skidlog
