// The vision settings "cvpara.json": a file that cannot be read changes nothing.
#include "FuzzSupport.h"
#include "platform/vision/TaskParams.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

constexpr int kTasks = 64; // the most tasks the store holds

// A task no file holds, so that a change made by a refused file shows.
TaskParam marker() {
    TaskParam p = TaskParam::defaults(0);
    p.name = "fuzz marker";
    p.values[7] = -7.5;
    return p;
}

// JSON holds no NaN, so plain comparison will do.
bool same(const TaskParam& a, const TaskParam& b) {
    if (a.name != b.name || a.camera != b.camera || a.mode != b.mode || a.ngRate != b.ngRate ||
        a.processMs != b.processMs || a.text != b.text)
        return false;
    for (int i = 0; i < TaskParam::kValueCount; ++i)
        if (a.values[i] != b.values[i]) return false;
    return true;
}

// What a saved file holds of a task: its settings and the values the page shows.
bool sameSaved(const TaskParam& a, const TaskParam& b) {
    if (a.mode != b.mode || a.ngRate != b.ngRate || a.processMs != b.processMs || a.text != b.text)
        return false;
    for (int pos : TaskParam::kShownPositions)
        if (a.values[pos] != b.values[pos]) return false;
    return true;
}

// Every input starts from the same store, so that what one leaves behind does not
// look like a leak to the fuzzer, nor hide a change made by a refused file.
void toStart(TaskParams* p, const TaskParam& mark) {
    p->reset();
    p->setParam(0, mark);
    p->setSaveImages(false);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::scratchRoot();
    static const TaskParam mark = marker();
    TaskParams* p = TaskParams::GetInstance();
    static const bool started = [&] {
        (void)p->param(kTasks - 1); // the store at its full size
        toStart(p, mark);
        return true;
    }();
    (void)started;
    const QByteArray text = fuzz::bytes(data, size);
    QString why;
    if (!p->loadText(text, &why)) {
        fuzz::require(!why.isEmpty(), "a refused file says why");
        fuzz::require(same(p->param(0), mark) && !p->saveImages(), "a refused file changes nothing");
        return 0;
    }
    // The tasks the file names save and read back alike.
    const QJsonArray tasks = QJsonDocument::fromJson(text).object().value("tasks").toArray();
    for (const QJsonValue& v : tasks) {
        const int t = v.toObject().value("task").toInt(-1);
        fuzz::require(t >= 0 && t < kTasks, "a loaded file names known tasks");
        const TaskParam loaded = p->param(t);
        TaskParam again = TaskParam::defaults(t);
        QString bad;
        fuzz::require(
            again.fromJson(QJsonDocument::fromJson(QJsonDocument(loaded.toJson()).toJson()).object(), &bad) &&
                sameSaved(again, loaded),
            "a loaded task reads back");
    }
    toStart(p, mark);
    return 0;
}
