#pragma once
// Facade of the MES HTTP client that lives in the calling thread; requests go to
// its Http worker by queued signals, answers come back the same way.
#include <QByteArray>
#include <QEventLoop>
#include <QObject>
#include <QString>

class Http;

class kzhttp : public QObject {
    Q_OBJECT
public:
    explicit kzhttp(QObject* parent = nullptr);
    ~kzhttp() override;

    void clear();
    QString getData() const { return data; }
    int getResultCode() const { return resultCode; }
    QString getErrData() const { return errData; }
    Http* http() const { return m_http; }

    // Runs waitLoop until the answer to the request just posted arrives (at most the
    // request's time-out, as the worker always answers). Returns the result code.
    int waitAnswer();
    // Answers waited for now by any client (the cycle shows it is held up by the MES).
    static int answersAwaited();

    QString data;
    int resultCode = 0;
    QString errData;
    QEventLoop* waitLoop = nullptr;

signals:
    void postData(QString url, const QByteArray& jsonData);

public slots:
    void postResult(const QString& data, const QString& Errdata, bool bRet, int Resdata);

private:
    Http* m_http;
    int m_answers = 0;
};
