// One replay built here, converted end to end and compared byte for byte.
#include <gtest/gtest.h>

#include <sstream>

#include "skidlog/skidlog.h"
#include "tests/support/replay_builder.h"

namespace skidlog {
namespace {

// Four samples of a car turning gently left at about 20 m/s with some roll:
// axes off the world axes, steered front wheels, one wheel unloaded at the
// last sample.
test::ReplayBuilder turningReplay() {
  test::ReplayBuilder b(4);
  const std::int16_t axes[4][6] = {{32767, 0, 0, 0, 32767, 0},
                                   {32761, 600, -120, -600, 32761, 40},
                                   {32745, 1200, -240, -1200, 32745, 80},
                                   {32717, 1800, -360, -1800, 32717, 120}};
  for (int i = 0; i < 4; ++i) {
    const double t = 0.01 * i;
    b.position(i, 100.0 - 0.6 * i * i * 0.01, 200.0 + 20.0 * t, 5.0 + 0.02 * t);
    const auto& a = axes[i];
    b.axes(i, {a[0], a[1], a[2]}, {a[3], a[4], a[5]});
    b.put<float>(test::ReplayBuilder::block(i) + 0, 0.6f)
        .put<float>(test::ReplayBuilder::block(i) + 8, 0.35f)
        .put<float>(test::ReplayBuilder::block(i) + 24, 20.0f + 0.05f * static_cast<float>(i));
    for (int w = 0; w < 4; ++w) {
      const float side = w % 2 == 0 ? -1.0f : 1.0f;
      const float steer = w < 2 ? 0.035f + 0.002f * side : 0.001f * side;
      const float load = i == 3 && w == 2 ? -400.0f : 2900.0f + 350.0f * side + 25.0f * static_cast<float>(i);
      b.wheelFields(i, w, {0.06f + 0.004f * side, steer, -600.0f + 40.0f * side, 180.0f, load, 68.2f + 0.3f * side,
                           0.011f * side});
    }
  }
  return b;
}

std::string convert(bool sideBySide) {
  StringSink sink;
  std::ostringstream messages;
  ConvertOptions options;
  options.sideBySide = sideBySide;
  options.memoryLimit = std::uint64_t{1} << 30;
  EXPECT_EQ(convertReplay(turningReplay().bytes(), options, sink, messages), ExitCode::success);
  EXPECT_EQ(messages.str(), "");
  return sink.text;
}

TEST(Golden, PerWheelLayout) {
  EXPECT_EQ(convert(false),
      "time [s], speed [m/s], position x [m], position y [m], position z [m], throttle, break"
      ", steer [deg], gear, susp. deflection [m], angular velocity [rad/s], wheel steer [deg]"
      ", camber [deg], longitudinal speed [m/s], lateral speed [m/s], tyre normal load [N]"
      ", tyre longitudinal force [N], tyre lateral force [N], tyre longitudinal grip, tyre lateral grip"
      ", slip ratio, slip angle [deg], wheel number\n"
      "0, 20, 100, 200, 5, 0.6, 0, 20.0535, 1, 0.056, 67.9, 1.89076, 0.630252, 18.6911, -1.92648"
      ", 2704.79, 206.152, -1501.39, 0.0762172, -0.555084, 0.0932737, 6.1089, 0\n"
      "0.01, 20.05, 99.994, 200.2, 5.0002, 0.6, 0, 20.0535, 1, 0.056, 67.9, 1.89076, 0.630252, 18.7379"
      ", -2.17338, 2727.49, 229.902, -1942.16, 0.0842904, -0.712068, 0.0906715, 6.88473, 0\n"
      "0.02, 20.1, 99.976, 200.4, 5.0004, 0.6, 0, 20.0535, 1, 0.056, 67.9, 1.89076, 0.630252, 18.821"
      ", -3.00614, 2748.2, 251.065, -1941.58, 0.091356, -0.706491, 0.0860564, 9.48131, 0\n"
      "0.03, 20.15, 99.946, 200.6, 5.0006, 0.6, 0, 20.0535, 1, 0.056, 67.9, 1.89076, 0.630252, 18.9051"
      ", -3.24896, 2771.03, 248.35, -1500.73, 0.0896238, -0.541578, 0.0813852, 10.2316, 0\n"
      "0, 20, 100, 200, 5, 0.6, 0, 20.0535, 1, 0.064, 68.5, 2.11994, -0.630252, 21.4443, -1.77819"
      ", 3404.62, 209.223, -1450.65, 0.0614529, -0.426084, -0.0425839, 4.84, 1\n"
      "0.01, 20.05, 99.994, 200.2, 5.0002, 0.6, 0, 20.0535, 1, 0.064, 68.5, 2.11994, -0.630252, 21.49"
      ", -1.99514, 3427.16, 236.342, -1911.65, 0.0689617, -0.557795, -0.0447635, 5.42718, 1\n"
      "0.02, 20.1, 99.976, 200.4, 5.0004, 0.6, 0, 20.0535, 1, 0.064, 68.5, 2.11994, -0.630252, 21.5763"
      ", -2.82485, 3447.6, 259.181, -1914.37, 0.0751771, -0.555275, -0.0488702, 7.66123, 1\n"
      "0.03, 20.15, 99.946, 200.6, 5.0006, 0.6, 0, 20.0535, 1, 0.064, 68.5, 2.11994, -0.630252, 21.6607"
      ", -3.04203, 3470.28, 254.636, -1456.64, 0.0733762, -0.419746, -0.0528928, 8.24244, 1\n"
      "0, 20, 100, 200, 5, 0.6, 0, 20.0535, 1, 0.056, 67.9, -0.0572956, 0.630252, 18.6832, 1.83134"
      ", 2704.93, 207.15, -1506.8, 0.0765822, -0.557057, 0.0937123, -5.80933, 2\n"
      "0.01, 20.05, 99.994, 200.2, 5.0002, 0.6, 0, 20.0535, 1, 0.056, 67.9, -0.0572956, 0.630252"
      ", 18.6759, 1.58565, 2727.52, 249.409, -1946.77, 0.0914414, -0.713749, 0.0941165, -5.03426, 2\n"
      "0.02, 20.1, 99.976, 200.4, 5.0004, 0.6, 0, 20.0535, 1, 0.056, 67.9, -0.0572956, 0.630252"
      ", 18.7292, 0.754151, 2748.06, 277.758, -1945.55, 0.101074, -0.707972, 0.0911573, -2.39913, 2\n"
      "0, 20, 100, 200, 5, 0.6, 0, 20.0535, 1, 0.064, 68.5, 0.0572956, -0.630252, 21.3895, 1.84483"
      ", 3404.69, 208.865, -1457.51, 0.0613463, -0.428089, -0.0399747, -5.02048, 3\n"
      "0.01, 20.05, 99.994, 200.2, 5.0002, 0.6, 0, 20.0535, 1, 0.064, 68.5, 0.0572956, -0.630252"
      ", 21.3816, 1.62745, 3427.19, 253.001, -1917.15, 0.0738216, -0.559394, -0.0396017, -4.43143, 3\n"
      "0.02, 20.1, 99.976, 200.4, 5.0004, 0.6, 0, 20.0535, 1, 0.064, 68.5, 0.0572956, -0.630252"
      ", 21.4364, 0.798065, 3447.57, 282.983, -1918.14, 0.0820818, -0.556373, -0.0422118, -2.17636, 3\n"
      "0.03, 20.15, 99.946, 200.6, 5.0006, 0.6, 0, 20.0535, 1, 0.064, 68.5, 0.0572956, -0.630252"
      ", 21.4764, 0.580669, 3470.24, 268.998, -1459.88, 0.0775156, -0.420686, -0.0441124, -1.58387, 3\n");
}

TEST(Golden, SideBySideLayout) {
  EXPECT_EQ(convert(true),
      "time [s], speed [m/s], position x [m], position y [m], position z [m], throttle, break"
      ", steer [deg], gear, FL susp. deflection [m], FL angular velocity [rad/s], FL wheel steer [deg]"
      ", FL camber [deg], FL longitudinal speed [m/s], FL lateral speed [m/s], FL tyre normal load [N]"
      ", FL tyre longitudinal force [N], FL tyre lateral force [N], FL tyre longitudinal grip"
      ", FL tyre lateral grip, FL slip ratio, FL slip angle [deg], FR susp. deflection [m]"
      ", FR angular velocity [rad/s], FR wheel steer [deg], FR camber [deg]"
      ", FR longitudinal speed [m/s], FR lateral speed [m/s], FR tyre normal load [N]"
      ", FR tyre longitudinal force [N], FR tyre lateral force [N], FR tyre longitudinal grip"
      ", FR tyre lateral grip, FR slip ratio, FR slip angle [deg], RL susp. deflection [m]"
      ", RL angular velocity [rad/s], RL wheel steer [deg], RL camber [deg]"
      ", RL longitudinal speed [m/s], RL lateral speed [m/s], RL tyre normal load [N]"
      ", RL tyre longitudinal force [N], RL tyre lateral force [N], RL tyre longitudinal grip"
      ", RL tyre lateral grip, RL slip ratio, RL slip angle [deg], RR susp. deflection [m]"
      ", RR angular velocity [rad/s], RR wheel steer [deg], RR camber [deg]"
      ", RR longitudinal speed [m/s], RR lateral speed [m/s], RR tyre normal load [N]"
      ", RR tyre longitudinal force [N], RR tyre lateral force [N], RR tyre longitudinal grip"
      ", RR tyre lateral grip, RR slip ratio, RR slip angle [deg]\n"
      "0, 20, 100, 200, 5, 0.6, 0, 20.0535, 1, 0.056, 67.9, 1.89076, 0.630252, 18.6911, -1.92648"
      ", 2704.79, 206.152, -1501.39, 0.0762172, -0.555084, 0.0932737, 6.1089, 0.064, 68.5, 2.11994"
      ", -0.630252, 21.4443, -1.77819, 3404.62, 209.223, -1450.65, 0.0614529, -0.426084, -0.0425839"
      ", 4.84, 0.056, 67.9, -0.0572956, 0.630252, 18.6832, 1.83134, 2704.93, 207.15, -1506.8, 0.0765822"
      ", -0.557057, 0.0937123, -5.80933, 0.064, 68.5, 0.0572956, -0.630252, 21.3895, 1.84483, 3404.69"
      ", 208.865, -1457.51, 0.0613463, -0.428089, -0.0399747, -5.02048\n"
      "0.01, 20.05, 99.994, 200.2, 5.0002, 0.6, 0, 20.0535, 1, 0.056, 67.9, 1.89076, 0.630252, 18.7379"
      ", -2.17338, 2727.49, 229.902, -1942.16, 0.0842904, -0.712068, 0.0906715, 6.88473, 0.064, 68.5"
      ", 2.11994, -0.630252, 21.49, -1.99514, 3427.16, 236.342, -1911.65, 0.0689617, -0.557795"
      ", -0.0447635, 5.42718, 0.056, 67.9, -0.0572956, 0.630252, 18.6759, 1.58565, 2727.52, 249.409"
      ", -1946.77, 0.0914414, -0.713749, 0.0941165, -5.03426, 0.064, 68.5, 0.0572956, -0.630252"
      ", 21.3816, 1.62745, 3427.19, 253.001, -1917.15, 0.0738216, -0.559394, -0.0396017, -4.43143\n"
      "0.02, 20.1, 99.976, 200.4, 5.0004, 0.6, 0, 20.0535, 1, 0.056, 67.9, 1.89076, 0.630252, 18.821"
      ", -3.00614, 2748.2, 251.065, -1941.58, 0.091356, -0.706491, 0.0860564, 9.48131, 0.064, 68.5"
      ", 2.11994, -0.630252, 21.5763, -2.82485, 3447.6, 259.181, -1914.37, 0.0751771, -0.555275"
      ", -0.0488702, 7.66123, 0.056, 67.9, -0.0572956, 0.630252, 18.7292, 0.754151, 2748.06, 277.758"
      ", -1945.55, 0.101074, -0.707972, 0.0911573, -2.39913, 0.064, 68.5, 0.0572956, -0.630252, 21.4364"
      ", 0.798065, 3447.57, 282.983, -1918.14, 0.0820818, -0.556373, -0.0422118, -2.17636\n"
      "0.03, 20.15, 99.946, 200.6, 5.0006, 0.6, 0, 20.0535, 1, 0.056, 67.9, 1.89076, 0.630252, 18.9051"
      ", -3.24896, 2771.03, 248.35, -1500.73, 0.0896238, -0.541578, 0.0813852, 10.2316, 0.064, 68.5"
      ", 2.11994, -0.630252, 21.6607, -3.04203, 3470.28, 254.636, -1456.64, 0.0733762, -0.419746"
      ", -0.0528928, 8.24244, 0.056, 67.9, -0.0572956, 0.630252, 18.7683, 0.51133, -254.225, 263.939"
      ", -1521.12, -1.03821, 5.98337, 0.0889806, -1.62717, 0.064, 68.5, 0.0572956, -0.630252, 21.4764"
      ", 0.580669, 3470.24, 268.998, -1459.88, 0.0775156, -0.420686, -0.0441124, -1.58387\n");
}

}  // namespace
}  // namespace skidlog
