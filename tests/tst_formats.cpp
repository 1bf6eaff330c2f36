// File formats of the machine PC's libraries: AES, CSV and the logs.
#include "TestSupport.h"
#include "platform/KZLOG.h"
#include "platform/Paths.h"
#include "platform/QAESEncryption.h"
#include "platform/qtcsv/Reader.h"
#include "platform/qtcsv/StringData.h"
#include "platform/qtcsv/Writer.h"
#include "sim/Lockstep.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

#include <thread>

namespace {
QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestFormats : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QDir(Paths::root()).removeRecursively();
        QVERIFY(Paths::ensureFolders());
    }

    // ---- AES ----
    void aesMatchesPublishedVectors_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("iv");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("cipher");
        // FIPS-197 appendix C.1.
        QTest::newRow("FIPS-197 C.1")
            << int(QAESEncryption::ECB) << hex("000102030405060708090a0b0c0d0e0f") << QByteArray()
            << hex("00112233445566778899aabbccddeeff") << hex("69c4e0d86a7b0430d8cdb78070b4c55a");
        // SP 800-38A F.1.1, the first two blocks.
        QTest::newRow("SP800-38A ECB")
            << int(QAESEncryption::ECB) << hex("2b7e151628aed2a6abf7158809cf4f3c") << QByteArray()
            << hex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51")
            << hex("3ad77bb40d7a3660a89ecaf32466ef97f5d3d58503b9699de785895a96fdbaaf");
        // SP 800-38A F.2.1: the initialisation vector is used in CBC.
        QTest::newRow("SP800-38A CBC")
            << int(QAESEncryption::CBC) << hex("2b7e151628aed2a6abf7158809cf4f3c")
            << hex("000102030405060708090a0b0c0d0e0f")
            << hex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51")
            << hex("7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2");
    }
    void aesMatchesPublishedVectors() {
        QFETCH(int, mode);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, iv);
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, cipher);
        QAESEncryption aes(QAESEncryption::AES_128, QAESEncryption::Mode(mode), QAESEncryption::ZERO);
        QCOMPARE(aes.encode(plain, key, iv).toHex(), cipher.toHex());
        QCOMPARE(aes.decode(cipher, key, iv).toHex(), plain.toHex());
    }

    void aesZeroPaddingRoundTripsThePasswordFileShape() {
        // The password file: a Base64 text, encrypted with the MD5 digest of a short phrase.
        const QByteArray key = QCryptographicHash::hash("ab", QCryptographicHash::Md5);
        QByteArray digests;
        for (const char* pw : {"123456", "engineer", "system"})
            digests += QCryptographicHash::hash(pw, QCryptographicHash::Md5);
        const QByteArray plain = digests.toBase64();
        QAESEncryption aes(QAESEncryption::AES_128, QAESEncryption::ECB, QAESEncryption::ZERO);
        const QByteArray cipher = aes.encode(plain, key, QByteArray());
        QCOMPARE(cipher.size() % 16, 0);
        QVERIFY(cipher != plain);
        QCOMPARE(QByteArray::fromBase64(aes.removePadding(aes.decode(cipher, key))), digests);

        // A text that is not whole blocks gets zeros, and loses them again.
        const QByteArray shortText = "Tavrin label 20";
        const QByteArray c2 = aes.encode(shortText, key);
        QCOMPARE(c2.size(), 16);
        const QByteArray raw = aes.decode(c2, key);
        QCOMPARE(raw, shortText + QByteArray(1, '\0'));
        QCOMPARE(aes.removePadding(raw), shortText);
        QCOMPARE(QAESEncryption::RemovePadding(QAESEncryption::Decrypt(QAESEncryption::AES_128,
                                                                       QAESEncryption::ECB, c2, key,
                                                                       QByteArray(), QAESEncryption::ZERO),
                                               QAESEncryption::ZERO),
                 shortText);
    }

    void aesOtherPaddingsAndBadKeys() {
        const QByteArray key = hex("000102030405060708090a0b0c0d0e0f");
        for (auto padding : {QAESEncryption::PKCS7, QAESEncryption::ISO}) {
            QAESEncryption aes(QAESEncryption::AES_128, QAESEncryption::ECB, padding);
            for (const QByteArray& text :
                 {QByteArray(), QByteArray("x"), QByteArray(16, 'y'), QByteArray(33, '\0')}) {
                const QByteArray c = aes.encode(text, key);
                QVERIFY(c.size() > text.size());
                QCOMPARE(aes.removePadding(aes.decode(c, key)), text);
            }
        }
        QAESEncryption aes(QAESEncryption::AES_128, QAESEncryption::ECB, QAESEncryption::ZERO);
        QVERIFY(aes.encode("text", "short key").isEmpty());
        QVERIFY(aes.decode(QByteArray(15, 'a'), key).isEmpty()); // not whole blocks
        QAESEncryption aes256(QAESEncryption::AES_256, QAESEncryption::ECB, QAESEncryption::ZERO);
        QVERIFY(aes256.encode("text", key).isEmpty()); // 16 bytes is no 256-bit key
    }

    // ---- CSV ----
    void csvRoundTripsQuotesCommasLineBreaksAndChinese() {
        const QString path = Paths::tableDir() + "/Table20260105.csv";
        const QStringList header = {"Date                  ", "QRCode                 ", "OffSetX  "};
        QtCSV::StringData data;
        data << QStringList{"2026.01.05 08:00:00.000", "QR,123", "0.012"};
        data << QStringList{"say \"hi\"", "line one\nline two", "中文标签"};
        data << QStringList{"", " padded ", "a\r\nb"};
        data.addEmptyRow();
        data << QStringList{""};
        QVERIFY(QtCSV::Writer::write(path, data, ",", "\"", QtCSV::Writer::Rewrite, header));

        const QByteArray raw = readFile(path);
        QVERIFY(raw.startsWith("Date                  ,QRCode                 ,OffSetX  \n"));
        QVERIFY(raw.contains("\"QR,123\""));
        QVERIFY(raw.contains("\"say \"\"hi\"\"\""));
        QVERIFY(raw.contains("\"line one\nline two\""));
        QVERIFY(raw.contains(QString("中文标签").toUtf8()));
        QVERIFY(!raw.startsWith("\xEF\xBB\xBF"));

        bool ok = false;
        const QList<QStringList> rows = QtCSV::Reader::readToList(path, ",", "\"", nullptr, &ok);
        QVERIFY(ok);
        QCOMPARE(rows.size(), 6);
        QCOMPARE(rows[0], header);
        for (int i = 0; i < data.rowCount(); ++i) QCOMPARE(rows[i + 1], data.rowValues(i));
    }

    void csvAppendsWithHeaderOnlyOnce() {
        const QString path = Paths::tableDir() + "/append.csv";
        QtCSV::StringData one;
        one << QStringList{"1", "OK"};
        QVERIFY(QtCSV::Writer::write(path, one, ",", "\"", QtCSV::Writer::Append, {"No", "Result"}));
        QtCSV::StringData two;
        two << QStringList{"2", "NG"};
        QVERIFY(QtCSV::Writer::write(path, two, ",", "\"", QtCSV::Writer::Append, {"No", "Result"}));
        const QList<QStringList> rows = QtCSV::Reader::readToList(path);
        QCOMPARE(rows, (QList<QStringList>{{"No", "Result"}, {"1", "OK"}, {"2", "NG"}}));
    }

    void csvReaderReportsAMissingFileAndAcceptsOtherSeparators() {
        bool ok = true;
        QVERIFY(
            QtCSV::Reader::readToList(Paths::tableDir() + "/none.csv", ",", "\"", nullptr, &ok).isEmpty());
        QVERIFY(!ok);
        const QList<QStringList> rows = QtCSV::Reader::parse("a;'b;c';'it''s'\r\nx;y\r\n", ";", "'");
        QCOMPARE(rows, (QList<QStringList>{{"a", "b;c", "it's"}, {"x", "y"}}));
    }

    // ---- logs ----
    void logLinesLandInTheDaysFile() {
        Lockstep clock;
        clock.install();
        KZLOG::CLog::Initialize(QString());
        QCOMPARE(KZLOG::CLog::folder(), Paths::logDir());
        KZLOG::CLog::Info("recipe demo loaded");
        KZLOG::CLog::Error("card missing");
        const QString day = QDateTime::fromMSecsSinceEpoch(clk::wallMs()).toString("yyyy-MM-dd");
        const QString file = Paths::logDir() + "/" + day + ".log";
        QCOMPARE(KZLOG::CLog::currentFile(), file);
        const QString text = QString::fromUtf8(readFile(file));
        const QString stamp =
            QDateTime::fromMSecsSinceEpoch(clk::wallMs()).toString("yyyy-MM-dd hh:mm:ss.zzz");
        QVERIFY2(text.contains(stamp + " [INFO] recipe demo loaded\n"), qPrintable(text));
        QVERIFY(text.contains("[ERROR] card missing\n"));

        // Next day, next file; the old one keeps its lines.
        clk::sleepUs(24LL * 3600 * 1000000);
        KZLOG::CLog::Warn("a new day");
        const QString nextDay = QDateTime::fromMSecsSinceEpoch(clk::wallMs()).toString("yyyy-MM-dd");
        QVERIFY(nextDay != day);
        QVERIFY(readFile(Paths::logDir() + "/" + nextDay + ".log").contains("a new day"));
        QVERIFY(!readFile(file).contains("a new day"));
        KZLOG::CLog::Deinitializes();
    }

    void logLinesFromAnotherThreadReachTheNamedView() {
        Lockstep clock;
        clock.install();
        KZLOG::CLog::Initialize(QString());
        QTextBrowser view, other;
        KZLOG::UILog* log = KZLOG::UILog::GetInstance();
        log->InsertUi("textBrowser_3", "", &view);
        log->InsertUi("other", "", &other);
        std::thread worker([log] {
            log->AddLog("textBrowser_3", "photo task 0 OK");
            KZLOG::CLog::Warn("height sensor silent");
            KZLOG::CLog::Debug("debug lines stay in the file");
        });
        worker.join();
        // Queued to the GUI thread: nothing has touched the view yet.
        QVERIFY(view.toPlainText().isEmpty());
        QCoreApplication::processEvents();
        QVERIFY(view.toPlainText().contains("height sensor silent"));
        QVERIFY(view.toPlainText().contains("[INFO] photo task 0 OK"));
        QVERIFY(!view.toPlainText().contains("debug lines"));
        QVERIFY(!other.toPlainText().contains("photo task 0 OK")); // named view only
        QVERIFY(other.toPlainText().contains("height sensor silent"));
        const QByteArray file = readFile(KZLOG::CLog::currentFile());
        QVERIFY(file.contains("[INFO] photo task 0 OK"));
        QVERIFY(file.contains("[DEBUG] debug lines stay in the file"));
        QCOMPARE(file.count("height sensor silent"), 1);

        // The view keeps a bounded number of lines, the newest.
        log->setMaxLines(10);
        for (int i = 0; i < 50; ++i) log->AddLog("textBrowser_3", QString("line %1").arg(i));
        QCoreApplication::processEvents();
        QVERIFY(view.toPlainText().contains("line 49"));
        QCOMPARE(view.document()->blockCount(), 10);
        QVERIFY(!view.toPlainText().contains("line 39\n"));
        QVERIFY(view.document()->firstBlock().text().endsWith("line 40"));
        KZLOG::UILog::Destroy(log);
        KZLOG::CLog::Deinitializes();
    }
};

QTEST_MAIN(TestFormats)
#include "tst_formats.moc"
