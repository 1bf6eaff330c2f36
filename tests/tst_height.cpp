// The height sensor link against the sensor emulator on a real loopback socket,
// with the link's 150 ms timer on the virtual clock.
#include "platform/KZLOG.h"
#include "platform/Paths.h"
#include "platform/kzct.h"
#include "sim/HeightSensor.h"
#include "sim/Lockstep.h"
#include "vision/HeightValues.h"
#include "vision/Tasktcp.h"
#include "vision/TcpBase.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cmath>
#include <memory>

using sim::HeightSensor;

namespace {
QString logText() {
    QFile f(KZLOG::CLog::currentFile());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}
} // namespace

class TestHeight : public QObject {
    Q_OBJECT

    std::unique_ptr<Lockstep> clock;
    std::unique_ptr<HeightSensor> sensor;
    std::unique_ptr<Tasktcp> task;

    // One poll: the timer's next 150 ms, then the real time the sensor needs to answer.
    // Returns once the reply has been read (whatever the parser made of it).
    bool poll(int replyBytes) {
        const qint64 before = task->link()->bytesRead();
        const int requests = sensor->requestCount();
        clock->runFor(0.15);
        if (!QTest::qWaitFor([&] { return sensor->requestCount() > requests; }, 5000)) return false;
        if (replyBytes == 0) return true;
        return QTest::qWaitFor([&] { return task->link()->bytesRead() >= before + replyBytes; }, 5000);
    }

    bool connected() {
        return QTest::qWaitFor([&] { return task->link()->isConnected(); }, 5000);
    }

private slots:
    void init() {
        KZLOG::CLog::Deinitializes();
        QDir(Paths::root()).removeRecursively();
        QVERIFY(Paths::ensureFolders());
        clock = std::make_unique<Lockstep>();
        clock->install();
        gd[23] = 0;
        gd[250] = 0.5;
        heightRaw = 0;
        heightCalibrated = 0;
        heightMarkGood(-1);
        sensor = std::make_unique<HeightSensor>();
        QVERIFY(sensor->start(0));
        task = std::make_unique<Tasktcp>();
        task->setEndpoint("127.0.0.1", sensor->port());
        task->begin();
        QVERIFY(connected());
    }

    void cleanup() {
        task.reset();
        sensor.reset();
        clock.reset();
    }

    void readingsBecomeRawAndCalibratedHeights_data() {
        QTest::addColumn<double>("mm");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("positive") << 1.2345 << QByteArray("%01$RMD+0012345**\r");
        QTest::newRow("negative") << -0.1 << QByteArray("%01$RMD-0001000**\r");
        QTest::newRow("zero") << 0.0 << QByteArray("%01$RMD+0000000**\r");
    }
    void readingsBecomeRawAndCalibratedHeights() {
        QFETCH(double, mm);
        QFETCH(QByteArray, wire);
        QCOMPARE(HeightSensor::reply(mm), wire);
        heightRaw = 99;
        sensor->setSource([mm] { return mm; });
        QVERIFY(poll(wire.size()));
        QCOMPARE(double(heightRaw), mm);
        QCOMPARE(double(heightCalibrated), 0.5 + mm);
        QCOMPARE(heightLastGoodUs(), clock->nowUs());
        QVERIFY(heightFresh());
    }

    void twoRepliesInOnePacketGiveTheFirst() {
        sensor->setSource([] { return 2.0; });
        sensor->setMode(HeightSensor::Mode::Doubled);
        QVERIFY(poll(2 * 18));
        QCOMPARE(double(heightRaw), 2.0);
        QCOMPARE(double(heightCalibrated), 2.5);
    }

    void aReplySplitInTwoPacketsIsParsedOnceJoined() {
        sensor->setSource([] { return 0.75; });
        sensor->setMode(HeightSensor::Mode::Split);
        QVERIFY(poll(18));
        QCOMPARE(double(heightRaw), 0.75);
        QCOMPARE(task->link()->pendingSize(), 0);
    }

    void heightSwitchedOffLeavesTheValuesAndDiscardsReplies() {
        sensor->setSource([] { return 1.0; });
        QVERIFY(poll(18));
        QCOMPARE(double(heightRaw), 1.0);
        gd[23] = 2.0;
        sensor->setSource([] { return 3.0; });
        const int64_t lastGood = heightLastGoodUs();
        QVERIFY(poll(18));
        QCOMPARE(double(heightRaw), 1.0);
        QCOMPARE(double(heightCalibrated), 1.5);
        QCOMPARE(heightLastGoodUs(), lastGood);
        QCOMPARE(task->link()->pendingSize(), 0);
        // Switched on again, the next reply counts: nothing left over from the discarded ones.
        gd[23] = 0;
        QVERIFY(poll(18));
        QCOMPARE(double(heightRaw), 3.0);
    }

