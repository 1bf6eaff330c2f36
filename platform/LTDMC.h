#pragma once
// Motion card library: the card vendor's dmc_* calls with its own conventions.
// Card inputs and outputs are active at level 0; axes 0..11; CAN nodes 1..3.
// The calls are forwarded to the installed CardBackend (see CardBackend.h).
#include <cstdint>

typedef uint16_t WORD;
typedef uint32_t DWORD;

short dmc_board_init();
short dmc_board_close();
short dmc_set_debug_mode(WORD mode, const char* fileName);
short dmc_download_configfile(WORD cardNo, const char* fileName);

short dmc_set_can_state(WORD cardNo, WORD nodeNum, WORD state, WORD baud);
short dmc_get_can_state(WORD cardNo, WORD* nodeNum, WORD* state);

short dmc_set_equiv(WORD cardNo, WORD axis, double equiv);
short dmc_get_equiv(WORD cardNo, WORD axis, double* equiv);
short dmc_set_factor_error(WORD cardNo, WORD axis, double factor, long error);
short dmc_set_dec_stop_time(WORD cardNo, WORD axis, double time);
short dmc_set_home_el_return(WORD cardNo, WORD axis, WORD enable);

// Bit 0 servo alarm, 1 positive limit, 2 negative limit, 4 origin.
DWORD dmc_axis_io_status(WORD cardNo, WORD axis);

// The four bit reads are inline, below.
inline short dmc_read_inbit(WORD cardNo, WORD bitno);
inline short dmc_read_outbit(WORD cardNo, WORD bitno);
short dmc_write_outbit(WORD cardNo, WORD bitno, WORD onOff);
inline short dmc_read_can_inbit(WORD cardNo, WORD node, WORD bitno);
inline short dmc_read_can_outbit(WORD cardNo, WORD node, WORD bitno);
short dmc_write_can_outbit(WORD cardNo, WORD node, WORD bitno, WORD onOff);

short dmc_write_sevon_pin(WORD cardNo, WORD axis, WORD onOff);
short dmc_read_sevon_pin(WORD cardNo, WORD axis);

short dmc_set_position_unit(WORD cardNo, WORD axis, double pos);
short dmc_get_position_unit(WORD cardNo, WORD axis, double* pos);
short dmc_set_encoder(WORD cardNo, WORD axis, long encoderValue);
short dmc_get_encoder_unit(WORD cardNo, WORD axis, double* pos);

// Speeds in user units per second, times in seconds.
short dmc_set_profile_unit(WORD cardNo, WORD axis, double minVel, double maxVel, double tAcc, double tDec,
                           double stopVel);
// posiMode 0 relative, 1 absolute.
short dmc_pmove_unit(WORD cardNo, WORD axis, double dist, WORD posiMode);
// dir 0 negative, 1 positive; runs until stopped.
short dmc_vmove(WORD cardNo, WORD axis, WORD dir);
// 1 when the axis stands, 0 while it moves.
short dmc_check_done(WORD cardNo, WORD axis);
// stopMode 0 decelerating, 1 immediate.
short dmc_stop(WORD cardNo, WORD axis, WORD stopMode);
short dmc_emg_stop(WORD cardNo);
short dmc_get_stop_reason(WORD cardNo, WORD axis, long* stopReason);
short dmc_clear_stop_reason(WORD cardNo, WORD axis);

// Homing. homeDir 0 negative, 1 positive; mode selects the switch sequence.
short dmc_set_homemode(WORD cardNo, WORD axis, WORD homeDir, double velMode, WORD mode, WORD posSource);
short dmc_set_home_profile_unit(WORD cardNo, WORD axis, double lowVel, double highVel, double tAcc,
                                double tDec);
short dmc_set_home_position_unit(WORD cardNo, WORD axis, WORD enable, double position);
// Search range of home mode 12 in user units: the homing fails after that much travel.
short dmc_set_home_range_unit(WORD cardNo, WORD axis, double range);
short dmc_home_move(WORD cardNo, WORD axis);
// state 1 homing ended successfully, 0 not (yet).
short dmc_get_home_result(WORD cardNo, WORD axis, WORD* state);

// The inline bit reads need the backend's class.
#include "CardBackend.h"
