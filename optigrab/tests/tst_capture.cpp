// SPDX-License-Identifier: GPL-3.0-or-later
// Still pictures: a full-resolution JPEG that Qt reads back, written whole or not at all, with the
// chosen quality and DPI, and clear codes when there is nothing to write or nowhere to write it.
#include <QtTest>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <atomic>
#include <string>

#include "testsupport.h"

namespace {

const OptigrabSimMode kModes[] = {{2, 1920, 1080, {30, 0, 0, 0}},
                                  {2, 1280, 720, {30, 0, 0, 0}},
                                  {1, 640, 480, {30, 0, 0, 0}},
                                  {3, 640, 480, {30, 0, 0, 0}}};

// A frame callback that captures once, on the first frame it is handed, as a viewer's capture button
// may the moment the first picture shows.
std::string g_firstFramePath;
long g_firstFrameDev = -1;
std::atomic<long> g_firstFrameCapture{-1};
std::atomic<bool> g_firstFrameTaken{false};

bool captureOnFirstFrame(unsigned char*, long, long, long, void*) {
    if (!g_firstFrameTaken.exchange(true))
        g_firstFrameCapture = camCaptureImageFile(g_firstFrameDev, g_firstFramePath.c_str());
    return true;
}

}  // namespace

class CaptureTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int simId_ = -1;
    long dev_ = -1;

    QStringList filesIn(const QString& folder) {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    long capture(const QString& path) { return camCaptureImageFile(dev_, path.toUtf8().constData()); }
    bool waitForFrame() {
        long start = FrameRecorder::instance().count();
        return waitFor([&] { return FrameRecorder::instance().count() >= start + 2; });
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        simId_ =
            plugCamera("Capture Cam", "1234", "0004", "C1", kModes, int(sizeof kModes / sizeof kModes[0]));
        QVERIFY(simId_ >= 0);
        QCOMPARE(camInitCameraLib(), long(CAM_OK));
        long count = 0;
        QCOMPARE(camGetDevCount(&count), long(CAM_OK));
        dev_ = count - 1;
        QCOMPARE(camRegCallBackPreviewImage(dev_, &FrameRecorder::callback), long(CAM_OK));
    }

    void cleanupTestCase() { QCOMPARE(camUnInitCameraLib(), long(CAM_OK)); }

    void captureIsAFullSizeJpeg_data() {
        QTest::addColumn<long>("code");
        QTest::addColumn<long>("width");
        QTest::addColumn<long>("height");
        QTest::addColumn<long>("hintWidth");  // the preview may be smaller; the still never is
        QTest::addColumn<QString>("relativePath");
        QTest::addRow("MJPG 1920x1080") << 2L << 1920L << 1080L << 0L << "shot.jpg";
        QTest::addRow("MJPG with a preview hint") << 2L << 1920L << 1080L << 640L << "hint/shot.jpg";
        QTest::addRow("YUY2 into new folders") << 1L << 640L << 480L << 0L << "a/b/c/yuy2.jpg";
        QTest::addRow("NV12 with a preview hint") << 3L << 640L << 480L << 320L << "nv12/shot.jpg";
    }
    void captureIsAFullSizeJpeg() {
        QFETCH(long, code);
        QFETCH(long, width);
        QFETCH(long, height);
        QFETCH(long, hintWidth);
        QFETCH(QString, relativePath);
        QCOMPARE(camSetPreviewSizeHint(dev_, hintWidth, 0), long(CAM_OK));
        QCOMPARE(camOpenDev(dev_, code, width, height, 0), long(CAM_OK));
        QVERIFY(waitForFrame());
        const QString path = dir_.filePath(relativePath);
        const long result = capture(path);
        QCOMPARE(camCloseDev(dev_), long(CAM_OK));
        QCOMPARE(camSetPreviewSizeHint(dev_, 0, 0), long(CAM_OK));
        QCOMPARE(result, long(CAM_OK));

        QImage image;
        QVERIFY(image.load(path, "JPEG"));
        QCOMPARE(image.width(), int(width));
        QCOMPARE(image.height(), int(height));
        QVERIFY(image.pixelColor(width / 2, height / 2).lightness() > 0);  // decodes, not an empty shell
        // Only the file itself: no temporary file is left beside it.
        QCOMPARE(filesIn(QFileInfo(path).absolutePath()), QStringList{QFileInfo(path).fileName()});
    }

    void qualityAndDpiReachTheFile() {
        QCOMPARE(camOpenDev(dev_, 2, 1280, 720, 0), long(CAM_OK));
        QVERIFY(waitForFrame());
        QCOMPARE(camSetImageDPI(dev_, 300, 200), long(CAM_OK));
        QCOMPARE(camSetImageJPGQuanlity(dev_, 20), long(CAM_OK));
        const QString low = dir_.filePath("quality/low.jpg"), high = dir_.filePath("quality/high.jpg");
        QCOMPARE(capture(low), long(CAM_OK));
        QCOMPARE(camSetImageJPGQuanlity(dev_, 95), long(CAM_OK));
        QCOMPARE(capture(high), long(CAM_OK));
        QCOMPARE(camCloseDev(dev_), long(CAM_OK));
        long quality = 0;
        QCOMPARE(camGetImageJPGQuanlity(dev_, &quality), long(CAM_OK));
        QCOMPARE(quality, 95L);
        QVERIFY2(
            QFileInfo(low).size() * 2 < QFileInfo(high).size(),
            qPrintable(QString("%1 vs %2 bytes").arg(QFileInfo(low).size()).arg(QFileInfo(high).size())));
        QImage image(high);
        QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), 300);
        QCOMPARE(qRound(image.dotsPerMeterY() * 0.0254), 200);
        QCOMPARE(camSetImageDPI(dev_, 96, 96), long(CAM_OK));
        QCOMPARE(camSetImageJPGQuanlity(dev_, 90), long(CAM_OK));
    }

    void failedCaptureLeavesNoFile_data() {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<long>("expected");
        QTest::addRow("folder is a file") << "plain.txt/shot.jpg" << long(CAM_ERR_FILE);
        QTest::addRow("target is a folder") << "existing" << long(CAM_ERR_FILE);
        QTest::addRow("no file name") << "nameless/" << long(CAM_ERR_BAD_ARGUMENT);
    }
    void failedCaptureLeavesNoFile() {
        QFETCH(QString, relativePath);
        QFETCH(long, expected);
        QTemporaryDir target;
        QFile plain(target.filePath("plain.txt"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(QDir(target.path()).mkdir("existing"));
        const QStringList before = filesIn(target.path());

        QCOMPARE(camOpenDev(dev_, 2, 1280, 720, 0), long(CAM_OK));
        QVERIFY(waitForFrame());
        const long result = capture(target.filePath(relativePath));
        QCOMPARE(camCloseDev(dev_), long(CAM_OK));
        QCOMPARE(result, expected);
        QCOMPARE(filesIn(target.path()), before);
        QCOMPARE(filesIn(target.filePath("existing")), QStringList{});
    }

    // The frame a callback is handed is already kept for still pictures.
    void firstShownFrameCanBeCaptured() {
        g_firstFramePath = dir_.filePath("first.jpg").toStdString();
        g_firstFrameDev = dev_;
        QCOMPARE(camRegCallBackPreviewImage(dev_, &captureOnFirstFrame), long(CAM_OK));
        QCOMPARE(camOpenDev(dev_, 2, 1280, 720, 0), long(CAM_OK));
        const bool called = waitFor([] { return g_firstFrameCapture.load() != -1; });
        QCOMPARE(camCloseDev(dev_), long(CAM_OK));
        QCOMPARE(camRegCallBackPreviewImage(dev_, &FrameRecorder::callback), long(CAM_OK));
        QVERIFY(called);
        QCOMPARE(g_firstFrameCapture.load(), long(CAM_OK));
        QCOMPARE(QImage(QString::fromStdString(g_firstFramePath)).size(), QSize(1280, 720));
    }

    // Damaged frames never replace the one a still is taken from, also while no frame is shown:
    // with the preview paused, or with no callback at all.
    void stillAfterDamagedFramesWithoutPreview_data() {
        QTest::addColumn<bool>("paused");
        QTest::addRow("preview paused") << true;
        QTest::addRow("no frame callback") << false;
    }
    void stillAfterDamagedFramesWithoutPreview() {
        QFETCH(bool, paused);
        if (!paused)
            QCOMPARE(camRegCallBackPreviewImage(dev_, nullptr), long(CAM_OK));
        QCOMPARE(camOpenDev(dev_, 2, 1280, 720, 0), long(CAM_OK));
        if (paused)
            QCOMPARE(camPause(dev_, 1), long(CAM_OK));
        const long sent = optigrabSimFramesDelivered(simId_);
        QVERIFY(waitFor([&] { return optigrabSimFramesDelivered(simId_) >= sent + 3; }));
        const int burst = 12;
        QCOMPARE(optigrabSimInjectFault(simId_, OPTIGRAB_SIM_FAULT_CORRUPT, burst), 0);
        const long atFault = optigrabSimFramesDelivered(simId_);
        QVERIFY(waitFor([&] { return optigrabSimFramesDelivered(simId_) >= atFault + 4; }));
        const QString path = dir_.filePath("after-damage.jpg");
        const long result = capture(path);
        const long damagedSoFar = optigrabSimFramesDelivered(simId_) - atFault;
        // The rest of the burst goes by before the next case opens the camera.
        QVERIFY(waitFor([&] { return optigrabSimFramesDelivered(simId_) > atFault + burst; }));
        QCOMPARE(camCloseDev(dev_), long(CAM_OK));
        QCOMPARE(camRegCallBackPreviewImage(dev_, &FrameRecorder::callback), long(CAM_OK));
        QVERIFY2(damagedSoFar < burst, "the capture came after the damaged frames");
        QCOMPARE(result, long(CAM_OK));
        QCOMPARE(QImage(path).size(), QSize(1280, 720));
    }

    void nothingToCapture() {
        const QString path = dir_.filePath("never.jpg");
        QCOMPARE(capture(path), long(CAM_ERR_NOT_OPEN));
        // A camera that has not sent a frame yet.
        QCOMPARE(optigrabSimInjectFault(simId_, OPTIGRAB_SIM_FAULT_STALL, 1), 0);
        QCOMPARE(camOpenDev(dev_, 2, 1280, 720, 0), long(CAM_OK));
        QCOMPARE(capture(path), long(CAM_ERR_NO_FRAME));
        QCOMPARE(camCloseDev(dev_), long(CAM_OK));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(filesIn(dir_.path()).filter("never"), QStringList{});
    }
};

QTEST_GUILESS_MAIN(CaptureTest)
#include "tst_capture.moc"
