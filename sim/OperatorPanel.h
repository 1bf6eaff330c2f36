#pragma once
// The operator's hardware: emergency-stop circuit, door switches, push-buttons
// and the lamps and buzzer they look at.
#include "sim/PlantElement.h"

namespace sim {

class OperatorPanel : public PlantElement {
public:
    // Card inputs.
    enum Input {
        EstopCircuit = 0,
        StartButton = 1,
        StopButton = 2,
        AlarmClearButton = 3,
        ResetButton = 4,
        FrontDoor = 5,
        RearDoor = 6,
        LeftDoor = 7,
        RightDoor = 8,
        NgTrayButton = 9
    };
    // Card outputs.
    enum Output {
        RedLamp = 0,
        YellowLamp = 1,
        GreenLamp = 2,
        Buzzer = 3,
        Lighting = 4,
        StartLamp = 5,
        StopLamp = 6,
        AlarmClearLamp = 7,
        ResetLamp = 8,
        NgTrayLamp = 9,
        DoorLock = 10
    };

    std::string name() const override { return "panel"; }
    void attach(Plant& plant) override;
    void step(Plant& plant, int64_t nowUs) override;
    int64_t restUntilUs(Plant& plant) const override;

    // Latching: pressed until released. The circuit input is active while released.
    void setEstopPressed(bool pressed);
    bool estopPressed() const { return m_estop; }
    // door 0..3 = front, rear, left, right; the switch input is active while closed.
    void setDoorOpen(int door, bool open);
    // A person at the door: while the door lock (output 10) is on, a closed door
    // does not open (false). setDoorOpen forces the door, as a broken lock would.
    bool pullDoor(int door, bool open);
    bool doorLocked() const;
    bool doorOpen(int door) const;
    // button = one of the button inputs; active while held.
    void setButtonPressed(int button, bool pressed);
    // Presses and lets go after holdUs of plant time.
    void clickButton(int button, int64_t holdUs = 200000);

private:
    Plant* m_plant = nullptr;
    bool m_estop = false;
    bool m_doorOpen[4] = {false, false, false, false};
    int64_t m_releaseAt[16] = {};
    int m_pendingReleases = 0;
};

} // namespace sim
