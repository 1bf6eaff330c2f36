// The position page "位置设置" on the virtual machine: fields and their array
// elements, who may edit and who may command, teach, the GO buttons, the photo
// verdicts and displays, the single actions with their notice, and the save and
// refresh chains of the main window.
#include "CycleRig.h"
#include "ModalAnswers.h"
#include "PageRig.h"
#include "WhoMayUse.h"
#include "WindowChild.h"

#include "app/DataSetup.h"
#include "app/MainWindow1.h"
#include "app/Prompt.h"
#include "pages/Form2.h"
#include "pages/Form3.h"
#include "pages/Form4.h"
#include "pages/Form5.h"
#include "pages/liaocang.h"
#include "platform/Paths.h"
#include "platform/kzct.h"
#include "platform/kzmc.h"
#include "recipes/Peifang1.h"
#include "sequences/CycleData.h"
#include "sequences/NamedMoves.h"
#include "vision/HeightValues.h"
#include "vision/VisionFlags.h"
#include "vision/VisionRequests.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>
#include <memory>
#include <thread>
#include <vector>

namespace {

struct Bound {
    const char* widget;
    char array; // 'd' gd, 'f' gf
    int index;
    int decimals;
    double min, max;
};

// Every bound field of the page, its element, decimals and range.
// clang-format off
const Bound kBound[] = {
    {"doubleSpinBox_111", 'f', 500, 0, 0, 99},
    {"doubleSpinBox_112", 'f', 501, 0, 0, 99},
    {"doubleSpinBox_113", 'f', 502, 3, 0, 9999},
    {"doubleSpinBox_114", 'f', 503, 3, 0, 9999},
    {"doubleSpinBox_107", 'f', 510, 0, 0, 99},
    {"doubleSpinBox_108", 'f', 511, 0, 0, 99},
    {"doubleSpinBox_109", 'f', 512, 3, 0, 9999},
    {"doubleSpinBox_110", 'f', 513, 3, 0, 9999},
    {"doubleSpinBox_135", 'f', 520, 0, 0, 99},
    {"doubleSpinBox_136", 'f', 521, 0, 0, 99},
    {"doubleSpinBox_137", 'f', 522, 3, 0, 9999},
    {"doubleSpinBox_138", 'f', 523, 3, 0, 9999},
    {"doubleSpinBox_100", 'f', 200, 3, 0, 1000},
    {"doubleSpinBox_101", 'f', 201, 3, 0, 1000},
    {"doubleSpinBox_102", 'f', 202, 3, 0, 1000},
    {"doubleSpinBox_103", 'f', 203, 3, 0, 1000},
    {"doubleSpinBox_104", 'f', 204, 3, 0, 5000},
    {"doubleSpinBox_143", 'd', 315, 3, -9999, 9999},
    {"doubleSpinBox_144", 'd', 316, 3, -9999, 9999},
    {"doubleSpinBox_145", 'd', 317, 3, -999, 999},
    {"doubleSpinBox_146", 'f', 233, 3, 0, 999},
    {"doubleSpinBox_157", 'd', 321, 3, -999, 999},
    {"doubleSpinBox_126", 'f', 216, 3, 0, 9999},
    {"doubleSpinBox_127", 'd', 33, 3, 0, 9999},
    {"doubleSpinBox_128", 'f', 218, 0, 0, 99900},
    {"doubleSpinBox_129", 'f', 221, 0, 0, 99900},
    {"doubleSpinBox_130", 'f', 222, 0, 0, 99900},
    {"doubleSpinBox_147", 'd', 310, 3, -9999, 9999},
    {"doubleSpinBox_148", 'd', 311, 3, -9999, 9999},
    {"doubleSpinBox_149", 'd', 312, 3, -999, 999},
    {"doubleSpinBox_150", 'f', 237, 3, -9999, 9999},
    {"doubleSpinBox_151", 'f', 238, 3, -9999, 9999},
    {"doubleSpinBox_120", 'f', 210, 3, 0, 9999},
    {"doubleSpinBox_121", 'f', 211, 3, 0, 9999},
    {"doubleSpinBox_122", 'f', 212, 3, 0, 9999},
    {"doubleSpinBox_123", 'f', 213, 3, 0, 9999},
    {"doubleSpinBox_124", 'f', 214, 3, 0, 9999},
    {"doubleSpinBox_125", 'f', 215, 0, 0, 1000},
    {"doubleSpinBox_154", 'd', 250, 3, -9999, 9999},
    {"doubleSpinBox_155", 'd', 251, 3, -9999, 9999},
    {"doubleSpinBox_156", 'd', 252, 3, -9999, 9999},
    {"doubleSpinBox_600", 'f', 600, 3, -1000, 9999},
    {"doubleSpinBox_601", 'f', 601, 3, -1000, 9999},
    {"doubleSpinBox_602", 'f', 602, 3, -1000, 9999},
    {"doubleSpinBox_630", 'f', 630, 3, -1000, 9999},
    {"doubleSpinBox_631", 'f', 631, 3, -1000, 9999},
    {"doubleSpinBox_632", 'f', 632, 3, -1000, 9999},
    {"doubleSpinBox_633", 'f', 633, 3, -1000, 9999},
    {"doubleSpinBox_413", 'f', 413, 3, -1000, 9999},
    {"doubleSpinBox_414", 'f', 414, 3, -1000, 9999},
    {"doubleSpinBox_415", 'f', 415, 3, -1000, 9999},
    {"doubleSpinBox_635", 'f', 635, 3, -1000, 9999},
    {"doubleSpinBox_636", 'f', 636, 3, -1000, 9999},
    {"doubleSpinBox_637", 'f', 637, 3, -1000, 9999},
    {"doubleSpinBox_645", 'f', 645, 3, -1000, 9999},
    {"doubleSpinBox_646", 'f', 646, 3, -1000, 9999},
    {"doubleSpinBox_647", 'f', 647, 3, -1000, 9999},
    {"doubleSpinBox_615", 'f', 615, 3, -1000, 9999},
    {"doubleSpinBox_616", 'f', 616, 3, -1000, 9999},
    {"doubleSpinBox_617", 'f', 617, 3, -1000, 9999},
    {"doubleSpinBox_400", 'f', 400, 3, -1000, 9999},
    {"doubleSpinBox_410", 'f', 410, 3, -1000, 9999},
    {"doubleSpinBox_411", 'f', 411, 3, -1000, 9999},
    {"doubleSpinBox_412", 'f', 412, 3, -1000, 9999},
    {"doubleSpinBox_620", 'f', 620, 3, -1000, 9999},
    {"doubleSpinBox_621", 'f', 621, 3, -1000, 9999},
    {"doubleSpinBox_622", 'f', 622, 3, -1000, 9999},
    {"doubleSpinBox_605", 'f', 605, 3, -1000, 9999},
    {"doubleSpinBox_606", 'f', 606, 3, -1000, 9999},
    {"doubleSpinBox_607", 'f', 607, 3, -1000, 9999},
    {"doubleSpinBox_640", 'f', 640, 3, -1000, 9999},
    {"doubleSpinBox_641", 'f', 641, 3, -1000, 9999},
    {"doubleSpinBox_642", 'f', 642, 3, -1000, 9999},
    {"doubleSpinBox_650", 'f', 650, 3, -1000, 9999},
    {"doubleSpinBox_651", 'f', 651, 3, -1000, 9999},
    {"doubleSpinBox_652", 'f', 652, 3, -1000, 9999},
};
// clang-format on

volatile double& element(const Bound& b) {
    return b.array == 'd' ? gd[b.index] : gf[b.index];
}

// A value inside every field's range that no other field gets.
double distinctValue(int i) {
    return 3 + i;
}

const char* const kCommandButtons[] = {
    "pushButton_1600",  "pushButton_2600", "pushButton_3600", "pushButton_1615", "pushButton_2615",
    "pushButton_3615",  "pushButton_212",  "pushButton_213",  "pushButton_223",  "pushButton_230",
    "pushButton_303",   "pushButton_300",  "pushButton_301",  "pushButton_304",  "pushButton_309",
    "pushButton_307",   "pushButton_310",  "pushButton_305",  "pushButton_306",  "pushButton_308",
    "doubleSpinBox_300"};
const char* const kEditing[] = {"doubleSpinBox_111", "doubleSpinBox_100", "doubleSpinBox_615",
                                "doubleSpinBox_154", "comboBox",          "comboBox_4",
                                "pushButton_501",    "pushButton_507"};

// Fields of the four pages that a recipe switch must reload; page is the page's
// number (Form2..Form5), offset the row offset of a combo box.
struct RecipeField {
    int page;
    const char* widget;
    char array;
    int index;
    double one, two;
    int offset;
};
// clang-format off
const RecipeField kRecipeFields[] = {
    {2, "doubleSpinBox_100", 'f', 200, 111.5,   222.75,  0}, // X speed
    {2, "doubleSpinBox_615", 'f', 615, -12.25,  40.125,  0}, // assembly start X
    {2, "comboBox",          'd', 13,  0.0,     2.0,     0}, // label photo light
    {3, "doubleSpinBox_101", 'f', 205, 1200.5,  800.25,  0}, // finished line belt speed
    {3, "doubleSpinBox_103", 'f', 241, 0.75,    1.5,     0}, // tray in-position delay
    {4, "doubleSpinBox_100", 'f', 350, 45.5,    60.25,   0}, // calibration X speed
    {4, "doubleSpinBox_206", 'd', 340, 10.5,    -20.75,  0}, // nozzle takes the plate, X
    {5, "doubleSpinBox_100", 'd', 90,  400.0,   250.0,   0}, // X homing fast
    {5, "checkBox_107",      'd', 46,  0.0,     2.0,     0}, // MES enable
    {5, "checkBox_123",      'd', 23,  2.0,     0.0,     0}, // height bypass
    {5, "comboBox",          'd', 18,  2.0,     3.0,     2}, // belt-line mode
    {5, "comboBox_2",        'd', 38,  1.0,     0.0,     0}, // NG tray mode
};
// clang-format on

MainWindow1::Options drivenByTest() {
    MainWindow1::Options o;
    o.startWorkers = false;
    o.startTicks = false;
    o.startHousekeeping = false;
    return o;
}

// The notice the page opened, if one is still there.
liaocang* openNotice(QWidget* page) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return page->findChild<liaocang*>();
}

} // namespace

