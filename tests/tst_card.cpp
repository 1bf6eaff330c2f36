#include "TestSupport.h"

#include "platform/LTDMC.h"
#include "platform/kzmc.h"

#include <QtTest>

// The card as the program sees it: levels, CAN bus, start-up answers, and the
// machine's pneumatics behind the CAN I/O.
namespace {
constexpr WORD kCard = 0;

// Card level of an input image bit, the way the fast scan reads it.
short readImage(int image) {
    return image < 16 ? dmc_read_inbit(kCard, WORD(image))
                      : dmc_read_can_inbit(kCard, WORD(image / 16), WORD(image % 16));
}
void writeImage(int image, bool on) {
    if (image < 16)
        dmc_write_outbit(kCard, WORD(image), on ? 0 : 1);
    else
        dmc_write_can_outbit(kCard, WORD(image / 16), WORD(image % 16), on ? 0 : 1);
}
} // namespace

class TestCard : public QObject {
    Q_OBJECT
private slots:
    void inputLevelsAreActiveLow() {
        SimRig rig;
        rig.startCard();
        sim::Plant& plant = rig.plant();
        // Released e-stop closes the circuit: the input reads active (0).
        QCOMPARE(dmc_read_inbit(kCard, 0), short(0));
        plant.setEstopPressed(true);
        QVERIFY(dmc_read_inbit(kCard, 0) != 0);
        rig.runFor(1.0);
        QVERIFY(dmc_read_inbit(kCard, 0) != 0); // latched until released
        plant.setEstopPressed(false);
        QCOMPARE(dmc_read_inbit(kCard, 0), short(0));

        for (int button = 1; button <= 4; ++button) {
            QCOMPARE(dmc_read_inbit(kCard, WORD(button)), short(1));
            plant.setButtonPressed(button, true);
            QCOMPARE(dmc_read_inbit(kCard, WORD(button)), short(0));
            plant.setButtonPressed(button, false);
            QCOMPARE(dmc_read_inbit(kCard, WORD(button)), short(1));
        }
        for (int door = 0; door < 4; ++door) {
            QCOMPARE(dmc_read_inbit(kCard, WORD(5 + door)), short(0));
            plant.setDoorOpen(door, true);
            QCOMPARE(dmc_read_inbit(kCard, WORD(5 + door)), short(1));
            plant.setDoorOpen(door, false);
        }
        // A click lets go by itself after its hold time.
        plant.panel().clickButton(sim::OperatorPanel::StartButton, 200000);
        rig.runFor(0.15);
        QCOMPARE(dmc_read_inbit(kCard, 1), short(0));
        rig.runFor(0.1);
        QCOMPARE(dmc_read_inbit(kCard, 1), short(1));
    }

    void outputLevelsAreActiveLow() {
        SimRig rig;
        rig.startCard();
        sim::Plant& plant = rig.plant();
        for (int image : {0, 3, 8, 16, 34, 59}) {
            QVERIFY(!plant.output(image));
            writeImage(image, true);
            QVERIFY2(plant.output(image), qPrintable(QString::number(image)));
            const short level = image < 16 ? dmc_read_outbit(kCard, WORD(image))
                                           : dmc_read_can_outbit(kCard, WORD(image / 16), WORD(image % 16));
            QCOMPARE(level, short(0));
            writeImage(image, false);
            QVERIFY(!plant.output(image));
        }
        // A node or bit the card does not have is refused and switches nothing.
        const auto outputs = [&plant] {
            QVector<bool> on;
            for (int image = 0; image < 64; ++image) on << plant.output(image);
            return on;
        };
        const QVector<bool> before = outputs();
        for (const auto& [node, bit] : {std::pair<WORD, WORD>{0, 3}, {4, 3}, {1, 16}, {3, 16}}) {
            QVERIFY2(dmc_write_can_outbit(kCard, node, bit, 0) != 0,
                     qPrintable(QString("%1.%2").arg(node).arg(bit)));
            QCOMPARE(outputs(), before);
        }
        QVERIFY(dmc_write_outbit(kCard, 16, 0) != 0);
        QCOMPARE(outputs(), before);
        // and reads as inactive, though the card's own bit 3 is on.
        writeImage(3, true);
        for (const auto& [node, bit] : {std::pair<WORD, WORD>{0, 3}, {4, 3}, {1, 16}}) {
            QCOMPARE(dmc_read_can_outbit(kCard, node, bit), short(1));
            QCOMPARE(dmc_read_can_inbit(kCard, node, bit), short(1));
        }
        writeImage(3, false);
    }

