// The belt-line settings page offscreen on the virtual machine with the belt-line
// sequence running: times and speeds, the tests with their progress notice, the
// signal resets, the hand-shake display and who may use what.
#include "PageRig.h"
#include "WhoMayUse.h"

#include "machine/IoAccess.h"
#include "pages/Form3.h"
#include "pages/liaocang.h"
#include "sequences/BeltLine.h"
#include "sequences/CycleData.h"
#include "sequences/Taskb.h"
#include "sim/BeltTransport.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QWindow>
#include <memory>

namespace {

const char* const kInputBoxes[12] = {"checkBox_1",  "checkBox_2",  "checkBox_3",  "checkBox_7",
                                     "checkBox_8",  "checkBox_9",  "checkBox_13", "checkBox_14",
                                     "checkBox_15", "checkBox_19", "checkBox_20", "checkBox_21"};
const char* const kOutputBoxes[12] = {"checkBox_4",  "checkBox_5",  "checkBox_6",  "checkBox_10",
                                      "checkBox_11", "checkBox_12", "checkBox_16", "checkBox_17",
                                      "checkBox_18", "checkBox_22", "checkBox_23", "checkBox_24"};
const QString kOn = "background-color: green";
const QString kOff = "background-color:#E0FFFF";

struct BeltRig : PageRig {
    Taskb belts;
    sim::Belts b;
    BeltRig() {
        testLineIn = testLineOut = testEmptyIn = testEmptyOut = 0;
        clearBeltHandshakeFlags();
        b = sim::findBelts(plant());
        clock.addPeriodic("belts", 5000, [this] { belts.pass(); });
        runFor(0.05);
    }
};

} // namespace

class TestForm3 : public QObject {
    Q_OBJECT

    std::unique_ptr<BeltRig> rig;
    std::unique_ptr<Form3> page;

