#include "kzmc.h"

#include "Clock.h"

#include <cmath>

volatile double autospeedk = 1.0;
volatile double jogspeedk = 1.0;

namespace {
// Ramp time of every move, seconds.
constexpr double kRampTime = 0.1;
// get_poscmp: how close command and encoder must be to the target.
constexpr double kInPosition = 0.01;
// Homing start speed of the card's velocity mode 1 (trapezoidal).
constexpr double kHomeVelMode = 1.0;
constexpr WORD kRangedHomeMode = 12;

bool near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}
} // namespace

short spmove(WORD card, WORD axis, double target, double speed, WORD mode) {
    dmc_set_profile_unit(card, axis, 0.0, speed * autospeedk, kRampTime, kRampTime, 0.0);
    return dmc_pmove_unit(card, axis, target, mode == 1 ? 1 : 0);
}

short get_poscmp(WORD card, WORD axis, double target) {
    return get_poscmp2(card, axis, target, kInPosition);
}

short get_poscmp2(WORD card, WORD axis, double target, double tolerance) {
    if (dmc_check_done(card, axis) != 1) return 0;
    double command = 0, encoder = 0;
    dmc_get_position_unit(card, axis, &command);
    dmc_get_encoder_unit(card, axis, &encoder);
    return near(command, target, tolerance) && near(encoder, target, tolerance) ? 1 : 0;
}

short isidle(WORD card, WORD axis) {
    return dmc_check_done(card, axis) == 1 ? 1 : 0;
}

short waitidle(WORD card, WORD axis) {
    while (dmc_check_done(card, axis) == 0) clk::sleepUs(1000);
    return 1;
}

// The further value is the search range in mode 12 (the homing fails after that much
// travel without its switch); in the other modes it is the distance from the switch to
// the axis zero: the axis moves on by it after finding the switch and counts 0 there.
short axis_home(WORD card, WORD axis, WORD homeMode, double slowSpeed, double fastSpeed, WORD dir,
                double offset) {
    const bool range = homeMode == kRangedHomeMode;
    dmc_set_homemode(card, axis, dir ? 1 : 0, kHomeVelMode, homeMode, 0);
    dmc_set_home_profile_unit(card, axis, slowSpeed, fastSpeed, kRampTime, kRampTime);
    dmc_set_home_range_unit(card, axis, range ? offset : 0.0);
    dmc_set_home_position_unit(card, axis, !range && offset != 0.0 ? 2 : 0, range ? 0.0 : offset);
    return dmc_home_move(card, axis);
}

short ishomedone(WORD card, WORD axis) {
    WORD state = 0;
    dmc_get_home_result(card, axis, &state);
    return state == 1 ? 1 : 0;
}

short axis_jog(WORD card, WORD axis, double speed, WORD dir) {
    dmc_set_profile_unit(card, axis, 0.0, speed * jogspeedk, kRampTime, kRampTime, 0.0);
    return dmc_vmove(card, axis, dir ? 1 : 0);
}

// level 1 switches the enable output on, which the card drives at level 0.
short axis_enable(WORD card, WORD axis, WORD level) {
    return dmc_write_sevon_pin(card, axis, level ? 0 : 1);
}
