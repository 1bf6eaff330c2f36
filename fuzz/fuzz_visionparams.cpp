// The vision settings "cvpara.json": a file that cannot be read changes nothing.
#include "FuzzSupport.h"
#include "platform/vision/TaskParams.h"

#include <QJsonDocument>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::scratchRoot();
    TaskParams* p = TaskParams::GetInstance();
    p->reset();
    const QJsonObject before = p->param(0).toJson();
    QString why;
    const bool ok = p->loadText(fuzz::bytes(data, size), &why);
    fuzz::require(ok || !why.isEmpty(), "a refused file says why");
    if (!ok) fuzz::require(p->param(0).toJson() == before, "a refused file changes nothing");
    for (int t = 0; t < 40; ++t) (void)QJsonDocument(p->param(t).toJson()).toJson();
    return 0;
}
