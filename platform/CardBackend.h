#pragma once
// What the card library layer forwards to: the real card driver on the machine PC,
// the virtual card in this build. One method per dmc_* call, same arguments.
#include "LTDMC.h"

#include <atomic>
#include <cstdint>

class CardBackend {
public:
    // Returned by every call when no card answers.
    static constexpr short kNoCard = 9;

    // The I/O image a backend keeps current, read by the bit calls without a call into
    // the backend: the fast scan reads all 128 bits every pass. Words: 0 card, 1..3 CAN
    // nodes; a set bit is an active level.
    struct IoLevels {
        const std::atomic<uint16_t>* in = nullptr;
        const std::atomic<uint16_t>* out = nullptr;
        const std::atomic<uint32_t>* canUp = nullptr; // bit n: node n answers
        const std::atomic<bool>* missing = nullptr;   // no card at all

        // Word of a CAN node: a node below 1 does not exist and reads as one that does not answer.
        static WORD canWord(WORD node) { return node < 1 ? 4 : node; }
        // Card level of a bit (0 = active), as dmc_read_*bit and dmc_read_can_*bit answer.
        short read(const std::atomic<uint16_t>* words, WORD cardNo, WORD node, WORD bitno) const {
            if (cardNo != 0 || missing->load(std::memory_order_relaxed)) return 0;
            if (node > 3 || bitno > 15) return 1;
            if (node > 0 && !((canUp->load(std::memory_order_relaxed) >> node) & 1u)) return 1;
            return ((words[node].load(std::memory_order_relaxed) >> bitno) & 1u) ? 0 : 1;
        }
    };
    // nullptr when the backend keeps no image; the bit reads then call the backend.
    const IoLevels* levels() const { return m_levels.in ? &m_levels : nullptr; }

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

protected:
    void publishLevels(const IoLevels& levels) { m_levels = levels; }

private:
    static std::atomic<CardBackend*> s_current;
    IoLevels m_levels;
};

// The fast scan reads every bit of the card and its nodes each pass: from the
// backend's I/O image when it keeps one, without a call. Group 0 is the card's own
// bits, 1..3 the CAN nodes.
template <typename Call>
inline short dmcReadBit(bool output, WORD cardNo, WORD group, WORD bitno, Call call) {
    CardBackend* c = CardBackend::current();
    if (!c) return 0;
    if (const CardBackend::IoLevels* io = c->levels())
        return io->read(output ? io->out : io->in, cardNo, group, bitno);
    return call(c);
}
inline short dmc_read_inbit(WORD cardNo, WORD bitno) {
    return dmcReadBit(false, cardNo, 0, bitno, [&](CardBackend* c) { return c->readInbit(cardNo, bitno); });
}
inline short dmc_read_outbit(WORD cardNo, WORD bitno) {
    return dmcReadBit(true, cardNo, 0, bitno, [&](CardBackend* c) { return c->readOutbit(cardNo, bitno); });
}
inline short dmc_read_can_inbit(WORD cardNo, WORD node, WORD bitno) {
    return dmcReadBit(false, cardNo, CardBackend::IoLevels::canWord(node), bitno,
                      [&](CardBackend* c) { return c->readCanInbit(cardNo, node, bitno); });
}
inline short dmc_read_can_outbit(WORD cardNo, WORD node, WORD bitno) {
    return dmcReadBit(true, cardNo, CardBackend::IoLevels::canWord(node), bitno,
                      [&](CardBackend* c) { return c->readCanOutbit(cardNo, node, bitno); });
}
