// The function settings page offscreen on the virtual machine: switches and mode
// boxes act at once with the stored 0.0/2.0 and row offsets, homing speeds on
// save, the protection switch, and who may change what.
#include "PageRig.h"
#include "WhoMayUse.h"

#include "pages/Form5.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <memory>
#include <vector>

namespace {

struct Switch {
    const char* box;
    int element;
};
const Switch kSwitches[] = {{"checkBox_110", 0},  {"checkBox_109", 1},  {"checkBox_100", 4},
                            {"checkBox_103", 6},  {"checkBox_102", 10}, {"checkBox_104", 11},
                            {"checkBox_105", 12}, {"checkBox_112", 16}, {"checkBox_121", 21},
                            {"checkBox_122", 22}, {"checkBox_123", 23}, {"checkBox_106", 34},
                            {"checkBox_114", 35}, {"checkBox_115", 36}, {"checkBox_116", 37},
                            {"checkBox_117", 42}, {"checkBox_118", 43}, {"checkBox_119", 44},
                            {"checkBox_120", 45}, {"checkBox_107", 46}, {"checkBox_125", 350}};

std::vector<double> snapshot() {
    std::vector<double> v;
    for (int i = 0; i < kGdSize; ++i) v.push_back(double(gd[i]));
    for (int i = 0; i < kGfSize; ++i) v.push_back(double(gf[i]));
    return v;
}

} // namespace

class TestForm5 : public QObject {
    Q_OBJECT

    std::unique_ptr<PageRig> rig;
    std::unique_ptr<Form5> page;

    template <class T> T* w(const char* name) { return child<T>(page.get(), name); }
    void refreshed() { rig->runFor(0.21); }
    // On the indicator: a box's layout cell is wider than its text.
    void clickBox(const char* name) {
        QCheckBox* box = w<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }

private slots:
    void init() {
        rig = std::make_unique<PageRig>();
        userLevel = 1;
        interlockOff = 0;
        page = std::make_unique<Form5>();
        page->resize(1920, 1000);
        page->show();
        refreshed();
    }
    void cleanup() {
        page.reset();
        rig.reset();
        userLevel = 0;
        interlockOff = 0;
    }

    void switchesStoreCheckStateAtOnceAndShowAnyNonZeroAsSet() {
        for (const Switch& s : kSwitches) {
            gd[s.element] = 0.0;
            page->initvartoui();
            QVERIFY(!w<QCheckBox>(s.box)->isChecked());
            clickBox(s.box);
            QCOMPARE(gd[s.element], 2.0);
            clickBox(s.box);
            QCOMPARE(gd[s.element], 0.0);
            gd[s.element] = 1.0; // an older file
            page->initvartoui();
            QVERIFY2(w<QCheckBox>(s.box)->isChecked(), s.box);
            QCOMPARE(gd[s.element], 1.0); // loading changes nothing
            page->inituitovar();
            QCOMPARE(gd[s.element], 2.0);
        }
        // Each box has its own element.
        for (const Switch& s : kSwitches) gd[s.element] = 0.0;
        page->initvartoui();
        clickBox("checkBox_107");
        for (const Switch& s : kSwitches) QCOMPARE(gd[s.element], s.element == 46 ? 2.0 : 0.0);
    }

    void onlineBypassIsTiedToNothing() {
        const std::vector<double> before = snapshot();
        const u8 freeze = inputFreeze, interlock = interlockOff;
        clickBox("checkBox_124");
        QVERIFY(w<QCheckBox>("checkBox_124")->isChecked());
        page->inituitovar();
        gd[18] = before[18]; // the combo boxes rewrite their rows
        gd[38] = before[38];
        for (int a = 0; a < 8; ++a) { // and the spin boxes their (unchanged) values
            gd[90 + a] = before[90 + a];
            gd[130 + a] = before[130 + a];
        }
        QVERIFY(snapshot() == before);
        QCOMPARE(inputFreeze, freeze);
        QCOMPARE(interlockOff, interlock);
    }

