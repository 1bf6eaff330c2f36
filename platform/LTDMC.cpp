#include "LTDMC.h"

#include "CardBackend.h"

// Every call goes to the installed backend unchanged. Without one there is no
// card: 0 cards, error codes, zero values, and axes that report standing.

namespace {
inline CardBackend* card() {
    return CardBackend::current();
}
constexpr short kNo = CardBackend::kNoCard;
} // namespace

short dmc_board_init() {
    return card() ? card()->boardInit() : 0;
}
short dmc_board_close() {
    return card() ? card()->boardClose() : kNo;
}
short dmc_set_debug_mode(WORD mode, const char* fileName) {
    return card() ? card()->setDebugMode(mode, fileName) : kNo;
}
short dmc_download_configfile(WORD cardNo, const char* fileName) {
    return card() ? card()->downloadConfigfile(cardNo, fileName) : kNo;
}

short dmc_set_can_state(WORD cardNo, WORD nodeNum, WORD state, WORD baud) {
    return card() ? card()->setCanState(cardNo, nodeNum, state, baud) : kNo;
}
short dmc_get_can_state(WORD cardNo, WORD* nodeNum, WORD* state) {
    if (CardBackend* c = card()) return c->getCanState(cardNo, nodeNum, state);
    if (nodeNum) *nodeNum = 0;
    if (state) *state = 0;
    return kNo;
}

short dmc_set_equiv(WORD cardNo, WORD axis, double equiv) {
    return card() ? card()->setEquiv(cardNo, axis, equiv) : kNo;
}
short dmc_get_equiv(WORD cardNo, WORD axis, double* equiv) {
    if (CardBackend* c = card()) return c->getEquiv(cardNo, axis, equiv);
    if (equiv) *equiv = 0;
    return kNo;
}
short dmc_set_factor_error(WORD cardNo, WORD axis, double factor, long error) {
    return card() ? card()->setFactorError(cardNo, axis, factor, error) : kNo;
}
short dmc_set_dec_stop_time(WORD cardNo, WORD axis, double time) {
    return card() ? card()->setDecStopTime(cardNo, axis, time) : kNo;
}
short dmc_set_home_el_return(WORD cardNo, WORD axis, WORD enable) {
    return card() ? card()->setHomeElReturn(cardNo, axis, enable) : kNo;
}

DWORD dmc_axis_io_status(WORD cardNo, WORD axis) {
    return card() ? card()->axisIoStatus(cardNo, axis) : 0;
}

short dmc_write_outbit(WORD cardNo, WORD bitno, WORD onOff) {
    return card() ? card()->writeOutbit(cardNo, bitno, onOff) : kNo;
}
short dmc_write_can_outbit(WORD cardNo, WORD node, WORD bitno, WORD onOff) {
    return card() ? card()->writeCanOutbit(cardNo, node, bitno, onOff) : kNo;
}

short dmc_write_sevon_pin(WORD cardNo, WORD axis, WORD onOff) {
    return card() ? card()->writeSevonPin(cardNo, axis, onOff) : kNo;
}
short dmc_read_sevon_pin(WORD cardNo, WORD axis) {
    return card() ? card()->readSevonPin(cardNo, axis) : 0;
}

short dmc_set_position_unit(WORD cardNo, WORD axis, double pos) {
    return card() ? card()->setPositionUnit(cardNo, axis, pos) : kNo;
}
short dmc_get_position_unit(WORD cardNo, WORD axis, double* pos) {
    if (CardBackend* c = card()) return c->getPositionUnit(cardNo, axis, pos);
    if (pos) *pos = 0;
    return kNo;
}
short dmc_set_encoder(WORD cardNo, WORD axis, long encoderValue) {
    return card() ? card()->setEncoder(cardNo, axis, encoderValue) : kNo;
}
short dmc_get_encoder_unit(WORD cardNo, WORD axis, double* pos) {
    if (CardBackend* c = card()) return c->getEncoderUnit(cardNo, axis, pos);
    if (pos) *pos = 0;
    return kNo;
}

short dmc_set_profile_unit(WORD cardNo, WORD axis, double minVel, double maxVel, double tAcc, double tDec,
                           double stopVel) {
    return card() ? card()->setProfileUnit(cardNo, axis, minVel, maxVel, tAcc, tDec, stopVel) : kNo;
}
short dmc_pmove_unit(WORD cardNo, WORD axis, double dist, WORD posiMode) {
    return card() ? card()->pmoveUnit(cardNo, axis, dist, posiMode) : kNo;
}
short dmc_vmove(WORD cardNo, WORD axis, WORD dir) {
    return card() ? card()->vmove(cardNo, axis, dir) : kNo;
}
short dmc_check_done(WORD cardNo, WORD axis) {
    return card() ? card()->checkDone(cardNo, axis) : 1;
}
short dmc_stop(WORD cardNo, WORD axis, WORD stopMode) {
    return card() ? card()->stop(cardNo, axis, stopMode) : kNo;
}
short dmc_emg_stop(WORD cardNo) {
    return card() ? card()->emgStop(cardNo) : kNo;
}
short dmc_get_stop_reason(WORD cardNo, WORD axis, long* stopReason) {
    if (CardBackend* c = card()) return c->getStopReason(cardNo, axis, stopReason);
    if (stopReason) *stopReason = 0;
    return kNo;
}
short dmc_clear_stop_reason(WORD cardNo, WORD axis) {
    return card() ? card()->clearStopReason(cardNo, axis) : kNo;
}

short dmc_set_homemode(WORD cardNo, WORD axis, WORD homeDir, double velMode, WORD mode, WORD posSource) {
    return card() ? card()->setHomemode(cardNo, axis, homeDir, velMode, mode, posSource) : kNo;
}
short dmc_set_home_profile_unit(WORD cardNo, WORD axis, double lowVel, double highVel, double tAcc,
                                double tDec) {
    return card() ? card()->setHomeProfileUnit(cardNo, axis, lowVel, highVel, tAcc, tDec) : kNo;
}
short dmc_set_home_position_unit(WORD cardNo, WORD axis, WORD enable, double position) {
    return card() ? card()->setHomePositionUnit(cardNo, axis, enable, position) : kNo;
}
short dmc_set_home_range_unit(WORD cardNo, WORD axis, double range) {
    return card() ? card()->setHomeRangeUnit(cardNo, axis, range) : kNo;
}
short dmc_home_move(WORD cardNo, WORD axis) {
    return card() ? card()->homeMove(cardNo, axis) : kNo;
}
short dmc_get_home_result(WORD cardNo, WORD axis, WORD* state) {
    if (CardBackend* c = card()) return c->getHomeResult(cardNo, axis, state);
    if (state) *state = 0;
    return kNo;
}
