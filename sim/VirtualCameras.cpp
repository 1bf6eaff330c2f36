#include "VirtualCameras.h"

#include "platform/LTDMC.h"
#include "platform/vision/CamCalib.h"
#include "platform/vision/taskcontrol.h"
#include "platform/vision/taskrun.h"
#include "sim/VisionScene.h"

#include <QMutexLocker>
#include <QPolygonF>
#include <QTransform>
#include <cmath>

namespace {
constexpr double kNominalPxPerMm = 50.0;
constexpr double kUpperTiltDeg = 0.35; // how far each camera sits turned on its mount
constexpr double kLowerTiltDeg = -0.6;
constexpr double kCentreCol = VisionScene::kWidth / 2.0;
constexpr double kCentreRow = VisionScene::kHeight / 2.0;
constexpr double kPi = 3.14159265358979323846;

bool isPlateTask(int task) {
    return task >= 6 && task <= 12;
}

VisionScene::Kind kindOf(int task, bool ok) {
    switch (task) {
    case 0:
        return VisionScene::LabelOnPlate;
    case 1:
        return VisionScene::LabelOnNozzle;
    case 2:
        return VisionScene::Barrel;
    case 3:
        return VisionScene::Code;
    case 4:
        return VisionScene::BarrelWithLabel;
    case 5:
    case 12:
        return VisionScene::Nozzle;
    case 13:
        return ok ? VisionScene::Barrel : VisionScene::EmptyCell; // barrel present?
    case 14:
        return ok ? VisionScene::EmptyCell : VisionScene::Barrel; // NG-tray cell free?
    default:
        return isPlateTask(task) ? VisionScene::PlateMark : VisionScene::LabelOnPlate;
    }
}

QString ngReason(int task) {
    switch (task) {
    case 3:
        return "读码失败";
    case 13:
        return "无料";
    case 14:
        return "有料";
    default:
        return "未找到";
    }
}

double normDeg(double a) {
    a = std::fmod(a, 360.0);
    if (a > 180.0) a -= 360.0;
    if (a <= -180.0) a += 360.0;
    return a;
}

// The offset a camera reports for an image point: through its calibration when it
// has one, else through the nominal scale the library starts with.
void imageToOffset(int camera, double col, double row, double* x, double* y) {
    CamCalib calib;
    if (taskcontrol::activeCalib(camera, &calib)) {
        double x0, y0, x1, y1;
        calib.imageToAxis(kCentreCol, kCentreRow, &x0, &y0);
        calib.imageToAxis(col, row, &x1, &y1);
        *x = x1 - x0;
        *y = y1 - y0;
        return;
    }
    const double dc = (col - kCentreCol) / kNominalPxPerMm, dr = (row - kCentreRow) / kNominalPxPerMm;
    if (camera == 0) {
        *x = -dc;
        *y = -dr;
    } else {
        *x = -dc;
        *y = dr;
    }
}
} // namespace

VirtualCameras::VirtualCameras(uint32_t seed) : m_rng(seed) {
    for (int t = 0; t < kMaxTasks; ++t) {
        // Labels lie loose in their pockets and on the nozzle; barrels sit in tray cells;
        // the calibration plate is a printed mark.
        const bool label = t == 0 || t == 1;
        const bool barrel = t == 2 || t == 4;
        m_scatterMm[t] = label ? 0.05 : barrel ? 0.03 : isPlateTask(t) ? 0.002 : 0.0;
        m_scatterDeg[t] = label ? 0.5 : barrel ? 0.3 : (t == 5 || isPlateTask(t)) ? 0.02 : 0.0;
    }
}

void VirtualCameras::offsetToImage(int camera, double x, double y, double* col, double* row) {
    // Upper camera rides on the gantry: a point ahead of the nozzle appears against the
    // motion. Lower camera looks up: its columns run against X.
    const double s = camera == 0 ? kUpperPxPerMm : kLowerPxPerMm;
    const double a = (camera == 0 ? kUpperTiltDeg : kLowerTiltDeg) * kPi / 180.0;
    const double dx = -x;
    const double dy = camera == 0 ? -y : y;
    *col = kCentreCol + s * (std::cos(a) * dx - std::sin(a) * dy);
    *row = kCentreRow + s * (std::sin(a) * dx + std::cos(a) * dy);
}

