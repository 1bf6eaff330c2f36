#include "SimAxis.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {
constexpr double kHuge = 1e12; // acceleration of a zero ramp time

double rate(double speed, double seconds) {
    return seconds > 0 ? speed / seconds : kHuge;
}
} // namespace

HomeReference homeReference(int mode) {
    switch (mode) {
    case 0:
    case 1:
    case 2:
        return HomeReference::Origin;
    case 3:
    case 4:
    case 5:
        return HomeReference::OriginIndex;
    case 10:
    case 11:
        return HomeReference::Limit;
    case 12:
        return HomeReference::OriginInRange;
    default:
        return HomeReference::Invalid;
    }
}

void SimAxis::setup(const AxisMechanics& mech, double powerOnPos) {
    m_mech = mech;
    m_pos = powerOnPos;
    // The card's counters start at 0 wherever the axis stands at power-up.
    m_cmdOffset = -m_pos * m_mech.pulsesPerUnit;
    m_encOffset = m_cmdOffset;
    publish();
}

void SimAxis::setEquiv(double equiv) {
    if (equiv > 0) m_equiv = equiv;
    publish();
}

void SimAxis::setProfile(double minVel, double maxVel, double tAcc, double tDec, double stopVel) {
    (void)stopVel;
    m_minVel = minVel;
    m_maxVel = maxVel;
    m_tAcc = tAcc;
    m_tDec = tDec;
}

void SimAxis::setHomeProfile(double lowVel, double highVel, double tAcc, double tDec) {
    m_homeLow = lowVel;
    m_homeHigh = highVel;
    m_homeTAcc = tAcc;
    m_homeTDec = tDec;
}

bool SimAxis::enabled() const {
    switch (m_mech.enable) {
    case EnablePolarity::PinLow:
        return m_pin == 0;
    case EnablePolarity::PinHigh:
        return m_pin != 0;
    case EnablePolarity::None:
        break;
    }
    return true;
}

bool SimAxis::limitPos() const {
    return m_forcedPos || (m_mech.hasLimits && m_pos >= m_mech.maxTravel);
}
bool SimAxis::limitNeg() const {
    return m_forcedNeg || (m_mech.hasLimits && m_pos <= m_mech.minTravel);
}

double SimAxis::nearestOrigin(double pos) const {
    return m_mech.period > 0 ? std::round(pos / m_mech.period) * m_mech.period : 0.0;
}

bool SimAxis::inOrigin() const {
    if (m_homingFault == HomingFault::Fails) return false;
    return std::fabs(m_pos - nearestOrigin(m_pos)) <= m_mech.originHalfWidth;
}

bool SimAxis::foundReference(double from, double to) const {
    if (m_homingFault == HomingFault::Searches) return false;
    if (m_homeRef == HomeReference::Limit) return false; // found at the limit below
    return crossedOrigin(from, to) || inOrigin();
}

bool SimAxis::crossedOrigin(double from, double to) const {
    if (m_homingFault == HomingFault::Fails) return false;
    if (m_mech.period > 0) return std::floor(from / m_mech.period) != std::floor(to / m_mech.period);
    return (from <= 0 && to >= 0) || (from >= 0 && to <= 0);
}

short SimAxis::pmove(double dist, bool absolute) {
    if (m_alarm) return AxisErrAlarm;
    if (!enabled()) return AxisErrDisabled;
    if (m_mode != Mode::Idle && m_mode != Mode::Position) return AxisErrBusy;
    if (!(m_maxVel > 0)) return AxisErrParam;
    double targetUnits;
    if (absolute)
        targetUnits = dist;
    else if (m_mode == Mode::Position)
        targetUnits = ((m_target * m_mech.pulsesPerUnit + m_cmdOffset) / m_equiv) + dist;
    else
        targetUnits = commandPulses() / m_equiv + dist;
    const double target = (targetUnits * m_equiv - m_cmdOffset) / m_mech.pulsesPerUnit;
    if ((target > m_pos && limitPos()) || (target < m_pos && limitNeg())) return AxisErrLimit;
    const double r = unitsToMech();
    m_target = target;
    m_runMax = m_maxVel * r;
    m_runAcc = rate(m_runMax, m_tAcc);
    m_runDec = rate(m_runMax, m_tDec);
    m_stopReason = StopNone;
    if (m_mode == Mode::Idle && target == m_pos) {
        publish();
        return AxisOk;
    }
    m_mode = Mode::Position;
    publish();
    return AxisOk;
}