    void forcedInputOverridesItsDriver() {
        SimRig rig;
        rig.startCard();
        rig.plant().forceInput(5, 0); // door switch reads open although the door is shut
        QCOMPARE(dmc_read_inbit(kCard, 5), short(1));
        rig.plant().forceInput(5, -1);
        QCOMPARE(dmc_read_inbit(kCard, 5), short(0));
        rig.plant().forceInput(48, 1);
        QCOMPARE(readImage(48), short(0));
    }

    void canBusStateAndLostNode() {
        SimRig rig;
        WORD nodes = 9, state = 9;
        dmc_get_can_state(kCard, &nodes, &state);
        QVERIFY(!(nodes == 1 && state == 3)); // not started yet
        QCOMPARE(readImage(33), short(1));    // nothing readable on the bus
        rig.startCard();
        dmc_get_can_state(kCard, &nodes, &state);
        QCOMPARE(nodes, WORD(1));
        QCOMPARE(state, WORD(3));
        QCOMPARE(readImage(33), short(0)); // nozzle cylinder up

        writeImage(16, true);
        rig.plant().setCanNodeLost(1, true);
        dmc_get_can_state(kCard, &nodes, &state);
        QVERIFY(!(nodes == 1 && state == 3));
        QVERIFY(!rig.plant().output(16)); // a lost node drops its outputs
        writeImage(17, true);
        QVERIFY(!rig.plant().output(17));
        rig.plant().setInput(20, true);
        QCOMPARE(readImage(20), short(1)); // inputs of a lost node read inactive
        QCOMPARE(readImage(33), short(0)); // the other nodes go on
        rig.plant().setCanNodeLost(1, false);
        dmc_get_can_state(kCard, &nodes, &state);
        QCOMPARE(state, WORD(3));
        QCOMPARE(readImage(20), short(0));
        writeImage(17, true);
        QVERIFY(rig.plant().output(17));

        dmc_set_can_state(kCard, 3, 0, 0);
        dmc_get_can_state(kCard, &nodes, &state);
        QVERIFY(!(nodes == 1 && state == 3));
        QVERIFY(!rig.plant().output(17));
    }

    void boardInitAnswers_data() {
        QTest::addColumn<bool>("missing");
        QTest::addColumn<int>("forced");
        QTest::addColumn<int>("expected");
        QTest::newRow("one card") << false << -1 << 1;
        QTest::newRow("card missing") << true << -1 << 0;
        QTest::newRow("error code") << false << 8 << 8;
    }
    void boardInitAnswers() {
        QFETCH(bool, missing);
        QFETCH(int, forced);
        QFETCH(int, expected);
        SimRig rig;
        rig.plant().setCardMissing(missing);
        rig.plant().setBoardInitResult(forced);
        QCOMPARE(dmc_board_init(), short(expected));
        if (missing) {
            // Nothing answers without a card.
            QVERIFY(dmc_set_can_state(kCard, 3, 1, 0) != 0);
            QVERIFY(axis_enable(kCard, 0, 1) != 0);
            QCOMPARE(dmc_check_done(kCard, 0), short(1));
        }
    }

