// SPDX-License-Identifier: GPL-3.0-or-later
// Live frames from simulated cameras: size and content of the picture, size hints, no callback after
// close, streams let go at close and unplug, bad frames in the stream, a busy camera and a stalled one.
#include <QtTest>

#include "testsupport.h"

namespace {

const OptigrabSimMode kModes[] = {
    {2, 3840, 2160, {30, 0, 0, 0}}, {2, 1280, 720, {30, 0, 0, 0}}, {2, 640, 480, {30, 0, 0, 0}},
    {1, 640, 480, {30, 0, 0, 0}},   {1, 1280, 720, {10, 0, 0, 0}}, {3, 640, 480, {30, 0, 0, 0}},
};
const OptigrabSimMode kFastModes[] = {{2, 640, 480, {30, 0, 0, 0}}};
const int kModeCount = int(sizeof kModes / sizeof kModes[0]);

// A caller that takes its time over every frame, noting how old each frame was when it came.
struct SlowCaller {
    static inline std::atomic<int> workMs{0};
    static inline std::mutex mutex;
    static inline std::vector<long long> agesUs;  // guarded by mutex
    static bool callback(unsigned char*, long, long, long, void* param) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        {
            std::lock_guard<std::mutex> lock(mutex);
            agesUs.push_back(now.tv_sec * 1000000LL + now.tv_nsec / 1000 -
                             static_cast<PreviewParam*>(param)->captureTimeUs);
        }
        QThread::msleep(workMs.load());
        return true;
    }
};

}  // namespace

class StreamingTest : public QObject {
    Q_OBJECT

    int simId_ = -1;   // the camera with every media type, at its modes' rates
    int fastId_ = -1;  // a camera without frame clock: a frame whenever a buffer is free
    long dev_ = -1;
    long fastDev_ = -1;

    FrameRecorder& frames() { return FrameRecorder::instance(); }

    long rescan() {
        long count = 0;
        camGetDevCount(&count);
        return count;
    }

    // Index of the simulated camera with id (cameras are listed in plug order after real ones).
    long indexOf(int position) { return rescan() - optigrabSimCount() + position; }

    bool waitFrames(long atLeast, int timeoutMs = 8000) {
        long start = frames().count();
        return waitFor([&] { return frames().count() >= start + atLeast; }, timeoutMs);
    }

private slots:
    void initTestCase() {
        simId_ = plugCamera("Streaming Cam", "1234", "0001", "S1", kModes, kModeCount);
        fastId_ = plugCamera("Fast Cam", "1234", "0002", "S2", kFastModes, 1, -1);
        QVERIFY(simId_ >= 0 && fastId_ >= 0);
        QCOMPARE(camInitCameraLib(), long(CAM_OK));
        QCOMPARE(camRegCallBackDeviceChange(0, &ChangeRecorder::callback), long(CAM_OK));
        dev_ = indexOf(0);
        fastDev_ = indexOf(1);
        QCOMPARE(camRegCallBackPreviewImage(dev_, &FrameRecorder::callback), long(CAM_OK));
        QCOMPARE(camRegCallBackPreviewImage(fastDev_, &FrameRecorder::callback), long(CAM_OK));
    }

    void init() { frames().reset(); }

    void framesShowThePage_data() {
        QTest::addColumn<long>("code");
        QTest::addColumn<long>("width");
        QTest::addColumn<long>("height");
        QTest::addRow("MJPG 1280x720") << 2L << 1280L << 720L;
        QTest::addRow("YUY2 640x480") << 1L << 640L << 480L;
        QTest::addRow("NV12 640x480") << 3L << 640L << 480L;
        QTest::addRow("MJPG 3840x2160") << 2L << 3840L << 2160L;
    }
    void framesShowThePage() {
        QFETCH(long, code);
        QFETCH(long, width);
        QFETCH(long, height);
        QCOMPARE(camOpenDev(dev_, code, width, height, 0), long(CAM_OK));
        QVERIFY(waitFrames(3));
        QCOMPARE(camCloseDev(dev_), long(CAM_OK));
        std::lock_guard<std::mutex> lock(frames().mutex);
        QCOMPARE(frames().width, width);
        QCOMPARE(frames().height, height);
        QCOMPARE(frames().size, width * height * 3);
        QCOMPARE(frames().devIndex, dev_);
        // Taken on the monotonic clock when the camera handed the frame over: a moment ago.
        QVERIFY2(frames().ageUs >= 0 && frames().ageUs < 5000000,
                 qPrintable(QString::number(frames().ageUs)));
        double light = 0, dark = 0;
        lightAndDark(frames().last, &light, &dark);
        QVERIFY2(light > 0.5, qPrintable(QString("light share %1").arg(light)));
        QVERIFY2(dark > 0.002 && dark < 0.4, qPrintable(QString("dark share %1").arg(dark)));
    }