    void beltModeShowsStoredMinusTwoAndOtherValuesShowNoRow() {
        auto* mode = w<QComboBox>("comboBox");
        QCOMPARE(mode->count(), 2);
        QCOMPARE(mode->itemText(0), QString("联机模式-皮带线启用"));
        QCOMPARE(mode->itemText(1), QString("联机模式-皮带线过料"));
        const struct {
            double stored;
            int row;
        } cases[] = {{2.0, 0}, {3.0, 1}, {5.0, -1}, {0.0, -1}, {1.0, -1}, {2.5, -1}};
        for (const auto& c : cases) {
            gd[18] = c.stored;
            page->initvartoui();
            QCOMPARE(mode->currentIndex(), c.row);
            page->inituitovar(); // a value without a row survives a save
            QCOMPARE(gd[18], c.stored);
        }
        gd[18] = 2.0;
        page->initvartoui();
        QTest::keyClick(mode, Qt::Key_Down); // the operator picks the second row
        QCOMPARE(gd[18], 3.0);
        QTest::keyClick(mode, Qt::Key_Up);
        QCOMPARE(gd[18], 2.0);
    }

    void ngTrayModeStoresTheRow() {
        auto* mode = w<QComboBox>("comboBox_2");
        QCOMPARE(mode->itemText(0), QString("成品NG放回原位"));
        QCOMPARE(mode->itemText(1), QString("成品NG放NG盘"));
        gd[38] = 0.0;
        page->initvartoui();
        QTest::keyClick(mode, Qt::Key_Down);
        QCOMPARE(gd[38], 1.0);
        gd[38] = 7.0;
        page->initvartoui();
        QCOMPARE(mode->currentIndex(), -1);
    }

    void homingSpeedsWaitForTheSave() {
        for (int a = 0; a < 8; ++a) {
            auto* fast = w<QDoubleSpinBox>(qPrintable(QString("doubleSpinBox_%1").arg(100 + 2 * a)));
            auto* slow = w<QDoubleSpinBox>(qPrintable(QString("doubleSpinBox_%1").arg(101 + 2 * a)));
            QCOMPARE(fast->decimals(), 0);
            QCOMPARE(fast->maximum(), 1000.0);
            QCOMPARE(slow->maximum(), 20.0);
            QCOMPARE(fast->value(), gd[90 + a]);
            gd[90 + a] = 10.0;
            gd[130 + a] = 1.0;
            fast->setValue(300 + a);
            slow->setValue(7 + a);
            QCOMPARE(gd[90 + a], 10.0);
        }
        QSignalSpy save(page.get(), &Form5::m_sigsavedata);
        QTest::mouseClick(w<QPushButton>("pushButton_63"), Qt::LeftButton);
        QCOMPARE(save.count(), 1);
        page->inituitovar(); // what the main window's relay runs
        for (int a = 0; a < 8; ++a) {
            QCOMPARE(gd[90 + a], 300.0 + a);
            QCOMPARE(gd[130 + a], 7.0 + a);
        }
        // A refresh brings the stored values back over unsaved edits.
        w<QDoubleSpinBox>("doubleSpinBox_100")->setValue(5);
        page->initvartoui();
        QCOMPARE(w<QDoubleSpinBox>("doubleSpinBox_100")->value(), 300.0);
    }

    void protectionSwitchWritesTheFlagAndFollowsIt() {
        auto* box = w<QCheckBox>("checkBox_111");
        clickBox("checkBox_111");
        QCOMPARE(int(interlockOff), 1);
        interlockOff = 0; // e.g. from the jog window
        refreshed();
        QVERIFY(!box->isChecked());
        interlockOff = 1;
        refreshed();
        QVERIFY(box->isChecked());
        clickBox("checkBox_111");
        QCOMPARE(int(interlockOff), 0);
    }

    void editingNeedsManualModeAndALevelTheProtectionSwitchManualModeOnly() {
        QStringList editing = numbered("doubleSpinBox_", 100, 115) << "checkBox_124"
                                                                   << "comboBox"
                                                                   << "comboBox_2";
        for (const Switch& s : kSwitches) editing << s.box;
        checkWhoMayUse(page.get(), [this] { refreshed(); }, editing, {"checkBox_111"});
        manualMode = 0.0;
        userLevel = 1;
        refreshed();
        // A disabled switch cannot be clicked.
        gd[4] = 0.0;
        clickBox("checkBox_100");
        QCOMPARE(gd[4], 0.0);
        clickBox("checkBox_111");
        QCOMPARE(int(interlockOff), 0);
    }
};

QTEST_MAIN(TestForm5)
#include "tst_form5.moc"