    void configDownload_data() {
        QTest::addColumn<QString>("content"); // empty: no file
        QTest::addColumn<bool>("rejected");
        QTest::addColumn<bool>("ok");
        QTest::newRow("card file") << "[Card]\nAxes=12\n" << false << true;
        QTest::newRow("missing") << "" << false << false;
        QTest::newRow("garbled") << "\x01\x02 not a card file" << false << false;
        QTest::newRow("rejected by the card") << "[Card]\nAxes=12\n" << true << false;
    }
    void configDownload() {
        QFETCH(QString, content);
        QFETCH(bool, rejected);
        QFETCH(bool, ok);
        SimRig rig;
        QTemporaryDir dir;
        const QString path = dir.path() + "/Config/QRDMC3C00.ini";
        if (!content.isEmpty()) {
            QDir().mkpath(dir.path() + "/Config");
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content.toLatin1());
        }
        rig.plant().setConfigRejected(rejected);
        const QString debugFile = dir.path() + "/DMCerr.txt";
        dmc_set_debug_mode(2, debugFile.toUtf8().constData());
        // Handed over with Windows separators, as the program builds the path.
        const QString windowsStyle = dir.path() + "\\Config\\QRDMC3C00.ini";
        const short rc = dmc_download_configfile(kCard, windowsStyle.toLocal8Bit().constData());
        QCOMPARE(rc == 0, ok);
        QCOMPARE(QString::fromStdString(rig.card().lastConfigPath()), windowsStyle);
        // A failure leaves a line in the library's debug file.
        QCOMPARE(QFile::exists(debugFile), !ok);
    }

    void cylindersReachTheirSensorsAfterTravel() {
        SimRig rig;
        rig.startCard();
        sim::Plant& plant = rig.plant();
        // Nozzle lift: single valve out 34, sensors up 33, down 34.
        const int64_t travel = plant.cylinder(sim::CylNozzleLift).travelUs();
        QVERIFY(travel >= 80000 && travel <= 150000);
        writeImage(34, true);
        rig.runFor(0.002);
        QCOMPARE(readImage(33), short(1)); // left the upper end
        QCOMPARE(readImage(34), short(1));
        rig.runFor((travel - 10000) * 1e-6);
        QCOMPARE(readImage(34), short(1));
        QVERIFY(rig.runUntil([] { return readImage(34) == 0; }, 0.02));
        writeImage(34, false);
        QVERIFY(rig.runUntil([] { return readImage(33) == 0; }, 0.2));

        // NG gripper: close valve 36 on, open valve 35 off -> closed sensor 36.
        writeImage(36, true);
        QVERIFY(rig.runUntil([] { return readImage(36) == 0; }, 0.2));
        QCOMPARE(readImage(35), short(1));
        // Both coils off: the valve keeps its side.
        writeImage(36, false);
        rig.runFor(0.3);
        QCOMPARE(readImage(36), short(0));
        writeImage(35, true);
        QVERIFY(rig.runUntil([] { return readImage(35) == 0; }, 0.2));
    }

    void cylinderFaults() {
        SimRig rig;
        rig.startCard();
        sim::Plant& plant = rig.plant();
        plant.setCylinderStuck(sim::CylAssyLift, true);
        writeImage(41, true); // lift up
        rig.runFor(1.0);
        QCOMPARE(readImage(42), short(0)); // still down
        QCOMPARE(readImage(41), short(1));
        plant.setCylinderStuck(sim::CylAssyLift, false);
        QVERIFY(rig.runUntil([] { return readImage(41) == 0; }, 0.2));

        plant.setCylinderSensorBroken(sim::CylBufferStop, 1, true);
        writeImage(38, true); // stopper down
        rig.runFor(1.0);
        QCOMPARE(readImage(38), short(1));
        QCOMPARE(readImage(37), short(1));
        QVERIFY(plant.cylinder(sim::CylBufferStop).atB());
    }

    void vacuumSwitchFollowsTheNozzle() {
        SimRig rig;
        rig.startCard();
        rig.plant().nozzle().setGripRule(nullptr); // a label under the nozzle wherever it stands
        writeImage(32, true);
        QVERIFY(rig.runUntil([] { return readImage(32) == 0; }, 0.1));
        writeImage(33, true); // blow-off lets the label go
        rig.runFor(0.002);
        QCOMPARE(readImage(32), short(1));
        writeImage(33, false);
        writeImage(32, false);
        rig.plant().setNoLabel(true);
        rig.runFor(0.01);
        writeImage(32, true);
        rig.runFor(0.5);
        QCOMPARE(readImage(32), short(1));
        // A later model decides what the nozzle holds.
        rig.plant().setNoLabel(false);
        writeImage(32, false);
        bool asked = false;
        rig.plant().nozzle().setGripRule([&](sim::Plant&) { return asked = true; });
        rig.runFor(0.01);
        writeImage(32, true);
        QVERIFY(rig.runUntil([] { return readImage(32) == 0; }, 0.1));
        QVERIFY(asked);
    }

    void debugFileCollectsRefusedCommands() {
        SimRig rig;
        rig.startCard();
        QTemporaryDir dir;
        const QString debugFile = dir.path() + "/DMCerr.txt";
        dmc_set_debug_mode(2, debugFile.toUtf8().constData());
        rig.plant().setServoAlarm(0, true);
        QVERIFY(spmove(kCard, 0, 10, 100, 1) != 0);
        QFile f(debugFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("dmc_pmove_unit(0)"));
    }
};

QTEST_MAIN(TestCard)
#include "tst_card.moc"