double VirtualCameras::gauss(double sigma) {
    if (sigma <= 0) return 0.0;
    return std::normal_distribution<double>(0.0, sigma)(m_rng);
}

TaskOutcome VirtualCameras::run(int task, const TaskParam& param) {
    std::function<Pose()> source;
    Scene scene;
    {
        QMutexLocker lock(&m_mutex);
        source = m_pose;
        scene = m_scene;
    }
    // Outside the lock: the source and the scene may take the plant's lock.
    const Pose pose = source ? source() : Pose();
    SceneView view;
    const bool fromScene = scene && scene(task, pose, &view);
    QMutexLocker lock(&m_mutex);
    const int t = qBound(0, task, kMaxTasks - 1);
    const int camera = qBound(0, param.camera, 1);
    TaskOutcome out;
    out.delayUs = int64_t(param.processMs) * 1000 + m_extraUs[t];

    int mode = param.mode;
    if (m_force[t] == ForceOK) mode = TaskParam::ModeOK;
    if (m_force[t] == ForceNG) mode = TaskParam::ModeNG;
    if (m_force[t] == ForceNever) mode = TaskParam::ModeNever;
    int status;
    if (fromScene) {
        status = view.ok ? TaskOK : TaskNG;
        if (m_force[t] == ForceOK) status = TaskOK;
        if (m_force[t] == ForceNG) status = TaskNG;
        out.finishes = m_force[t] != ForceNever;
    } else {
        status = verdictFor(mode, param.ngRate, m_rng, &out.finishes);
    }
    const bool connected = m_connected[camera];
    if (!connected) status = TaskNG;
    const bool ok = status == TaskOK;

    // Where the object really is, as offsets the camera should report.
    double vx, vy, va;
    if (fromScene) {
        vx = view.x + gauss(m_sceneMm);
        vy = view.y + gauss(m_sceneMm);
        va = view.angle + gauss(m_sceneDeg);
    } else {
        vx = param.values[21] + gauss(m_scatterMm[t]);
        vy = param.values[20] + gauss(m_scatterMm[t]);
        va = param.values[22] + gauss(m_scatterDeg[t]);
    }
    if (isPlateTask(t) && !fromScene) {
        if (!m_anchorSet[t]) {
            m_anchorSet[t] = true;
            m_anchorX[t] = pose.x;
            m_anchorY[t] = pose.y;
        }
        vx += pose.x - m_anchorX[t];
        vy += pose.y - m_anchorY[t];
    }
    if (t == 5 && !fromScene) va += pose.q - m_nozzleZero;
    va = normDeg(va);

    double col, row;
    offsetToImage(camera, vx, vy, &col, &row);
    const double tilt = camera == 0 ? kUpperTiltDeg : kLowerTiltDeg;
    const double imageAngle = normDeg(camera == 0 ? va + tilt : -va + tilt);
    const double pxPerMm = camera == 0 ? kUpperPxPerMm : kLowerPxPerMm;

    TaskRecord& r = out.result;
    r.status = status;
    r.values[27] = param.processMs;
    QString text1;
    if (ok) {
        double rx, ry;
        imageToOffset(camera, col, row, &rx, &ry);
        r.values[10] = col;
        r.values[11] = row;
        r.values[12] = imageAngle;
        r.values[20] = ry;
        r.values[21] = rx;
        r.values[22] = va;
        r.values[23] = qBound(0.0, param.values[23] - std::fabs(gauss(0.01)), 1.0);
        r.values[24] = param.values[24];
        r.values[25] = param.values[25];
        r.values[26] = param.values[26];
        if (fromScene && !view.text.isEmpty())
            text1 = view.text;
        else if (!param.text.isEmpty())
            text1 = param.expandText(++m_serial[t]);
    } else {
        r.values[23] = 0.3;
        text1 = connected ? ngReason(t) : QString("相机未连接");
    }
    taskrun::annotate(task, param, text1, &r);
    // The search window, and the outline of what was found.
    const double mx = VisionScene::kWidth * 0.1, my = VisionScene::kHeight * 0.1;
    r.regions.append(QPolygonF(QRectF(mx, my, VisionScene::kWidth - 2 * mx, VisionScene::kHeight - 2 * my)));
    VisionScene::Frame f;
    f.kind = connected ? kindOf(t, ok) : VisionScene::NoImage;
    f.lowerCamera = camera == 1;
    f.defect = !ok;
    f.col = col;
    f.row = row;
    f.angleDeg = imageAngle;
    f.widthPx = param.values[24] * pxPerMm;
    f.heightPx = param.values[25] * pxPerMm;
    f.code = text1.isEmpty() ? QString("T%1").arg(task) : text1;
    if (ok && f.kind != VisionScene::EmptyCell && f.kind != VisionScene::PlateMark) {
        QTransform tr;
        tr.translate(col, row);
        tr.rotate(-imageAngle);
        r.regions.append(tr.map(QPolygonF(QRectF(-f.widthPx / 2, -f.heightPx / 2, f.widthPx, f.heightPx))));
    }
    if (!ok && !connected) r.regions.clear();
    if (m_render) out.render = [f] { return VisionScene::render(f); };
    return out;
}

