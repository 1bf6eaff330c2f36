#pragma once
// Opens and closes the machine-state periods (standby, run, stop, home, error)
// and hands every closed period to the machine-state database.
#include <QString>
#include <cstdint>
#include <functional>

class StateRecorder {
public:
    using Sink = std::function<void(const QString& kind, int64_t startMs, int64_t endMs)>;
    explicit StateRecorder(Sink sink);

    // One evaluation at wall time nowMs (the 100 ms tick).
    void tick(int64_t nowMs);
    bool isOpen(int kind) const { return m_periods[kind].open; }

    static constexpr int kKinds = 5;
    static const char* kindName(int kind);

private:
    struct Period {
        bool open = false;
        int64_t startMs = 0;
    };
    void update(int kind, bool starts, bool ends, int64_t nowMs);

    Period m_periods[kKinds];
    Sink m_sink;
};
