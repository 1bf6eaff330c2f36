#include "TaskParam.h"

#include "platform/vision/TaskRecord.h"

#include <QJsonArray>
#include <QJsonValue>
#include <cmath>

const int TaskParam::kShownPositions[TaskParam::kShownCount] = {10, 11, 12, 20, 21, 22, 23, 24, 25, 26, 27};

namespace {
struct TaskInfo {
    const char* name;
    int camera;
    double width, height; // size of what the task looks for, mm
};
// Upper camera: labels on the plate, barrels, codes, the calibration plate and the
// NG tray. Lower camera: what the nozzle holds.
const TaskInfo kTasks[] = {
    {QT_TRANSLATE_NOOP("CVMainWindow", "标签拍照"), 0, 6.0, 4.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "下相机标签"), 1, 6.0, 4.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "组装拍照"), 0, 8.0, 8.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "二维码"), 0, 3.0, 3.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "组装检查"), 0, 8.0, 8.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "吸笔零点"), 1, 2.0, 2.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "上相机九点标定"), 0, 1.0, 1.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "关联标定取片前"), 0, 1.0, 1.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "关联标定取片后"), 0, 1.0, 1.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "标定片放回"), 0, 1.0, 1.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "下相机九点标定"), 1, 1.0, 1.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "下相机标定片"), 1, 1.0, 1.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "空吸笔"), 1, 2.0, 2.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "镜筒有无"), 0, 8.0, 8.0},
    {QT_TRANSLATE_NOOP("CVMainWindow", "NG盘检测"), 0, 8.0, 8.0},
};
constexpr int kTaskInfoCount = int(sizeof(kTasks) / sizeof(kTasks[0]));

const char* kModeKeys[] = {"ok", "ng", "never", "random"};
} // namespace

TaskParam TaskParam::defaults(int task) {
    TaskParam p;
    if (task >= 0 && task < kTaskInfoCount) {
        p.name = QString::fromUtf8(kTasks[task].name);
        p.camera = kTasks[task].camera;
        p.values[24] = kTasks[task].width;
        p.values[25] = kTasks[task].height;
    } else {
        p.name = QString(QT_TRANSLATE_NOOP("CVMainWindow", "任务%1")).arg(task);
    }
    p.values[10] = 400.0; // image centre of the 800 x 600 cameras
    p.values[11] = 300.0;
    p.values[23] = 0.98;
    p.values[26] = 1.0;
    if (task == 3) p.text = "SN{n}";
    return p;
}

QString TaskParam::modeName(int mode) {
    switch (mode) {
    case ModeOK:
        return "OK";
    case ModeNG:
        return "NG";
    case ModeNever:
        return QT_TRANSLATE_NOOP("CVMainWindow", "不结束");
    case ModeRandom:
        return QT_TRANSLATE_NOOP("CVMainWindow", "随机");
    }
    return QString();
}

QJsonObject TaskParam::toJson() const {
    QJsonObject obj;
    obj["mode"] = kModeKeys[qBound(0, mode, 3)];
    obj["ngRate"] = ngRate;
    obj["processMs"] = processMs;
    obj["text"] = text;
    QJsonObject vals;
    for (int pos : kShownPositions) vals[QString::number(pos)] = values[pos];
    obj["values"] = vals;
    return obj;
}

bool TaskParam::fromJson(const QJsonObject& obj, QString* error) {
    auto fail = [&](const QString& what) {
        if (error) *error = what;
        return false;
    };
    TaskParam next = *this;
    if (obj.contains("mode")) {
        const QString key = obj.value("mode").toString();
        int found = -1;
        for (int i = 0; i < 4; ++i)
            if (key == kModeKeys[i]) found = i;
        if (found < 0)
            return fail(QString(QT_TRANSLATE_NOOP("CVMainWindow", "判定方式 \"%1\" 无效")).arg(key));
        next.mode = found;
    }
    if (obj.contains("ngRate")) {
        const QJsonValue v = obj.value("ngRate");
        if (!v.isDouble() || v.toDouble() < 0.0 || v.toDouble() > 1.0)
            return fail(QT_TRANSLATE_NOOP("CVMainWindow", "NG比例必须在 0 到 1 之间"));
        next.ngRate = v.toDouble();
    }
    if (obj.contains("processMs")) {
        const QJsonValue v = obj.value("processMs");
        if (!v.isDouble() || v.toDouble() < 0.0 || v.toDouble() > 60000.0)
            return fail(QT_TRANSLATE_NOOP("CVMainWindow", "处理时间必须在 0 到 60000 ms 之间"));
        next.processMs = int(std::lround(v.toDouble()));
    }
    if (obj.contains("text")) next.text = obj.value("text").toString();
    if (obj.contains("values")) {
        const QJsonObject vals = obj.value("values").toObject();
        for (auto it = vals.begin(); it != vals.end(); ++it) {
            bool ok = false;
            const int pos = it.key().toInt(&ok);
            if (!ok || pos < 0 || pos >= kValueCount || !it.value().isDouble())
                return fail(QString(QT_TRANSLATE_NOOP("CVMainWindow", "结果值 \"%1\" 无效")).arg(it.key()));
            next.values[pos] = it.value().toDouble();
        }
    }
    *this = next;
    return true;
}

QString TaskParam::expandText(int counter) const {
    QString t = text;
    t.replace("{n}", QString("%1").arg(counter, 6, 10, QChar('0')));
    return t;
}

int verdictFor(int mode, double ngRate, std::mt19937& rng, bool* finishes) {
    *finishes = true;
    switch (mode) {
    case TaskParam::ModeNG:
        return TaskNG;
    case TaskParam::ModeNever:
        *finishes = false;
        return TaskOK;
    case TaskParam::ModeRandom:
        return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < ngRate ? TaskNG : TaskOK;
    default:
        return TaskOK;
    }
}
