#include "kzhttp.h"

#include "platform/Clock.h"
#include "platform/KZLOG.h"
#include "production/Http.h"

#include <QElapsedTimer>
#include <QTimer>
#include <atomic>

kzhttp::kzhttp(QObject* parent) : QObject(parent), m_http(new Http) {
    m_http->timeoutMs = 10000;
    m_http->startWorker();
    connect(this, &kzhttp::postData, m_http, QOverload<QString, const QByteArray&>::of(&Http::post));
    connect(m_http, &Http::finished, this, &kzhttp::postResult);
}

kzhttp::~kzhttp() {
    delete m_http;
}

void kzhttp::clear() {
    data.clear();
    errData.clear();
    resultCode = 0;
}

void kzhttp::postResult(const QString& answer, const QString& Errdata, bool bRet, int Resdata) {
    errData = Errdata;
    resultCode = Resdata;
    if (bRet) {
        data = answer;
        KZLOG::UILog::GetInstance()->AddLog("textEdit", answer + "\n");
    }
    ++m_answers;
    if (waitLoop) waitLoop->quit();
}

namespace {
std::atomic<int> awaited{0};
} // namespace

int kzhttp::answersAwaited() {
    return awaited.load();
}

int kzhttp::waitAnswer() {
    // The MES is a real peer and answers in real time, while the machine may run on
    // a virtual clock. So the wait first gives the peer real time and only then lets
    // machine time run on, towards the worker's time-out on the program clock.
    constexpr qint64 kGraceMs = 300;
    constexpr int64_t kMachineStepUs = 10000;
    const int before = m_answers;
    QEventLoop loop;
    QTimer slice;
    slice.setSingleShot(true);
    connect(&slice, &QTimer::timeout, &loop, &QEventLoop::quit);
    waitLoop = &loop;
    ++awaited;
    // The worker's time-out falls due about timeoutMs of machine time from now. From then
    // on each machine step first gives the worker the grace again to answer, so that a
    // busy host does not stretch the time-out.
    const int64_t dueUs = clk::nowUs() + int64_t(m_http->timeoutMs) * 1000;
    QElapsedTimer real;
    real.start();
    while (m_answers == before) {
        slice.start(1);
        loop.exec();
        if (m_answers != before || real.elapsed() <= kGraceMs) continue;
        clk::sleepUs(kMachineStepUs);
        if (clk::nowUs() >= dueUs) real.restart();
    }
    waitLoop = nullptr;
    --awaited;
    return resultCode;
}
