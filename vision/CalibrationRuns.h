#pragma once
// The calibration runs as step machines. pass() does one pass and returns true once
// the run has ended; result() is then 1 (passed) or 2 (failed).
#include "vision/CalibrationSteps.h"

class NinePointRun {
public:
    explicit NinePointRun(int cam);
    bool pass();
    int result() const { return m_result; }

private:
    bool cancelled() const;
    void finish(bool ok);

    int m_cam = 0;
    int m_task = 6;
    double m_cx = 0, m_cy = 0, m_cz = 0;
    double m_first[10] = {}, m_second[10] = {}, m_third[10] = {}, m_fourth[10] = {};
    int m_step = 0;
    int m_point = 1;
    double m_x = 0, m_y = 0;
    int m_result = 0;
};

class NozzleZeroRun {
public:
    NozzleZeroRun();
    bool pass();
    int result() const { return m_result; }

private:
    PhotoStep m_photo;
    int m_step = 0;
    int m_result = 0;
};

// The linked calibration, or (verify) one verification pass that writes nothing.
class LinkedRun {
public:
    LinkedRun(bool verify, volatile unsigned char* busy);
    bool pass();
    int result() const { return m_result; }

private:
    bool photo(int step, int next, int task, double x, double y, double z, bool lowered, int settleMs,
               CalibResult* out);
    bool plate(int step, int next, PlateStep::Kind kind, double x, double y, bool qZero);
    void end(bool ok);
    void afterPlacedPhoto();

    bool m_verify = false;
    volatile unsigned char* m_busy = nullptr;
    int m_step = 0;
    int m_pass = 0;
    bool m_started = false;
    PhotoStep m_photo;
    PlateStep m_plate;
    TurnStep m_turn;
    CalibResult m_r7, m_r8, m_r9, m_r11, m_r12;
    double m_pickX = 0, m_pickY = 0; // where the plate was taken last
    double m_px = 0, m_py = 0;       // point P
    double m_placeX = 0, m_placeY = 0;
    int m_result = 0;
};