short SimAxis::vmove(int dir) {
    if (m_alarm) return AxisErrAlarm;
    if (!enabled()) return AxisErrDisabled;
    if (m_mode != Mode::Idle && !(m_mode == Mode::Velocity && dir == m_vdir)) return AxisErrBusy;
    if (!(m_maxVel > 0)) return AxisErrParam;
    if ((dir > 0 && limitPos()) || (dir < 0 && limitNeg())) return AxisErrLimit;
    const double r = unitsToMech();
    m_vdir = dir > 0 ? 1 : -1;
    m_runMax = m_maxVel * r;
    m_runAcc = rate(m_runMax, m_tAcc);
    m_runDec = rate(m_runMax, m_tDec);
    m_stopReason = StopNone;
    m_mode = Mode::Velocity;
    publish();
    return AxisOk;
}

short SimAxis::homeMove() {
    if (m_alarm) return AxisErrAlarm;
    if (!enabled()) return AxisErrDisabled;
    if (m_mode != Mode::Idle) return AxisErrBusy;
    if (!(m_homeHigh > 0) || !(m_homeLow > 0)) return AxisErrParam;
    m_homeRef = homeReference(m_homeMode);
    if (m_homeRef == HomeReference::Invalid) return AxisErrParam;
    const double r = unitsToMech();
    m_searchDir = m_homeDir;
    m_searchReversed = false;
    m_homingElapsedUs = 0;
    m_searched = 0;
    m_homeResult = 0;
    m_stopReason = StopNone;
    m_runMax = m_homeHigh * r;
    m_runAcc = rate(m_runMax, m_homeTAcc);
    m_runDec = rate(m_runMax, m_homeTDec);
    m_mode = Mode::Homing;
    if (m_homeRef == HomeReference::Limit) {
        m_homePhase = HomePhase::Search;
    } else if (inOrigin() && m_homingFault != HomingFault::Searches) {
        m_homePhase = HomePhase::Approach;
        m_target = nearestOrigin(m_pos);
    } else {
        m_homePhase = HomePhase::Search;
    }
    publish();
    return AxisOk;
}

void SimAxis::halt(long reason) {
    if (m_mode == Mode::Homing) m_homeResult = 0;
    m_mode = Mode::Idle;
    m_vel = 0;
    m_stopReason = reason;
    publish();
}

void SimAxis::stop(bool immediate, long reason) {
    if (m_mode == Mode::Idle) return;
    if (m_mode == Mode::Homing) {
        // A stop ends a homing without a result, at once.
        halt(reason);
        return;
    }
    const double top = std::max(m_runMax, std::fabs(m_vel));
    if (immediate || !(m_decStopTime > 0) || m_vel == 0) {
        halt(reason);
        return;
    }
    m_stopDec = top / m_decStopTime;
    m_stopReason = reason;
    m_mode = Mode::Stopping;
    publish();
}

void SimAxis::writePin(int level) {
    m_pin = level ? 1 : 0;
    if (!enabled() && m_mode != Mode::Idle) halt(StopDisabled);
    publish();
}

void SimAxis::setCommandUnits(double pos) {
    m_cmdOffset = pos * m_equiv - m_pos * m_mech.pulsesPerUnit;
    publish();
}

void SimAxis::setEncoderPulses(double pulses) {
    m_encOffset = pulses - m_pos * m_mech.pulsesPerUnit;
    publish();
}

void SimAxis::setAlarm(bool on) {
    m_alarm = on;
    if (on) m_homeResult = 0; // the drive lost its reference; home again
    if (on && m_mode != Mode::Idle) halt(StopAlarm);
    publish();
}

void SimAxis::forceLimit(int dir, bool on) {
    (dir > 0 ? m_forcedPos : m_forcedNeg) = on;
    if (on && m_mode != Mode::Idle) {
        const int moving = m_vel > 0 ? 1 : m_vel < 0 ? -1 : 0;
        if (moving == (dir > 0 ? 1 : -1)) {
            if (m_mode == Mode::Homing) {
                // Let the homing decide (return from the limit or fail).
                publish();
                return;
            }
            halt(dir > 0 ? StopLimitPos : StopLimitNeg);
        }
    }
    publish();
}

