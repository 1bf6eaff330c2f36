#include "VirtualCard.h"

#include "Plant.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace sim {

namespace {
// Library answers besides the axis errors of SimAxis.
constexpr short kErrFile = 20;    // configuration file cannot be read
constexpr short kErrContent = 21; // not a configuration of this card
constexpr short kErrCan = 30;     // CAN node does not answer
constexpr short kErrParam = 6;

// A command that starts or stops an axis wakes the resting parts; one that only
// changes a running move does not (a part that follows an axis steps while it moves).
class MotionGuard {
public:
    explicit MotionGuard(Plant& plant) : m_plant(plant), m_lock(plant.readLock()), m_was(moving(plant)) {}
    ~MotionGuard() {
        if (moving(m_plant) != m_was) m_plant.touch();
    }

private:
    static uint32_t moving(Plant& plant) {
        uint32_t mask = 0;
        for (int a = 0; a < kAxisCount; ++a)
            if (plant.axis(a).active()) mask |= 1u << a;
        return mask;
    }
    Plant& m_plant;
    std::unique_lock<std::recursive_mutex> m_lock;
    uint32_t m_was;
};

// The card library on the machine PC takes either separator.
std::string localPath(const char* fileName) {
    std::string p = fileName ? fileName : "";
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}
} // namespace

VirtualCard::VirtualCard(Plant& plant) : m_plant(plant) {
    publishLevels(plant.ioLevels());
}

uint64_t VirtualCard::calls(Call call) const {
    return m_calls[size_t(call)].load(std::memory_order_relaxed);
}

std::string VirtualCard::lastConfigPath() const {
    auto guard = m_plant.readLock();
    return m_lastConfigPath;
}

std::string VirtualCard::debugPath() const {
    auto guard = m_plant.readLock();
    return m_debugPath;
}

bool VirtualCard::present(WORD cardNo) const {
    return cardNo == 0 && !m_plant.cardMissing();
}

bool VirtualCard::axisOk(WORD cardNo, WORD axis) const {
    return present(cardNo) && axis < kAxisCount;
}

void VirtualCard::logError(const char* call, int axisOrBit, short code) {
    if (m_debugMode == 0 || m_debugPath.empty()) return;
    if (FILE* f = std::fopen(m_debugPath.c_str(), "a")) {
        std::fprintf(f, "%lld ms %s(%d): error %d\n", static_cast<long long>(m_plant.nowUs() / 1000), call,
                     axisOrBit, code);
        std::fclose(f);
    }
}

short VirtualCard::boardInit() {
    count(CallBoardInit);
    if (m_plant.cardMissing()) return 0;
    const int forced = m_plant.boardInitResult();
    return short(forced >= 0 ? forced : 1);
}

short VirtualCard::boardClose() {
    count(CallBoardClose);
    return present(0) ? 0 : kNoCard;
}

short VirtualCard::setDebugMode(WORD mode, const char* fileName) {
    auto guard = m_plant.lock();
    m_debugMode = mode;
    m_debugPath = localPath(fileName);
    return 0;
}

short VirtualCard::downloadConfigfile(WORD cardNo, const char* fileName) {
    count(CallDownload);
    auto guard = m_plant.lock();
    m_lastConfigPath = fileName ? fileName : "";
    short rc = 0;
    if (!present(cardNo)) {
        rc = kNoCard;
    } else {
        std::ifstream in(localPath(fileName), std::ios::binary);
        std::stringstream text;
        if (in) text << in.rdbuf();
        if (!in)
            rc = kErrFile;
        else if (m_plant.configRejected() || text.str().find("[Card]") == std::string::npos)
            rc = kErrContent;
    }
    if (rc) logError("dmc_download_configfile", cardNo, rc);
    return rc;
}

short VirtualCard::setCanState(WORD cardNo, WORD nodeNum, WORD state, WORD baud) {
    (void)baud;
    count(CallSetCanState);
    if (!present(cardNo)) return kNoCard;
    m_plant.setCanRunning(state == 1 && nodeNum >= 1);
    return 0;
}

short VirtualCard::getCanState(WORD cardNo, WORD* nodeNum, WORD* state) {
    WORD n = 0, s = 0;
    short rc = 0;
    if (!present(cardNo)) {
        rc = kNoCard;
    } else if (m_plant.canRunning()) {
        n = 1;
        s = m_plant.canHealthy() ? 3 : 2;
    }
    if (nodeNum) *nodeNum = n;
    if (state) *state = s;
    return rc;
}

short VirtualCard::setEquiv(WORD cardNo, WORD axis, double equiv) {
    if (!axisOk(cardNo, axis)) return kNoCard;
    if (!(equiv > 0)) return kErrParam;
    auto guard = m_plant.lock();
    m_plant.axis(axis).setEquiv(equiv);
    return 0;
}

