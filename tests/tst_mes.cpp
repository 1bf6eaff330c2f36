// The MES client and messages against the MES emulator over real HTTP on loopback.
// The request time-out runs on the virtual clock; the emulator answers in real time.
#include "app/DataSetup.h"
#include "app/MachineData.h"
#include "platform/AtomicFile.h"
#include "platform/KZLOG.h"
#include "platform/Paths.h"
#include "production/Http.h"
#include "production/MesConfig.h"
#include "production/MesData.h"
#include "production/MesMessages.h"
#include "production/kzhttp.h"
#include "sequences/CycleData.h"
#include "sequences/NamedMoves.h"
#include "sim/Lockstep.h"
#include "sim/MesEmulator.h"
#include "sim/VirtualMachine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QSslSocket>
#include <QTextBrowser>
#include <QUrl>
#include <QtTest>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <ctime>
#include <memory>

using sim::MesEmulator;

namespace {
QString logText() {
    QFile f(KZLOG::CLog::currentFile());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void clearMesAlarms() {
    for (int k = 41; k <= 44; ++k) alarmFlags[k] = 0;
}

int mesAlarms() {
    return alarmFlags[41] + alarmFlags[42] + alarmFlags[43] + alarmFlags[44];
}

// A throw-away key and self-signed certificate for 127.0.0.1, made now.
bool selfSigned(QSslKey* key, QSslCertificate* cert) {
    EVP_PKEY* pkey = EVP_RSA_gen(2048);
    X509* x = X509_new();
    if (!pkey || !x) return false;
    X509_set_version(x, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(x), 1);
    X509_gmtime_adj(X509_getm_notBefore(x), -60);
    X509_gmtime_adj(X509_getm_notAfter(x), 3600);
    X509_set_pubkey(x, pkey);
    X509_NAME* name = X509_get_subject_name(x);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"),
                               -1, -1, 0);
    X509_set_issuer_name(x, name);
    X509_sign(x, pkey, EVP_sha256());
    auto pem = [](auto write) {
        BIO* bio = BIO_new(BIO_s_mem());
        write(bio);
        char* data = nullptr;
        const long n = BIO_get_mem_data(bio, &data);
        QByteArray out(data, int(n));
        BIO_free(bio);
        return out;
    };
    const QByteArray keyPem =
        pem([&](BIO* b) { PEM_write_bio_PrivateKey(b, pkey, nullptr, nullptr, 0, nullptr, nullptr); });
    const QByteArray certPem = pem([&](BIO* b) { PEM_write_bio_X509(b, x); });
    X509_free(x);
    EVP_PKEY_free(pkey);
    *key = QSslKey(keyPem, QSsl::Rsa);
    *cert = QSslCertificate(certPem);
    return !key->isNull() && !cert->isNull();
}
} // namespace

class TestMes : public QObject {
    Q_OBJECT

    std::unique_ptr<Lockstep> clock;
    std::unique_ptr<MesEmulator> mes;
    std::unique_ptr<QTextBrowser> mesLog;

    QString mesLogText() {
        QCoreApplication::processEvents();
        return mesLog->toPlainText();
    }

private:
    // The emulator again, now behind TLS with a fresh self-signed certificate.
    bool restartWithTls() {
        QSslKey key;
        QSslCertificate cert;
        if (!selfSigned(&key, &cert)) return false;
        mes->stop();
        mes->setTls(key, cert);
        return mes->start(0);
    }

private slots:
    void initTestCase() {
        // Request times are local times: make them the same everywhere.
        qputenv("TZ", "UTC");
        tzset();
    }

    void init() {
        KZLOG::CLog::Deinitializes();
        QDir(Paths::root()).removeRecursively();
        QVERIFY(Paths::ensureFolders());
        clock = std::make_unique<Lockstep>();
        clock->install();
        mes = std::make_unique<MesEmulator>();
        QVERIFY(mes->start(0));
        mesLog = std::make_unique<QTextBrowser>();
        KZLOG::UILog::GetInstance()->InsertUi("textEdit", QString(), mesLog.get());
        mesInUrl = mes->inUrl();
        mesOutUrl = mes->outUrl();
        mesMacId = "M01";
        mesStationId = "GW01";
        productCode = "P123";
        ngCode.clear();
        mesState = 1;
        lastAssembleXY[0] = 1.0;
        lastAssembleXY[1] = 2.0;
        mesInTime.clear();
        mesInTimestamp.clear();
        mesInMessage.clear();
        mesOutMessage.clear();
        mesInError.clear();
        mesOutError.clear();
        mesInResult = mesOutResult = -1;
        clearMesAlarms();
    }