class TestForm2 : public QObject {
    Q_OBJECT

    std::unique_ptr<PageRig> rig;
    std::unique_ptr<VirtualCameras> cameras;
    std::unique_ptr<Form2> page;

    template <class T> T* w(const char* name) { return child<T>(page.get(), name); }
    void click(const char* name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    bool arrived(WORD axis, double target) {
        return isidle(0, axis) == 1 && std::fabs(command(axis) - target) < 1e-6;
    }
    void moveTo(WORD axis, double target) {
        spmove(0, axis, target, 100.0, 1);
        QVERIFY(rig->runUntil([&] { return isidle(0, axis) == 1; }, 5.0));
    }

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(config);
        QCOMPARE(DataSetup::ensure(), QString());
        Prompt::setHandler([](const Prompt::Shown&) { return false; });
    }
    void init() {
        rig = std::make_unique<PageRig>();
        TaskParams::GetInstance()->reset();
        taskdata::GetInstance()->setManual(0);
        cameras = std::make_unique<VirtualCameras>(7);
        cameras->setPoseSource(&VirtualCameras::cardPose);
        VisionBackend::install(cameras.get());
        userLevel = 1;
        calibBusy = 0;
        for (auto& r : VisionResult)
            for (auto& v : r) v = 0.0;
        page = std::make_unique<Form2>();
        page->resize(1700, 940);
        page->show();
        rig->runFor(0.25);
    }
    void cleanup() {
        page.reset();
        VisionBackend::install(nullptr);
        cameras.reset();
        rig.reset();
        userLevel = 0;
        manualLabelReq = manualBarrelReq = manualDiscardReq = 0;
        stepA = 0;
    }

