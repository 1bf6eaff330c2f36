#pragma once
// The MES HTTP client's worker: every request runs on its own thread, one after
// another, each with one attempt and a time-out on the program clock.
#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QThread;

class Http : public QObject {
    Q_OBJECT
public:
    explicit Http(QObject* parent = nullptr);
    ~Http() override; // quits the worker thread and waits for it

    // Moves this object to its worker thread and starts it.
    void startWorker();

    QString errText;
    int resultCode = 0; // 0 running, 1 succeeded, 2 failed
    QThread* worker;
    int timeoutMs = 10000;

    // Answers larger than this are cut off and count as failed.
    static constexpr qint64 kMaxAnswerBytes = 1 << 20;

public slots:
    void post(QString url, QMap<QString, QByteArray> formData);
    void post2(QString url, QMap<QString, QByteArray> formData);
    void post(QString url, const QByteArray& jsonData);
    void get(QString url);

signals:
    void finished(const QString& data, const QString& Errdata, bool bRet, int Resdata);

private:
    struct Outcome {
        bool answered = false; // the reply ended before the time-out
        bool ok = false;
        QString error;
        QByteArray body;
    };
    Outcome attempt(const std::function<QNetworkReply*(QNetworkAccessManager&)>& send, int timeout);
    void report(const Outcome& o);
};