    void sizeHintScalesPreviewFrames_data() {
        QTest::addColumn<long>("code");
        QTest::addColumn<long>("width");
        QTest::addColumn<long>("height");
        QTest::addColumn<long>("hintWidth");
        QTest::addColumn<long>("hintHeight");
        QTest::addColumn<long>("expectedWidth");
        QTest::addColumn<long>("expectedHeight");
        QTest::addRow("4K MJPG for a 1080p window: 1/2")
            << 2L << 3840L << 2160L << 1920L << 1080L << 1920L << 1080L;
        QTest::addRow("1/4 would not cover 1000x600")
            << 2L << 3840L << 2160L << 1000L << 600L << 1920L << 1080L;
        QTest::addRow("1/4 covers 900x500") << 2L << 3840L << 2160L << 900L << 500L << 960L << 540L;
        QTest::addRow("no hint: full size") << 2L << 3840L << 2160L << 0L << 0L << 3840L << 2160L;
        QTest::addRow("hint larger than the frame") << 2L << 1280L << 720L << 4000L << 4000L << 1280L << 720L;
        QTest::addRow("YUY2 to a wide window keeps the aspect")
            << 1L << 640L << 480L << 320L << 200L << 320L << 240L;
        QTest::addRow("YUY2 to a tall window keeps the aspect")
            << 1L << 640L << 480L << 300L << 300L << 400L << 300L;
        QTest::addRow("NV12 halved") << 3L << 640L << 480L << 320L << 240L << 320L << 240L;
    }
    void sizeHintScalesPreviewFrames() {
        QFETCH(long, code);
        QFETCH(long, width);
        QFETCH(long, height);
        QFETCH(long, hintWidth);
        QFETCH(long, hintHeight);
        QFETCH(long, expectedWidth);
        QFETCH(long, expectedHeight);
        QCOMPARE(camSetPreviewSizeHint(dev_, hintWidth, hintHeight), long(CAM_OK));
        QCOMPARE(camOpenDev(dev_, code, width, height, 0), long(CAM_OK));
        QVERIFY(waitFrames(2));
        long c = 0, w = 0, h = 0, f = 0;
        QCOMPARE(camGetCurPreviewResolution(dev_, &c, &w, &h, &f), long(CAM_OK));
        QCOMPARE(camCloseDev(dev_), long(CAM_OK));
        QCOMPARE(camSetPreviewSizeHint(dev_, 0, 0), long(CAM_OK));
        QCOMPARE(w, width);  // the camera itself runs at the full mode
        std::lock_guard<std::mutex> lock(frames().mutex);
        QCOMPARE(frames().width, expectedWidth);
        QCOMPARE(frames().height, expectedHeight);
        QCOMPARE(long(frames().last.size()), expectedWidth * expectedHeight * 3);
        double light = 0, dark = 0;
        lightAndDark(frames().last, &light, &dark);
        QVERIFY2(light > 0.5 && dark > 0.001, qPrintable(QString("light %1 dark %2").arg(light).arg(dark)));
    }

