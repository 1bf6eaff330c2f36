#include "Http.h"

#include "app/ClockTimer.h"
#include "platform/KZLOG.h"

#include <QEventLoop>
#include <QHttpMultiPart>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTextCodec>
#include <QThread>
#include <QUrl>

namespace {
QSslConfiguration mesTls() {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    tls.setProtocol(QSsl::TlsV1SslV3);
    return tls;
}

void mesLog(const QString& text) {
    KZLOG::UILog::GetInstance()->AddLog("textEdit", text);
}
} // namespace

Http::Http(QObject* parent) : QObject(parent), worker(new QThread(this)) {
    worker->setObjectName("Http");
}

Http::~Http() {
    worker->quit();
    worker->wait();
}

void Http::startWorker() {
    moveToThread(worker);
    worker->start(QThread::InheritPriority);
}

Http::Outcome Http::attempt(const std::function<QNetworkReply*(QNetworkAccessManager&)>& send, int timeout) {
    QNetworkAccessManager manager;
    QEventLoop loop;
    ClockTimer timer;
    timer.setSingleShot(true);
    connect(&manager, &QNetworkAccessManager::finished, &loop, &QEventLoop::quit);
    connect(&timer, &ClockTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeout);
    QNetworkReply* reply = send(manager);
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    connect(reply, &QNetworkReply::errorOccurred, &loop, &QEventLoop::quit);
    // A MES that streams megabytes must not fill the memory.
    bool tooLarge = false;
    connect(reply, &QNetworkReply::downloadProgress, reply, [&](qint64 received, qint64 total) {
        if (received > kMaxAnswerBytes || total > kMaxAnswerBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    if (!reply->isFinished()) loop.exec();

    Outcome o;
    // The loop also ends when the worker is told to quit, with the reply still open.
    const bool ended = reply->isFinished() || reply->error() != QNetworkReply::NoError;
    if (timer.isActive() && ended) {
        timer.stop();
        o.answered = true;
        if (tooLarge) {
            o.error = QStringLiteral("MES应答超过 %1 字节，已中止").arg(kMaxAnswerBytes);
        } else if (reply->error() == QNetworkReply::NoError) {
            o.ok = true;
            o.body = reply->readAll();
        } else {
            o.error = reply->errorString();
        }
    }
    reply->disconnect();
    if (!reply->isFinished() && reply->error() == QNetworkReply::NoError) reply->abort();
    delete reply;
    return o;
}

void Http::report(const Outcome& o) {
    if (o.ok) {
        QTextCodec::ConverterState state;
        QTextCodec::codecForName("UTF-8")->toUnicode(o.body.constData(), o.body.size(), &state);
        if (state.invalidChars > 0)
            KZLOG::CLog::Warn(QStringLiteral("MES应答含 %1 个无效UTF-8字节，已替换").arg(state.invalidChars));
    }
    errText = o.error;
    resultCode = o.ok ? 1 : 2;
    emit finished(o.ok ? QString::fromUtf8(o.body) : QString(), errText, o.ok, resultCode);
}

void Http::post(QString url, const QByteArray& jsonData) {
    if (url.isEmpty()) {
        errText.clear();
        resultCode = 2;
        emit finished(QString(), errText, false, resultCode);
        return;
    }
    mesLog(QString::fromUtf8(jsonData) + "\n");
    QNetworkRequest request{QUrl(url)};
    request.setSslConfiguration(mesTls());
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json;;charset=UTF-8");
    errText.clear();
    resultCode = 0;
    report(attempt([&](QNetworkAccessManager& m) { return m.post(request, jsonData); },
                   timeoutMs > 0 ? timeoutMs : 10000));
}

void Http::post(QString url, QMap<QString, QByteArray> formData) {
    auto* multi = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    for (auto it = formData.constBegin(); it != formData.constEnd(); ++it) {
        QHttpPart part;
        part.setHeader(QNetworkRequest::ContentDispositionHeader,
                       QString("form-data; name=\"%1\"").arg(it.key()));
        part.setBody(it.value());
        multi->append(part);
    }
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArray("multipart/form-data;boundary=") + multi->boundary());
    errText.clear();
    resultCode = 0;
    report(attempt(
        [&](QNetworkAccessManager& m) {
            QNetworkReply* reply = m.post(request, multi);
            multi->setParent(reply);
            return reply;
        },
        timeoutMs > 0 ? timeoutMs : 10000));
}

void Http::post2(QString url, QMap<QString, QByteArray> formData) {
    QByteArray body;
    for (auto it = formData.constBegin(); it != formData.constEnd(); ++it)
        body += it.key().toUtf8() + "=" + it.value() + "&";
    body.chop(1);
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    const Outcome o = attempt([&](QNetworkAccessManager& m) { return m.post(request, body); },
                              timeoutMs >= 1 ? timeoutMs : 40000);
    emit finished(o.ok ? QString::fromUtf8(o.body) : QString(), o.error, o.ok, o.ok ? 1 : 2);
}

void Http::get(QString url) {
    QNetworkRequest request{QUrl(url)};
    request.setSslConfiguration(mesTls());
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    const Outcome o =
        attempt([&](QNetworkAccessManager& m) { return m.get(request); }, timeoutMs >= 1 ? timeoutMs : 40000);
    emit finished(o.ok ? QString::fromUtf8(o.body) : QString(), o.error, o.ok, o.ok ? 1 : 2);
}