    template <class T> T* w(const char* name) { return child<T>(page.get(), name); }
    void refreshed() { rig->runFor(0.21); }
    void click(const char* name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    liaocang* notice() { return page->findChild<liaocang*>(); }
    static bool shown(const QPointer<liaocang>& n) { return n && n->isVisible(); }

private slots:
    void init() {
        rig = std::make_unique<BeltRig>();
        userLevel = 1;
        page = std::make_unique<Form3>();
        page->resize(1920, 1000);
        page->show();
        refreshed();
    }
    void cleanup() {
        page.reset();
        rig.reset();
        userLevel = 0;
        inputFreeze = 0;
    }

    void speedsAndTimeOutActAtOnceTheDelaysOnSave() {
        const struct {
            const char* box;
            int element;
            double max;
            bool atOnce;
        } fields[] = {{"doubleSpinBox_100", 240, 9999, true},
                      {"doubleSpinBox_101", 205, 5000, true},
                      {"doubleSpinBox_102", 206, 5000, true},
                      {"doubleSpinBox_103", 241, 5000, false},
                      {"doubleSpinBox_104", 242, 5000, false}};
        for (const auto& f : fields) {
            auto* box = w<QDoubleSpinBox>(f.box);
            QCOMPARE(box->decimals(), 3);
            QCOMPARE(box->maximum(), f.max);
            QCOMPARE(box->minimum(), 0.0);
            QCOMPARE(box->value(), gf[f.element]);
            const double before = gf[f.element];
            box->setValue(before + 1.25);
            QCOMPARE(gf[f.element], f.atOnce ? before + 1.25 : before);
            QTest::keyClick(box, Qt::Key_Up); // typed by the operator
            QCOMPARE(gf[f.element], f.atOnce ? box->value() : before);
            page->inituitovar();
            QCOMPARE(gf[f.element], box->value());
            gf[f.element] = 4.5;
            page->initvartoui();
            QCOMPARE(box->value(), 4.5);
            QCOMPARE(gf[f.element], 4.5); // loading writes nothing back
        }
    }

    void infeedTestRunsOnceWithTheNoticeAtLevelZero() {
        userLevel = 0;
        refreshed();
        QVERIFY(!w<QDoubleSpinBox>("doubleSpinBox_101")->isEnabled());
        QVERIFY(!rig->plant().input(24));
        click("pushButton_300");
        QCOMPARE(int(testLineIn), 1);
        QPointer<liaocang> n = notice();
        QVERIFY(shown(n));
        refreshed();
        QCOMPARE(n->text(), QString("成品线进盘测试中。。"));
        // The upstream machine hands a tray into the buffer; the notice then closes by itself.
        QVERIFY(rig->runUntil([&] { return !shown(n); }, 60.0));
        QCOMPARE(int(testLineIn), 0);
        QVERIFY(rig->plant().input(24));
        QCOMPARE(lineInStep, 0.0);
        for (int i = 48; i < 51; ++i) QVERIFY(!rig->plant().output(i));
    }

    void emptyLineTestsBringAndSendATray() {
        click("pushButton_302");
        QPointer<liaocang> n = notice();
        QVERIFY(shown(n));
        refreshed();
        QCOMPARE(n->text(), QString("空盘线进盘测试中。。"));
        QVERIFY(rig->runUntil([&] { return !shown(n); }, 60.0));
        QVERIFY(rig->plant().input(27));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        click("pushButton_303");
        n = notice();
        QVERIFY(shown(n));
        refreshed();
        QCOMPARE(n->text(), QString("空盘线出盘测试中。。"));
        QVERIFY(rig->runUntil([&] { return !shown(n); }, 60.0));
        QVERIFY(!rig->plant().input(27));
        auto g = rig->plant().lock();
        QCOMPARE(rig->b.emptyDown->received().size(), size_t(1));
    }

    void refusedTestOpensNoNotice() {
        rig->plant().setEstopPressed(true);
        rig->runFor(0.05);
        click("pushButton_300");
        QVERIFY(!notice());
        QCOMPARE(int(testLineIn), 0);
        QCOMPARE(lineInStep, 0.0);
        rig->plant().setEstopPressed(false);
    }

    void signalResetsClearTheirHandshakeOnly() {
        const struct {
            const char* button;
            int first;
            volatile u8* test;
        } cases[] = {{"pushButton_304", 48, &testLineIn},
                     {"pushButton_305", 51, &testLineOut},
                     {"pushButton_306", 54, &testEmptyIn},
                     {"pushButton_307", 57, &testEmptyOut}};
        userLevel = 0;
        refreshed();
        for (const auto& c : cases) {
            for (int i = 48; i < 60; ++i) outputBit(i, true);
            *c.test = 1;
            click(c.button);
            rig->runFor(0.02);
            for (int i = 48; i < 60; ++i)
                QCOMPARE(rig->plant().output(i), !(i >= c.first && i < c.first + 3));
            QCOMPARE(int(*c.test), 0);
            for (int i = 48; i < 60; ++i) outputBit(i, false);
        }
    }

    void handshakeBoxesFollowThePlantWithColours() {
        for (int i = 0; i < 12; ++i) {
            // One input and one (other) output at a time: each box shows its own signal.
            const int out = (i + 5) % 12;
            for (int k = 0; k < 12; ++k) rig->plant().forceInput(48 + k, k == i ? 1 : 0);
            outputBit(48 + out, true);
            refreshed();
            for (int k = 0; k < 12; ++k) {
                auto* in = w<QCheckBox>(kInputBoxes[k]);
                auto* o = w<QCheckBox>(kOutputBoxes[k]);
                QCOMPARE(in->isChecked(), k == i);
                QCOMPARE(in->styleSheet(), k == i ? kOn : kOff);
                QCOMPARE(o->isChecked(), k == out);
                QCOMPARE(o->styleSheet(), k == out ? kOn : kOff);
            }
            outputBit(48 + out, false);
        }
        for (int k = 0; k < 12; ++k) rig->plant().forceInput(48 + k, 0);
        refreshed();
        QVERIFY(!w<QCheckBox>("checkBox_1")->isChecked());
        QCOMPARE(w<QCheckBox>("checkBox_1")->text(), QString("成品线进IN_Ready"));
        QCOMPARE(w<QCheckBox>("checkBox_24")->text(), QString("空盘线出OT_Beg"));
        // A click on the window does not change what a signal box shows.
        auto* shownBox = w<QCheckBox>("checkBox_4");
        const QPoint at = shownBox->mapTo(page.get(), QPoint(8, shownBox->height() / 2));
        QTest::mouseClick(page->windowHandle(), Qt::LeftButton, {}, at);
        QVERIFY(!w<QCheckBox>("checkBox_4")->isChecked());
    }

    void ioSimulationFreezesTheInputs() {
        auto* box = w<QCheckBox>("checkBox");
        rig->plant().forceInput(48, 0);
        refreshed();
        QVERIFY(!w<QCheckBox>("checkBox_1")->isChecked());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        QCOMPARE(int(inputFreeze), 1);
        rig->plant().forceInput(48, 1); // not seen while frozen
        refreshed();
        QVERIFY(!w<QCheckBox>("checkBox_1")->isChecked());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        QCOMPARE(int(inputFreeze), 0);
        refreshed();
        QVERIFY(w<QCheckBox>("checkBox_1")->isChecked());
        rig->plant().forceInput(48, -1);
    }

    void whoMayUseWhat() {
        inputFreeze = 0;
        checkWhoMayUse(
            page.get(), [this] { refreshed(); },
            {"doubleSpinBox_100", "doubleSpinBox_101", "doubleSpinBox_102", "doubleSpinBox_103",
             "doubleSpinBox_104"},
            numbered("pushButton_", 300, 307),
            [this](const Access& a) {
                QCOMPARE(w<QGroupBox>("groupBox_4")->isEnabled(), a.manual == 1.0);
                QVERIFY(!w<QCheckBox>("checkBox")->isChecked());
            });
        // The I/O simulation opens the hand-shake display in automatic mode too.
        inputFreeze = 1;
        for (int level : {0, 2}) {
            manualMode = 0.0;
            userLevel = level;
            refreshed();
            QVERIFY(w<QGroupBox>("groupBox_4")->isEnabled());
            QVERIFY(w<QCheckBox>("checkBox")->isChecked());
            QVERIFY(!w<QDoubleSpinBox>("doubleSpinBox_101")->isEnabled());
        }
        // In automatic mode a test button does nothing.
        manualMode = 0.0;
        inputFreeze = 0;
        refreshed();
        click("pushButton_300");
        QCOMPARE(int(testLineIn), 0);
        QVERIFY(!notice());
    }
};

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"
