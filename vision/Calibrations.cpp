#include "Calibrations.h"

#include "app/MachineData.h"
#include "platform/Clock.h"
#include "platform/kzct.h"
#include "platform/kzmc.h"
#include "platform/vision/taskcontrol.h"
#include "sequences/Cylinders.h"
#include "sequences/NamedMoves.h"
#include "vision/CalibrationRuns.h"
#include "vision/VisionRequests.h"

#include <atomic>
#include <cmath>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

volatile u8 nozzleZeroBusy = 0;
volatile u8 linkCalibBusy = 0;
volatile u8 linkVerifyBusy = 0;
volatile u8 linkVerify2Busy = 0;
volatile u8 nozzleZeroDone = 0;
volatile u8 linkCalibDone = 0;

namespace {
constexpr int kUpperCalibAlarm = 6; // "上相机9点标定拍照失败"
constexpr int kLowerCalibAlarm = 7; // "下相机9点标定拍照失败"

CalibLauncher launcher;
int nineResult[2] = {0, 0};
int zeroResult = 0;
int linkResult = 0;
int verifyResult = 0;

// A run's thread is owned, so that the machine and the data it uses stay until it ended.
struct RunThread {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> ended;
};
std::mutex threadsMutex;
// Reached with threads only by a program that ended without stopping the calibrations.
struct RunThreads : std::list<RunThread> {
    ~RunThreads() {
        calibBusy = nozzleZeroBusy = linkCalibBusy = linkVerifyBusy = linkVerify2Busy = 0;
        for (RunThread& run : *this) run.thread.join();
    }
};
RunThreads threads;

// Joins the threads whose runs have ended; with all, waits for the others first.
void joinEnded(bool all) {
    for (;;) {
        bool waiting = false;
        {
            std::lock_guard<std::mutex> lock(threadsMutex);
            for (auto it = threads.begin(); it != threads.end();) {
                if (it->ended->load()) {
                    it->thread.join();
                    it = threads.erase(it);
                } else {
                    waiting = true;
                    ++it;
                }
            }
        }
        if (!all || !waiting) return;
        // Not a join: a virtual clock must move on for a run asleep on it to wake.
        clk::sleepUs(5000);
    }
}

void launch(std::function<bool()> pass) {
    if (launcher) {
        launcher(std::move(pass));
        return;
    }
    joinEnded(false);
    auto ended = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([pass, ended] {
        while (!pass()) clk::sleepUs(5000);
        ended->store(true);
    });
    std::lock_guard<std::mutex> lock(threadsMutex);
    threads.push_back(RunThread{std::move(thread), ended});
}

bool manual() {
    return manualMode == 1.0;
}

// Every run starts with the assembly stop cylinder in its rest position.
void prepare() {
    doubleout(cardNo, 1, 2, 9, 2, 10, 0);
    resetqigandone(5);
}
} // namespace

void setCalibLauncher(CalibLauncher l) {
    launcher = std::move(l);
}

void stopCalibrations() {
    calibBusy = 0;
    nozzleZeroBusy = 0;
    linkCalibBusy = 0;
    linkVerifyBusy = 0;
    linkVerify2Busy = 0;
    joinEnded(true);
}

int calibrationThreads() {
    std::lock_guard<std::mutex> lock(threadsMutex);
    return int(threads.size());
}

bool calibrationRunning() {
    return calibBusy || nozzleZeroBusy || linkCalibBusy || linkVerifyBusy || linkVerify2Busy;
}

void startNinePoint(int cam) {
    prepare();
    if (calibBusy == 1 || !manual() || (cam != 0 && cam != 1)) return;
    // Set here, not on the run's thread, so that a second press right after is refused.
    calibBusy = 1;
    nineResult[cam] = 0;
    auto run = std::make_shared<NinePointRun>(cam);
    launch([run, cam] {
        if (!run->pass()) return false;
        nineResult[cam] = run->result();
        calibBusy = 0;
        return true;
    });
}

void startNozzleZero() {
    if (nozzleZeroBusy == 1 || !manual()) return;
    nozzleZeroBusy = 1;
    zeroResult = 0;
    auto run = std::make_shared<NozzleZeroRun>();
    launch([run] {
        if (!run->pass()) return false;
        zeroResult = run->result();
        nozzleZeroBusy = 0;
        return true;
    });
}

void startLinkedCalibration() {
    prepare();
    if (linkCalibBusy == 1 || !manual()) return;
    linkCalibBusy = 1;
    linkResult = 0;
    auto run = std::make_shared<LinkedRun>(false, &linkCalibBusy);
    launch([run] {
        if (!run->pass()) return false;
        linkResult = run->result();
        linkCalibBusy = 0;
        return true;
    });
}

void startLinkedVerification(int variant) {
    prepare();
    volatile u8* busy = variant == 1 ? &linkVerify2Busy : &linkVerifyBusy;
    if (*busy == 1 || !manual()) return;
    *busy = 1;
    verifyResult = 0;
    auto run = std::make_shared<LinkedRun>(true, busy);
    launch([run, busy] {
        if (!run->pass()) return false;
        verifyResult = run->result();
        *busy = 0;
        return true;
    });
}