    void sizeHintTakesEffectWhileStreaming() {
        QCOMPARE(camOpenDev(dev_, 2, 1280, 720, 0), long(CAM_OK));
        QVERIFY(waitFor([&] {
            std::lock_guard<std::mutex> lock(frames().mutex);
            return frames().width == 1280;
        }));
        QCOMPARE(camSetPreviewSizeHint(dev_, 640, 360), long(CAM_OK));
        QVERIFY(waitFor([&] {
            std::lock_guard<std::mutex> lock(frames().mutex);
            return frames().width == 640 && frames().height == 360;
        }));
        QCOMPARE(camCloseDev(dev_), long(CAM_OK));
        QCOMPARE(camSetPreviewSizeHint(dev_, 0, 0), long(CAM_OK));
    }

    // A caller slower than the camera sees recent frames, not ones that waited in the driver's queue
    // behind others: at most its own time for the frame before, a frame interval and some slack.
    void slowCallerSeesRecentFrames_data() {
        QTest::addColumn<int>("workMs");
        QTest::addRow("keeps up") << 5;
        QTest::addRow("slower than the camera") << 80;
    }
    void slowCallerSeesRecentFrames() {
        QFETCH(int, workMs);
        SlowCaller::workMs = workMs;
        SlowCaller::agesUs.clear();
        QCOMPARE(camRegCallBackPreviewImage(dev_, &SlowCaller::callback), long(CAM_OK));
        QCOMPARE(camOpenDev(dev_, 2, 640, 480, 30), long(CAM_OK));
        QTest::qWait(1500);
        QCOMPARE(camCloseDev(dev_), long(CAM_OK));
        QCOMPARE(camRegCallBackPreviewImage(dev_, &FrameRecorder::callback), long(CAM_OK));
        std::vector<long long> ages = SlowCaller::agesUs;
        QVERIFY(ages.size() >= 8);
        ages.erase(ages.begin(), ages.begin() + 4);  // the stream's start
        std::sort(ages.begin(), ages.end());
        const long long median = ages[ages.size() / 2];
        QVERIFY2(median < (workMs + 33 + 40) * 1000LL,
                 qPrintable(QString("median age %1 ms of %2 frames").arg(median / 1000.0).arg(ages.size())));
    }

    void noFrameCallbackAfterClose() {
        for (int round = 0; round < 25; ++round) {
            QCOMPARE(camOpenDev(fastDev_, 2, 640, 480, 0), long(CAM_OK));
            QVERIFY(waitFrames(1 + round % 3));
            QCOMPARE(optigrabSimOpenStreams(), 1);
            QCOMPARE(camCloseDev(fastDev_), long(CAM_OK));
            QCOMPARE(optigrabSimOpenStreams(), 0);
            QVERIFY(!frames().inside);
            const long atClose = frames().count();
            QTest::qWait(20);
            QCOMPARE(frames().count(), atClose);
        }
    }

    void badFramesAreDroppedAndStreamingGoesOn_data() {
        QTest::addColumn<int>("fault");
        QTest::addRow("corrupt entropy data") << int(OPTIGRAB_SIM_FAULT_CORRUPT);
        QTest::addRow("truncated") << int(OPTIGRAB_SIM_FAULT_TRUNCATED);
        QTest::addRow("error flag") << int(OPTIGRAB_SIM_FAULT_ERROR);
    }
    void badFramesAreDroppedAndStreamingGoesOn() {
        QFETCH(int, fault);
        const int kFaults = 12;
        QCOMPARE(camOpenDev(fastDev_, 2, 640, 480, 0), long(CAM_OK));
        QVERIFY(waitFrames(2));
        const long simBefore = optigrabSimFramesDelivered(fastId_);
        const long libBefore = frames().count();
        QCOMPARE(optigrabSimInjectFault(fastId_, fault, kFaults), 0);
        QVERIFY(waitFor([&] { return optigrabSimFramesDelivered(fastId_) >= simBefore + kFaults + 30; }));
        QVERIFY(waitFrames(5));  // still streaming after the bad frames
        QCOMPARE(camCloseDev(fastDev_), long(CAM_OK));
        const long simFrames = optigrabSimFramesDelivered(fastId_) - simBefore;
        const long libFrames = frames().count() - libBefore;
        // Up to the four queued buffers may have been filled before simBefore was read.
        QVERIFY2(libFrames <= simFrames - kFaults + 4,
                 qPrintable(QString("%1 frames shown of %2 sent").arg(libFrames).arg(simFrames)));
        std::lock_guard<std::mutex> lock(frames().mutex);
        double light = 0, dark = 0;
        lightAndDark(frames().last, &light, &dark);
        QVERIFY(light > 0.5 && dark > 0.002);
    }