bool SimAxis::stepPosition(double dt, double target, double vmax, double acc, double dec) {
    const double rem = target - m_pos;
    const int dir = rem > 0 ? 1 : -1;
    const double s = m_vel * dir; // speed towards the target
    if (s < 0) {
        // Still running away from the target: brake first.
        const double sNew = std::min(0.0, s + dec * dt);
        m_pos += dir * (s + sNew) * 0.5 * dt;
        m_vel = dir * sNew;
        return false;
    }
    const double dist = std::fabs(rem);
    double sNew = s <= vmax ? std::min(vmax, s + acc * dt) : std::max(vmax, s - dec * dt);
    // Braking curve towards the target; the root only near the end.
    const double brake2 = 2.0 * dec * dist;
    if (sNew * sNew > brake2) sNew = std::sqrt(brake2);
    const double adv = (s + sNew) * 0.5 * dt;
    if (adv >= dist || dist < 1e-9) {
        m_pos = target;
        m_vel = 0;
        return true;
    }
    m_pos += dir * adv;
    m_vel = dir * sNew;
    return false;
}

void SimAxis::stepHoming(int64_t dtUs) {
    const double dt = dtUs * 1e-6;
    m_homingElapsedUs += dtUs;
    switch (m_homePhase) {
    case HomePhase::Search: {
        const double from = m_pos;
        const double s = m_vel * m_searchDir;
        const double sNew = s < 0 ? std::min(0.0, s + m_runDec * dt) : std::min(m_runMax, s + m_runAcc * dt);
        m_pos += m_searchDir * (s + sNew) * 0.5 * dt;
        m_vel = m_searchDir * sNew;
        m_searched += std::fabs(m_pos - from);
        if (foundReference(from, m_pos)) {
            m_homePhase = HomePhase::Approach;
            m_target = nearestOrigin(m_pos);
            return;
        }
        const bool endless = m_homingFault == HomingFault::Searches;
        if (m_homeRef == HomeReference::OriginInRange && !endless &&
            m_searched >= m_homeRange * unitsToMech()) {
            halt(StopHomeFailed);
            return;
        }
        // Without limit switches the card gives up after two turns.
        if (!endless && !m_mech.hasLimits && m_searched > 2 * (m_mech.period > 0 ? m_mech.period : 1000.0)) {
            halt(StopHomeFailed);
            return;
        }
        const bool hitLimit = m_searchDir > 0 ? limitPos() : limitNeg();
        if (hitLimit && m_vel * m_searchDir > 0) {
            if (m_mech.hasLimits) m_pos = std::min(std::max(m_pos, m_mech.minTravel), m_mech.maxTravel);
            if (m_homeRef == HomeReference::Limit && !endless) {
                m_vel = 0;
                m_homePhase = HomePhase::Settle;
            } else if (endless || (m_homeElReturn && !m_searchReversed)) {
                m_searchReversed = true;
                m_searchDir = -m_searchDir;
                m_vel = 0;
            } else {
                halt(m_searchDir > 0 ? StopLimitPos : StopLimitNeg);
            }
        }
        return;
    }
    case HomePhase::Approach:
        if (stepPosition(dt, m_target, m_homeLow * unitsToMech(), m_runAcc, m_runDec)) {
            if (m_homeRef == HomeReference::OriginIndex && !m_mech.hasLimits) {
                halt(StopHomeFailed); // no index pulse on this motor
                return;
            }
            if (m_homePosEnable == 2 && m_homePos != 0) {
                m_homePhase = HomePhase::Offset;
                m_target = m_pos + m_homePos * unitsToMech();
            } else {
                m_homePhase = HomePhase::Settle;
            }
        }
        return;
    case HomePhase::Offset:
        if (stepPosition(dt, m_target, m_runMax, m_runAcc, m_runDec)) m_homePhase = HomePhase::Settle;
        if ((m_vel > 0 && limitPos()) || (m_vel < 0 && limitNeg()))
            halt(m_vel > 0 ? StopLimitPos : StopLimitNeg);
        return;
    case HomePhase::Settle:
        if (m_homingElapsedUs < m_homingMinUs) return;
        if (m_homingFault == HomingFault::Hangs) {
            m_mode = Mode::Idle;
            m_homeResult = 0;
            return;
        }
        finishHoming();
        return;
    }
}

