#include "report/analysis/report_data.h"

#include "report/fit/random.h"

namespace skidlog {

void analyseWheels(ReportData& report) {
  std::vector<TyreSource> sources;
  for (const WheelPoints& p : report.points) sources.push_back({&p});
  std::vector<TyreAnalysis> wheels = analyseTyres(sources, report.blocks, reportSeed);
  for (std::size_t w = 0; w < report.wheels.size(); ++w) report.wheels[w] = std::move(wheels[w]);
}

}  // namespace skidlog
