#include "TestSupport.h"
#include "platform/Paths.h"
#include "platform/vision/CVMainWindow.h"
#include "platform/vision/Hcvcam.h"
#include "platform/vision/QHalconWindow.h"
#include "platform/vision/TaskParams.h"
#include "platform/vision/VisionBackend.h"
#include "platform/vision/gcallfun.h"
#include "platform/vision/taskcontrol.h"
#include "platform/vision/taskdata.h"
#include "platform/vision/taskrun.h"
#include "sim/Lockstep.h"
#include "sim/VirtualCameras.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>
#include <cmath>

// The vision library as the program and the operator use it: tasks started by the
// program end later in virtual time, the settings window and the image views show
// them, settings and calibrations live with the recipe.
class TestVision : public QObject {
    Q_OBJECT

    taskdata* td = taskdata::GetInstance();

    QString recipeDir(const QString& name) const { return Paths::recipesDir() + "/" + name; }

    void useRecipe(const QString& name) {
        td->setProjectName(name);
        td->setProjectPath(recipeDir(name));
    }

    // Runs a task the way the program does and waits for its end; returns the record.
    TaskRecord runTask(Lockstep& clock, int task, double maxSeconds = 2.0) {
        td->setStatus(task, 0);
        td->setBusy(0, 0);
        td->setBusy(1, 0);
        if (taskrun::taskexec(task, 0) != 0) return TaskRecord();
        clock.runUntil([&] { return td->status(task) != 0; }, maxSeconds);
        return td->record(task);
    }

    void setParam(int task, const std::function<void(TaskParam&)>& change) {
        TaskParam p = TaskParams::GetInstance()->param(task);
        change(p);
        TaskParams::GetInstance()->setParam(task, p);
    }

    static int brightPixels(const QImage& img, int threshold) {
        int n = 0;
        const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); y += 2)
            for (int x = 0; x < rgb.width(); x += 2)
                if (qGray(rgb.pixel(x, y)) > threshold) ++n;
        return n;
    }