    void busyCameraGivesTheBusyCode() {
        QCOMPARE(optigrabSimSetBusy(fastId_, 1), 0);
        QCOMPARE(camOpenDev(fastDev_, 2, 640, 480, 0), long(CAM_ERR_BUSY));
        QCOMPARE(optigrabSimSetBusy(fastId_, 0), 0);
        QCOMPARE(camOpenDev(fastDev_, 2, 640, 480, 0), long(CAM_OK));
        QCOMPARE(camCloseDev(fastDev_), long(CAM_OK));
    }

    void stalledCameraDoesNotHangClose() {
        QCOMPARE(camOpenDev(fastDev_, 2, 640, 480, 0), long(CAM_OK));
        QVERIFY(waitFrames(1));
        QCOMPARE(optigrabSimInjectFault(fastId_, OPTIGRAB_SIM_FAULT_STALL, 1), 0);
        QTest::qWait(100);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(camCloseDev(fastDev_), long(CAM_OK));
        // A close that waited for the stall to be noticed would take 2 s; a busy machine may add some.
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString("close took %1 ms").arg(timer.elapsed())));
    }

    void unplugWhileStreaming() {
        const int id = plugCamera("Unplugged Cam", "1234", "0003", "S3", kFastModes, 1);
        QVERIFY(settled());
        ChangeRecorder::instance().take();
        const long before = rescan();
        const long dev = before - 1;
        QCOMPARE(camRegCallBackPreviewImage(dev, &FrameRecorder::callback), long(CAM_OK));
        QCOMPARE(camOpenDev(dev, 2, 640, 480, 0), long(CAM_OK));
        QVERIFY(waitFrames(3));
        QCOMPARE(optigrabSimUnplug(id), 0);
        QVERIFY(settled());
        auto events = ChangeRecorder::instance().take();
        QCOMPARE(events.size(), std::size_t(1));
        QCOMPARE(events[0].first, USB_DEVICE_CHANGE_REMOVE);
        QCOMPARE(events[0].second, dev);
        QTRY_COMPARE(optigrabSimOpenStreams(), 0);  // its buffers let go before the program closes it
        {
            std::lock_guard<std::mutex> lock(frames().mutex);
            QCOMPARE(frames().framesAfterRemove, 0L);
        }
        long c = 0, w = 0, h = 0, f = 0;
        QCOMPARE(camGetCurPreviewResolution(dev, &c, &w, &h, &f), long(CAM_ERR_DEVICE_GONE));
        QCOMPARE(camCloseDev(dev), long(CAM_ERR_DEVICE_GONE));
        QCOMPARE(camCaptureImageFile(dev, "/tmp/optigrab-gone.jpg"), long(CAM_ERR_DEVICE_GONE));
        QCOMPARE(rescan(), before - 1);
    }

    // Last: shuts the library down while frames flow, then checks that nothing calls back any more.
    void uninitStopsEveryCallback() {
        QCOMPARE(camOpenDev(dev_, 2, 640, 480, 0), long(CAM_OK));  // the fast camera is stalled by now
        QVERIFY(waitFrames(2));
        QCOMPARE(camUnInitCameraLib(), long(CAM_OK));
        QVERIFY(!frames().inside);
        const long atUninit = frames().count();
        ChangeRecorder::instance().take();
        optigrabSimUnplug(simId_);
        QTest::qWait(100);
        QCOMPARE(frames().count(), atUninit);
        QCOMPARE(ChangeRecorder::instance().size(), std::size_t(0));
        long count = 0;
        QCOMPARE(camGetDevCount(&count), long(CAM_ERR_NOT_INITIALISED));
    }
};

QTEST_GUILESS_MAIN(StreamingTest)
#include "tst_streaming.moc"
