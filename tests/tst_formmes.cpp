// The MES settings page, offscreen, with its settings file and the MES emulator.
#include "app/MachineData.h"
#include "platform/KZLOG.h"
#include "platform/Paths.h"
#include "production/FormMes.h"
#include "production/MesConfig.h"
#include "production/MesData.h"
#include "production/MesMessages.h"
#include "sim/MesEmulator.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

class TestFormMes : public QObject {
    Q_OBJECT

    template <typename T> static T* child(QWidget& w, const char* name) {
        T* c = w.findChild<T*>(name);
        if (!c) qFatal("no %s", name);
        return c;
    }

private slots:
    void init() {
        KZLOG::CLog::Deinitializes();
        QDir(Paths::root()).removeRecursively();
        QVERIFY(Paths::ensureFolders());
        manualMode = 0.0;
        userLevel = 0;
    }

    // Each input of the enabling rule alone.
    void settingsAreEditableOnlyInManualModeFromLevelTwo_data() {
        QTest::addColumn<double>("mode");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("manual, level 2") << 1.0 << 2 << true;
        QTest::newRow("manual, level 3") << 1.0 << 3 << true;
        QTest::newRow("automatic, level 3") << 0.0 << 3 << false;
        QTest::newRow("manual, level 1") << 1.0 << 1 << false;
        QTest::newRow("manual, logged out") << 1.0 << 0 << false;
    }
    void settingsAreEditableOnlyInManualModeFromLevelTwo() {
        QFETCH(double, mode);
        QFETCH(int, level);
        QFETCH(bool, enabled);
        FormMes page;
        auto* group = child<QGroupBox>(page, "groupBox_mes");
        QCOMPARE(group->title(), QString("MES参数"));
        manualMode = mode;
        userLevel = level;
        page.tick();
        QCOMPARE(group->isEnabled(), enabled);
        // The page's own 200 ms timer follows a change while the page is on screen.
        page.show();
        userLevel = enabled ? 0 : 2;
        manualMode = 1.0;
        QTRY_COMPARE_WITH_TIMEOUT(group->isEnabled(), !enabled, 2000);
        // Hidden, it rests; shown again, it is up to date at once.
        page.hide();
        userLevel = enabled ? 2 : 0;
        QTest::qWait(500);
        QCOMPARE(group->isEnabled(), !enabled);
        page.show();
        QCOMPARE(group->isEnabled(), enabled);
    }

    void saveThenLoadRoundTripsTheFourFields() {
        FormMes page;
        child<QLineEdit>(page, "lineEdit_macid")->setText("机台-7");
        child<QLineEdit>(page, "lineEdit_station")->setText("GW 02");
        child<QLineEdit>(page, "lineEdit_outurl")->setText("http://127.0.0.1:9/out?a=1,b=2");
        child<QLineEdit>(page, "lineEdit_inurl")->setText("http://127.0.0.1:9/in;x");
        page.inituitovar();
        QCOMPARE(mesMacId, QString("机台-7"));
        QCOMPARE(mesOutUrl, QString("http://127.0.0.1:9/out?a=1,b=2"));
        {
            QSettings ini(Paths::programDir() + "/Config/MesConfig.ini", QSettings::IniFormat);
            ini.setIniCodec("UTF-8");
            QCOMPARE(ini.value("/MES/INurl").toString(), QString("http://127.0.0.1:9/in;x"));
            QCOMPARE(ini.value("/MES/OTurl").toString(), QString("http://127.0.0.1:9/out?a=1,b=2"));
            QCOMPARE(ini.value("/MES/macID").toString(), QString("机台-7"));
            QCOMPARE(ini.value("/MES/StationID").toString(), QString("GW 02"));
        }
        mesMacId.clear();
        mesInUrl.clear();
        // A new page reads the file.
        FormMes again;
        QCOMPARE(child<QLineEdit>(again, "lineEdit_macid")->text(), QString("机台-7"));
        QCOMPARE(child<QLineEdit>(again, "lineEdit_station")->text(), QString("GW 02"));
        QCOMPARE(child<QLineEdit>(again, "lineEdit_outurl")->text(),
                 QString("http://127.0.0.1:9/out?a=1,b=2"));
        QCOMPARE(child<QLineEdit>(again, "lineEdit_inurl")->text(), QString("http://127.0.0.1:9/in;x"));
        QCOMPARE(mesMacId, QString("机台-7"));
        QCOMPARE(mesInUrl, QString("http://127.0.0.1:9/in;x"));
        // Edits not saved are undone by a load.
        child<QLineEdit>(again, "lineEdit_macid")->setText("other");
        again.initvartoui();
        QCOMPARE(child<QLineEdit>(again, "lineEdit_macid")->text(), QString("机台-7"));
    }

    void theLogKeepsAtMost50000Lines() {
        FormMes page;
        auto* log = child<QTextBrowser>(page, "textEdit");
        KZLOG::UILog* ui = KZLOG::UILog::GetInstance();
        for (int i = 0; i < 50100; ++i) ui->AddLog("textEdit", QString("line %1").arg(i));
        QCoreApplication::processEvents();
        QTRY_VERIFY(log->toPlainText().endsWith("line 50099"));
        QCOMPARE(log->document()->blockCount(), 50000);
        QVERIFY(log->document()->firstBlock().text().endsWith("line 100"));
        // The main log view keeps its own, shorter bound.
        QCOMPARE(ui->maxLines(), 1000);
        child<QPushButton>(page, "pushButton_clearlog")->click();
        QCOMPARE(log->toPlainText(), QString());
    }

    void theButtonsBuildAndTestSendTheMessages() {
        sim::MesEmulator mes;
        QVERIFY(mes.start(0));
        FormMes page;
        mesMacId = "M9";
        productCode = "PC1";
        mesInTime.clear();
        auto* content = child<QPlainTextEdit>(page, "textEdit_send");
        child<QPushButton>(page, "pushButton_mesin")->click();
        QVERIFY(content->toPlainText().contains("\"cMac\": \"M9\""));
        QVERIFY(!mesInTime.isEmpty());
        QVERIFY(content->toPlainText().contains(mesInTime));
        child<QPushButton>(page, "pushButton_mesout")->click();
        QVERIFY(content->toPlainText().contains("\"cmac\": \"M9\""));
        QVERIFY(content->toPlainText().contains("泡棉贴附"));

        // No address: nothing is sent.
        auto* send = child<QPushButton>(page, "pushButton_testsend");
        QCOMPARE(send->text(), QString("测试发送：本机 TO MES"));
        send->click();
        QCOMPARE(mes.requestCount(), 0);

        const int alarmsBefore = alarmFlags[41] + alarmFlags[42] + alarmFlags[43] + alarmFlags[44];
        const int resultBefore = mesInResult;
        content->setPlainText("{\"测试\": 1}");
        child<QLineEdit>(page, "lineEdit_testurl")->setText(mes.inUrl());
        send->click();
        QCOMPARE(mes.requestCount(), 1);
        QCOMPARE(mes.requests()[0].body, QString("{\"测试\": 1}").toUtf8());
        auto* log = child<QTextBrowser>(page, "textEdit");
        QTRY_VERIFY(log->toPlainText().contains("入站成功"));
        QVERIFY(log->toPlainText().contains("{\"测试\": 1}"));
        QCOMPARE(alarmFlags[41] + alarmFlags[42] + alarmFlags[43] + alarmFlags[44], alarmsBefore);
        QCOMPARE(int(mesInResult), resultBefore);
        QVERIFY(send->isEnabled());
    }
};

QTEST_MAIN(TestFormMes)
#include "tst_formmes.moc"
