#pragma once
// One axis channel of the card with its drive and mechanics. Motion happens in
// mechanical units (mm, degrees); the card's counters are pulses, shown to the
// program in user units through the pulse equivalent it sets (1.0 until set).
// Not locked itself: the plant's lock guards every call except the published
// values (status word, positions, done), which are read lock-free.
#include <atomic>
#include <cstdint>

namespace sim {

enum class EnablePolarity {
    PinLow,  // drive enabled while the servo-on pin is at level 0
    PinHigh, // drive enabled while the pin is at level 1
    None     // no enable wiring: always enabled
};

struct AxisMechanics {
    const char* name;
    double pulsesPerUnit; // drive pulses per mm or degree
    bool hasLimits;
    double minTravel, maxTravel; // limit switches sit here
    double period;               // rotary axes and belts: origin repeats every period; 0 linear
    double originHalfWidth;      // origin switch active within +- this around the origin
    EnablePolarity enable;
    double powerOnMin, powerOnMax; // where the axis may stand at power-up
};

enum class HomingFault {
    None,
    Fails,   // origin switch dead: the search runs to the limits (or two turns) and ends with result 0
    Hangs,   // reaches the origin but never reports a result (stands, result 0)
    Searches // never finds its switch and never gives up: keeps moving until stopped
};

// Homing modes of the card, by the switch they home against. Every axis has an
// origin switch; the linear axes also have limit switches and a motor index pulse
// at the origin, Q and the belts have neither.
//   0, 1, 2  origin switch (1: back off and approach again, 2: twice)
//   3, 4, 5  origin switch, then the index pulse
//   10, 11   the limit switch in the homing direction
//   12       origin switch within a search range (dmc_set_home_range_unit); an
//            axis that has travelled the range without finding it fails
// Any other mode is refused by dmc_home_move.
enum class HomeReference { Origin, OriginIndex, Limit, OriginInRange, Invalid };
HomeReference homeReference(int mode);

// Why the axis last stopped (dmc_get_stop_reason).
enum StopReason : long {
    StopNone = 0,
    StopAlarm = 1,
    StopLimitPos = 2,
    StopLimitNeg = 3,
    StopDecel = 4,
    StopImmediate = 5,
    StopEmergency = 6,
    StopDisabled = 7,
    StopHomeFailed = 8,
};

// Status word bits as the card reports them.
enum AxisStatusBit : uint32_t {
    StatusAlarm = 1u << 0,
    StatusLimitPos = 1u << 1,
    StatusLimitNeg = 1u << 2,
    StatusOrigin = 1u << 4
};

// Error codes of refused commands.
enum AxisError : short {
    AxisOk = 0,
    AxisErrBusy = 2,
    AxisErrAlarm = 3,
    AxisErrDisabled = 4,
    AxisErrLimit = 5,
    AxisErrParam = 6
};

struct AxisSnapshot {
    double mech = 0;     // mechanical position (mm / degrees)
    double command = 0;  // command position in user units
    double encoder = 0;  // encoder position in user units
    double velocity = 0; // mechanical units per second, signed
    double equiv = 1;
    bool moving = false;
    bool homing = false;
    bool enabled = false;
    int pin = 1; // servo-on pin level
    uint32_t status = 0;
    int homeResult = 0;
    long stopReason = StopNone;
    int homeMode = 0;
    int homeDir = -1;     // -1 negative, 1 positive
    double homeRange = 0; // user units
};

class SimAxis {
public:
    SimAxis() = default;
    void setup(const AxisMechanics& mech, double powerOnPos);
    const AxisMechanics& mechanics() const { return m_mech; }

    // Card settings.
    void setEquiv(double equiv);
    double equiv() const { return m_equiv; }
    void setProfile(double minVel, double maxVel, double tAcc, double tDec, double stopVel);
    void setDecStopTime(double seconds) { m_decStopTime = seconds; }
    void setHomeElReturn(bool on) { m_homeElReturn = on; }
    void setHomeMode(int dir, int mode) { m_homeDir = dir ? 1 : -1, m_homeMode = mode; }
    void setHomeRange(double range) { m_homeRange = range; }
    void setHomeProfile(double lowVel, double highVel, double tAcc, double tDec);
    // enable 0: counters 0 at the origin; 1: counters = position at the origin;
    // 2: after the origin the axis moves on by position (user units) and zeroes there.
    void setHomePosition(int enable, double position) { m_homePosEnable = enable, m_homePos = position; }