void SimAxis::finishHoming() {
    // The command counter counts from here; the encoder keeps counting as it was,
    // as on the machine, until the program sets it.
    const double at = m_homePosEnable == 1 ? m_homePos * m_equiv : 0.0;
    m_cmdOffset = at - m_pos * m_mech.pulsesPerUnit;
    m_homeResult = 1;
    m_mode = Mode::Idle;
    m_vel = 0;
}

void SimAxis::step(int64_t dtUs) {
    const double from = m_pos;
    stepMotion(dtUs);
    m_lastMove = m_pos - from;
}

void SimAxis::stepMotion(int64_t dtUs) {
    if (m_mode == Mode::Idle) return;
    if (m_alarm) {
        halt(StopAlarm);
        return;
    }
    if (!enabled()) {
        halt(StopDisabled);
        return;
    }
    const double dt = dtUs * 1e-6;
    switch (m_mode) {
    case Mode::Idle:
        break;
    case Mode::Position:
        if (stepPosition(dt, m_target, m_runMax, m_runAcc, m_runDec)) m_mode = Mode::Idle;
        break;
    case Mode::Velocity: {
        const double s = m_vel * m_vdir;
        const double sNew = std::min(m_runMax, s + m_runAcc * dt);
        m_pos += m_vdir * (s + sNew) * 0.5 * dt;
        m_vel = m_vdir * sNew;
        break;
    }
    case Mode::Stopping: {
        const double s = std::fabs(m_vel);
        const double sNew = std::max(0.0, s - m_stopDec * dt);
        m_pos += (m_vel > 0 ? 1 : -1) * (s + sNew) * 0.5 * dt;
        m_vel = m_vel > 0 ? sNew : -sNew;
        if (sNew <= 0) {
            m_vel = 0;
            m_mode = Mode::Idle;
        }
        break;
    }
    case Mode::Homing:
        stepHoming(dtUs);
        publish();
        return;
    }
    // Running into a limit switch stops the axis at once.
    if (m_vel > 0 && limitPos()) {
        if (m_mech.hasLimits) m_pos = std::min(m_pos, m_mech.maxTravel);
        halt(StopLimitPos);
        return;
    }
    if (m_vel < 0 && limitNeg()) {
        if (m_mech.hasLimits) m_pos = std::max(m_pos, m_mech.minTravel);
        halt(StopLimitNeg);
        return;
    }
    publish();
}

AxisSnapshot SimAxis::snapshot() const {
    AxisSnapshot s;
    s.mech = m_pos;
    s.command = commandPulses() / m_equiv;
    s.encoder = encoderPulses() / m_equiv;
    s.velocity = m_vel;
    s.equiv = m_equiv;
    s.moving = m_mode != Mode::Idle;
    s.homing = m_mode == Mode::Homing;
    s.enabled = enabled();
    s.pin = m_pin;
    s.status = status();
    s.homeResult = m_homeResult;
    s.stopReason = m_stopReason;
    s.homeMode = m_homeMode;
    s.homeDir = m_homeDir;
    s.homeRange = m_homeRange;
    return s;
}

void SimAxis::publish() {
    uint32_t st = 0;
    if (m_alarm) st |= StatusAlarm;
    if (limitPos()) st |= StatusLimitPos;
    if (limitNeg()) st |= StatusLimitNeg;
    if (inOrigin()) st |= StatusOrigin;
    m_pubStatus.store(st, std::memory_order_relaxed);
    m_pubCommand.store(commandPulses() / m_equiv, std::memory_order_relaxed);
    m_pubEncoder.store(encoderPulses() / m_equiv, std::memory_order_relaxed);
    m_pubDone.store(m_mode == Mode::Idle, std::memory_order_relaxed);
    m_pubHomeResult.store(m_homeResult, std::memory_order_relaxed);
}

} // namespace sim
