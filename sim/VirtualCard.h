#pragma once
// The motion card over the plant: card levels (0 = active) on the plant's logical
// I/O, axis commands on the plant's axes, CAN bus state, configuration download
// and the library's debug file. Reads are lock-free; commands take the plant lock.
#include "platform/CardBackend.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

namespace sim {

class Plant;

class VirtualCard : public CardBackend {
public:
    // Commands counted per kind, for tests that check what the program did.
    enum Call {
        CallBoardInit,
        CallBoardClose,
        CallDownload,
        CallSetCanState,
        CallWriteOutbit,
        CallWriteCanOutbit,
        CallWriteSevon,
        CallPmove,
        CallVmove,
        CallStop,
        CallEmgStop,
        CallHomeMove,
        CallSetEncoder,
        CallSetPosition,
        CallClearStopReason,
        CallCount
    };

    explicit VirtualCard(Plant& plant);

    // Count of commands of one kind since construction.
    uint64_t calls(Call call) const;
    // The paths as the program handed them over.
    std::string lastConfigPath() const;
    std::string debugPath() const;

    short boardInit() override;
    short boardClose() override;
    short setDebugMode(WORD mode, const char* fileName) override;
    short downloadConfigfile(WORD cardNo, const char* fileName) override;
    short setCanState(WORD cardNo, WORD nodeNum, WORD state, WORD baud) override;
    short getCanState(WORD cardNo, WORD* nodeNum, WORD* state) override;
    short setEquiv(WORD cardNo, WORD axis, double equiv) override;
    short getEquiv(WORD cardNo, WORD axis, double* equiv) override;
    short setFactorError(WORD cardNo, WORD axis, double factor, long error) override;
    short setDecStopTime(WORD cardNo, WORD axis, double time) override;
    short setHomeElReturn(WORD cardNo, WORD axis, WORD enable) override;
    DWORD axisIoStatus(WORD cardNo, WORD axis) override;
    short readInbit(WORD cardNo, WORD bitno) override;
    short readOutbit(WORD cardNo, WORD bitno) override;
    short writeOutbit(WORD cardNo, WORD bitno, WORD onOff) override;
    short readCanInbit(WORD cardNo, WORD node, WORD bitno) override;
    short readCanOutbit(WORD cardNo, WORD node, WORD bitno) override;
    short writeCanOutbit(WORD cardNo, WORD node, WORD bitno, WORD onOff) override;
    short writeSevonPin(WORD cardNo, WORD axis, WORD onOff) override;
    short readSevonPin(WORD cardNo, WORD axis) override;
    short setPositionUnit(WORD cardNo, WORD axis, double pos) override;
    short getPositionUnit(WORD cardNo, WORD axis, double* pos) override;
    short setEncoder(WORD cardNo, WORD axis, long encoderValue) override;
    short getEncoderUnit(WORD cardNo, WORD axis, double* pos) override;
    short setProfileUnit(WORD cardNo, WORD axis, double minVel, double maxVel, double tAcc, double tDec,
                         double stopVel) override;
    short pmoveUnit(WORD cardNo, WORD axis, double dist, WORD posiMode) override;
    short vmove(WORD cardNo, WORD axis, WORD dir) override;
    short checkDone(WORD cardNo, WORD axis) override;
    short stop(WORD cardNo, WORD axis, WORD stopMode) override;
    short emgStop(WORD cardNo) override;
    short getStopReason(WORD cardNo, WORD axis, long* stopReason) override;
    short clearStopReason(WORD cardNo, WORD axis) override;
    short setHomemode(WORD cardNo, WORD axis, WORD homeDir, double velMode, WORD mode,
                      WORD posSource) override;
    short setHomeProfileUnit(WORD cardNo, WORD axis, double lowVel, double highVel, double tAcc,
                             double tDec) override;
    short setHomePositionUnit(WORD cardNo, WORD axis, WORD enable, double position) override;
    short setHomeRangeUnit(WORD cardNo, WORD axis, double range) override;
    short homeMove(WORD cardNo, WORD axis) override;
    short getHomeResult(WORD cardNo, WORD axis, WORD* state) override;

private:
    bool present(WORD cardNo) const;
    bool axisOk(WORD cardNo, WORD axis) const;
    // Appends a line to the debug file when debugging is on; plant lock held.
    void logError(const char* call, int axisOrBit, short code);
    void count(Call call) { m_calls[call].fetch_add(1, std::memory_order_relaxed); }

    Plant& m_plant;
    std::array<std::atomic<uint64_t>, CallCount> m_calls{};
    std::string m_debugPath;
    int m_debugMode = 0;
    std::string m_lastConfigPath;
};

} // namespace sim