    void everyFieldShowsAndStoresItsElement() {
        const int n = int(sizeof kBound / sizeof kBound[0]);
        for (int i = 0; i < n; ++i) element(kBound[i]) = distinctValue(i);
        page->initvartoui();
        for (int i = 0; i < n; ++i)
            QVERIFY2(w<QDoubleSpinBox>(kBound[i].widget)->value() == distinctValue(i), kBound[i].widget);
        // Editing changes nothing until the save pulls the widgets in.
        for (int i = 0; i < n; ++i) w<QDoubleSpinBox>(kBound[i].widget)->setValue(distinctValue(i) + 1);
        for (int i = 0; i < n; ++i) QVERIFY2(element(kBound[i]) == distinctValue(i), kBound[i].widget);
        page->inituitovar();
        for (int i = 0; i < n; ++i) QVERIFY2(element(kBound[i]) == distinctValue(i) + 1, kBound[i].widget);
    }

    void fieldsKeepTheirDecimalsAndRanges() {
        for (const Bound& b : kBound) {
            auto* box = w<QDoubleSpinBox>(b.widget);
            QVERIFY2(box->decimals() == b.decimals, b.widget);
            QVERIFY2(box->minimum() == b.min && box->maximum() == b.max, b.widget);
        }
        auto* item = w<QDoubleSpinBox>("doubleSpinBox_300");
        QCOMPARE(item->decimals(), 0);
        QCOMPARE(item->maximum(), 1000.0);
        // A value typed with more decimals is stored as the box shows it.
        gf[502] = 1.23456;
        page->initvartoui();
        page->inituitovar();
        QCOMPARE(gf[502], 1.235);
    }