    void cleanup() {
        KZLOG::UILog::GetInstance()->RemoveUi("textEdit");
        mesLog.reset();
        mes.reset();
        clock.reset();
    }

    // ---- the client ----
    void anEmptyUrlFailsAtOnceWithoutRequestOrLog() {
        kzhttp http;
        const int64_t t0 = clock->nowUs();
        emit http.postData(QString(), "{}");
        QCOMPARE(http.waitAnswer(), 2);
        QCOMPARE(http.errData, QString());
        QCOMPARE(clock->nowUs(), t0);
        QCOMPARE(mes->requestCount(), 0);
        QCOMPARE(mesLogText(), QString());
    }

    void aSilentServerTimesOutAfterTenSecondsOfMachineTime() {
        mes->setMode(MesEmulator::Mode::Silent);
        kzhttp http;
        const int64_t t0 = clock->nowUs();
        emit http.postData(mes->inUrl(), "{\"a\": 1}");
        QCOMPARE(http.waitAnswer(), 2);
        const int64_t waited = clock->nowUs() - t0;
        QVERIFY2(waited >= 10000000 && waited < 10100000, qPrintable(QString::number(waited)));
        QCOMPARE(http.errData, QString());
        QCOMPARE(http.http()->resultCode, 2);
        QCOMPARE(mes->requestCount(), 1);
        // The request body went to the log, no answer did.
        QCOMPARE(mesLogText().count("{\"a\": 1}"), 1);
    }

    // The page releases its client after a send; a request still open must not hold that up.
    void aClientReleasedDuringASilentRequestEndsAtOnce() {
        mes->setMode(MesEmulator::Mode::Silent);
        QElapsedTimer real;
        {
            kzhttp http;
            emit http.postData(mes->inUrl(), "{}");
            QTRY_COMPARE(mes->requestCount(), 1);
            real.start();
        }
        QVERIFY2(real.elapsed() < 2000, qPrintable(QString::number(real.elapsed())));
    }

    void anHttpErrorFailsWithQtsErrorText() {
        mes->setMode(MesEmulator::Mode::HttpError);
        kzhttp http;
        emit http.postData(mes->inUrl(), "{}");
        QCOMPARE(http.waitAnswer(), 2);
        QVERIFY2(http.errData.contains("server replied: Internal Server Error"), qPrintable(http.errData));
        QCOMPARE(http.data, QString());
    }

    void anAnswerIsWaitedForWithoutMachineTime() {
        kzhttp http;
        const int64_t t0 = clock->nowUs();
        emit http.postData(mes->outUrl(), "{\"b\": 2}");
        QCOMPARE(http.waitAnswer(), 1);
        QCOMPARE(clock->nowUs(), t0);
        QCOMPARE(http.data,
                 QString::fromUtf8(MesEmulator::answerBody(MesEmulator::Mode::Answer, "/mes/out")));
        const QList<MesEmulator::Request> got = mes->requests();
        QCOMPARE(got.size(), 1);
        QCOMPARE(got[0].method, QByteArray("POST"));
        QCOMPARE(got[0].path, QByteArray("/mes/out"));
        QCOMPARE(got[0].header("Content-Type"), QByteArray("application/json;;charset=UTF-8"));
        QCOMPARE(got[0].body, QByteArray("{\"b\": 2}"));
        const QString log = mesLogText();
        QVERIFY(log.contains("{\"b\": 2}"));
        QVERIFY(log.contains("出站成功"));
    }

    void aSelfSignedHttpsServerIsAccepted() {
        if (!QSslSocket::supportsSsl()) QSKIP("no TLS in this Qt");
        QVERIFY(restartWithTls());
        QVERIFY(mes->inUrl().startsWith("https://127.0.0.1:"));
        kzhttp http;
        emit http.postData(mes->inUrl(), "{}");
        QCOMPARE(http.waitAnswer(), 1);
        QVERIFY2(http.errData.isEmpty(), qPrintable(http.errData));
        QVERIFY(http.data.contains("入站成功"));
        QCOMPARE(mes->requestCount(), 1);
    }