short VirtualCard::getEquiv(WORD cardNo, WORD axis, double* equiv) {
    if (!axisOk(cardNo, axis)) {
        if (equiv) *equiv = 0;
        return kNoCard;
    }
    auto guard = m_plant.readLock();
    if (equiv) *equiv = m_plant.axis(axis).equiv();
    return 0;
}

short VirtualCard::setFactorError(WORD cardNo, WORD axis, double factor, long error) {
    (void)factor, (void)error;
    // The encoder follows the command exactly, so the following-error check never trips.
    return axisOk(cardNo, axis) ? 0 : kNoCard;
}

short VirtualCard::setDecStopTime(WORD cardNo, WORD axis, double time) {
    if (!axisOk(cardNo, axis)) return kNoCard;
    auto guard = m_plant.readLock(); // no part depends on it
    m_plant.axis(axis).setDecStopTime(time);
    return 0;
}

short VirtualCard::setHomeElReturn(WORD cardNo, WORD axis, WORD enable) {
    if (!axisOk(cardNo, axis)) return kNoCard;
    auto guard = m_plant.readLock(); // no part depends on it
    m_plant.axis(axis).setHomeElReturn(enable != 0);
    return 0;
}

DWORD VirtualCard::axisIoStatus(WORD cardNo, WORD axis) {
    if (!axisOk(cardNo, axis)) return 0;
    return m_plant.axis(axis).status();
}

short VirtualCard::readInbit(WORD cardNo, WORD bitno) {
    return levels()->read(levels()->in, cardNo, 0, bitno);
}

short VirtualCard::readOutbit(WORD cardNo, WORD bitno) {
    return levels()->read(levels()->out, cardNo, 0, bitno);
}

short VirtualCard::writeOutbit(WORD cardNo, WORD bitno, WORD onOff) {
    count(CallWriteOutbit);
    if (!present(cardNo)) return kNoCard;
    if (bitno > 15) return kErrParam;
    m_plant.writeOutput(bitno, onOff == 0);
    return 0;
}

short VirtualCard::readCanInbit(WORD cardNo, WORD node, WORD bitno) {
    return levels()->read(levels()->in, cardNo, IoLevels::canWord(node), bitno);
}

short VirtualCard::readCanOutbit(WORD cardNo, WORD node, WORD bitno) {
    return levels()->read(levels()->out, cardNo, IoLevels::canWord(node), bitno);
}

short VirtualCard::writeCanOutbit(WORD cardNo, WORD node, WORD bitno, WORD onOff) {
    count(CallWriteCanOutbit);
    if (!present(cardNo)) return kNoCard;
    if (node < 1 || node > 3 || bitno > 15) return kErrParam;
    if (m_plant.canNodeUp(node) && m_plant.output(16 * node + bitno) == (onOff == 0)) return 0;
    auto guard = m_plant.readLock();
    if (!m_plant.canNodeUp(node)) {
        logError("dmc_write_can_outbit", node * 100 + bitno, kErrCan);
        return kErrCan;
    }
    m_plant.writeOutput(16 * node + bitno, onOff == 0);
    return 0;
}

short VirtualCard::writeSevonPin(WORD cardNo, WORD axis, WORD onOff) {
    count(CallWriteSevon);
    if (!axisOk(cardNo, axis)) return kNoCard;
    MotionGuard guard(m_plant);
    m_plant.axis(axis).writePin(onOff ? 1 : 0);
    return 0;
}

short VirtualCard::readSevonPin(WORD cardNo, WORD axis) {
    if (!axisOk(cardNo, axis)) return 0;
    auto guard = m_plant.readLock();
    return short(m_plant.axis(axis).pin());
}

short VirtualCard::setPositionUnit(WORD cardNo, WORD axis, double pos) {
    count(CallSetPosition);
    if (!axisOk(cardNo, axis)) return kNoCard;
    auto guard = m_plant.lock();
    m_plant.axis(axis).setCommandUnits(pos);
    return 0;
}

short VirtualCard::getPositionUnit(WORD cardNo, WORD axis, double* pos) {
    if (!axisOk(cardNo, axis)) {
        if (pos) *pos = 0;
        return kNoCard;
    }
    if (pos) *pos = m_plant.axis(axis).commandUnits();
    return 0;
}

short VirtualCard::setEncoder(WORD cardNo, WORD axis, long encoderValue) {
    count(CallSetEncoder);
    if (!axisOk(cardNo, axis)) return kNoCard;
    auto guard = m_plant.lock();
    m_plant.axis(axis).setEncoderPulses(double(encoderValue));
    return 0;
}

short VirtualCard::getEncoderUnit(WORD cardNo, WORD axis, double* pos) {
    if (!axisOk(cardNo, axis)) {
        if (pos) *pos = 0;
        return kNoCard;
    }
    if (pos) *pos = m_plant.axis(axis).encoderUnits();
    return 0;
}

