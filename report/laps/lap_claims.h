// Which lap and corner differences of a comparison are claimed. One
// comparison holds hundreds (every corner's time, speeds, places, pedals,
// line and balance); each tested at its own 5 % would claim a score where
// nothing differs. They are one family: a difference is claimed when it
// survives a false discovery rate of 5 % over it (Benjamini and Hochberg),
// and every difference's interval is the false-coverage interval that agrees
// (Benjamini and Yekutieli: for R claims of m, level 1 - max(R, 1) q / m),
// so a claimed interval leaves zero out and an unclaimed one holds it.
//
// The lap time is the comparison's first question, not one of its hundreds:
// the family is weighted (Genovese, Roeder and Wasserman), the lap time
// carrying a tenth of its weight and the corner numbers the rest, so a lap
// time does not need the evidence a single corner's brake point needs when
// nothing else differs, and the false discovery rate still holds.
#ifndef SKIDLOG_REPORT_LAPS_LAP_CLAIMS_H_
#define SKIDLOG_REPORT_LAPS_LAP_CLAIMS_H_

#include <cstddef>
#include <vector>

#include "report/analysis/compare/differences.h"

namespace skidlog {

// The false discovery rate a comparison's claims are held to.
inline constexpr double falseDiscoveryRate = 0.05;

// One comparison's family of differences and what it claims.
struct Claims {
  std::size_t from = 0;
  std::size_t to = 0;
  std::size_t tested = 0;   // m: differences with an interval, comparable and above their resolution
  std::size_t claimed = 0;  // R
  double fdr = falseDiscoveryRate;
};

// The lap time's share of its family's weight.
inline constexpr double lapTimeShare = 0.1;

// The number of p-values, of `p`, that Benjamini and Hochberg's procedure
// at rate `q` rejects: the largest k with the k-th smallest below k q / m.
std::size_t benjaminiHochberg(std::vector<double> p, double q);

// The same with weights averaging 1, one a p-value: the k-th smallest of
// p / weight against k q / m.
std::size_t benjaminiHochberg(std::vector<double> p, const std::vector<double>& weights, double q);

// Decides one family's claims (`from` and `to` name its comparison) and
// gives each member its interval at the level the family allows.
Claims claimFamily(const std::vector<Difference*>& family, std::size_t from, std::size_t to);

// Decides the claims of each comparison among `differences` (lap and corner
// differences over laps) and gives every one of them its interval at the
// level its family allows. A difference not comparable, without an interval,
// or smaller than its resolution is not in its family and claims nothing.
std::vector<Claims> claimAcrossComparisons(std::vector<Difference>& differences);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_LAP_CLAIMS_H_
