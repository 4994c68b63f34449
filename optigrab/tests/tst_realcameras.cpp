// What real UVC cameras do that a tidy camera does not, and what the library makes of it: MJPEG
// frames that decode with warnings, streams that stall or fail, errors while opening, too little USB
// bandwidth. Each behaviour is given to a fresh simulated camera.
#include <QtTest>

#include <time.h>

#include "testsupport.h"

namespace {

const OptigrabSimMode kMjpegModes[] = {{2, 640, 480, {30, 0, 0, 0}}};
const OptigrabSimMode kHdModes[] = {{2, 1280, 720, {30, 15, 5, 0}}, {1, 1280, 720, {10, 5, 0, 0}}};

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

}  // namespace

class RealCamerasTest : public QObject {
    Q_OBJECT

    FrameRecorder& frames() { return FrameRecorder::instance(); }

    long count() {
        long n = 0;
        camGetDevCount(&n);
        return n;
    }

    // Plugs a camera with the quirks and modes, rescans, and answers its index (the last one).
    long plugAndFind(unsigned quirks, const OptigrabSimMode* modes, int modeCount, int* id,
                     double frameClock = -1, long usbBandwidth = 0) {
        OptigrabSimConfig config;
        optigrabSimDefaultConfig(&config);
        config.name = "Quirky Cam";
        config.modes = modes;
        config.modeCount = modeCount;
        config.frameClock = frameClock;
        config.quirks = quirks;
        config.usbBandwidth = usbBandwidth;
        *id = optigrabSimPlug(&config);
        if (*id < 0)
            return -1;
        const long dev = count() - 1;
        camRegCallBackPreviewImage(dev, &FrameRecorder::callback);
        return dev;
    }

    bool waitFrames(long atLeast, int timeoutMs = 5000) {
        const long start = frames().count();
        return waitFor([&] { return frames().count() >= start + atLeast; }, timeoutMs);
    }

    void checkPagePicture() {
        std::lock_guard<std::mutex> lock(frames().mutex);
        double light = 0, dark = 0;
        lightAndDark(frames().last, &light, &dark);
        QVERIFY2(light > 0.5 && dark > 0.002, qPrintable(QString("light %1 dark %2").arg(light).arg(dark)));
    }

private slots:
    void initTestCase() {
        QCOMPARE(camInitCameraLib(), long(CAM_OK));
        QCOMPARE(camRegCallBackDeviceChange(0, &ChangeRecorder::callback), long(CAM_OK));
    }
    void init() {
        frames().reset();
        ChangeRecorder::instance().take();
    }
    void cleanup() {
        camStopCameraLib();
        optigrabSimUnplugAll();
        count();
    }
    void cleanupTestCase() { camUnInitCameraLib(); }

