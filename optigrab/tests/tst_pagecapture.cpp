// SPDX-License-Identifier: GPL-3.0-or-later
// Page stills and automatic capture through the public interface, with simulated cameras playing
// pictures of pages: cropped stills, "no page" stills written whole, spreads written as two files,
// the live page outline, and automatic capture's callback, pause and stop.
#include <QtTest>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTransform>

#include <atomic>
#include <thread>

#include "synthpage.h"
#include "testsupport.h"

namespace {

std::atomic<int> g_autoCalls{0};
std::atomic<long> g_autoState{0};
std::atomic<bool> g_autoOnCallerThread{false};
std::thread::id g_testThread;
std::atomic<int> g_callbackSleepMs{0};

bool autoCallback(long state) {
    g_autoState = state;
    if (std::this_thread::get_id() == g_testThread)
        g_autoOnCallerThread = true;
    QThread::msleep(unsigned(g_callbackSleepMs.load()));
    ++g_autoCalls;
    return true;
}

std::array<cv::Point2f, 4> pageCorners() {
    return {{{450, 110}, {830, 130}, {810, 630}, {430, 610}}};
}

// A picture of the given kind, 1280 x 720: a page, the empty desk, or an open book.
cv::Mat picture(const QString& kind) {
    if (kind == "spread")
        return synth::spread(1280, 720, 640, synth::Desk::Dark);
    cv::Mat desk = synth::desk(1280, 720, synth::Desk::Dark);
    return kind == "page" ? synth::onDesk(synth::page(850, 1100, 1), desk, pageCorners()) : desk;
}

// Mean grey difference between a written page and the synthetic page of seed, both at 48 x 64.
double distance(const QString& file, unsigned seed) {
    const QImage written = QImage(file).convertToFormat(QImage::Format_Grayscale8).scaled(48, 64);
    cv::Mat page = synth::page(512, 576, seed), grey, small;
    cv::cvtColor(page, grey, cv::COLOR_RGB2GRAY);
    cv::resize(grey, small, cv::Size(48, 64), 0, 0, cv::INTER_AREA);
    double sum = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 48; ++x)
            sum += std::abs(int(written.constScanLine(y)[x]) - int(small.at<uchar>(y, x)));
    return sum / (48 * 64);
}

}  // namespace

class PageCaptureTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // A camera playing one picture over and over; returns its device index, -1 on failure.
    long plugPlaying(const QString& kind) {
        const QString folder = dir_.filePath("frames-" + kind);
        QDir().mkpath(folder);
        const cv::Mat rgb = picture(kind);
        QImage(rgb.data, rgb.cols, rgb.rows, int(rgb.step), QImage::Format_RGB888)
            .save(folder + "/0.jpg", nullptr, 92);
        if (optigrabSimPlugFrames(folder.toUtf8().constData(), 30) < 0)
            return -1;
        long count = 0;
        camGetDevCount(&count);
        const long dev = count - 1;
        camRegCallBackPreviewImage(dev, &FrameRecorder::callback);
        if (camOpenDev(dev, 2, 1280, 720, 0) != CAM_OK)
            return -1;
        const long start = FrameRecorder::instance().count();
        return waitFor([&] { return FrameRecorder::instance().count() > start + 3; }) ? dev : -1;
    }
    void unplug(long dev) {
        camCloseDev(dev);
        optigrabSimUnplugAll();
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        g_testThread = std::this_thread::get_id();
        QCOMPARE(camInitCameraLib(), long(CAM_OK));
    }
    void cleanupTestCase() { QCOMPARE(camUnInitCameraLib(), long(CAM_OK)); }

    void croppedStill_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<long>("result");
        QTest::addColumn<bool>("cropped");
        QTest::addColumn<long>("rotate");  // found in the camera's picture, then turned
        QTest::addColumn<bool>("zoomed");  // the preview shows only the picture's top left quarter
        QTest::addRow("page on a desk: the page alone") << "page" << long(CAM_OK) << true << 0L << false;
        QTest::addRow("empty desk: whole picture, said so")
            << "desk" << long(CAM_ERR_NO_PAGE) << false << 0L << false;
        QTest::addRow("turned a quarter: the page alone, turned")
            << "page" << long(CAM_OK) << true << 90L << false;
        QTest::addRow("turned, empty desk: whole picture turned")
            << "desk" << long(CAM_ERR_NO_PAGE) << false << 90L << false;
        QTest::addRow("zoomed preview: the page found in the whole picture")
            << "page" << long(CAM_OK) << true << 0L << true;
        QTest::addRow("zoomed and turned: the page found in the whole picture")
            << "page" << long(CAM_OK) << true << 90L << true;
    }
    void croppedStill() {
        QFETCH(QString, kind);
        QFETCH(long, result);
        QFETCH(bool, cropped);
        QFETCH(long, rotate);
        QFETCH(bool, zoomed);
        const long dev = plugPlaying(kind);
        QVERIFY(dev >= 0);
        QCOMPARE(camSetImageRotateMode(dev, rotate), long(CAM_OK));
        if (zoomed)
            QCOMPARE(camSetPreviewPart(dev, 0, 0, 500000, 500000), long(CAM_OK));
        QCOMPARE(camSetImageAutoCrop(dev, 1), long(CAM_OK));
        QCOMPARE(camSetImageFillBorder(dev, 1), long(CAM_OK));
        long corners[8] = {}, found = -1;
        QVERIFY(waitFor(
            [&] { return camGetPageCorners(dev, corners, &found) == CAM_OK && found == long(cropped); }));
        if (cropped)
            QVERIFY(std::abs(corners[0] - 450) < 15 && std::abs(corners[5] - 630) < 15);

        const QString path = dir_.filePath(kind + "-crop.jpg");
        QCOMPARE(camCaptureImageFile(dev, path.toUtf8().constData()), result);
        QImage still(path);
        QVERIFY(!still.isNull());
        if (rotate == 90)
            still = still.transformed(QTransform().rotate(-90));
        if (cropped) {
            QVERIFY(std::abs(still.width() - 380) < 20 && std::abs(still.height() - 500) < 20);
            QVERIFY(qGray(still.pixel(1, 1)) >= 250);  // the border painted white
        } else {
            QCOMPARE(still.size(), QSize(1280, 720));
        }
        QCOMPARE(camSetImageAutoCrop(dev, 0), long(CAM_OK));
        QCOMPARE(camGetPageCorners(dev, corners, &found), long(CAM_OK));
        QCOMPARE(found, 0L);
        QCOMPARE(camSetImageRotateMode(dev, 0), long(CAM_OK));
        unplug(dev);
    }

    void bookCapture_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<long>("isBook");
        QTest::addColumn<int>("pageMask");
        QTest::addRow("open book: two pages") << "spread" << 1L << 3;
        QTest::addRow("single page: one file") << "page" << 0L << 1;
    }
    void bookCapture() {
        QFETCH(QString, kind);
        QFETCH(long, isBook);
        QFETCH(int, pageMask);
        const long dev = plugPlaying(kind);
        QVERIFY(dev >= 0);
        long book = -1;
        QCOMPARE(camCaptureIsBook(dev, &book), long(CAM_OK));
        QCOMPARE(book, isBook);
        const QString left = dir_.filePath(kind + "-left.jpg"), right = dir_.filePath(kind + "-right.jpg");
        int mask = -1;
        QCOMPARE(camCaptureBookEx(dev, left.toUtf8().constData(), right.toUtf8().constData(), &mask),
                 long(CAM_OK));
        QCOMPARE(mask, pageMask);
        QCOMPARE(QFile::exists(right), pageMask == 3);
        if (pageMask == 3) {  // each page upright, about 0.4 of the width by 0.8 of the height
            for (const QString& p : {left, right}) {
                const QImage page(p);
                QVERIFY2(std::abs(page.width() - 512) < 30 && std::abs(page.height() - 576) < 30,
                         qPrintable(QString("%1x%2").arg(page.width()).arg(page.height())));
            }
            // Left first: each file is nearer its own page's words than the other page's.
            QVERIFY(distance(left, 3) < distance(left, 4));
            QVERIFY(distance(right, 4) < distance(right, 3));
        }
        unplug(dev);
    }

    // The page lying there is captured once after the hold time, on a library thread; stop waits for
    // a running callback but no longer, and nothing is called after it.
    void autoCaptureCallbackPauseAndStop() {
        const long dev = plugPlaying("page");
        QVERIFY(dev >= 0);
        g_autoCalls = 0;
        g_callbackSleepMs = 0;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(camStartAutoCapture(dev, 2, 500, &autoCallback, true), long(CAM_OK));
        QVERIFY(waitFor([] { return g_autoCalls.load() == 1; }, 3000));
        QVERIFY2(timer.elapsed() >= 450, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(g_autoState.load(), long(CAM_AUTO_CAPTURED));
        QVERIFY(!g_autoOnCallerThread.load());
        QThread::msleep(1200);  // the same page keeps lying there: no second capture
        QCOMPARE(g_autoCalls.load(), 1);
        long state = -1;
        QCOMPARE(camGetAutoCaptureState(dev, &state), long(CAM_OK));
        QCOMPARE(state, long(CAM_AUTO_CAPTURED));

        QCOMPARE(camPauseAutoCapture(dev, 1), long(CAM_OK));
        QCOMPARE(camGetAutoCaptureState(dev, &state), long(CAM_OK));
        QCOMPARE(state, long(CAM_AUTO_PAUSED));
        QCOMPARE(camPauseAutoCapture(dev, 0), long(CAM_OK));

        // Restarted, the page counts as new again; stop while its callback runs waits for it only.
        g_callbackSleepMs = 150;
        g_autoState = 0;
        QCOMPARE(camStartAutoCapture(dev, 2, 300, &autoCallback, true), long(CAM_OK));
        QVERIFY(waitFor([] { return g_autoState.load() != 0; }, 3000));
        timer.restart();
        QCOMPARE(camStopAutoCapture(dev), long(CAM_OK));
        QVERIFY2(timer.elapsed() < 250, qPrintable(QString::number(timer.elapsed())));
        const int calls = g_autoCalls.load();
        QThread::msleep(800);
        QCOMPARE(g_autoCalls.load(), calls);
        QCOMPARE(camGetAutoCaptureState(dev, &state), long(CAM_OK));
        QCOMPARE(state, long(CAM_AUTO_OFF));
        unplug(dev);
    }
};

QTEST_GUILESS_MAIN(PageCaptureTest)
#include "tst_pagecapture.moc"
