#include "taskrun.h"

#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/vision/TaskParams.h"
#include "platform/vision/VisionBackend.h"
#include "platform/vision/gcallfun.h"
#include "platform/vision/taskdata.h"

#include <QDateTime>
#include <QDir>
#include <QLoggingCategory>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QRegularExpression>
#include <atomic>
#include <cmath>
#include <random>

Q_LOGGING_CATEGORY(lcVision, "tavrin.vision")

namespace {
constexpr int kMaxTasks = 64;
std::atomic<uint64_t> lastRun{0};

// Answers without a backend: verdict, values and text straight from the settings.
struct ParamAnswer {
    QMutex mutex;
    std::mt19937 rng{20260105u};
    int counter[kMaxTasks] = {};

    TaskOutcome run(int task, const TaskParam& p) {
        TaskOutcome out;
        out.delayUs = int64_t(p.processMs) * 1000;
        QMutexLocker lock(&mutex);
        const int status = verdictFor(p.mode, p.ngRate, rng, &out.finishes);
        TaskRecord& r = out.result;
        r.status = status;
        std::copy(p.values, p.values + TaskRecord::kValueCount, r.values);
        r.values[27] = p.processMs;
        QString text1;
        if (status == TaskOK && !p.text.isEmpty()) text1 = p.expandText(++counter[task]);
        taskrun::annotate(task, p, text1, &r);
        out.render = [] {
            QImage img(800, 600, QImage::Format_RGB32);
            img.fill(QColor(60, 60, 60));
            return img;
        };
        return out;
    }
};
ParamAnswer& paramAnswer() {
    static ParamAnswer answer;
    return answer;
}

void saveImage(int task, const TaskRecord& r) {
    const QString code = taskdata::GetInstance()->value("saveimgcode");
    if (code.isEmpty() || r.image.isNull() || !TaskParams::GetInstance()->saveImages()) return;
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(clk::wallMs());
    const QString dir = Paths::imageDir() + "/" + now.toString("yyyyMMdd");
    QString safe = code;
    safe.remove(QRegularExpression("[^A-Za-z0-9_-]"));
    if (safe.isEmpty()) return;
    const QString file = QString("%1/%2_T%3_%4_%5.jpg")
                             .arg(dir, safe)
                             .arg(task)
                             .arg(r.status == TaskOK ? "OK" : "NG")
                             .arg(now.toString("hhmmsszzz"));
    if (!QDir().mkpath(dir) || !r.image.save(file, "JPG", 90))
        qCWarning(lcVision) << "image not saved:" << file;
}

void finish(int task, uint64_t run, int camera, int mode, TaskOutcome out) {
    taskdata* td = taskdata::GetInstance();
    if (td->record(task).runId != run) return; // started again meanwhile
    if (out.render) out.result.image = out.render();
    if (!td->finishRun(task, out.result, clk::nowUs(), run)) return;
    td->setBusy(camera, 0);
    if (mode == 0) saveImage(task, out.result);
    emit gcallfun::GetInstance()->signalRepaintcvview(task, out.result.texts);
}
} // namespace

int taskrun::taskexec(int task, int mode) {
    taskdata* td = taskdata::GetInstance();
    if (task < 0 || task >= kMaxTasks || task >= td->taskNum()) return -1;
    const TaskParam p = TaskParams::GetInstance()->param(task);
    VisionBackend* backend = VisionBackend::current();
    TaskOutcome out = backend ? backend->run(task, p) : paramAnswer().run(task, p);
    const uint64_t run = ++lastRun;
    td->beginRun(task, clk::nowUs(), run);
    td->setBusy(p.camera, 1);
    if (!out.finishes) return 0;
    const int camera = p.camera;
    clk::callAfterUs(std::max<int64_t>(0, out.delayUs), [task, run, camera, mode, out = std::move(out)] {
        finish(task, run, camera, mode, out);
    });
    return 0;
}

void taskrun::setSeed(uint32_t seed) {
    QMutexLocker lock(&paramAnswer().mutex);
    paramAnswer().rng.seed(seed);
}

namespace {
// Three decimals without a "-0.000" for values that round to zero.
QString fixed(double v, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return QString::number(std::round(v * scale) / scale + 0.0, 'f', decimals);
}
} // namespace

void taskrun::annotate(int task, const TaskParam& p, const QString& text1, TaskRecord* r) {
    const bool ok = r->status == TaskOK;
    const QString verdict = ok ? "OK" : "NG";
    QString summary = text1;
    if (summary.isEmpty() && ok)
        summary = QString("X=%1 Y=%2 A=%3")
                      .arg(fixed(r->values[21], 3), fixed(r->values[20], 3), fixed(r->values[22], 2));
    r->texts = QStringList{verdict, summary};
    const QColor colour = ok ? QColor(0, 230, 0) : QColor(255, 40, 40);
    r->overlay.clear();
    r->overlay.append({QString("T%1 %2  %3").arg(task).arg(p.name, verdict), QPointF(12, 12), colour});
    if (!summary.isEmpty()) r->overlay.append({summary, QPointF(12, 52), QColor(255, 255, 0)});
    r->marks.clear();
    if (ok) r->marks.append(QPointF(r->values[10], r->values[11]));
}
