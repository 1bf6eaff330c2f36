#include "kzhttp.h"

kzhttp::kzhttp(QObject* parent) : QObject(parent) {}

kzhttp::~kzhttp() = default;

void kzhttp::clear() {
    data.clear();
    errData.clear();
    resultCode = 0;
}

void kzhttp::postResult(const QString& answer, const QString& Errdata, bool bRet, int Resdata) {
    errData = Errdata;
    resultCode = Resdata;
    if (bRet) data = answer;
    if (waitLoop) waitLoop->quit();
}
