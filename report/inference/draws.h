// Random draws from the normal, gamma and Student's t distributions, from
// the report's own random sequence and the platform-free log and cos: a
// seed gives the same draws on every platform.
#ifndef SKIDLOG_REPORT_INFERENCE_DRAWS_H_
#define SKIDLOG_REPORT_INFERENCE_DRAWS_H_

#include "report/fit/random.h"

namespace skidlog {

// A standard normal draw (Box and Muller; one of each pair, so that each
// draw takes two uniforms and no state is kept between calls).
double normalDraw(Random& random);

// A draw from the gamma distribution of shape `shape` > 0 and scale 1
// (Marsaglia and Tsang's rejection; below shape 1 by their boost).
double gammaDraw(Random& random, double shape);

// A draw from Student's t with `df` > 0 degrees of freedom: a normal over
// the square root of a chi-square over its degrees of freedom.
double studentDraw(Random& random, double df);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_INFERENCE_DRAWS_H_