    // Commands; 0 or an AxisError. A position move replaces a running move's target.
    short pmove(double dist, bool absolute);
    short vmove(int dir);
    short homeMove();
    void stop(bool immediate, long reason);

    void writePin(int level);
    int pin() const { return m_pin; }
    bool enabled() const;

    void setCommandUnits(double pos);
    void setEncoderPulses(double pulses);

    void clearStopReason() { m_stopReason = StopNone; }
    long stopReason() const { return m_stopReason; }

    // Faults.
    void setAlarm(bool on);
    bool alarm() const { return m_alarm; }
    void forceLimit(int dir, bool on);
    void setHomingFault(HomingFault f) {
        m_homingFault = f;
        publish();
    }
    void setHomingMinDurationUs(int64_t us) { m_homingMinUs = us; }

    // Advances one step of dtUs microseconds.
    void step(int64_t dtUs);
    // A step of the plant in which the axis stood still.
    void stand() { m_lastMove = 0; }
    // How far the last step of the plant carried it (mechanical units).
    double lastMove() const { return m_lastMove; }
    bool active() const { return m_mode != Mode::Idle; }

    double mechPos() const { return m_pos; }
    AxisSnapshot snapshot() const;

    // Published values, lock-free.
    uint32_t status() const { return m_pubStatus.load(std::memory_order_relaxed); }
    double commandUnits() const { return m_pubCommand.load(std::memory_order_relaxed); }
    double encoderUnits() const { return m_pubEncoder.load(std::memory_order_relaxed); }
    bool done() const { return m_pubDone.load(std::memory_order_relaxed); }
    int homeResult() const { return m_pubHomeResult.load(std::memory_order_relaxed); }

private:
    enum class Mode { Idle, Position, Velocity, Stopping, Homing };
    enum class HomePhase { Search, Approach, Offset, Settle };

    double unitsToMech() const { return m_equiv / m_mech.pulsesPerUnit; }
    double commandPulses() const { return m_pos * m_mech.pulsesPerUnit + m_cmdOffset; }
    double encoderPulses() const { return m_pos * m_mech.pulsesPerUnit + m_encOffset; }
    bool limitPos() const;
    bool limitNeg() const;
    bool inOrigin() const;
    bool crossedOrigin(double from, double to) const;
    bool foundReference(double from, double to) const;
    double nearestOrigin(double pos) const;
    void halt(long reason);
    void finishHoming();
    // Moves towards target; true once there (standing).
    bool stepPosition(double dt, double target, double vmax, double acc, double dec);
    void stepMotion(int64_t dtUs);
    void stepHoming(int64_t dtUs);
    void publish();

    AxisMechanics m_mech{};
    double m_equiv = 1.0;
    // profile in user units
    double m_minVel = 0, m_maxVel = 100, m_tAcc = 0.1, m_tDec = 0.1;
    double m_decStopTime = 0.1;
    bool m_homeElReturn = false;
    int m_homeDir = -1, m_homeMode = 0;
    double m_homeLow = 5, m_homeHigh = 20, m_homeTAcc = 0.1, m_homeTDec = 0.1;
    int m_homePosEnable = 0;
    double m_homePos = 0;
    double m_homeRange = 0; // user units
    HomeReference m_homeRef = HomeReference::Origin;

    Mode m_mode = Mode::Idle;
    double m_pos = 0; // mechanical
    double m_lastMove = 0;
    double m_vel = 0; // mechanical units per second, signed
    double m_target = 0;
    int m_vdir = 1;
    double m_runMax = 0, m_runAcc = 0, m_runDec = 0; // mechanical, for the running move
    double m_stopDec = 0;
    double m_cmdOffset = 0, m_encOffset = 0; // pulses
    int m_pin = 1;
    long m_stopReason = StopNone;
    int m_homeResult = 0;

    HomePhase m_homePhase = HomePhase::Search;
    int m_searchDir = -1;
    bool m_searchReversed = false;
    int64_t m_homingElapsedUs = 0;
    double m_searched = 0; // distance of the search so far

    bool m_alarm = false;
    bool m_forcedPos = false, m_forcedNeg = false;
    HomingFault m_homingFault = HomingFault::None;
    int64_t m_homingMinUs = 0;

    std::atomic<uint32_t> m_pubStatus{0};
    std::atomic<double> m_pubCommand{0}, m_pubEncoder{0};
    std::atomic<bool> m_pubDone{true};
    std::atomic<int> m_pubHomeResult{0};
};

} // namespace sim