    // Bad replies leave the last good values, write one log line and do not stop the link.
    void badRepliesLeaveTheValues_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("replyBytes");
        QTest::addColumn<QString>("logged");
        QTest::newRow("not a number") << int(HeightSensor::Mode::Garbled) << 18 << "无法解析";
        QTest::newRow("no marker") << int(HeightSensor::Mode::Garbage) << 15 << "无法解析";
        QTest::newRow("a megabyte without a line end")
            << int(HeightSensor::Mode::NoLineEnd) << (1 << 20) << "应答过长";
    }
    void badRepliesLeaveTheValues() {
        QFETCH(int, mode);
        QFETCH(int, replyBytes);
        QFETCH(QString, logged);
        sensor->setSource([] { return 1.0; });
        QVERIFY(poll(18));
        const int64_t lastGood = heightLastGoodUs();
        sensor->setMode(HeightSensor::Mode(mode));
        sensor->setSource([] { return 4.0; });
        QVERIFY(poll(replyBytes));
        QVERIFY(poll(replyBytes));
        QCOMPARE(double(heightRaw), 1.0);
        QCOMPARE(double(heightCalibrated), 1.5);
        QCOMPARE(heightLastGoodUs(), lastGood);
        QVERIFY(task->link()->pendingSize() <= TcpBase::kMaxPending);
        QCOMPARE(logText().count(logged), 1);
        sensor->setMode(HeightSensor::Mode::Normal);
        QVERIFY(QTest::qWaitFor(
            [&] {
                clock->runFor(0.15);
                return double(heightRaw) == 4.0;
            },
            5000));
        QCOMPARE(double(heightCalibrated), 4.5);
    }

    // The sensor restarts (or drops the line mid-reply): the link comes back by itself,
    // logs the loss and the return once each, and the values move again.
    void theLinkReconnectsAfterTheSensorRestarts() {
        sensor->setSource([] { return 1.0; });
        QVERIFY(poll(18));
        const quint16 port = sensor->port();
        sensor->stop();
        QVERIFY(QTest::qWaitFor([&] { return !task->link()->isConnected(); }, 5000));
        // Silent sensor: the last value stays, but is stale after a second.
        clock->runFor(0.9);
        QVERIFY(heightFresh());
        clock->runFor(0.2);
        QVERIFY(!heightFresh());
        QCOMPARE(double(heightRaw), 1.0);
        clock->runFor(3.0); // retries against a closed port
        QVERIFY(sensor->start(port));
        sensor->setSource([] { return 2.0; });
        QVERIFY(QTest::qWaitFor(
            [&] {
                clock->runFor(0.15);
                return double(heightRaw) == 2.0;
            },
            10000));
        QVERIFY(heightFresh());
        const QString log = logText();
        QCOMPARE(log.count("测高传感器连接断开"), 1);
        QCOMPARE(log.count("测高传感器连接失败"), 0);
        QCOMPARE(log.count("测高传感器已连接"), 2);
    }

    void aReplyCutOffByTheSensorIsDropped() {
        sensor->setSource([] { return 1.0; });
        QVERIFY(poll(18));
        sensor->setMode(HeightSensor::Mode::CloseMidReply);
        sensor->setSource([] { return 7.0; });
        QVERIFY(poll(10));
        QVERIFY(QTest::qWaitFor([&] { return !task->link()->isConnected(); }, 5000));
        QCOMPARE(double(heightRaw), 1.0);
        sensor->setMode(HeightSensor::Mode::Normal);
        QVERIFY(QTest::qWaitFor(
            [&] {
                clock->runFor(0.15);
                return double(heightRaw) == 7.0;
            },
            10000));
        QVERIFY(sensor->connectionCount() >= 2);
    }

    // The back-off: a sensor that is not there is asked once a second, not every poll.
    void anAbsentSensorIsRetriedOnceASecond() {
        const quint16 port = sensor->port();
        sensor->stop();
        QVERIFY(QTest::qWaitFor([&] { return !task->link()->isConnected(); }, 5000));
        QVERIFY(sensor->start(port));
        const int before = sensor->connectionCount();
        // Within the second after the loss no attempt is made.
        clock->runFor(0.3);
        QTest::qWait(100);
        QCOMPARE(sensor->connectionCount(), before);
        clock->runFor(1.0);
        QVERIFY(QTest::qWaitFor([&] { return sensor->connectionCount() == before + 1; }, 5000));
    }

    void requestsGoOutEvery150ms() {
        const int before = sensor->requestCount();
        clock->runFor(1.5);
        QVERIFY(QTest::qWaitFor([&] { return sensor->requestCount() == before + 10; }, 5000));
        clock->runFor(0.149);
        QTest::qWait(100);
        QCOMPARE(sensor->requestCount(), before + 10);
        clock->runFor(0.001);
        QVERIFY(QTest::qWaitFor([&] { return sensor->requestCount() == before + 11; }, 5000));
    }

    // The program's way: the link's own thread on the real clock.
    void theThreadPollsTheSensorOnItsOwn() {
        task.reset();
        clock.reset();
        sensor->setSource([] { return 0.4321; });
        Tasktcp thread;
        thread.setEndpoint("127.0.0.1", sensor->port());
        thread.start();
        QTRY_COMPARE_WITH_TIMEOUT(double(heightRaw), 0.4321, 5000);
        QCOMPARE(double(heightCalibrated), 0.9321);
        QVERIFY(heightFresh());
        thread.quit();
        QVERIFY(thread.wait(5000));
    }

    void theRequestIsTheTenBytesOfTheProtocol() {
        QCOMPARE(QByteArray(Tasktcp::kRequest), QByteArray("%01#RMD**\r"));
        QCOMPARE(int(sizeof(Tasktcp::kRequest) - 1), 10);
        // Nothing under the head reads as the top of the range, far outside every limit.
        QCOMPARE(HeightSensor::reply(std::nan("")), QByteArray("%01$RMD+9999999**\r"));
    }
};

QTEST_GUILESS_MAIN(TestHeight)
#include "tst_height.moc"
