// The vision settings "cvpara.json": a file that cannot be read changes nothing.
#include "FuzzSupport.h"
#include "platform/vision/TaskParams.h"

#include <QJsonDocument>

namespace {

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::scratchRoot();
    static const TaskParam mark = marker();
    TaskParams* p = TaskParams::GetInstance();
    // Only a loaded file changes the store; set the marker back after one.
    static bool marked = false;
    if (!marked) {
        p->setParam(0, mark);
        p->setSaveImages(false);
        marked = true;
    }
    QString why;
    const bool ok = p->loadText(fuzz::bytes(data, size), &why);
    if (!ok) {
        fuzz::require(!why.isEmpty(), "a refused file says why");
        fuzz::require(same(p->param(0), mark) && !p->saveImages(), "a refused file changes nothing");
        return 0;
    }
    // What was loaded saves and reads back alike.
    for (int t = 0; t < 40; ++t) {
        const TaskParam loaded = p->param(t);
        const QJsonDocument doc(loaded.toJson());
        TaskParam again = TaskParam::defaults(t);
        QString bad;
        fuzz::require(again.fromJson(QJsonDocument::fromJson(doc.toJson()).object(), &bad) &&
                          sameSaved(again, loaded),
                      "a loaded task reads back");
    }
    marked = false;
    return 0;
}