    void lightCombosStoreTheRowAndShowNoRowForOtherValues() {
        const struct {
            const char* box;
            int element;
        } lights[] = {{"comboBox", 13}, {"comboBox_2", 14}, {"comboBox_3", 15}, {"comboBox_4", 20}};
        for (const auto& l : lights) {
            auto* box = w<QComboBox>(l.box);
            QCOMPARE(box->count(), 3);
            QCOMPARE(box->itemText(0), QString("环形光"));
            QCOMPARE(box->itemText(2), QString("环形+同轴"));
            for (const auto& other : lights) gd[other.element] = 1.0;
            page->initvartoui();
            QCOMPARE(box->currentIndex(), 1);
            // Each box stores its own light, the first row as well.
            box->setCurrentIndex(0);
            page->inituitovar();
            for (const auto& other : lights)
                QCOMPARE(gd[other.element], other.element == l.element ? 0.0 : 1.0);
            box->setCurrentIndex(2);
            page->inituitovar();
            QCOMPARE(gd[l.element], 2.0);
        }
        // An unknown value shows no row and survives a save.
        auto* box = w<QComboBox>("comboBox_2");
        gd[14] = 5.0;
        page->initvartoui();
        QCOMPARE(box->currentIndex(), -1);
        page->inituitovar();
        QCOMPARE(gd[14], 5.0);
    }

    void whoMayEditAndWhoMayCommand() {
        QStringList editing, commands;
        for (const char* name : kEditing) editing << name;
        for (const char* name : kCommandButtons) commands << name;
        checkWhoMayUse(
            page.get(), [this] { rig->runFor(0.25); }, editing, commands,
            [this](const Access& a) {
                // A locked field takes no typing.
                auto* speed = w<QDoubleSpinBox>("doubleSpinBox_100");
                const double before = speed->value();
                speed->selectAll();
                QTest::keyClicks(speed, "7");
                QCOMPARE(speed->value() != before, a.edit);
                speed->setValue(before);
                // The save button stays: saving shown values changes nothing the operator did not type.
                QVERIFY(w<QWidget>("pushButton_63")->isEnabled());
            });
    }

    void atLevelZeroGoAndPhotoStillWork() {
        userLevel = 0;
        rig->runFor(0.25);
        click("pushButton_2615"); // XY起始GO of the assembly block
        QVERIFY(rig->runUntil([&] { return arrived(axisX, gf[615]) && arrived(axisY, gf[616]); }, 10.0));
        click("pushButton_300"); // label photo
        QVERIFY(rig->runUntil([] { return VisionResult[0][0] == 1.0; }, 3.0));
        rig->runFor(0.25);
        QCOMPARE(w<QLineEdit>("lineEdit_130")->text(), QString(VisionResult[0][1] == 1.0 ? "OK" : "NG"));
        // Teaching is refused at level 0: the button is locked.
        const double x = gf[600];
        moveTo(axisX, x + 5);
        click("pushButton_500");
        QCOMPARE(gf[600], x);
    }

    void eachPhotoButtonTakesItsOwnPhotoAndShowsItsVerdict() {
        userLevel = 0;
        rig->runFor(0.25);
        const struct {
            const char* button;
            int task;
            const char* verdict;
        } photos[] = {{"pushButton_300", 0, "lineEdit_130"}, {"pushButton_301", 1, "lineEdit_131"},
                      {"pushButton_304", 2, "lineEdit_132"}, {"pushButton_309", 3, "lineEdit_133"},
                      {"pushButton_307", 4, "lineEdit_134"}, {"pushButton_310", 14, "lineEdit_135"}};
        for (const auto& p : photos) {
            for (auto& r : VisionResult) r[0] = r[1] = 0.0;
            rig->runFor(0.25);
            for (const auto& other : photos) QCOMPARE(w<QLineEdit>(other.verdict)->text(), QString("空"));
            click(p.button);
            QVERIFY2(rig->runUntil([&] { return VisionResult[p.task][0] == 1.0; }, 5.0), p.button);
            rig->runFor(0.5); // a photo of another task would be done by now as well
            for (int t = 0; t < kVisionSlots; ++t)
                QVERIFY2(t == p.task || VisionResult[t][0] == 0.0, p.button);
            const double verdict = VisionResult[p.task][1];
            QVERIFY(verdict == 1.0 || verdict == 2.0);
            for (const auto& other : photos)
                QCOMPARE(w<QLineEdit>(other.verdict)->text(), QString(other.task != p.task ? "空"
                                                                      : verdict == 1.0     ? "OK"
                                                                                           : "NG"));
        }
    }

    void teachTakesHomedIdleAxesOnly() {
        moveTo(axisX, 12.5);
        moveTo(axisY, 33.25);
        moveTo(axisZ, 4.75);
        const double y = gf[616];
        axisHomed[axisY] = 0;
        click("pushButton_501");
        QCOMPARE(gf[615], 12.5);
        QCOMPARE(gf[616], y);
        QCOMPARE(gf[617], 4.75);
        QCOMPARE(w<QDoubleSpinBox>("doubleSpinBox_615")->value(), 12.5);
        QCOMPARE(w<QDoubleSpinBox>("doubleSpinBox_617")->value(), 4.75);
        axisHomed[axisY] = 1;
        // An axis still moving keeps its old point too.
        spmove(0, axisX, 80.0, 10.0, 1);
        rig->runFor(0.2);
        click("pushButton_501");
        QCOMPARE(gf[615], 12.5);
        QCOMPARE(gf[616], 33.25);
    }

