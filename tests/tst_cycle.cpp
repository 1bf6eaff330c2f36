// The automatic cycle on the virtual machine from power-up: a whole tray, the plate
// buffer, the tray-level steps and the end of production.
#include "CycleRig.h"

#include "platform/qtcsv/Reader.h"
#include "production/MesMessages.h"
#include "sequences/NamedMoves.h"

#include <QtTest>

using namespace cycletest;

class TestCycle : public QObject {
    Q_OBJECT
private slots:
    void fullTrayIsAssembledAndRecorded() {
        CycleRig rig;
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([&] { return rig.traysDone == 1; }, 600.0), qPrintable(rig.state()));
        const int cells = int(gf[510] * gf[511]);
        QCOMPARE(cells, 20);
        for (int counter : {21, 23, 25, 28, 30}) QCOMPARE(gr[counter], double(cells));
        for (int counter : {22, 24, 26, 29, 31, 33})
            QVERIFY2(gr[counter] == 0.0, qPrintable(QString("gr[%1] = %2").arg(counter).arg(gr[counter])));
        QCOMPARE(gr[32], 24.0); // every cell of two plates is photographed before the picks
        QCOMPARE(gr[1], 1.0);   // the next tray starts at cell 1
        QCOMPARE(rig.reports, cells);
        QCOMPARE(int(rig.records.size()), cells);
        QVERIFY(cycleTime > 1.0 && cycleTime < 30.0);
        QCOMPARE(rig.feedPulses, 1); // the first plate was there at start

        // The day's file: header and one row per product in order.
        const QString path = ProductRecords::tablePath(QDateTime::fromMSecsSinceEpoch(clk::wallMs()));
        bool ok = false;
        const QList<QStringList> rows = QtCSV::Reader::readToList(path, ",", "\"", nullptr, &ok);
        QVERIFY(ok);
        QCOMPARE(rows.size(), cells + 1);
        QCOMPARE(rows[0], ProductRecords::header());
        QStringList codes;
        for (int i = 1; i <= cells; ++i) {
            QCOMPARE(rows[i].size(), 7);
            QCOMPARE(rows[i][6], QString("OK"));
            QCOMPARE(rows[i][1], rig.records[size_t(i - 1)].code);
            QVERIFY(rows[i][1].contains(QRegularExpression("^[A-Za-z0-9]+$")));
            QVERIFY(!codes.contains(rows[i][1]));
            codes << rows[i][1];
        }
        QCOMPARE(alarmActive, u8(0));
    }
};

QTEST_GUILESS_MAIN(TestCycle)
#include "tst_cycle.moc"