private slots:
    void init() {
        // Every case starts from an empty data root of its own program.
        QDir(Paths::imageDir()).removeRecursively();
        QDir(recipeDir("A")).removeRecursively();
        QDir(recipeDir("B")).removeRecursively();
        Paths::ensureFolders();
        VisionBackend::install(nullptr);
        TaskParams::GetInstance()->reset();
        taskcontrol::clearCalibrations();
        taskrun::setSeed(7);
        td->setTaskNum(0); // fresh records
        td->setTaskNum(15);
        td->setCamNum(2);
        td->setCamNames({"上相机", "下相机"});
        td->setUserLevel(1, "技术员");
        td->setManual(1);
        td->setValue("saveimgcode", "");
        useRecipe("A");
    }

    void taskEndsAfterItsProcessingTime() {
        Lockstep clock;
        clock.install();
        const double want[][2] = {{10, 410.5}, {11, 290.25}, {12, 0.5}, {20, -0.045}, {21, 0.123}, {22, 1.5},
                                  {23, 0.97},  {24, 6.0},    {25, 4.0}, {26, 1.0},    {27, 60.0}};
        setParam(2, [&](TaskParam& p) {
            for (const auto& w : want) p.values[int(w[0])] = w[1];
        });
        QSignalSpy repaint(gcallfun::GetInstance(), &gcallfun::signalRepaintcvview);

        QCOMPARE(taskrun::taskexec(2, 0), 0);
        QCOMPARE(clk::nowUs(), int64_t(0)); // returned at once
        QCOMPARE(td->status(2), 0);
        QVERIFY(td->record(2).running);
        QCOMPARE(td->busy(0), 1);

        clock.runFor(0.059);
        QCOMPARE(td->status(2), 0);
        QVERIFY(clock.runUntil([&] { return td->status(2) != 0; }, 1.0));
        QCOMPARE(clk::nowUs(), int64_t(60000));

        const TaskRecord r = td->record(2);
        QCOMPARE(r.status, 1);
        QVERIFY(!r.running);
        for (const auto& w : want) QCOMPARE(r.values[int(w[0])], w[1]);
        QCOMPARE(r.texts.value(0), QString("OK"));
        QVERIFY2(r.texts.value(1).contains("X=0.123"), qPrintable(r.texts.join("|")));
        QVERIFY(!r.image.isNull());
        QVERIFY(!r.overlay.isEmpty());
        QCOMPARE(td->busy(0), 0);
        QCOMPARE(repaint.count(), 1);
        QCOMPARE(repaint.at(0).at(0).toInt(), 2);
        QCOMPARE(repaint.at(0).at(1).toStringList(), r.texts);

        double values[50];
        int status = -1;
        QStringList texts;
        QVERIFY(td->readResult(2, &status, values, &texts));
        QCOMPARE(status, 1);
        QCOMPARE(values[21], 0.123);
        QVERIFY(!td->readResult(15, &status, values, &texts));
        QCOMPARE(taskrun::taskexec(15, 0), -1);
    }

    void verdictModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("ngRate");
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("minNg");
        QTest::addColumn<int>("maxNg");
        QTest::newRow("ok") << int(TaskParam::ModeOK) << 0.5 << 20 << 0 << 0;
        QTest::newRow("ng") << int(TaskParam::ModeNG) << 0.0 << 20 << 20 << 20;
        QTest::newRow("random 0") << int(TaskParam::ModeRandom) << 0.0 << 50 << 0 << 0;
        QTest::newRow("random 1") << int(TaskParam::ModeRandom) << 1.0 << 50 << 50 << 50;
        QTest::newRow("random 0.3") << int(TaskParam::ModeRandom) << 0.3 << 300 << 60 << 120;
    }
    void verdictModes() {
        QFETCH(int, mode);
        QFETCH(double, ngRate);
        QFETCH(int, runs);
        QFETCH(int, minNg);
        QFETCH(int, maxNg);
        Lockstep clock;
        clock.install();
        setParam(0, [&](TaskParam& p) {
            p.mode = mode;
            p.ngRate = ngRate;
        });
        int ng = 0;
        for (int i = 0; i < runs; ++i) {
            const TaskRecord r = runTask(clock, 0);
            QVERIFY(r.status == 1 || r.status == 2);
            if (r.status == 2) {
                ++ng;
                QCOMPARE(r.texts.value(0), QString("NG"));
            }
        }
        QVERIFY2(ng >= minNg && ng <= maxNg, qPrintable(QString::number(ng)));
    }

    void neverFinishingTaskStaysPending() {
        Lockstep clock;
        clock.install();
        setParam(4, [](TaskParam& p) { p.mode = TaskParam::ModeNever; });
        QSignalSpy repaint(gcallfun::GetInstance(), &gcallfun::signalRepaintcvview);
        QCOMPARE(taskrun::taskexec(4, 0), 0);
        clock.runFor(30.0);
        QCOMPARE(td->status(4), 0);
        QVERIFY(td->record(4).running);
        QCOMPARE(repaint.count(), 0);

        // Set right again, the next trigger ends normally.
        setParam(4, [](TaskParam& p) { p.mode = TaskParam::ModeOK; });
        QCOMPARE(runTask(clock, 4).status, 1);
    }

    void secondTriggerRestartsTheTask() {
        Lockstep clock;
        clock.install();
        QSignalSpy repaint(gcallfun::GetInstance(), &gcallfun::signalRepaintcvview);
        taskrun::taskexec(1, 0);
        clock.runFor(0.030);
        taskrun::taskexec(1, 0);
        clock.runFor(0.035); // 65 ms: the first run would have ended at 60
        QCOMPARE(td->status(1), 0);
        QVERIFY(clock.runUntil([&] { return td->status(1) != 0; }, 1.0));
        QCOMPARE(clk::nowUs(), int64_t(90000));
        clock.runFor(0.5);
        QCOMPARE(repaint.count(), 1);
        QCOMPARE(td->record(1).runs, 1);
    }

    void settingsBelongToTheRecipe() {
        Lockstep clock;
        clock.install();
        CVMainWindow w;
        auto* combo = w.findChild<QComboBox*>("comboBox");
        auto* time = w.findChild<QSpinBox*>("spinBox");
        auto* values = w.findChild<QTableWidget*>("tableWidget_2");
        QVERIFY(combo && time && values);

        // Recipe A: task 0 answers NG after 120 ms.
        w.setCurrentTast(0);
        combo->setCurrentIndex(TaskParam::ModeNG);
        time->setValue(120);
        QVERIFY(w.savefilepara());
        QVERIFY(QFile::exists(recipeDir("A") + "/vision/cvpara.json"));

        // Recipe B: task 0 OK after 40 ms, X offset 0.25.
        useRecipe("B");
        QVERIFY(w.readfilepara()); // no file yet: defaults
        QCOMPARE(combo->currentIndex(), int(TaskParam::ModeOK));
        time->setValue(40);
        values->item(0, 4)->setText("0.25"); // column of value 21
        QVERIFY(w.savefilepara());

        useRecipe("A");
        QVERIFY(w.readfilepara());
        QCOMPARE(combo->currentIndex(), int(TaskParam::ModeNG));
        QCOMPARE(time->value(), 120);
        int64_t t0 = clk::nowUs();
        QCOMPARE(runTask(clock, 0).status, 2);
        QCOMPARE(clk::nowUs() - t0, int64_t(120000));

        useRecipe("B");
        QVERIFY(w.readfilepara());
        t0 = clk::nowUs();
        const TaskRecord r = runTask(clock, 0);
        QCOMPARE(r.status, 1);
        QCOMPARE(clk::nowUs() - t0, int64_t(40000));
        QCOMPARE(r.values[21], 0.25);
    }

    void damagedSettingsFileLosesNothing() {
        CVMainWindow w;
        setParam(3, [](TaskParam& p) { p.processMs = 77; });
        QVERIFY(w.savefilepara());
        const QString path = recipeDir("A") + "/vision/cvpara.json";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("{\"format\": 1, \"tasks\": [{\"task\": 3, \"mode\": \"sometimes\"}]}");
        f.close();
        setParam(3, [](TaskParam& p) { p.processMs = 88; });

        QVERIFY(!w.readfilepara());
        QVERIFY2(w.message().contains("cvpara.json") && w.message().contains("无效"),
                 qPrintable(w.message()));
        QCOMPARE(TaskParams::GetInstance()->param(3).processMs, 88); // nothing changed
        QFile bad(path + ".bad");
        QVERIFY(bad.open(QIODevice::ReadOnly));
        QVERIFY(bad.readAll().contains("sometimes")); // the operator's file is kept

        f.setFileName(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not json at all");
        f.close();
        QVERIFY(!w.readfilepara());
        QCOMPARE(TaskParams::GetInstance()->param(3).processMs, 88);
    }

    void ninePointCalibrationSurvivesRestart() {
        // Points of a 3 x 3 grid seen by a camera with 20 um pixels, turned by 1 degree.
        double rows[10] = {}, cols[10] = {}, xs[10] = {}, ys[10] = {};
        const double a = M_PI / 180.0;
        for (int i = 0; i < 9; ++i) {
            xs[i] = 100.0 + 1.0 - (i % 3);
            ys[i] = 50.0 - 1.0 + (i / 3);
            const double dx = xs[i] - 100.0, dy = ys[i] - 50.0;
            cols[i] = 400 + 50 * (std::cos(a) * dx - std::sin(a) * dy);
            rows[i] = 300 + 50 * (std::sin(a) * dx + std::cos(a) * dy);
        }
        QCOMPARE(taskcontrol::ReadWriteCamCalib(0, rows, cols, xs, ys, 9), 9);
        QCOMPARE(taskcontrol::ReadCamCalibToTask(0), 0);
        QCOMPARE(taskcontrol::Save9dianPara(0, rows, cols, xs, ys, "cam"), 0);
        QVERIFY(QFile::exists(recipeDir("A") + "/vision/cam0_9dian.json"));
        QVERIFY(!taskcontrol::activeCalib(1, nullptr)); // the other camera is untouched

        taskcontrol::clearCalibrations(); // program restart
        QVERIFY(!taskcontrol::activeCalib(0, nullptr));
        double r2[10], c2[10], x2[10], y2[10];
        QCOMPARE(taskcontrol::ReadWriteCamCalib(0, r2, c2, x2, y2, 0), 9);
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(r2[i], rows[i]);
            QCOMPARE(c2[i], cols[i]);
            QCOMPARE(x2[i], xs[i]);
            QCOMPARE(y2[i], ys[i]);
        }
        QCOMPARE(r2[9], 0.0);
        QCOMPARE(taskcontrol::ReadCamCalibToTask(0), 0);
        CamCalib c;
        QVERIFY(taskcontrol::activeCalib(0, &c));
        double x, y;
        c.imageToAxis(400 + 50 * std::cos(a) * 0.5, 300 + 50 * std::sin(a) * 0.5, &x, &y);
        QVERIFY(std::fabs(x - 100.5) < 1e-9 && std::fabs(y - 50.0) < 1e-9);
        QVERIFY(std::fabs(c.mmPerPixel() - 0.02) < 1e-9);

        // Another recipe has its own (none); back on A it is there again.
        useRecipe("B");
        taskcontrol::loadCalibrations();
        QVERIFY(!taskcontrol::activeCalib(0, nullptr));
        QCOMPARE(taskcontrol::ReadCamCalibToTask(0), -1);
        useRecipe("A");
        taskcontrol::loadCalibrations();
        QVERIFY(taskcontrol::activeCalib(0, nullptr));

        // Points on one spot give no calibration: refused, nothing stored or written.
        double same[10] = {300, 300, 300, 300, 300, 300, 300, 300, 300};
        QCOMPARE(taskcontrol::ReadWriteCamCalib(1, same, same, xs, ys, 9), -1);
        QCOMPARE(taskcontrol::Save9dianPara(1, same, same, xs, ys, "cam"), -1);
        QVERIFY(!QFile::exists(recipeDir("A") + "/vision/cam1_9dian.json"));
        QCOMPARE(taskcontrol::ReadCamCalibToTask(1), -1);
        QVERIFY(!taskcontrol::lastError().isEmpty());
    }

    void virtualCameraIsMeasuredThroughItsCalibration() {
        Lockstep clock;
        clock.install();
        VirtualCameras cams(3);
        VisionBackend::install(&cams);
        VirtualCameras::Pose pose;
        cams.setPoseSource([&] { return pose; });
        cams.setAnchor(6, 120.0, 80.0); // the plate's mark sits under the camera at X 120, Y 80

        // The label lies 1 mm off in X and -0.5 mm in Y; the uncalibrated camera only
        // knows its nominal scale and gets it a few percent wrong.
        cams.setScatter(0, 0, 0);
        setParam(0, [](TaskParam& p) {
            p.values[21] = 1.0;
            p.values[20] = -0.5;
        });
        TaskRecord r = runTask(clock, 0);
        QCOMPARE(r.status, 1);
        QVERIFY2(std::fabs(r.values[21] - 1.0) > 0.02, qPrintable(QString::number(r.values[21])));

        // The program's 9-point run: mark photographed at 9 positions around the centre.
        double rows[10] = {}, cols[10] = {}, xs[10] = {}, ys[10] = {};
        for (int i = 0; i < 9; ++i) {
            pose.x = 120.0 + 1.0 - (i % 3);
            pose.y = 80.0 - 1.0 + (i / 3);
            const TaskRecord m = runTask(clock, 6);
            QCOMPARE(m.status, 1);
            rows[i] = m.values[11];
            cols[i] = m.values[10];
            xs[i] = pose.x;
            ys[i] = pose.y;
        }
        QCOMPARE(taskcontrol::ReadWriteCamCalib(0, rows, cols, xs, ys, 9), 9);
        QCOMPARE(taskcontrol::ReadCamCalibToTask(0), 0);
        CamCalib c;
        QVERIFY(taskcontrol::activeCalib(0, &c));
        QVERIFY2(std::fabs(c.mmPerPixel() - 1.0 / VirtualCameras::kUpperPxPerMm) < 2e-4,
                 qPrintable(QString::number(c.mmPerPixel(), 'f', 6)));

        r = runTask(clock, 0);
        QCOMPARE(r.status, 1);
        QVERIFY2(std::fabs(r.values[21] - 1.0) < 0.01 && std::fabs(r.values[20] + 0.5) < 0.01,
                 qPrintable(QString("%1 %2").arg(r.values[21]).arg(r.values[20])));

        // The picture shows the label where it was found, not at the image centre.
        QCOMPARE(r.image.size(), QSize(800, 600));
        const int col = int(r.values[10]), row = int(r.values[11]);
        QVERIFY(col < 400 - 30);
        QVERIFY(qGray(r.image.pixel(col, row)) > 200);
        QVERIFY(qGray(r.image.pixel(col, row + 250)) < 160);
        VisionBackend::install(nullptr);
    }

    void nozzleAngleFollowsTheQAxis() {
        Lockstep clock;
        clock.install();
        VirtualCameras cams(5);
        VisionBackend::install(&cams);
        cams.setScatter(5, 0, 0);
        cams.setNozzleZero(12.0);
        VirtualCameras::Pose pose;
        pose.q = 40.0;
        cams.setPoseSource([&] { return pose; });
        const TaskRecord r = runTask(clock, 5);
        QCOMPARE(r.status, 1);
        QVERIFY(std::fabs(r.values[22] - 28.0) < 1e-9); // Q minus the found angle gives the zero
        VisionBackend::install(nullptr);
    }

    void cameraFaults() {
        Lockstep clock;
        clock.install();
        QVERIFY(Hcvcam::get_CamConnected(1));
        QVERIFY(Hcvcam::get_CamConnected(2));
        QVERIFY(!Hcvcam::get_CamConnected(0));
        QVERIFY(!Hcvcam::get_CamConnected(3));

        VirtualCameras cams(1);
        VisionBackend::install(&cams);
        cams.setConnected(2, false);
        QVERIFY(Hcvcam::get_CamConnected(1));
        QVERIFY(!Hcvcam::get_CamConnected(2));
        TaskRecord r = runTask(clock, 1); // lower camera
        QCOMPARE(r.status, 2);
        QCOMPARE(r.texts.value(1), QString("相机未连接"));
        QCOMPARE(runTask(clock, 0).status, 1); // the upper camera still works

        cams.setConnected(2, true);
        QVERIFY(Hcvcam::get_CamConnected(2));
        QCOMPARE(runTask(clock, 1).status, 1);

        cams.setForce(13, VirtualCameras::ForceNG);
        r = runTask(clock, 13);
        QCOMPARE(r.status, 2);
        QCOMPARE(r.texts.value(1), QString("无料"));
        cams.setForce(13, VirtualCameras::ForceNever);
        taskrun::taskexec(13, 0);
        clock.runFor(5.0);
        QCOMPARE(td->status(13), 0);
        cams.setForce(13, VirtualCameras::ForceNone);
        cams.setExtraDelayUs(13, 400000);
        const int64_t t0 = clk::nowUs();
        QCOMPARE(runTask(clock, 13).status, 1);
        QCOMPARE(clk::nowUs() - t0, int64_t(460000));
        VisionBackend::install(nullptr);
    }

    void codesCountUpAndNameTheImages() {
        Lockstep clock;
        clock.install();
        VirtualCameras cams(1);
        VisionBackend::install(&cams);
        QCOMPARE(runTask(clock, 3).texts.value(1), QString("SN000001"));
        td->setValue("saveimgcode", "SN000001");
        QCOMPARE(runTask(clock, 3).texts.value(1), QString("SN000002"));
        const QDir day(Paths::imageDir() + "/" +
                       QDateTime::fromMSecsSinceEpoch(clk::wallMs()).toString("yyyyMMdd"));
        const QStringList saved = day.entryList({"SN000001_T3_OK_*.jpg"}, QDir::Files);
        QCOMPARE(saved.size(), 1);
        QVERIFY(!QImage(day.filePath(saved.first())).isNull());

        cams.setForce(3, VirtualCameras::ForceNG);
        const TaskRecord r = runTask(clock, 3);
        QCOMPARE(r.status, 2);
        QCOMPARE(r.texts.value(1), QString("读码失败"));
        VisionBackend::install(nullptr);
    }

    void visionWindowShowsTheTasks() {
        Lockstep clock;
        clock.install();
        VirtualCameras cams(11);
        VisionBackend::install(&cams);
        cams.setForce(4, VirtualCameras::ForceNG);
        CVMainWindow w;
        w.resize(1200, 720);
        w.show();
        auto* table = w.findChild<QTableWidget*>("tableWidget");
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 15);
        QCOMPARE(table->item(3, 1)->text(), QString("二维码"));
        QCOMPARE(table->item(1, 2)->text(), QString("下相机"));
        QCOMPARE(table->item(2, 3)->text(), QString("未运行"));

        taskrun::taskexec(2, 0);
        w.refreshView();
        QCOMPARE(table->item(2, 3)->text(), QString("运行中"));
        for (int task : {0, 1, 2, 3, 4, 13}) runTask(clock, task);
        QCOMPARE(table->item(2, 3)->text(), QString("OK"));
        QVERIFY(table->item(2, 4)->text().count(" / ") == 2);
        QCOMPARE(table->item(4, 3)->text(), QString("NG"));
        QCOMPARE(table->item(3, 5)->text(), QString("SN000001"));

        // The program follows its running task; the window shows that task.
        emit gcallfun::GetInstance()->signalSetCurrentTast(4); // not connected: the program wires it
        QCOMPARE(w.selectedTask(), 0);
        w.setCurrentTast(3);
        QCOMPARE(w.selectedTask(), 3);
        QVERIFY2(w.settingsTitle().contains("T3 二维码"), qPrintable(w.settingsTitle()));
        auto* view = w.findChild<KZCV::ImageControl::QHalconWindow*>();
        QVERIFY(view);
        QCOMPARE(view->taskIndex(), 3);
        QCOMPARE(view->shown().image.cacheKey(), td->record(3).image.cacheKey());

        // The operator sets task 2 to NG and runs it with "执行" in manual mode.
        w.setCurrentTast(2);
        w.findChild<QComboBox*>("comboBox")->setCurrentIndex(TaskParam::ModeNG);
        auto* run = w.findChild<QPushButton*>("pushButton");
        QVERIFY(run->isEnabled());
        run->click();
        QVERIFY(clock.runUntil([&] { return td->status(2) != 0; }, 1.0));
        QCOMPARE(table->item(2, 3)->text(), QString("NG"));
        QCOMPARE(table->item(2, 4)->text(), QString());

        // A value that is not a number is refused with a message.
        auto* values = w.findChild<QTableWidget*>("tableWidget_2");
        values->item(0, 4)->setText("1,5mm");
        QVERIFY2(w.message().contains("必须是数字"), qPrintable(w.message()));
        QCOMPARE(values->item(0, 4)->text(), QString("0"));
        QCOMPARE(TaskParams::GetInstance()->param(2).values[21], 0.0);

        // Automatic mode and logged out: no runs, no edits.
        td->setManual(0);
        td->setUserLevel(0);
        w.refreshView();
        QVERIFY(!run->isEnabled());
        QVERIFY(!w.findChild<QComboBox*>("comboBox")->isEnabled());
        td->setUserLevel(1);
        td->setManual(1);
        w.refreshView();

        QSignalSpy save(&w, &CVMainWindow::m_sigsavedata);
        QSignalSpy jog(&w, &CVMainWindow::m_jogshow);
        w.findChild<QPushButton*>("pushButton_3")->click();
        w.findChild<QPushButton*>("pushButton_4")->click();
        QCOMPARE(save.count(), 1);
        QCOMPARE(jog.count(), 1);
        QCOMPARE(w.findChild<QLabel*>("label_cam2")->text(), QString("已连接"));
        cams.setConnected(2, false);
        w.refreshView();
        QCOMPARE(w.findChild<QLabel*>("label_cam2")->text(), QString("未连接"));
        cams.setConnected(2, true);

        w.setCurrentTast(0);
        w.refreshView();
        // Every heading and every cell is readable in full at the page's size.
        QCoreApplication::processEvents(); // the headers lay out their sections late
        for (QTableWidget* t : w.findChildren<QTableWidget*>()) {
            QHeaderView* h = t->horizontalHeader();
            for (int c = 0; c < t->columnCount(); ++c) {
                int need = 0;
                for (const QString& line : t->horizontalHeaderItem(c)->text().split('\n'))
                    need = qMax(need, h->fontMetrics().horizontalAdvance(line));
                QVERIFY2(h->sectionSize(c) >= need + 4, qPrintable(t->horizontalHeaderItem(c)->text()));
                for (int r = 0; r < t->rowCount(); ++r)
                    if (QTableWidgetItem* item = t->item(r, c))
                        QVERIFY2(t->fontMetrics().horizontalAdvance(item->text()) + 8 <= t->columnWidth(c),
                                 qPrintable(item->text() +
                                            QString(" %1 %2 vp %3")
                                                .arg(t->fontMetrics().horizontalAdvance(item->text()))
                                                .arg(t->columnWidth(c))
                                                .arg(t->viewport()->width())));
            }
            QVERIFY2(
                h->length() <= t->viewport()->width() + 1,
                qPrintable(t->objectName() + QString(" %1 %2").arg(h->length()).arg(t->viewport()->width())));
        }
        const QByteArray shots = qgetenv("TAVRIN_SCREENSHOT_DIR");
        if (!shots.isEmpty()) QVERIFY(w.grab().save(QString::fromLocal8Bit(shots) + "/cv.png"));
        VisionBackend::install(nullptr);
    }

    void imageViewFollowsItsTaskOnly() {
        Lockstep clock;
        clock.install();
        VirtualCameras cams(2);
        VisionBackend::install(&cams);
        KZCV::ImageControl::QHalconWindow view(nullptr, 0, 0);
        view.setFixedSize(400, 300);
        view.GetHalconBuffer()->SetWindowExtents(0, 0, 400, 300);
        view.GetHalconBuffer()->SetLineWidth(2.0);
        view.setTaskIndex(2, 0.5);
        connect(gcallfun::GetInstance(), &gcallfun::signalRepaintcvview, &view,
                &KZCV::ImageControl::QHalconWindow::readimgastask);
        view.show();

        const QImage empty = view.grab().toImage();
        QCOMPARE(brightPixels(empty, 180), 0);

        runTask(clock, 2);
        const qint64 barrel = td->record(2).image.cacheKey();
        QCOMPARE(view.shown().image.cacheKey(), barrel);
        const QImage shown = view.grab().toImage();
        QVERIFY(brightPixels(shown, 180) > 500); // the barrel's bright rim

        // A newer picture of its task that the view was not told about...
        disconnect(gcallfun::GetInstance(), nullptr, &view, nullptr);
        runTask(clock, 2);
        const qint64 next = td->record(2).image.cacheKey();
        QVERIFY(next != barrel);
        QCOMPARE(view.shown().image.cacheKey(), barrel);
        // ...stays unseen while other tasks finish...
        connect(gcallfun::GetInstance(), &gcallfun::signalRepaintcvview, &view,
                &KZCV::ImageControl::QHalconWindow::readimgastask);
        runTask(clock, 3);
        QCOMPARE(view.shown().image.cacheKey(), barrel);
        QCOMPARE(view.grab().toImage(), shown);
        view.checkRedraw();
        QCOMPARE(view.shown().image.cacheKey(), barrel);
        // ...until the program marks the view for redraw.
        view.redraw = 1;
        view.checkRedraw();
        QCOMPARE(view.shown().image.cacheKey(), next);
        QVERIFY(view.grab().toImage() != shown);
        QCOMPARE(view.redraw.load(), 0);
        VisionBackend::install(nullptr);
    }
};

QTEST_MAIN(TestVision)
#include "tst_vision.moc"
