#pragma once
// The virtual machine's two cameras behind the vision library. A task answers as
// its settings say (verdict, values, text, processing time); the cameras add what
// a real camera adds: a picture of the object where it was found, a little scatter,
// image coordinates through each camera's own optics, offsets through the camera's
// calibration, and, for the calibration tasks, marks that move with the axes.
//
// Fault injection: disconnect a camera (its tasks end NG, "相机未连接"), force a
// task's verdict or make it never finish, add processing lag.
#include "platform/vision/VisionBackend.h"

#include <QMutex>
#include <QString>
#include <cstdint>
#include <functional>
#include <random>

class VirtualCameras : public VisionBackend {
public:
    struct Pose {
        double x = 0, y = 0, z = 0, q = 0; // axis positions at the trigger, mm and degrees
    };
    enum Force { ForceNone, ForceOK, ForceNG, ForceNever };
    // What a camera finds when it looks at the machine's workpieces: the verdict, the
    // offsets and angle the task reports (before the camera's own scatter) and text 1.
    struct SceneView {
        bool ok = false;
        double x = 0, y = 0, angle = 0;
        QString text;
    };
    // Answers for a task with the axes at pose; false: the task looks at nothing the
    // scene knows and answers from its settings.
    using Scene = std::function<bool(int task, const Pose& pose, SceneView* view)>;
    static constexpr int kMaxTasks = 64;
    // Each camera's true scale; the library assumes 50 px/mm until it is calibrated.
    static constexpr double kUpperPxPerMm = 48.5;
    static constexpr double kLowerPxPerMm = 51.2;

    explicit VirtualCameras(uint32_t seed = 1);

    TaskOutcome run(int task, const TaskParam& param) override;
    bool cameraConnected(int cam) override;

    // cam 1 upper, 2 lower.
    void setConnected(int cam, bool connected);
    void setForce(int task, Force force);
    void setExtraDelayUs(int task, int64_t us);
    // Standard deviation of the found position (mm) and angle (deg) around the set values.
    void setScatter(int task, double mm, double deg);
    void setSeed(uint32_t seed);
    // Where the axes are when a task is triggered; without it the pose is all 0.
    void setPoseSource(std::function<Pose()> source);
    // The workpieces the cameras look at; without a scene every task answers from its settings.
    void setScene(Scene scene);
    // Off: tasks end without a picture (nothing to show or save; much faster runs).
    void setRenderImages(bool on);
    // Scatter of what the cameras report from the scene (mm and degrees, standard deviation).
    void setSceneNoise(double mm, double deg);
    // Pose from the card: command positions of axes 0..3 (X, Y, Z, Q) of card 0.
    static Pose cardPose();
    // Axis position at which the calibration mark of task (6..12) sits under the
    // camera centre; unset, the pose of the task's first trigger is taken.
    void setAnchor(int task, double x, double y);
    void clearAnchors();
    // Q position at which the nozzle's flat faces along the lower camera's columns.
    void setNozzleZero(double deg);
    // Next number for "{n}" in a task's text.
    void setNextSerial(int task, int n);

    // Image point where the camera would see an object at offset (x, y) mm; the inverse
    // of a correct calibration.
    static void offsetToImage(int camera, double x, double y, double* col, double* row);

private:
    double gauss(double sigma);

    QMutex m_mutex;
    std::mt19937 m_rng;
    bool m_connected[2] = {true, true};
    Force m_force[kMaxTasks] = {};
    int64_t m_extraUs[kMaxTasks] = {};
    double m_scatterMm[kMaxTasks];
    double m_scatterDeg[kMaxTasks];
    bool m_anchorSet[kMaxTasks] = {};
    double m_anchorX[kMaxTasks] = {};
    double m_anchorY[kMaxTasks] = {};
    int m_serial[kMaxTasks] = {};
    double m_nozzleZero = 0.0;
    std::function<Pose()> m_pose;
    Scene m_scene;
    double m_sceneMm = 0.003;
    double m_sceneDeg = 0.03;
    bool m_render = true;
};