int lastNinePointResult(int cam) {
    return cam == 0 || cam == 1 ? nineResult[cam] : 0;
}
int lastNozzleZeroResult() {
    return zeroResult;
}
int lastLinkedResult() {
    return linkResult;
}
int lastVerifyResult() {
    return verifyResult;
}

NinePointRun::NinePointRun(int cam) : m_cam(cam) {
    m_task = cam == 1 ? 10 : 6;
    m_cx = cam == 1 ? gf[610] : gf[625];
    m_cy = cam == 1 ? gf[611] : gf[626];
    m_cz = cam == 1 ? gf[612] : gf[627];
}

bool NinePointRun::cancelled() const {
    return calibBusy == 0 || !manual() || !estopOk;
}

void NinePointRun::finish(bool ok) {
    m_result = 2;
    if (!ok) return;
    if (taskcontrol::ReadWriteCamCalib(m_cam, m_first, m_second, m_third, m_fourth, 9) < 0) return;
    if (taskcontrol::ReadCamCalibToTask(m_cam) < 0) return;
    if (taskcontrol::Save9dianPara(m_cam, m_first, m_second, m_third, m_fourth, "cam") < 0) return;
    m_result = 1;
}

bool NinePointRun::pass() {
    if (cancelled()) {
        calibStopAxes();
        m_result = 2;
        return true;
    }
    if (!calibMayMove()) return false;
    if (m_step == 0) {
        calibStopAxes();
        m_point = 1;
        m_step = 5;
        return false;
    }
    if (m_step == 5 && calibAxesStand()) {
        moveZSafeLift(0);
        m_step = 10;
        return false;
    }
    if (m_step == 10 && moveZSafeLift(1)) m_step = 11;
    if (m_step == 11) {
        getlpxy(m_cx + 1.0, m_cy - 1.0, m_point, 3, 3, 1.0, -1.0, &m_x, &m_y, 0);
        spmove(cardNo, axisX, m_x, gf[350], 1);
        spmove(cardNo, axisY, m_y, gf[351], 1);
        m_step = 12;
        return false;
    }
    if (m_step == 12 && get_poscmp(cardNo, axisX, m_x) && get_poscmp(cardNo, axisY, m_y)) {
        spmove(cardNo, axisZ, m_cz, gf[202], 1);
        if (m_task == 10) {
            singleout(cardNo, 2, 1, 2, 1, 0);
            resetqigandone(0);
        }
        m_step = 13;
        return false;
    }
    if (m_step == 13 && get_poscmp(cardNo, axisZ, m_cz) &&
        (m_task != 10 || cylinderCmd(cylNozzleLift, 1, 0))) {
        clk::sleepMs(300);
        visionTrigger(m_task);
        // The photo must be done within this time.
        clk::sleepMs(500);
        ++m_point;
        m_step = 14;
    }
    bool failed = false;
    if (m_step == 14) {
        visionRead(m_task);
        if (VisionResult[m_task][0] == 1)
            m_step = 15;
        else
            failed = true;
    }
    if (m_step == 15 && !failed) {
        visionRead(m_task);
        if (VisionResult[m_task][1] == 1) {
            const int i = m_point - 2;
            m_first[i] = VisionResult[m_task][11];
            m_second[i] = VisionResult[m_task][10];
            dmc_get_position_unit(cardNo, axisX, &m_third[i]);
            dmc_get_position_unit(cardNo, axisY, &m_fourth[i]);
            m_step = i == 8 ? 500 : 11;
        } else {
            failed = true;
        }
    }
    if (failed) {
        alarmFlags[m_cam == 1 ? kLowerCalibAlarm : kUpperCalibAlarm] = 1;
        m_step = 500;
    }
    if (m_step == 500) {
        calibStopAxes();
        moveZSafeLift(0);
        finish(!failed && m_point == 10);
        return true;
    }
    return false;
}

NozzleZeroRun::NozzleZeroRun() = default;

bool NozzleZeroRun::pass() {
    if (nozzleZeroBusy == 0 || !manual() || !estopOk) {
        calibStopAxes();
        m_result = 2;
        return true;
    }
    if (!calibMayMove()) return false;
    if (m_step == 0) {
        calibStopAxes();
        m_step = 5;
        return false;
    }
    if (m_step == 5 && calibAxesStand()) {
        // No photo time-out here: the photo step waits until the task is done.
        m_photo.begin(5, gf[410], gf[411], gf[402], true, 300);
        m_step = 10;
    }
    if (m_step == 10) {
        const int r = m_photo.run();
        if (r == 0) return false;
        if (r == 1) {
            double a = 0.0;
            dmc_get_position_unit(cardNo, axisQ, &a);
            a -= VisionResult[5][4];
            while (a > 360.0) a -= 360.0;
            while (a < -360.0) a += 360.0;
            if (a < 0.0) a += 360.0;
            gd[321] = a;
            nozzleZeroDone = 1;
            refreshSaveReq = 1;
        }
        m_result = r;
        calibStopAxes();
        moveZSafeLift(0);
        return true;
    }
    return false;
}