short VirtualCard::setProfileUnit(WORD cardNo, WORD axis, double minVel, double maxVel, double tAcc,
                                  double tDec, double stopVel) {
    if (!axisOk(cardNo, axis)) return kNoCard;
    auto guard = m_plant.readLock(); // no part depends on it
    m_plant.axis(axis).setProfile(minVel, maxVel, tAcc, tDec, stopVel);
    return 0;
}

short VirtualCard::pmoveUnit(WORD cardNo, WORD axis, double dist, WORD posiMode) {
    count(CallPmove);
    if (!axisOk(cardNo, axis)) return kNoCard;
    MotionGuard guard(m_plant);
    const short rc = m_plant.axis(axis).pmove(dist, posiMode == 1);
    if (rc) logError("dmc_pmove_unit", axis, rc);
    return rc;
}

short VirtualCard::vmove(WORD cardNo, WORD axis, WORD dir) {
    count(CallVmove);
    if (!axisOk(cardNo, axis)) return kNoCard;
    MotionGuard guard(m_plant);
    const short rc = m_plant.axis(axis).vmove(dir ? 1 : -1);
    if (rc) logError("dmc_vmove", axis, rc);
    return rc;
}

short VirtualCard::checkDone(WORD cardNo, WORD axis) {
    if (!axisOk(cardNo, axis)) return 1; // nothing moves without a card
    return m_plant.axis(axis).done() ? 1 : 0;
}

short VirtualCard::stop(WORD cardNo, WORD axis, WORD stopMode) {
    count(CallStop);
    if (!axisOk(cardNo, axis)) return kNoCard;
    MotionGuard guard(m_plant);
    m_plant.axis(axis).stop(stopMode == 1, stopMode == 1 ? StopImmediate : StopDecel);
    return 0;
}

short VirtualCard::emgStop(WORD cardNo) {
    count(CallEmgStop);
    if (!present(cardNo)) return kNoCard;
    MotionGuard guard(m_plant);
    for (int a = 0; a < kAxisCount; ++a) m_plant.axis(a).stop(true, StopEmergency);
    return 0;
}

short VirtualCard::getStopReason(WORD cardNo, WORD axis, long* stopReason) {
    if (!axisOk(cardNo, axis)) {
        if (stopReason) *stopReason = 0;
        return kNoCard;
    }
    auto guard = m_plant.readLock();
    if (stopReason) *stopReason = m_plant.axis(axis).stopReason();
    return 0;
}

short VirtualCard::clearStopReason(WORD cardNo, WORD axis) {
    count(CallClearStopReason);
    if (!axisOk(cardNo, axis)) return kNoCard;
    auto guard = m_plant.readLock(); // no part depends on it
    m_plant.axis(axis).clearStopReason();
    return 0;
}

short VirtualCard::setHomemode(WORD cardNo, WORD axis, WORD homeDir, double velMode, WORD mode,
                               WORD posSource) {
    (void)velMode, (void)posSource;
    if (!axisOk(cardNo, axis)) return kNoCard;
    auto guard = m_plant.readLock(); // no part depends on it
    m_plant.axis(axis).setHomeMode(homeDir, mode);
    return 0;
}

short VirtualCard::setHomeProfileUnit(WORD cardNo, WORD axis, double lowVel, double highVel, double tAcc,
                                      double tDec) {
    if (!axisOk(cardNo, axis)) return kNoCard;
    auto guard = m_plant.readLock(); // no part depends on it
    m_plant.axis(axis).setHomeProfile(lowVel, highVel, tAcc, tDec);
    return 0;
}

short VirtualCard::setHomePositionUnit(WORD cardNo, WORD axis, WORD enable, double position) {
    if (!axisOk(cardNo, axis)) return kNoCard;
    auto guard = m_plant.readLock(); // no part depends on it
    m_plant.axis(axis).setHomePosition(enable, position);
    return 0;
}

short VirtualCard::setHomeRangeUnit(WORD cardNo, WORD axis, double range) {
    if (!axisOk(cardNo, axis)) return kNoCard;
    auto guard = m_plant.readLock(); // no part depends on it
    m_plant.axis(axis).setHomeRange(range);
    return 0;
}

short VirtualCard::homeMove(WORD cardNo, WORD axis) {
    count(CallHomeMove);
    if (!axisOk(cardNo, axis)) return kNoCard;
    MotionGuard guard(m_plant);
    const short rc = m_plant.axis(axis).homeMove();
    if (rc) logError("dmc_home_move", axis, rc);
    return rc;
}

short VirtualCard::getHomeResult(WORD cardNo, WORD axis, WORD* state) {
    if (!axisOk(cardNo, axis)) {
        if (state) *state = 0;
        return kNoCard;
    }
    if (state) *state = WORD(m_plant.axis(axis).homeResult());
    return 0;
}

} // namespace sim
