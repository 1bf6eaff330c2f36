#pragma once
// One pass of the machine's scan cycle: axis status and I/O images, safety,
// readiness, hardware buttons, lamps and buzzer, photo lights. The fast scan
// thread runs it every 5 ms; tests call it directly.
class FastScan {
public:
    void pass();

private:
    void readAxes();
    void readImages();
    void checkSafety();
    void handleButtons();
    void driveLamps();
    void switchPhotoLightsOff();

    int m_buzzerPasses = 0;
    bool m_alarmClearLatch = false;
    bool m_resetLatch = false;
};