    // Stray bytes before a marker leave the picture whole: it is shown and captured. Corrupt data in
    // such a camera's frames is still dropped.
    void mjpegDecoderWarnings_data() {
        QTest::addColumn<unsigned>("quirks");
        QTest::addRow("stray bytes") << unsigned(OPTIGRAB_SIM_QUIRK_STRAY_BYTES);
        QTest::addRow("no Huffman tables") << unsigned(OPTIGRAB_SIM_QUIRK_NO_HUFFMAN);
        QTest::addRow("both") << unsigned(OPTIGRAB_SIM_QUIRK_STRAY_BYTES | OPTIGRAB_SIM_QUIRK_NO_HUFFMAN);
    }
    void mjpegDecoderWarnings() {
        QFETCH(unsigned, quirks);
        int id = -1;
        const long dev = plugAndFind(quirks, kMjpegModes, 1, &id);
        QVERIFY(dev >= 0);
        QCOMPARE(camOpenDev(dev, 2, 640, 480, 0), long(CAM_OK));
        QVERIFY(waitFrames(5));
        checkPagePicture();
        const QString still = QDir::temp().filePath("optigrab-quirky-still.jpg");
        QCOMPARE(camCaptureImageFile(dev, still.toLocal8Bit().constData()), long(CAM_OK));
        QImage picture(still);
        QFile::remove(still);
        QCOMPARE(picture.size(), QSize(640, 480));

        // Corrupt frames from the same camera are not shown: the frame count grows by the good ones.
        const long simBefore = optigrabSimFramesDelivered(id);
        const long shownBefore = frames().count();
        QCOMPARE(optigrabSimInjectFault(id, OPTIGRAB_SIM_FAULT_CORRUPT, 20), 0);
        QVERIFY(waitFor([&] { return optigrabSimFramesDelivered(id) >= simBefore + 40; }));
        QVERIFY(waitFrames(3));
        QCOMPARE(camCloseDev(dev), long(CAM_OK));
        const long sent = optigrabSimFramesDelivered(id) - simBefore;
        const long shown = frames().count() - shownBefore;
        QVERIFY2(shown <= sent - 20 + 4, qPrintable(QString("%1 shown of %2 sent").arg(shown).arg(sent)));
        checkPagePicture();
    }
    // A stream that stops delivering, or whose queue fails, is restarted and then reopened; a camera
    // that still sends nothing is reported gone. No core spins meanwhile and close stays prompt.
    void streamRecovery_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("recovers");
        QTest::addRow("USB stall, a restart ends it") << int(OPTIGRAB_SIM_FAULT_USB_STALL) << 1 << true;
        QTest::addRow("USB stall, reopening ends it") << int(OPTIGRAB_SIM_FAULT_USB_STALL) << 2 << true;
        QTest::addRow("queue error, a restart ends it") << int(OPTIGRAB_SIM_FAULT_QUEUE_ERROR) << 1 << true;
        QTest::addRow("queue error, reopening ends it") << int(OPTIGRAB_SIM_FAULT_QUEUE_ERROR) << 2 << true;
        QTest::addRow("stall for good") << int(OPTIGRAB_SIM_FAULT_STALL) << 1 << false;
        QTest::addRow("queue error for good") << int(OPTIGRAB_SIM_FAULT_QUEUE_ERROR) << 1000 << false;
    }
    void streamRecovery() {
        QFETCH(int, fault);
        QFETCH(int, count);
        QFETCH(bool, recovers);
        int id = -1;
        const long dev = plugAndFind(0, kMjpegModes, 1, &id, 0);
        QCOMPARE(camOpenDev(dev, 2, 640, 480, 0), long(CAM_OK));
        QVERIFY(waitFrames(3));
        ChangeRecorder::instance().take();
        QElapsedTimer wall;
        wall.start();
        const double cpuBefore = processCpuSeconds();
        const long before = frames().count();
        QCOMPARE(optigrabSimInjectFault(id, fault, count), 0);
        QTest::qWait(300);
        // A core spinning on the failed stream uses about as much CPU time as wall time passes.
        const double firstCpu = processCpuSeconds() - cpuBefore;
        QVERIFY2(firstCpu < 0.15 * wall.elapsed() / 1000.0,
                 qPrintable(QString("%1 s CPU in %2 ms").arg(firstCpu).arg(wall.elapsed())));
        const long atFault = frames().count();
        QVERIFY(atFault <= before + 12);  // the frames already queued, then nothing
        if (recovers) {
            QVERIFY(waitFor([&] { return frames().count() >= atFault + 5; }, 9000));
            QCOMPARE(ChangeRecorder::instance().size(), std::size_t(0));
            checkPagePicture();
        } else {
            QVERIFY(waitFor([] { return ChangeRecorder::instance().size() >= 1; }, 12000));
            const auto events = ChangeRecorder::instance().take();
            QCOMPARE(events.front().first, USB_DEVICE_CHANGE_REMOVE);
            QCOMPARE(events.front().second, dev);
            QCOMPARE(frames().count(), atFault);
            // No frame was decoded meanwhile: CPU time went to recovering only.
            const double cpu = processCpuSeconds() - cpuBefore;
            QVERIFY2(cpu < 0.15 * wall.elapsed() / 1000.0,
                     qPrintable(QString("%1 s CPU in %2 ms").arg(cpu).arg(wall.elapsed())));
        }
        QElapsedTimer closing;
        closing.start();
        camCloseDev(dev);
        QVERIFY(closing.elapsed() < 1000);
    }

    // Errors that pass are tried again; a mode the USB bus cannot carry gives way to MJPG at the same
    // size, then to a lower rate; when nothing fits, the camera is busy.
    void openErrors_data() {
        QTest::addColumn<int>("transient");
        QTest::addColumn<long>("bandwidth");
        QTest::addColumn<long>("askedCode");
        QTest::addColumn<long>("result");
        QTest::addColumn<long>("code");
        QTest::addColumn<long>("fps");
        QTest::addRow("one EIO while opening") << 1 << 0L << 2L << long(CAM_OK) << 2L << 30L;
        QTest::addRow("two EIOs while opening") << 2 << 0L << 2L << long(CAM_OK) << 2L << 30L;
        QTest::addRow("EIO every time") << 3 << 0L << 2L << long(CAM_ERR_IO) << 0L << 0L;
        QTest::addRow("YUY2 too heavy: MJPG") << 0 << 8000000L << 1L << long(CAM_OK) << 2L << 30L;
        QTest::addRow("MJPG at 30 too heavy: 15") << 0 << 4000000L << 2L << long(CAM_OK) << 2L << 15L;
        QTest::addRow("YUY2 and MJPG too heavy: 15") << 0 << 4000000L << 1L << long(CAM_OK) << 2L << 15L;
        QTest::addRow("nothing fits") << 0 << 100000L << 1L << long(CAM_ERR_BUSY) << 0L << 0L;
    }
    void openErrors() {
        QFETCH(int, transient);
        QFETCH(long, bandwidth);
        QFETCH(long, askedCode);
        QFETCH(long, result);
        QFETCH(long, code);
        QFETCH(long, fps);
        int id = -1;
        const long dev = plugAndFind(0, kHdModes, 2, &id, 0, bandwidth);
        QCOMPARE(optigrabSimInjectFault(id, OPTIGRAB_SIM_FAULT_TRANSIENT, transient), 0);
        QCOMPARE(camOpenDev(dev, askedCode, 1280, 720, 0), result);
        if (result != CAM_OK)
            return;
        long c = 0, w = 0, h = 0, f = 0;
        QCOMPARE(camGetCurPreviewResolution(dev, &c, &w, &h, &f), long(CAM_OK));
        QCOMPARE(c, code);
        QCOMPARE(w, 1280L);
        QCOMPARE(f, fps);
        QVERIFY(waitFrames(3));
        checkPagePicture();
    }
};

QTEST_GUILESS_MAIN(RealCamerasTest)
#include "tst_realcameras.moc"
