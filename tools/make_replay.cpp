// make_replay: writes a replay analyser file of a generated car lapping a
// generated circuit, whose tyres follow known curves (Magic Formula, or brush
// curves the report does not fit exactly). For the example lap, tests,
// benchmarks and fuzzing seeds.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "tools/generator/car.h"
#include "tools/generator/synth.h"

namespace {

using namespace skidlog::generator;

constexpr const char* usage =
    "usage: make_replay [OPTION]... OUTPUT.raf [SECONDS [SEED]]\n"
    "Writes a replay of SECONDS (default 60) of a generated car lapping a\n"
    "generated circuit; SEED (default 1) varies the driver's laps and the noise.\n"
    "\n"
    "  --turns=both|left|right  the circuit's corners (default both)\n"
    "  --front-grip=F           scale the front tyres' peak grip by F\n"
    "  --rear-grip=F            scale the rear tyres' peak grip by F\n"
    "  --swap-tyres             fit the rear tyres at the front and the fronts at the rear\n"
    "  --brush                  brush-model tyres of the same peak grip and stiffness\n"
    "  --grip-variation=F       the lap's grip varies with the seed, standard deviation F\n"
    "  --lap                    one whole lap from the line with its split times (SECONDS unused)\n"
    "  --slow-corner=K          take corner K (from 0) at nine tenths of the speed\n"
    "  --late-brake=K,M         brake M metres later into corner K and, in too fast, take\n"
    "                           the rest of it at 95 % of the speed\n"
    "  --wide=K,M               run M metres wider at corner K's apex\n"
    "  --consistency=S          the driver's lap times spread S seconds over laps (seeds):\n"
    "                           each corner a margin under the limit, its own and the lap's\n"
    "  --pace=F                 the driver's speeds F of the plan's (0.5 to 1.2, default 1)\n"
    "  --noise=F                scale the sensor noise (0: the exact curves)\n"
    "  --tyre-type=N            the tyre type the setup records (0-3 R1-R4, 4 road super,\n"
    "                           5 road normal, the default, 6 hybrid, 7 knobbly)\n"
    "  --final-drive=F          the final drive (default 4; the engine speed follows it)\n"
    "  --front-roll-share=F     the front axle's share of the lateral load transfer (default 0.55);\n"
    "                           the recorded anti-roll bars follow it\n"
    "  --roll-gradient=D        the body's roll, degrees per g (default 1.5)\n"
    "  --travel=M               the suspension's travel, m (default 0.10); the wheels stop at its end\n"
    "  --stiffness-peak-load=N  the load, N, at which the tyres' cornering stiffness is largest: it\n"
    "                           rises with load and flattens out there, so the car understeers more\n"
    "                           as the front share grows (default 0: in proportion to the peak grip)\n"
    "  --interval=MS            sample interval, 10 (default) or 100 ms\n"
    "  --player=TEXT, --car=TEXT, --track=TEXT   the header's names\n"
    "  --describe               print the car's tyres and balance, write nothing\n"
    "  -h, --help               show this help\n";

struct Options {
  std::string output;
  LapOptions lap;
  double frontGrip = 1.0;
  double rearGrip = 1.0;
  bool swapTyres = false;
  bool brush = false;
  double tyreType = 5.0;
  double finalDrive = 4.0;
  double frontRollShare = 0.55;
  double rollGradient = 1.5;
  double travel = 0.10;
  double stiffnessPeakLoad = 0.0;
  double intervalMs = 10.0;
  bool describe = false;
  bool help = false;
};

bool number(std::string_view text, double& out) {
  const std::string s(text);
  char* end = nullptr;
  errno = 0;
  out = std::strtod(s.c_str(), &end);
  return !s.empty() && end == s.c_str() + s.size() && errno == 0;
}

// "K,M": a corner number from 0 and metres from 0 to 100.
bool cornerAndMetres(std::string_view text, int& corner, double& metres) {
  const std::size_t comma = text.find(',');
  double k = 0.0;
  if (comma == std::string_view::npos || !number(text.substr(0, comma), k) || !number(text.substr(comma + 1), metres)) {
    return false;
  }
  if (!(k >= 0.0 && k <= 100.0 && k == std::floor(k)) || !(metres >= 0.0 && metres <= 100.0)) return false;
  corner = static_cast<int>(k);
  return true;
}

// Returns an error text, empty when the command line is sound.
std::string parse(int argc, char** argv, Options& o) {
  std::vector<std::string_view> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    const auto value = [&](std::string_view name, std::string_view& out) {
      if (a.substr(0, name.size() + 1) != std::string(name) + "=") return false;
      out = a.substr(name.size() + 1);
      return true;
    };
    std::string_view v;
    const struct {
      const char* name;
      double* into;
      double most;
    } numbers[] = {{"--front-grip", &o.frontGrip, 10.0}, {"--rear-grip", &o.rearGrip, 10.0},
                   {"--noise", &o.lap.noiseScale, 10.0}, {"--interval", &o.intervalMs, 1000.0},
                   {"--grip-variation", &o.lap.gripVariation, 0.2}, {"--tyre-type", &o.tyreType, 255.0},
                   {"--final-drive", &o.finalDrive, 100.0}, {"--front-roll-share", &o.frontRollShare, 1.0},
                   {"--roll-gradient", &o.rollGradient, 20.0}, {"--travel", &o.travel, 1.0},
                   {"--stiffness-peak-load", &o.stiffnessPeakLoad, 100000.0},
                   {"--consistency", &o.lap.consistency, 10.0}, {"--pace", &o.lap.pace, 1.2}};
    bool taken = false;
    for (const auto& n : numbers) {
      if (!value(n.name, v)) continue;
      if (!number(v, *n.into) || !(*n.into >= 0.0) || *n.into > n.most) return "bad value in " + std::string(a);
      taken = true;
    }
    if (taken) continue;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--swap-tyres") {
      o.swapTyres = true;
    } else if (a == "--lap") {
      o.lap.wholeLap = true;
    } else if (value("--slow-corner", v)) {
      double corner = 0.0;
      if (!number(v, corner) || corner < 0.0 || corner > 100.0 || corner != std::floor(corner)) {
        return "--slow-corner takes a corner number";
      }
      o.lap.slowCorner = static_cast<int>(corner);
    } else if (value("--late-brake", v) || value("--wide", v)) {
      const bool late = a.starts_with("--late-brake");
      int corner = 0;
      double metres = 0.0;
      if (!cornerAndMetres(v, corner, metres)) return std::string(late ? "--late-brake" : "--wide") + " takes K,M";
      (late ? o.lap.lateBrakeCorner : o.lap.wideCorner) = corner;
      (late ? o.lap.lateBrakeMetres : o.lap.wideMetres) = metres;
    } else if (a == "--brush") {
      o.brush = true;
    } else if (a == "--describe") {
      o.describe = true;
    } else if (value("--turns", v)) {
      if (v == "both") o.lap.turns = Turns::both;
      else if (v == "left") o.lap.turns = Turns::left;
      else if (v == "right") o.lap.turns = Turns::right;
      else return "--turns takes both, left or right";
    } else if (value("--player", v)) {
      o.lap.texts.player = v;
    } else if (value("--car", v)) {
      o.lap.texts.car = v;
    } else if (value("--track", v)) {
      o.lap.texts.track = v;
    } else if (a.size() > 1 && a[0] == '-') {
      return "unknown option " + std::string(a);
    } else {
      positional.push_back(a);
    }
  }
  if (o.intervalMs != 10.0 && o.intervalMs != 100.0) return "--interval takes 10 or 100";
  if (!(o.travel >= 0.01)) return "--travel takes 0.01 to 1 m";
  if (!(o.lap.pace >= 0.5 && o.lap.pace <= 1.2)) return "--pace takes 0.5 to 1.2";
  o.lap.sampleInterval = o.intervalMs / 1000.0;
  if (o.describe || o.help) return {};
  if (positional.empty() || positional.size() > 3) return "give an output file, and optionally seconds and a seed";
  o.output = positional[0];
  if (positional.size() > 1 && (!number(positional[1], o.lap.seconds) || !(o.lap.seconds > 0.0) || o.lap.seconds > 48.0 * 3600.0)) {
    return "seconds must be between 0 and 172800";
  }
  double seed = 1.0;
  if (positional.size() > 2 && (!number(positional[2], seed) || seed < 0.0 || seed > 1e15)) return "bad seed";
  o.lap.seed = static_cast<std::uint64_t>(seed);
  return {};
}

