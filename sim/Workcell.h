#pragma once
// What the machine works on, and how it meets the tools: the label feeder, the
// product tray with its barrels, the NG tray and gripper, the label NG box, the
// labels the nozzle carries, and what the cameras and the height sensor see.
//
// The nozzle picks a label when its vacuum comes on at pick height over one; the
// label turns with Q and goes where the nozzle lets it go: onto a barrel (the
// placement is recorded), into the label NG box, back into its plate cell, or lost.
#include "sim/PlacementRecord.h"
#include "sim/PlantElement.h"
#include "sim/VirtualCameras.h"
#include "sim/Workpieces.h"

#include <cstdint>

namespace sim {

class Feeder;
class ProductTray;

class Workcell : public PlantElement {
public:
    static constexpr int kBoxPresentInput = 20;
    static constexpr int kBoxFullInput = 21;

    // Adds the feeder, the product tray and the work cell to a plant.
    static Workcell* install(Plant& plant);

    std::string name() const override { return "workcell"; }
    void attach(Plant& plant) override;
    void step(Plant& plant, int64_t nowUs) override;
    int64_t restUntilUs(Plant& plant) const override;

    // With the plant lock held for all of these.
    Feeder& feeder() { return *m_feeder; }
    ProductTray& tray() { return *m_tray; }
    const WorkLayout& layout() const { return m_layout; }
    void setLayout(const WorkLayout& layout);
    PlacementRecord& placements() { return m_placements; }

    bool carrying() const { return m_carrying; }
    const Label& carried() const { return m_label; }
    int labelsInBox() const { return m_boxCount; }
    int labelsLost() const { return m_lost; }
    void setLabelBoxPresent(bool present) {
        m_boxPresent = present;
        wakeParts();
    }
    void setLabelBoxCapacity(int labels) {
        m_boxCapacity = labels;
        wakeParts();
    }
    void emptyLabelBox() {
        m_boxCount = 0;
        wakeParts();
    }
    // Fault: the next n labels fall off the nozzle while it rises from the plate.
    void loseLabelsOnLift(int n) {
        m_loseOnLift = n;
        wakeParts();
    }
    // The operator takes the label off the nozzle by hand; false when it holds none.
    bool takeLabelOffNozzle(Plant& plant);

    // The calibration plate, laid down by hand (mark at x, y in the upper camera's frame).
    void placePlate(double x, double y, double angle);
    const CalibPlate& plate() const { return m_plate; }
    bool plateOnNozzle() const { return m_plateCarried; }
    // Where the plate's mark sits relative to the nozzle axis while it is carried (world
    // directions, at the present Q).
    void plateOnNozzleOffset(double* dx, double* dy) const;

    // What the camera of a vision task sees with the axes at pose; false for the
    // tasks that look at no workpiece (calibration, nozzle).
    bool see(int task, const VirtualCameras::Pose& pose, VirtualCameras::SceneView* view);
    // The height sensor's reading under its spot (mm, deviation from the nominal
    // barrel top); NaN with nothing in its range. Takes the plant lock.
    double heightUnderSensor();
    // The scene for VirtualCameras::setScene; the plant must outlive the cameras' use of it.
    VirtualCameras::Scene cameraScene();

private:
    bool grip(Plant& plant);
    void release(Plant& plant);
    void nozzleWorld(double* x, double* y) const;
    bool nozzleDown() const;
    void carriedPose(double* x, double* y, double* angle) const;
    bool gripPlate(Plant& plant);
    void carriedPlatePose(double* x, double* y, double* angle) const;
    bool seeCalibration(int task, const VirtualCameras::Pose& pose, VirtualCameras::SceneView* v);

    Plant* m_plant = nullptr;
    Feeder* m_feeder = nullptr;
    ProductTray* m_tray = nullptr;
    WorkLayout m_layout;
    PlacementRecord m_placements;

    bool m_carrying = false;
    Label m_label;
    double m_ex = 0, m_ey = 0; // label centre from the nozzle axis, at Q = 0
    double m_rel = 0;          // label angle minus Q
    int m_fromCell = 0;        // plate cell it came from
    int m_loseOnLift = 0;

    bool m_boxPresent = true;
    int m_boxCount = 0;
    int m_boxCapacity = 500;
    int m_lost = 0;

    CalibPlate m_plate;
    bool m_plateCarried = false;
    double m_pex = 0, m_pey = 0; // plate mark from the nozzle axis, at Q = 0
    double m_prel = 0;           // plate angle minus Q
};

} // namespace sim
