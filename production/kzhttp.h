#pragma once
// Facade of the MES HTTP client that lives in the calling thread; requests go to
// its Http worker by queued signals. (The worker comes with the MES client.)
#include <QEventLoop>
#include <QObject>
#include <QString>

class kzhttp : public QObject {
    Q_OBJECT
public:
    explicit kzhttp(QObject* parent = nullptr);
    ~kzhttp() override;

    void clear();
    QString getData() const { return data; }
    int getResultCode() const { return resultCode; }
    QString getErrData() const { return errData; }

    QString data;
    int resultCode = 0;
    QString errData;
    QEventLoop* waitLoop = nullptr;

signals:
    void postData(QString url, const QByteArray& jsonData);

public slots:
    void postResult(const QString& data, const QString& Errdata, bool bRet, int Resdata);
};
