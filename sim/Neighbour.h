#pragma once
// A neighbour machine at one end of a belt, as the hand-shake sees it: three
// signals out to this machine and three back. The upstream one sends trays
// (it plays the sender's side: Ready, then Beg, then Busy while it pushes the
// tray across), the downstream one receives them (Ready, then Recive, then
// Compeled once the tray is on its side). Answers come after a delay; the
// neighbour can be made slow, silent, stopped at a stage or made to drop its
// signals half way.
#include "sim/PlantElement.h"
#include "sim/Tray.h"

#include <random>
#include <string>
#include <vector>

namespace sim {

class Neighbour : public PlantElement {
public:
    enum class Role { Sender, Receiver };
    // The sender waits for a tray (Idle), offers it (Ready), begins (Beg raised),
    // pushes it across (Busy), and ends (Compeled seen). The receiver waits for
    // room (Idle), is ready (Ready), receives (Recive raised), pulls the tray,
    // and ends (Compeled raised).
    enum Stage { Idle = 0, Offered, Begun, Moving, Finished };
    // Signal k of the three (0 Ready, 1 Busy/Recive, 2 Beg/Compeled) is I/O image base + k
    // both ways: the machine's outputs base..base+2 are this neighbour's inputs.
    Neighbour(std::string name, Role role, int base, bool emptyTrays);

    std::string name() const override { return m_name; }
    void attach(Plant& plant) override;
    void step(Plant& plant, int64_t nowUs) override;
    int64_t restUntilUs(Plant& plant) const override;

    Role role() const { return m_role; }
    int base() const { return m_base; }
    Stage stage() const { return m_stage; }
    bool signal(int k) const { return m_out[k]; }
    // Pushing a tray onto the machine's belt (sender) or pulling one off it (receiver).
    // A sender finishes pushing a tray it has started to push.
    bool moving() const {
        return !frozen() &&
               (m_stage == Moving || (m_stage == Finished && m_role == Role::Sender && m_inserted));
    }
    double beltSpeed() const { return m_speed; }

    // ---- sender ----
    // Trays still to send (-1 without end) and the time to prepare the next one.
    void setSupply(int trays) {
        m_supply = trays;
        wakeParts();
    }
    int supply() const { return m_supply; }
    void setSupplyIntervalUs(int64_t us) {
        m_supplyIntervalUs = us;
        wakeParts();
    }
    // Cells of the product trays it makes; all hold a barrel.
    void setCells(int cells) {
        m_cells = cells;
        wakeParts();
    }
    // The tray it offers next, or nullptr.
    const Tray* waiting() const { return m_hasTray ? &m_tray : nullptr; }
    // The belt takes the tray being pushed, once, when it starts to move across.
    bool takeOutgoing(Tray& tray);
    // The tray being pushed is now wholly on the machine's belt.
    void trayCrossed();

    // ---- receiver ----
    // Called by the belt when a tray has fully crossed onto this neighbour.
    void acceptTray(const Tray& tray);
    const std::vector<int>& received() const { return m_received; }
    bool holding() const { return m_holding; }
    // How long a received tray keeps it busy before it is ready again.
    void setConsumeUs(int64_t us) {
        m_consumeUs = us;
        wakeParts();
    }

    // ---- behaviour ----
    // Answer delay: each answer comes after a random time in [min, max].
    void setDelayUs(int64_t minUs, int64_t maxUs) {
        m_delayMinUs = minUs, m_delayMaxUs = maxUs;
        wakeParts();
    }
    // Slow: every delay multiplied by factor.
    void setSlowFactor(double factor) {
        m_slow = factor > 0 ? factor : 1;
        wakeParts();
    }
    // Silent: it no longer changes its signals or moves trays (stops answering).
    void setSilent(bool on) {
        m_silent = on;
        wakeParts();
    }
    bool silent() const { return m_silent; }
    // Stops answering once it has entered this stage (-1: never).
    void setStopAt(int stage) {
        m_stopAt = stage;
        wakeParts();
    }
    // Drops all its signals once when it enters this stage, and starts over (-1: never).
    void setDropAt(int stage) {
        m_dropAt = stage;
        wakeParts();
    }
    bool frozen() const { return m_silent || (m_stopAt >= 0 && m_stage == m_stopAt); }

private:
    bool machineOut(Plant& plant, int k) const;
    void setSignal(Plant& plant, int k, bool on);
    void enter(Plant& plant, Stage s);
    bool answerDue(Plant& plant, int64_t nowUs, bool cond);
    void stepSender(Plant& plant, int64_t nowUs);
    void stepReceiver(Plant& plant, int64_t nowUs);

    std::string m_name;
    Role m_role;
    int m_base;
    bool m_emptyTrays;
    Stage m_stage = Idle;
    bool m_out[3] = {false, false, false};

    std::mt19937 m_rng;
    int64_t m_dueUs = -1; // when the pending answer may be given
    int64_t m_delayMinUs = 50000, m_delayMaxUs = 250000;
    double m_slow = 1;
    bool m_silent = false;
    int m_stopAt = -1, m_dropAt = -1;
    double m_speed = 150.0; // mm/s of its own belt

    int m_supply = -1;
    int64_t m_supplyIntervalUs = 500000;
    int64_t m_nextTrayUs = 0;
    int m_cells = 12;
    int m_nextId = 1;
    bool m_hasTray = false;
    bool m_inserted = false; // the offered tray is already (partly) on the machine's belt
    Tray m_tray;

    std::vector<int> m_received;
    bool m_holding = false; // a received tray still occupies it
    int64_t m_consumeUs = 2000000;
    int64_t m_freeAtUs = 0;
};

} // namespace sim