    // A TLS connection still open when the emulator stops: it is dropped, and the
    // plain socket inside the TLS one goes with it, not twice.
    void stoppingWithAnHttpsClientStillConnectedIsClean() {
        if (!QSslSocket::supportsSsl()) QSKIP("no TLS in this Qt");
        QVERIFY(restartWithTls());
        QSslSocket client;
        client.setPeerVerifyMode(QSslSocket::VerifyNone);
        client.connectToHostEncrypted("127.0.0.1", quint16(QUrl(mes->inUrl()).port()));
        QVERIFY(client.waitForEncrypted(5000));
        mes->stop();
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState, 5000);
    }

    void theFormPostsAndTheGetReachTheServer() {
        kzhttp http;
        Http* h = http.http();
        const QString url = mes->url("/form");
        QMap<QString, QByteArray> form{{"b", "2"}, {"a", "x y"}};
        QMetaObject::invokeMethod(h, [=] { h->post2(url, form); });
        QCOMPARE(http.waitAnswer(), 1);
        QMetaObject::invokeMethod(h, [=] { h->post(url, form); });
        QCOMPARE(http.waitAnswer(), 1);
        QMetaObject::invokeMethod(h, [=] { h->get(url + "?q=1"); });
        QCOMPARE(http.waitAnswer(), 1);
        const QList<MesEmulator::Request> got = mes->requests();
        QCOMPARE(got.size(), 3);
        QCOMPARE(got[0].body, QByteArray("a=x y&b=2"));
        QCOMPARE(got[0].header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
        QVERIFY(got[1].header("Content-Type").startsWith("multipart/form-data;boundary="));
        QVERIFY(got[1].body.contains("form-data; name=\"a\"\r\n\r\nx y\r\n"));
        QVERIFY(got[1].body.indexOf("name=\"a\"") < got[1].body.indexOf("name=\"b\""));
        QCOMPARE(got[2].method, QByteArray("GET"));
        QCOMPARE(got[2].path, QByteArray("/form?q=1"));
        // A failing GET reports its own failure, not the last post's success.
        mes->setMode(MesEmulator::Mode::HttpError);
        QMetaObject::invokeMethod(h, [=] { h->get(url); });
        QCOMPARE(http.waitAnswer(), 2);
        QVERIFY(!http.errData.isEmpty());
        http.clear();
        QCOMPARE(http.getResultCode(), 0);
        QCOMPARE(http.getErrData(), QString());
    }

    // ---- the messages ----
    void theInStationBodyIsExactlyTheMessage() {
        clock->runFor(1.234);
        kzhttp http;
        mesIn(http);
        QCOMPARE(int(mesInResult), 1);
        QCOMPARE(mesAlarms(), 0);
        const QList<MesEmulator::Request> got = mes->requests();
        QCOMPARE(got.size(), 1);
        QCOMPARE(got[0].path, QByteArray("/mes/in"));
        const QByteArray expected = "{\n"
                                    "    \"cCpmCode\": \"P123\",\n"
                                    "    \"cGwzCode\": \"GW01\",\n"
                                    "    \"cMac\": \"M01\",\n"
                                    "    \"cSourceSystem\": \"6\",\n"
                                    "    \"cTime1\": \"2026-01-05 08:00:01\",\n"
                                    "    \"cUser\": \"\",\n"
                                    "    \"nCpmType\": 10\n"
                                    "}";
        QCOMPARE(got[0].body, expected);
        QCOMPARE(mesInTime, QString("2026-01-05 08:00:01"));
        QCOMPARE(mesInMessage, QString("入站成功"));
        QVERIFY(!mesInTimestamp.isEmpty());
    }

    void theOutStationBodyIsExactlyTheMessage_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("ng");
        QTest::addColumn<QByteArray>("resultLines");
        QTest::newRow("NG with its code twice") << 2 << "ZC-PMTF-JTDWNG"
                                                << QByteArray("    \"cBadPCodeArray\": [\n"
                                                              "        \"ZC-PMTF-JTDWNG\",\n"
                                                              "        \"ZC-PMTF-JTDWNG\"\n"
                                                              "    ],\n");
        QTest::newRow("good: no codes") << 1 << "" << QByteArray("    \"cBadPCodeArray\": [],\n");
    }
    void theOutStationBodyIsExactlyTheMessage() {
        QFETCH(int, state);
        QFETCH(QString, ng);
        QFETCH(QByteArray, resultLines);
        mesState = state;
        ngCode = ng;
        productCode = "码A1";
        lastAssembleXY[0] = 12.3456;
        lastAssembleXY[1] = -3.2;
        mesInTime = "2026-01-05 07:59:58";
        mesInTimestamp = "2026-01-05 07:59:59";
        clock->runFor(2.5);
        kzhttp http;
        mesOut(http);
        QCOMPARE(int(mesOutResult), 1);
        const QByteArray expected = "{\n"
                                    "    \"Fuseid\": \"\",\n" +
                                    resultLines +
                                    "    \"cBindingCodeArray\": [],\n"
                                    "    \"cCpmCode\": \"码A1\",\n"
                                    "    \"cGwzCode\": \"GW01\",\n"
                                    "    \"cID\": \"M01码A120260105080002500\",\n"
                                    "    \"cProgramName\": \"泡棉贴附\",\n"
                                    "    \"cResult\": \"" +
                                    QByteArray(state == 1 ? "OK" : "NG") +
                                    "\",\n"
                                    "    \"cSourceSystem\": \"6\",\n"
                                    "    \"cTestResult\": {\n"
                                    "        \"组装X坐标\": \"12.346\",\n"
                                    "        \"组装Y坐标\": \"-3.200\"\n"
                                    "    },\n"
                                    "    \"cUser\": \"\",\n"
                                    "    \"cZJCode\": \"\",\n"
                                    "    \"cmac\": \"M01\",\n"
                                    "    \"ctime1\": \"2026-01-05 07:59:58\",\n"
                                    "    \"ctime2\": \"2026-01-05 07:59:59\",\n"
                                    "    \"ctime3\": \"2026-01-05 08:00:02\",\n"
                                    "    \"nCpmType\": 10\n"
                                    "}";
        QCOMPARE(mes->requests().value(0).body, expected);
        QCOMPARE(mes->requests().value(0).path, QByteArray("/mes/out"));
    }

    void theInStationReplyLinksTheOutStationRequest() {
        kzhttp in, out;
        mesIn(in);
        QCOMPARE(int(mesInResult), 1);
        mesOut(out);
        QCOMPARE(int(mesOutResult), 1);
        const QByteArray body = mes->requests().value(1).body;
        QVERIFY(body.contains("\"ctime1\": \"" + mesInTime.toUtf8() + "\""));
        QVERIFY(body.contains("\"ctime2\": \"" + mesInTimestamp.toUtf8() + "\""));
    }

    void aReplyWithoutSuccessRaisesTheReplyAlarmWithAnEmptyMessage() {
        mesInMessage = "old";
        mes->setMode(MesEmulator::Mode::EmptyObject);
        kzhttp http;
        mesIn(http);
        QCOMPARE(int(mesInResult), 2);
        QCOMPARE(int(alarmFlags[44]), 1);
        QCOMPARE(mesAlarms(), 1);
        QCOMPARE(mesInMessage, QString());
        mesOut(http);
        QCOMPARE(int(mesOutResult), 2);
        QCOMPARE(int(alarmFlags[42]), 1);
    }

    void emptyUrlsFailAtOnceWithoutAlarm() {
        mesInUrl.clear();
        mesOutUrl.clear();
        kzhttp http;
        const int64_t t0 = clock->nowUs();
        mesIn(http);
        mesOut(http);
        QCOMPARE(int(mesInResult), 2);
        QCOMPARE(int(mesOutResult), 2);
        QCOMPARE(mesAlarms(), 0);
        QCOMPARE(clock->nowUs(), t0);
        QCOMPARE(mes->requestCount(), 0);
        QCOMPARE(mesInTime, QString()); // no request built
    }

    // A bad MES: its result word, its alarm, a clear log line, and the next request works.
    void aBadMesNeverHurtsTheProgram_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("inResult");
        QTest::addColumn<int>("alarm");
        QTest::addColumn<QString>("told"); // in the log file or the alarm's text
        QTest::newRow("refuses") << int(MesEmulator::Mode::Refuse) << 2 << 44 << "入站拒绝：产品未登记";
        QTest::newRow("not JSON") << int(MesEmulator::Mode::NotJson) << 2 << 44 << "应答不是JSON对象";
        QTest::newRow("JSON array") << int(MesEmulator::Mode::JsonArray) << 2 << 44 << "应答不是JSON对象";
        QTest::newRow("HTTP error") << int(MesEmulator::Mode::HttpError) << 2 << 43
                                    << "Internal Server Error";
        QTest::newRow("closes half way") << int(MesEmulator::Mode::CloseHalfWay) << 2 << 43 << "closed";
        QTest::newRow("several megabytes") << int(MesEmulator::Mode::Huge) << 2 << 43 << "MES应答超过";
        QTest::newRow("invalid UTF-8") << int(MesEmulator::Mode::BadUtf8) << 1 << -1 << "无效UTF-8";
    }
    void aBadMesNeverHurtsTheProgram() {
        QFETCH(int, mode);
        QFETCH(int, inResult);
        QFETCH(int, alarm);
        QFETCH(QString, told);
        mes->setMode(MesEmulator::Mode(mode));
        kzhttp http;
        mesIn(http);
        QCOMPARE(int(mesInResult), inResult);
        if (alarm < 0) {
            QCOMPARE(mesAlarms(), 0);
        } else {
            QCOMPARE(int(alarmFlags[alarm]), 1);
            QCOMPARE(mesAlarms(), 1);
        }
        const QString where = logText() + "|" + mesInError + "|" + mesInMessage;
        QVERIFY2(where.contains(told, Qt::CaseInsensitive), qPrintable(where.left(400)));
        // The answer kept is bounded, whatever the MES sent.
        QVERIFY(http.data.size() <= Http::kMaxAnswerBytes);
        clearMesAlarms();
        mes->setMode(MesEmulator::Mode::Answer);
        mesIn(http);
        QCOMPARE(int(mesInResult), 1);
        QCOMPARE(mesAlarms(), 0);
    }

    void aFailedOutStationSendRaisesItsAlarmWithTheErrorText() {
        mes->stop(); // nobody listens: connection refused
        kzhttp http;
        mesOut(http);
        QCOMPARE(int(mesOutResult), 2);
        QCOMPARE(int(alarmFlags[41]), 1);
        QCOMPARE(mesAlarms(), 1);
        QVERIFY(mesOutError.contains("refused", Qt::CaseInsensitive));
    }

    void theDemoSettingsPointAtTheVirtualMachinesMes() {
        Q_INIT_RESOURCE(config);
        QCOMPARE(DataSetup::ensure(), QString());
        MesConfig::load();
        for (const QString& url : {mesInUrl, mesOutUrl}) {
            QCOMPARE(QUrl(url).host(), QString("127.0.0.1"));
            QCOMPARE(QUrl(url).port(), int(sim::VirtualMachine::kMesPort));
        }
        QCOMPARE(QUrl(mesInUrl).path(), QString("/mes/in"));
        QCOMPARE(QUrl(mesOutUrl).path(), QString("/mes/out"));
        QVERIFY(!mesMacId.isEmpty());
        QFile::remove(MesConfig::path());
        const QString path = MesConfig::path();
        QVERIFY(MesConfig::writeIfAbsent(path, "http://127.0.0.1:1/in", "http://127.0.0.1:1/out", "M", "S"));
        // An existing file is kept.
        QVERIFY(MesConfig::writeIfAbsent(path, "x", "y", "z", "w"));
        MesConfig::load();
        QCOMPARE(mesInUrl, QString("http://127.0.0.1:1/in"));
        QCOMPARE(mesOutUrl, QString("http://127.0.0.1:1/out"));
        QCOMPARE(mesMacId, QString("M"));
        QCOMPARE(mesStationId, QString("S"));
        QFile::remove(path);
        MesConfig::load();
        QCOMPARE(mesInUrl, QString());
    }

    void theSettingsFileReadsBackWhatWasWrittenWhateverTheText() {
        const QString path = MesConfig::path();
        const QStringList texts = {"http://127.0.0.1:1/a,b?x=1;y=2",
                                   "  blanks around  ",
                                   "quote \" and back\\slash\\",
                                   "@at",
                                   "@@two",
                                   "@Variant(\\0\\0\\0\\x7f)",
                                   "@ByteArray(x)",
                                   "#hash [MES] x=y",
                                   QString::fromUtf8("中文机台 一号"),
                                   "tab\there, line\nbreak\r\nend",
                                   QString("nul") + QChar(0) + "x" + QChar(1) + "7",
                                   ""};
        for (const QString& t : texts) {
            QFile::remove(path);
            QVERIFY(MesConfig::writeIfAbsent(path, t, "o" + t, t + "m", "S"));
            MesConfig::load();
            QCOMPARE(mesInUrl, t);
            QCOMPARE(mesOutUrl, "o" + t);
            QCOMPARE(mesMacId, t + "m");
            QCOMPARE(mesStationId, QString("S"));
            // The settings library reads the same file alike.
            QSettings ini(path, QSettings::IniFormat);
            ini.setIniCodec("UTF-8");
            QCOMPARE(ini.value("/MES/INurl").toString(), t);
        }
    }

    void aSettingsFileHoldingAStoredObjectLosesOnlyThatValueAndSaysSo() {
        const QString path = MesConfig::path();
        // Each of these once stopped the program while it read the file.
        const QList<QByteArray> values = {"@Variant(\\0\\0\\0\\/127.0.0.1:tmap\\0)",
                                          "\\x40Variant(\\0\\0\\0\\/1:tmap\\0)",
                                          "\"@DateTime(\\0\\0\\0\\x10\\0\\0\\0\\0)\"", "@Rect(1 2 3 4)"};
        for (const QByteArray& v : values) {
            const QByteArray content = "[MES]\nINurl=\"http://127.0.0.1:1/a,b\"\nOTurl=" + v + "\nmacID=M7\n";
            QString error;
            QVERIFY2(AtomicFile::write(path, content, &error), qPrintable(error));
            mesOutUrl = "before";
            MesConfig::load();
            QCOMPARE(mesInUrl, QString("http://127.0.0.1:1/a,b"));
            QCOMPARE(mesOutUrl, QString());
            QCOMPARE(mesMacId, QString("M7"));
            QVERIFY2(logText().contains("/MES/OTurl") && logText().contains("not text"),
                     qPrintable(logText()));
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), content); // the file is left as it was
        }
    }

    void aHandWrittenSettingsFileReadsAsTheSettingsLibraryReadsIt() {
        const QString path = MesConfig::path();
        const QByteArray content = "\xef\xbb\xbf; MES settings\r\n"
                                   "[Other]\r\n"
                                   "INurl=http://127.0.0.1:9/wrong\r\n"
                                   "  [MES]  \r\n"
                                   "INurl = http://127.0.0.1:2/in   ; the in-station address\r\n"
                                   "OTurl=\"http://127.0.0.1:2/out \" \r\n"
                                   "macID=M\\\r\n"
                                   "01\r\n"
                                   "StationID=a,b\r\n"
                                   "StationID=\"S;1\"\r\n";
        QString error;
        QVERIFY2(AtomicFile::write(path, content, &error), qPrintable(error));
        MesConfig::load();
        QSettings ini(path, QSettings::IniFormat);
        ini.setIniCodec("UTF-8");
        QCOMPARE(mesInUrl, QString("http://127.0.0.1:2/in"));
        QCOMPARE(mesOutUrl, QString("http://127.0.0.1:2/out "));
        QCOMPARE(mesMacId, QString("M01"));
        QCOMPARE(mesStationId, QString("S;1"));
        QCOMPARE(ini.value("/MES/INurl").toString(), mesInUrl);
        QCOMPARE(ini.value("/MES/OTurl").toString(), mesOutUrl);
        QCOMPARE(ini.value("/MES/macID").toString(), mesMacId);
        QCOMPARE(ini.value("/MES/StationID").toString(), mesStationId);
    }
};

QTEST_MAIN(TestMes)
#include "tst_mes.moc"
