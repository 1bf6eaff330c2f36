// The product CSV file of the day and the record slot's work: header, row texts,
// appending, files that already hold rows, a missing data drive, the curve samples.
#include "TestSupport.h"

#include "app/AssemblyCurve.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/qtcsv/Reader.h"
#include "production/ProductRecords.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

ProductRecord sample(const QString& code, double x, bool ok) {
    ProductRecord r;
    r.code = code;
    r.offsetX = x;
    r.offsetY = -0.0125;
    r.angle = 0.5;
    r.height = 1.23456;
    r.ok = ok;
    return r;
}

QByteArray content(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

void put(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

const QDateTime kAt(QDate(2026, 3, 9), QTime(14, 5, 7, 89));
const QByteArray kHeader =
    "Date                  ,QRCode                 ,OffSetX  ,OffSetY  ,Angle  ,Height  ,Result  \n";

} // namespace

class TestCycleRecords : public QObject {
    Q_OBJECT
    QTemporaryDir root;
    QString path;

private slots:
    void init() {
        QDir(root.path()).removeRecursively();
        QDir().mkpath(root.path());
        qputenv("TAVRIN_DATA", root.path().toLocal8Bit());
        path = ProductRecords::tablePath(kAt);
    }

    void firstProductCreatesTheFileWithItsHeader() {
        QCOMPARE(path, root.path() + "/data/TableData/Table20260309.csv");
        QVERIFY(ProductRecords::writeRow(sample("AB12", 0.0104, true), kAt));
        QCOMPARE(content(path), kHeader + "2026.03.09 14:05:07.089,AB12,0.010,-0.013,0.500,1.235,OK\n");
        bool ok = false;
        const QList<QStringList> rows = QtCSV::Reader::readToList(path, ",", "\"", nullptr, &ok);
        QVERIFY(ok);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0], ProductRecords::header());
    }

    void rowsAreAppendedInOrder() {
        for (int i = 0; i < 5; ++i)
            QVERIFY(ProductRecords::writeRow(sample(QString("P%1").arg(i), i, i != 3), kAt.addSecs(i)));
        const QList<QStringList> rows = QtCSV::Reader::readToList(path);
        QCOMPARE(rows.size(), 6);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(rows[i + 1][1], QString("P%1").arg(i));
            QCOMPARE(rows[i + 1][2], QString("%1.000").arg(i));
            QCOMPARE(rows[i + 1][6], QString(i == 3 ? "NG" : "OK"));
        }
        // The day's earlier rows stay byte for byte; the new one is only added.
        const QByteArray before = content(path);
        QVERIFY(ProductRecords::writeRow(sample("LAST", 9, true), kAt.addSecs(9)));
        const QByteArray after = content(path);
        QVERIFY(after.startsWith(before));
        QCOMPARE(after.mid(before.size()),
                 QByteArray("2026.03.09 14:05:16.089,LAST,9.000,-0.013,0.500,1.235,OK\n"));
    }

    // A file that holds at most one row is written as header and the new row.
    void fileWithAtMostOneRow_data() {
        QTest::addColumn<QByteArray>("existing");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header only") << kHeader;
        QTest::newRow("one stray row") << QByteArray("x,y\n");
    }
    void fileWithAtMostOneRow() {
        QFETCH(QByteArray, existing);
        put(path, existing);
        QVERIFY(ProductRecords::writeRow(sample("C1", 0, false), kAt));
        QCOMPARE(content(path), kHeader + "2026.03.09 14:05:07.089,C1,0.000,-0.013,0.500,1.235,NG\n");
    }

    void rowCutShortByACrashDoesNotSwallowTheNext() {
        put(path,
            kHeader + "2026.03.09 14:00:00.000,A,0.000,0.000,0.000,0.000,OK\n2026.03.09 14:00:01.000,B,0.0");
        QVERIFY(ProductRecords::writeRow(sample("C", 0, true), kAt));
        const QList<QStringList> rows = QtCSV::Reader::readToList(path);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[3][1], QString("C"));
        QCOMPARE(rows[3].size(), 7);
    }

    void eachDayHasItsOwnFile() {
        QVERIFY(ProductRecords::writeRow(sample("D1", 0, true), kAt));
        const QDateTime next = kAt.addDays(1);
        QVERIFY(ProductRecords::writeRow(sample("D2", 0, true), next));
        QCOMPARE(QtCSV::Reader::readToList(path).size(), 2);
        QCOMPARE(QtCSV::Reader::readToList(ProductRecords::tablePath(next)).size(), 2);
    }

    void missingDataDriveWritesNothing() {
        qputenv("TAVRIN_DATA", (root.path() + "/absent").toLocal8Bit());
        QVERIFY(!ProductRecords::writeRow(sample("X", 0, true), kAt));
        QVERIFY(!QDir(root.path() + "/absent").exists());
    }

    // What the cycle queued is stored oldest first, with one curve sample each.
    void queuedRecordsBecomeCurveSamplesAndRows() {
        SimRig rig; // the virtual clock gives the rows' time
        plotClear();
        ProductRecords::takeAll();
        ProductRecords::push(sample("Q1", 0.002, true));
        ProductRecords::push(sample("Q2", -0.004, false));
        ProductRecords::saveQueued();
        QCOMPARE(plotOffsetX[kPlotSamples - 2], 2.0);
        QCOMPARE(plotOffsetX[kPlotSamples - 1], -4.0);
        QCOMPARE(plotOffsetY[kPlotSamples - 1], -12.5);
        QCOMPARE(plotAngle[kPlotSamples - 1], 0.5);
        const QDateTime now = QDateTime::fromMSecsSinceEpoch(clk::wallMs());
        const QList<QStringList> rows = QtCSV::Reader::readToList(ProductRecords::tablePath(now));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[1][1], QString("Q1"));
        QCOMPARE(rows[2][1], QString("Q2"));
        QCOMPARE(rows[1][0], now.toString("yyyy.MM.dd hh:mm:ss.zzz"));
        QVERIFY(ProductRecords::takeAll().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCycleRecords)
#include "tst_cyclerecords.moc"
