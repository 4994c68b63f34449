// What real UVC cameras do that a tidy camera does not, and what the library makes of it: MJPEG
// frames that decode with warnings. Each behaviour is given to a fresh simulated camera.
#include <QtTest>

#include "testsupport.h"

namespace {

const OptigrabSimMode kMjpegModes[] = {{2, 640, 480, {30, 0, 0, 0}}};

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
                     double frameClock = -1) {
        OptigrabSimConfig config;
        optigrabSimDefaultConfig(&config);
        config.name = "Quirky Cam";
        config.modes = modes;
        config.modeCount = modeCount;
        config.frameClock = frameClock;
        config.quirks = quirks;
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
    void initTestCase() { QCOMPARE(camInitCameraLib(), long(CAM_OK)); }
    void init() { frames().reset(); }
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
};

QTEST_GUILESS_MAIN(RealCamerasTest)
#include "tst_realcameras.moc"
