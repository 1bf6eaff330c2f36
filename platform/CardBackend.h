#pragma once
// What the card library layer forwards to: the real card driver on the machine PC,
// the virtual card in this build. One method per dmc_* call, same arguments.
#include "LTDMC.h"

#include <atomic>

class CardBackend {
public:
    // Returned by every call when no card answers.
    static constexpr short kNoCard = 9;

    virtual ~CardBackend() = default;

    // Not owned. nullptr detaches: dmc_board_init then reports 0 cards and every
    // other call returns kNoCard or zeros (dmc_check_done reports "standing").
    static void install(CardBackend* backend);
    static CardBackend* current() { return s_current.load(std::memory_order_acquire); }

    virtual short boardInit() = 0;
    virtual short boardClose() = 0;
    virtual short setDebugMode(WORD mode, const char* fileName) = 0;
    virtual short downloadConfigfile(WORD cardNo, const char* fileName) = 0;

    virtual short setCanState(WORD cardNo, WORD nodeNum, WORD state, WORD baud) = 0;
    virtual short getCanState(WORD cardNo, WORD* nodeNum, WORD* state) = 0;

    virtual short setEquiv(WORD cardNo, WORD axis, double equiv) = 0;
    virtual short getEquiv(WORD cardNo, WORD axis, double* equiv) = 0;
    virtual short setFactorError(WORD cardNo, WORD axis, double factor, long error) = 0;
    virtual short setDecStopTime(WORD cardNo, WORD axis, double time) = 0;
    virtual short setHomeElReturn(WORD cardNo, WORD axis, WORD enable) = 0;

    virtual DWORD axisIoStatus(WORD cardNo, WORD axis) = 0;

    virtual short readInbit(WORD cardNo, WORD bitno) = 0;
    virtual short readOutbit(WORD cardNo, WORD bitno) = 0;
    virtual short writeOutbit(WORD cardNo, WORD bitno, WORD onOff) = 0;
    virtual short readCanInbit(WORD cardNo, WORD node, WORD bitno) = 0;
    virtual short readCanOutbit(WORD cardNo, WORD node, WORD bitno) = 0;
    virtual short writeCanOutbit(WORD cardNo, WORD node, WORD bitno, WORD onOff) = 0;

    virtual short writeSevonPin(WORD cardNo, WORD axis, WORD onOff) = 0;
    virtual short readSevonPin(WORD cardNo, WORD axis) = 0;

    virtual short setPositionUnit(WORD cardNo, WORD axis, double pos) = 0;
    virtual short getPositionUnit(WORD cardNo, WORD axis, double* pos) = 0;
    virtual short setEncoder(WORD cardNo, WORD axis, long encoderValue) = 0;
    virtual short getEncoderUnit(WORD cardNo, WORD axis, double* pos) = 0;

    virtual short setProfileUnit(WORD cardNo, WORD axis, double minVel, double maxVel, double tAcc,
                                 double tDec, double stopVel) = 0;
    virtual short pmoveUnit(WORD cardNo, WORD axis, double dist, WORD posiMode) = 0;
    virtual short vmove(WORD cardNo, WORD axis, WORD dir) = 0;
    virtual short checkDone(WORD cardNo, WORD axis) = 0;
    virtual short stop(WORD cardNo, WORD axis, WORD stopMode) = 0;
    virtual short emgStop(WORD cardNo) = 0;
    virtual short getStopReason(WORD cardNo, WORD axis, long* stopReason) = 0;
    virtual short clearStopReason(WORD cardNo, WORD axis) = 0;

    virtual short setHomemode(WORD cardNo, WORD axis, WORD homeDir, double velMode, WORD mode,
                              WORD posSource) = 0;
    virtual short setHomeProfileUnit(WORD cardNo, WORD axis, double lowVel, double highVel, double tAcc,
                                     double tDec) = 0;
    virtual short setHomePositionUnit(WORD cardNo, WORD axis, WORD enable, double position) = 0;
    virtual short setHomeRangeUnit(WORD cardNo, WORD axis, double range) {
        (void)cardNo, (void)axis, (void)range;
        return 0;
    }
    virtual short homeMove(WORD cardNo, WORD axis) = 0;
    virtual short getHomeResult(WORD cardNo, WORD axis, WORD* state) = 0;

private:
    static std::atomic<CardBackend*> s_current;
};