bool VirtualCameras::cameraConnected(int cam) {
    QMutexLocker lock(&m_mutex);
    return cam >= 1 && cam <= 2 && m_connected[cam - 1];
}

void VirtualCameras::setConnected(int cam, bool connected) {
    QMutexLocker lock(&m_mutex);
    if (cam >= 1 && cam <= 2) m_connected[cam - 1] = connected;
}

void VirtualCameras::setForce(int task, Force force) {
    QMutexLocker lock(&m_mutex);
    if (task >= 0 && task < kMaxTasks) m_force[task] = force;
}

void VirtualCameras::setExtraDelayUs(int task, int64_t us) {
    QMutexLocker lock(&m_mutex);
    if (task >= 0 && task < kMaxTasks) m_extraUs[task] = std::max<int64_t>(0, us);
}

void VirtualCameras::setScatter(int task, double mm, double deg) {
    QMutexLocker lock(&m_mutex);
    if (task < 0 || task >= kMaxTasks) return;
    m_scatterMm[task] = std::max(0.0, mm);
    m_scatterDeg[task] = std::max(0.0, deg);
}

void VirtualCameras::setSeed(uint32_t seed) {
    QMutexLocker lock(&m_mutex);
    m_rng.seed(seed);
}

void VirtualCameras::setPoseSource(std::function<Pose()> source) {
    QMutexLocker lock(&m_mutex);
    m_pose = std::move(source);
}

void VirtualCameras::setScene(Scene scene) {
    QMutexLocker lock(&m_mutex);
    m_scene = std::move(scene);
}

void VirtualCameras::setRenderImages(bool on) {
    QMutexLocker lock(&m_mutex);
    m_render = on;
}

void VirtualCameras::setSceneNoise(double mm, double deg) {
    QMutexLocker lock(&m_mutex);
    m_sceneMm = std::max(0.0, mm);
    m_sceneDeg = std::max(0.0, deg);
}

VirtualCameras::Pose VirtualCameras::cardPose() {
    Pose p;
    dmc_get_position_unit(0, 0, &p.x);
    dmc_get_position_unit(0, 1, &p.y);
    dmc_get_position_unit(0, 2, &p.z);
    dmc_get_position_unit(0, 3, &p.q);
    return p;
}

void VirtualCameras::setAnchor(int task, double x, double y) {
    QMutexLocker lock(&m_mutex);
    if (task < 0 || task >= kMaxTasks) return;
    m_anchorSet[task] = true;
    m_anchorX[task] = x;
    m_anchorY[task] = y;
}

void VirtualCameras::clearAnchors() {
    QMutexLocker lock(&m_mutex);
    for (bool& set : m_anchorSet) set = false;
}

void VirtualCameras::setNozzleZero(double deg) {
    QMutexLocker lock(&m_mutex);
    m_nozzleZero = deg;
}

void VirtualCameras::setNextSerial(int task, int n) {
    QMutexLocker lock(&m_mutex);
    if (task >= 0 && task < kMaxTasks) m_serial[task] = n - 1;
}