    void teachOfTheNgPutPointTakesNgZAndZ() {
        moveTo(axisNgZ, 7.5);
        moveTo(axisZ, 3.5);
        click("pushButton_502");
        QCOMPARE(gf[632], 7.5);
        QCOMPARE(gf[633], 3.5);
        moveTo(axisZ, 2.0);
        click("pushButton_507"); // Z safe height
        QCOMPARE(gf[400], 2.0);
    }

    void cellGoMovesToTheTypedCellOfTheFinishedTray() {
        gf[510] = 3;
        gf[511] = 4;
        gf[512] = 10.0;
        gf[513] = 12.0;
        gf[615] = 40.0;
        gf[616] = 50.0;
        gd[10] = 0.0;
        trayPathMode = 0;
        double x = 0, y = 0, x1 = 0, y1 = 0;
        cellFromStart(gf[615], gf[616], 7, 1, &x, &y);
        cellFromStart(gf[615], gf[616], 1, 1, &x1, &y1);
        QVERIFY(x != x1 || y != y1);
        w<QDoubleSpinBox>("doubleSpinBox_300")->setValue(7);
        click("pushButton_3615");
        QVERIFY(rig->runUntil([&] { return arrived(axisX, x) && arrived(axisY, y); }, 10.0));
        click("pushButton_1615");
        QVERIFY(rig->runUntil([&] { return arrived(axisZ, gf[617]); }, 10.0));
        // Y not homed: the move's permission check refuses and nothing moves.
        click("pushButton_212");
        QVERIFY(rig->runUntil([&] { return arrived(axisZ, gf[400]); }, 10.0));
        axisHomed[axisY] = 0;
        click("pushButton_2615");
        rig->runFor(0.5);
        QVERIFY(arrived(axisX, x) && arrived(axisY, y));
    }

    // Every block's "Z起始GO" and "XY起始GO" move to that block's own point, and the
    // all-Z-safe button lifts both heights again.
    void everyBlocksGoButtonsReachItsOwnPoint() {
        struct {
            int x, y, z;
            WORD zAxis;
        } const blocks[] = {{600, 601, 602, axisZ},   {630, 631, 632, axisNgZ}, {413, 414, 415, axisZ},
                            {635, 636, 637, axisNgZ}, {645, 646, 647, axisZ},   {615, 616, 617, axisZ},
                            {410, 411, 412, axisZ},   {620, 621, 622, axisZ},   {605, 606, 607, axisZ},
                            {640, 641, 642, axisZ},   {650, 651, 652, axisZ}};
        std::vector<double> kept(gf, gf + 700);
        int i = 0;
        for (const auto& b : blocks) {
            ++i;
            gf[b.x] = 100.0 + 7.0 * i;
            gf[b.y] = 60.0 + 5.0 * i;
            gf[b.z] = 5.0 + 0.5 * i;
            const QByteArray xyGo = "pushButton_" + QByteArray::number(2000 + b.x);
            const QByteArray zGo = "pushButton_" + QByteArray::number(1000 + b.x);
            click(xyGo.constData());
            QVERIFY2(rig->runUntil([&] { return arrived(axisX, gf[b.x]) && arrived(axisY, gf[b.y]); }, 15.0),
                     qPrintable(QString("%1: X %2 Y %3 Z %4 NG Z %5")
                                    .arg(xyGo.constData())
                                    .arg(command(axisX))
                                    .arg(command(axisY))
                                    .arg(command(axisZ))
                                    .arg(command(axisNgZ))));
            click(zGo.constData());
            QVERIFY2(rig->runUntil([&] { return arrived(b.zAxis, gf[b.z]); }, 10.0), zGo.constData());
            click("pushButton_213"); // 所有Z安全GO
            QVERIFY(rig->runUntil([&] { return arrived(axisZ, gf[400]) && isidle(0, axisNgZ) == 1; }, 10.0));
        }
        std::copy(kept.begin(), kept.end(), gf);
    }

    void angleGoTurnsQToTheCorrectedAngle() {
        gd[35] = 2.0; // barrel photo off: compensation + assembly angle + nozzle zero
        gd[317] = 1.5;
        gf[233] = 30.0;
        gd[321] = -2.0;
        click("pushButton_303");
        QVERIFY(rig->runUntil([&] { return arrived(axisQ, 29.5); }, 10.0));
        rig->runFor(0.25);
        QCOMPARE(w<QLineEdit>("lineEdit_118")->text(), QString("29.500"));
    }

