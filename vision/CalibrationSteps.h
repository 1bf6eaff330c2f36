#pragma once
// Moves and photo steps shared by the calibration runs. Every step object is a
// small step machine: run() is called once per pass and answers 0 while it works,
// 1 when done (or photo OK) and 2 when the photo was NG. Axes move at the
// calibration speeds; a move is issued once and then polled.

// Motion is allowed: homed, emergency stop released, ready, neither sequence running.
bool calibMayMove();
void calibStopAxes();
// Every axis the runs move stands; a stopping axis takes no new move.
bool calibAxesStand();

struct CalibResult {
    double x = 0, y = 0, angle = 0; // VisionResult [2], [3], [4]
    double px = 0, py = 0;          // photoPos of the task
};

// A photo at (x, y, z): Z up, XY there, Z down with the nozzle lowered or raised,
// settle, trigger, wait 200 ms, then read until the task is done.
class PhotoStep {
public:
    void begin(int task, double x, double y, double z, bool lowered, int settleMs);
    int run();
    const CalibResult& result() const { return m_result; }

private:
    int m_step = 0;
    int m_task = 0;
    double m_x = 0, m_y = 0, m_z = 0;
    bool m_lowered = false;
    int m_settleMs = 0;
    CalibResult m_result;
};

// Takes the plate at (x, y, z) with the lowered nozzle (vacuum on, then 1 s), or puts
// it down there (vacuum off, blow 300 ms), then Z up again. qTurn: Q goes to q first.
class PlateStep {
public:
    enum Kind { Pick, Place };
    void begin(Kind kind, double x, double y, double z, bool qTurn = false, double q = 0.0);
    int run();

private:
    int m_step = 0;
    Kind m_kind = Pick;
    double m_x = 0, m_y = 0, m_z = 0;
    bool m_qTurn = false;
    double m_q = 0;
};

// Turns Q to target at the calibration Q speed; done within 0.05 degrees.
class TurnStep {
public:
    void begin(double target);
    int run();

private:
    int m_step = 0;
    double m_target = 0;
};