CarSetup carFor(const Options& o) {
  CarSetup car = exampleCar();
  if (o.swapTyres) std::swap(car.front, car.rear);
  if (o.brush) car = withBrushTyres(car);
  car.front = withGrip(car.front, o.frontGrip);
  car.rear = withGrip(car.rear, o.rearGrip);
  car.tyreType = static_cast<int>(o.tyreType);
  car.finalDrive = o.finalDrive;
  car.frontRollShare = o.frontRollShare;
  car.rollGradient = o.rollGradient;
  car.travel = o.travel;
  car.front.stiffnessPeakLoad = car.rear.stiffnessPeakLoad = o.stiffnessPeakLoad;
  return car;
}

void describe(const CarSetup& car) {
  for (const auto& [name, tyre] : {std::pair{"front", car.front}, std::pair{"rear", car.rear}}) {
    std::printf("%s tyres, at %.0f N (peak grip %+.3f per kN of load; camber thrust %.3f, to the right on the left wheel):\n",
                name, tyre.nominalLoad, tyre.loadSensitivityPerKn(), tyre.camberThrust);
    for (const auto& [curveName, curve] : {std::pair{"lateral     ", tyre.lateral}, std::pair{"longitudinal", tyre.longitudinal}}) {
      if (curve.brush()) {
        std::printf("  %s brush  D %.3f  falls %.2f over %.3f", curveName, curve.D, curve.slideFall, curve.slideWidth);
      } else {
        std::printf("  %s B %.4f  C %.3f  D %.3f  E %.3f", curveName, curve.B, curve.C, curve.D, curve.E);
      }
      std::printf("  peak at %.4f, stiffness %.4f per unit of slip\n", curve.peakSlip(), curve.stiffness());
    }
    if (tyre.stiffnessPeakLoad > 0.0) {
      std::printf("  lateral stiffness largest at %.0f N; at half, the nominal and twice the nominal load: "
                  "%.4f, %.4f, %.4f per degree, peak at %.2f, %.2f, %.2f degrees\n",
                  tyre.stiffnessPeakLoad, tyre.corneringStiffness(tyre.nominalLoad / 2.0),
                  tyre.corneringStiffness(tyre.nominalLoad), tyre.corneringStiffness(2.0 * tyre.nominalLoad),
                  tyre.lateralPeakSlip(tyre.nominalLoad / 2.0), tyre.lateralPeakSlip(tyre.nominalLoad),
                  tyre.lateralPeakSlip(2.0 * tyre.nominalLoad));
    }
  }
  const CorneringLimit limit = corneringLimit(car);
  std::printf("static wheel loads: front %.0f N, rear %.0f N\n", car.staticLoad(frontLeft), car.staticLoad(rearLeft));
  std::printf("cornering limit %.3f g, reached first by the %s axle; understeer gradient %+.3f deg/g "
              "(steady state within %.1f g, load transfer included)\n",
              limit.lateralAcceleration / standardGravity, limit.frontFirst ? "front" : "rear", understeerGradient(car),
              gradientRange);
  std::printf("front share of the lateral load transfer %.3f (anti-roll bars %.0f and %.0f N/m); roll %.2f deg/g, "
              "pitch %.2f deg/g; travel %.3f m\n",
              car.frontRollShare, car.antiRollFront(), car.antiRollRear(), car.rollGradient, car.pitchGradient, car.travel);
}

bool save(const std::string& path, const std::vector<std::byte>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (const std::string problem = parse(argc, argv, o); !problem.empty()) {
    std::fprintf(stderr, "make_replay: %s\n%s", problem.c_str(), usage);
    return 1;
  }
  if (o.help) {
    std::fputs(usage, stdout);
    return 0;
  }
  const CarSetup car = carFor(o);
  if (o.describe) {
    describe(car);
    return 0;
  }
  try {
    if (!save(o.output, generateLap(car, o.lap))) {
      std::fprintf(stderr, "make_replay: cannot write %s\n", o.output.c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_replay: %s\n", e.what());
    return 1;
  }
  return 0;
}