    void displaysFollowTheMachine() {
        moveTo(axisX, 21.125);
        VisionResult[0][1] = 1.0;
        VisionResult[1][1] = 2.0;
        VisionResult[2][1] = 0.0;
        VisionResult[14][1] = 2.0;
        VisionResult[1][4] = 12.5;
        VisionResult[2][4] = -3.25;
        heightRaw = 1.234;
        heightCalibrated = 1.5;
        heightResult = 0.75;
        // Label photo off: the corrected pick point is the typed cell from the start.
        gd[11] = 2.0;
        w<QDoubleSpinBox>("doubleSpinBox_301")->setValue(3);
        double x = 0, y = 0;
        cellFromStart(gf[600], gf[601], 3, 0, &x, &y);
        rig->runFor(0.25);
        QCOMPARE(w<QLineEdit>("lineEdit_100")->text(), QString("21.125"));
        QCOMPARE(w<QLineEdit>("lineEdit_130")->text(), QString("OK"));
        QCOMPARE(w<QLineEdit>("lineEdit_131")->text(), QString("NG"));
        QCOMPARE(w<QLineEdit>("lineEdit_132")->text(), QString("空"));
        QCOMPARE(w<QLineEdit>("lineEdit_135")->text(), QString("NG"));
        QCOMPARE(w<QLineEdit>("lineEdit_116")->text(), QString("12.500"));
        QCOMPARE(w<QLineEdit>("lineEdit_117")->text(), QString("-3.250"));
        QCOMPARE(w<QLineEdit>("lineEdit_120")->text(), QString("1.234"));
        QCOMPARE(w<QLineEdit>("lineEdit_121")->text(), QString("1.500"));
        QCOMPARE(w<QLineEdit>("lineEdit_122")->text(), QString("0.750"));
        QCOMPARE(w<QLineEdit>("lineEdit_110")->text(), QString::number(x, 'f', 3));
        QCOMPARE(w<QLineEdit>("lineEdit_111")->text(), QString::number(y, 'f', 3));
    }

    void singleActionsNeedAReadyMachine_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("not homed") << 0;
        QTest::newRow("e-stop") << 1;
        QTest::newRow("calibration running") << 2;
    }
    void singleActionsNeedAReadyMachine() {
        QFETCH(int, which);
        for (const char* name : {"pushButton_305", "pushButton_306", "pushButton_308"}) {
            homedUi = which == 0 ? 0 : 1;
            estopOk = which == 1 ? 0 : 1;
            calibBusy = which == 2 ? 1 : 0;
            stepA = 7;
            click(name);
            QCOMPARE(int(manualLabelReq) + int(manualBarrelReq) + int(manualDiscardReq), 0);
            QCOMPARE(stepA, 7.0);
            QVERIFY(!openNotice(page.get()));
        }
        calibBusy = 0;
    }

    void assemblySingleActionSetsItsRequestAndShowsTheNotice() {
        click("pushButton_306");
        QCOMPARE(int(manualBarrelReq), 1);
        QCOMPARE(stepA, 120.0);
        liaocang* notice = openNotice(page.get());
        QVERIFY(notice);
        rig->runFor(0.25);
        QCOMPARE(notice->text(), QString("组装单动测试中。。"));
        notice->close();
    }
};

