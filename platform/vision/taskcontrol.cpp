#include "taskcontrol.h"

#include "platform/AtomicFile.h"
#include "platform/vision/taskdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMutex>
#include <QMutexLocker>

namespace {
constexpr int kCams = 2;
QMutex mutex;
CamCalib stored[kCams];
CamCalib active[kCams];
QString lastErr;

bool validCam(int cam) {
    return cam >= 0 && cam < kCams;
}

// Reads a calibration file; false when missing or unreadable (reason in lastErr).
bool readFile(const QString& path, CamCalib* out) {
    QFile file(path);
    if (!file.exists()) {
        lastErr = QString("没有标定文件 %1").arg(path);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        lastErr = QString("标定文件 %1 无法打开：%2").arg(path, file.errorString());
        return false;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    CamCalib calib;
    if (!doc.isObject() || !calib.fromJson(doc.object())) {
        lastErr = QString("标定文件 %1 内容无效").arg(path);
        return false;
    }
    *out = calib;
    return true;
}
} // namespace

QString taskcontrol::calibFile(int cam, const QString& name) {
    return taskdata::GetInstance()->visionDir() + QString("/%1%2_9dian.json").arg(name).arg(cam);
}

int taskcontrol::ReadWriteCamCalib(int cam, double* a, double* b, double* c, double* d, int n) {
    QMutexLocker lock(&mutex);
    if (!validCam(cam)) {
        lastErr = QString("相机号 %1 无效").arg(cam);
        return -1;
    }
    if (n > 0) {
        CamCalib calib;
        if (!calib.setPoints(a, b, c, d, n)) {
            lastErr = QString("相机 %1 的标定点无法求解（点数 %2，或点在一条线上）").arg(cam).arg(n);
            return -1;
        }
        stored[cam] = calib;
        return n;
    }
    if (!stored[cam].valid() && !readFile(calibFile(cam), &stored[cam])) return -1;
    return stored[cam].points(a, b, c, d);
}

int taskcontrol::ReadCamCalibToTask(int cam) {
    QMutexLocker lock(&mutex);
    if (!validCam(cam)) {
        lastErr = QString("相机号 %1 无效").arg(cam);
        return -1;
    }
    if (!stored[cam].valid() && !readFile(calibFile(cam), &stored[cam])) return -1;
    active[cam] = stored[cam];
    return 0;
}

int taskcontrol::Save9dianPara(int cam, double* a, double* b, double* c, double* d, const QString& name) {
    QMutexLocker lock(&mutex);
    CamCalib calib;
    if (!validCam(cam) || !calib.setPoints(a, b, c, d, 9)) {
        lastErr = QString("相机 %1 的九点标定数据无效，未保存").arg(cam);
        return -1;
    }
    const QString path = calibFile(cam, name.isEmpty() ? QString("cam") : name);
    QString why;
    if (!AtomicFile::write(path, QJsonDocument(calib.toJson()).toJson(), &why)) {
        lastErr = QString("标定文件 %1 保存失败：%2").arg(path, why);
        return -1;
    }
    stored[cam] = calib;
    return 0;
}

void taskcontrol::loadCalibrations() {
    QMutexLocker lock(&mutex);
    for (int cam = 0; cam < kCams; ++cam) {
        CamCalib calib;
        if (!readFile(calibFile(cam), &calib)) calib = CamCalib();
        stored[cam] = calib;
        active[cam] = calib;
    }
}

void taskcontrol::clearCalibrations() {
    QMutexLocker lock(&mutex);
    for (int cam = 0; cam < kCams; ++cam) {
        stored[cam] = CamCalib();
        active[cam] = CamCalib();
    }
}

bool taskcontrol::activeCalib(int cam, CamCalib* out) {
    QMutexLocker lock(&mutex);
    if (!validCam(cam) || !active[cam].valid()) return false;
    if (out) *out = active[cam];
    return true;
}

QString taskcontrol::lastError() {
    QMutexLocker lock(&mutex);
    return lastErr;
}