// The page in the main window: the save and refresh chains.
class TestForm2Window : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(config);
        QCOMPARE(DataSetup::ensure(), QString());
        Prompt::setHandler([](const Prompt::Shown&) { return false; });
    }

    void savingOnAnotherPageStoresThisPageOnce() {
        SimRig rig;
        MainWindow1 win(nullptr, drivenByTest());
        auto* form2 = win.findChild<Form2*>();
        auto* form3 = win.findChild<Form3*>();
        auto* form4 = win.findChild<Form4*>();
        auto* form5 = win.findChild<Form5*>();
        QVERIFY(form2 && form3 && form4 && form5);
        QSignalSpy saves(&win, &MainWindow1::m_sigsavedata);
        const double speed = gf[200], eccentric = gf[237], calibX = gf[350], homeX = gd[90];
        child<QDoubleSpinBox>(form2, "doubleSpinBox_100")->setValue(speed + 1.5);
        child<QDoubleSpinBox>(form2, "doubleSpinBox_150")->setValue(eccentric - 0.25);
        // The other pages' typed values go with the same save.
        child<QDoubleSpinBox>(form4, "doubleSpinBox_100")->setValue(calibX + 2.0);
        child<QDoubleSpinBox>(form5, "doubleSpinBox_100")->setValue(homeX + 3.0);
        QTest::mouseClick(child<QPushButton>(form3, "pushButton_63"), Qt::LeftButton);
        QCOMPARE(saves.count(), 1);
        QCOMPARE(gf[200], speed + 1.5);
        gf[200] = gf[237] = gf[350] = 0.0;
        gd[90] = 0.0;
        inifiletovar();
        QCOMPARE(gf[200], speed + 1.5);
        QCOMPARE(gf[237], eccentric - 0.25);
        QCOMPARE(gf[350], calibX + 2.0);
        QCOMPARE(gd[90], homeX + 3.0);
    }

    // Every tab of the page inside the main window: no control leaves the page and
    // none is narrower than its text needs. With TAVRIN_SHOT_DIR set, each tab is
    // also saved as a picture.
    void everyTabFitsTheWindowWithItsTextWhole() {
        SimRig rig;
        MainWindow1 win(nullptr, drivenByTest());
        win.show();
        auto* form2 = win.findChild<Form2*>();
        windowChild<QTabWidget>(&win, "tabWidget_2")->setCurrentWidget(form2);
        const QString shots = qEnvironmentVariable("TAVRIN_SHOT_DIR");
        auto* params = child<QTabWidget>(form2, "tabWidget");
        auto* points = child<QTabWidget>(form2, "tabWidget_2");
        QCOMPARE(points->count(), 5);
        for (int i = 0; i < points->count(); ++i) {
            params->setCurrentIndex(i % params->count());
            points->setCurrentIndex(i);
            QCoreApplication::sendPostedEvents();
            for (QLayout* l : form2->findChildren<QLayout*>()) l->activate();
            for (QWidget* c : form2->findChildren<QWidget*>()) {
                if (!c->isVisible() || c->inherits("QTabBar") || c->parent()->inherits("QAbstractSpinBox"))
                    continue;
                const QRect r(c->mapTo(form2, QPoint(0, 0)), c->size());
                QVERIFY2(form2->rect().contains(r), qPrintable(c->objectName()));
                if (qobject_cast<QLabel*>(c) || qobject_cast<QPushButton*>(c) ||
                    qobject_cast<QDoubleSpinBox*>(c))
                    QVERIFY2(c->width() >= c->minimumSizeHint().width(),
                             qPrintable(QString("%1 tab %2: %3 < %4")
                                            .arg(c->objectName())
                                            .arg(i)
                                            .arg(c->width())
                                            .arg(c->minimumSizeHint().width())));
            }
            if (!shots.isEmpty()) QVERIFY(win.grab().save(shots + QString("/form2-%1.png").arg(i)));
        }
        QVERIFY(form2->height() <= 1080 && form2->width() <= 1920);
    }

    // The operator makes another recipe current in the recipe dialog: every page shows
    // that recipe's values, unsaved edits are dropped, and switching back restores the
    // first recipe's values on every page.
    void recipeSwitchReloadsEveryPage() {
        const QString started = kzct::currentRecipeName();
        const struct Restore {
            QString name;
            ~Restore() { kzct::setCurrentRecipeName(name); }
        } restore{started};
        QVERIFY(kzct::loadRecipe(started));
        kzct::RecipeValues one, two;
        for (int i = 0; i < kGdSize; ++i) one.gd.push_back(double(gd[i]));
        for (int i = 0; i < kGfSize; ++i) one.gf.push_back(double(gf[i]));
        for (int i = 0; i < kGrSize; ++i) one.gr.push_back(double(gr[i]));
        two = one;
        // Each value of one recipe is one the other does not hold.
        for (const RecipeField& f : kRecipeFields) {
            (f.array == 'd' ? one.gd : one.gf)[f.index] = f.one;
            (f.array == 'd' ? two.gd : two.gf)[f.index] = f.two;
        }
        QVERIFY(kzct::writeRecipe("R1", one));
        QVERIFY(kzct::writeRecipe("R2", two));
        QVERIFY(kzct::setCurrentRecipeName("R1"));

        SimRig rig;
        MainWindow1 win(nullptr, drivenByTest());
        win.show();
        manualMode = 1.0;
        userLevel = 1;
        const QVector<QWidget*> pages = {win.findChild<Form2*>(), win.findChild<Form3*>(),
                                         win.findChild<Form4*>(), win.findChild<Form5*>()};
        ModalAnswers answers;
        const auto switchTo = [&](const QString& name) {
            QTest::mouseClick(windowChild<QPushButton>(&win, "pushButton_28"), Qt::LeftButton);
            QPointer<Peifang1> dialog = win.findChild<Peifang1*>();
            QVERIFY(dialog);
            rig.runFor(0.1);
            auto* list = child<QListWidget>(dialog, "listWidget");
            const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
            answers.then([&](QDialog*) { rig.runFor(6.1); }); // "切换配方中。。。"
            QTest::mouseClick(child<QPushButton>(dialog, "pushButton_2"), Qt::LeftButton);
            QVERIFY(answers.allUsed());
            QCOMPARE(kzct::currentRecipeName(), name);
            dialog->close();
            delete dialog;
            rig.runFor(0.25);
        };
        const auto pagesShow = [&](bool first) {
            for (const RecipeField& f : kRecipeFields) {
                const double stored = first ? f.one : f.two;
                const QString where =
                    QString("%1 %2 of recipe %3").arg(f.page).arg(f.widget).arg(first ? 1 : 2);
                QCOMPARE((f.array == 'd' ? gd : gf)[f.index], stored);
                QWidget* w = pages[f.page - 2]->findChild<QWidget*>(f.widget);
                QVERIFY2(w, qPrintable(where));
                if (auto* spin = qobject_cast<QDoubleSpinBox*>(w))
                    QVERIFY2(spin->value() == stored, qPrintable(where));
                else if (auto* box = qobject_cast<QCheckBox*>(w))
                    QVERIFY2(box->isChecked() == (stored != 0.0), qPrintable(where));
                else
                    QVERIFY2(qobject_cast<QComboBox*>(w)->currentIndex() == int(stored) - f.offset,
                             qPrintable(where));
            }
        };
        pagesShow(true);
        if (QTest::currentTestFailed()) return;
        // Edits not saved are dropped by the switch.
        child<QDoubleSpinBox>(pages[2], "doubleSpinBox_100")->setValue(99.0);
        child<QDoubleSpinBox>(pages[1], "doubleSpinBox_103")->setValue(99.0);
        switchTo("R2");
        if (QTest::currentTestFailed()) return;
        pagesShow(false);
        if (QTest::currentTestFailed()) return;
        switchTo("R1");
        if (QTest::currentTestFailed()) return;
        pagesShow(true);
        QCOMPARE(answers.unexpected, 0);
        manualMode = 0.0;
        userLevel = 0;
    }
};

// The single actions run by the cycle on the virtual machine.
class TestForm2Cycle : public QObject {
    Q_OBJECT
private slots:
    void labelSingleActionPhotographsAndPicksOnceThenTheNoticeCloses() {
        cycletest::CycleRig rig;
        rig.press(cycletest::Panel::ResetButton);
        QVERIFY2(rig.runUntil([] { return waitOperator == 1; }, 40.0), qPrintable(rig.state()));
        manualMode = 1.0;
        userLevel = 0;
        rig.runFor(0.1);
        Form2 page;
        page.show();
        int picks = 0;
        double lastStep = stepA;
        rig.clock.addPeriodic("picks", 1000, [&] {
            if (stepA == 173 && lastStep != 173) ++picks;
            lastStep = stepA;
        });
        const double photos = gr[32];
        QTest::mouseClick(child<QPushButton>(&page, "pushButton_305"), Qt::LeftButton);
        QPointer<liaocang> notice = openNotice(&page);
        QVERIFY(notice);
        rig.runFor(0.25);
        QCOMPARE(notice->text(), QString("取标签单动测试中。。"));
        QVERIFY2(rig.runUntil([] { return manualLabelReq == 0; }, 60.0), qPrintable(rig.state()));
        const double cells = gf[500] * gf[501];
        QCOMPARE(gr[32] - photos, cells);
        QCOMPARE(picks, 1);
        QVERIFY(rig.plant().nozzle().holding());
        QCOMPARE(labelPhotoBuf[0][1], 0.0); // the first label is used
        rig.runFor(0.25);
        QVERIFY(!openNotice(&page));
        QCOMPARE(stepA, 0.0);
        rig.runFor(3.0);
        QCOMPARE(picks, 1);
        QCOMPARE(gr[32] - photos, cells);

        // The discard single action throws the held label into the label NG box.
        QTest::mouseClick(child<QPushButton>(&page, "pushButton_308"), Qt::LeftButton);
        QVERIFY(openNotice(&page));
        QVERIFY2(rig.runUntil([] { return manualDiscardReq == 0; }, 30.0), qPrintable(rig.state()));
        QVERIFY(!rig.plant().nozzle().holding());
        rig.runFor(0.25);
        QVERIFY(!openNotice(&page));
        QCOMPARE(stepA, 0.0);

        // Ended from the notice, the discard leaves no request behind that would keep
        // the next notice open.
        QTest::mouseClick(child<QPushButton>(&page, "pushButton_308"), Qt::LeftButton);
        rig.runFor(0.05);
        QTest::mouseClick(child<QPushButton>(openNotice(&page), "pushButton"), Qt::LeftButton);
        QCOMPARE(stepA, 0.0);
        rig.runFor(0.05);
        QCOMPARE(int(manualDiscardReq), 0);
        QVERIFY(!openNotice(&page));
        manualMode = 0.0;
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // TST_FORM2_CLASS runs one of the three groups alone.
    const QByteArray only = qgetenv("TST_FORM2_CLASS");
    int status = 0;
    auto run = [&](QObject&& t) {
        if (only.isEmpty() || only == t.metaObject()->className()) status |= QTest::qExec(&t, argc, argv);
    };
    run(TestForm2());
    run(TestForm2Window());
    run(TestForm2Cycle());
    return status;
}

#include "tst_form2.moc"
