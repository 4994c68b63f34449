// SPDX-License-Identifier: GPL-3.0-or-later
// Captures of pages with the view, from a camera playing photographs of pages: what the Capture
// tab's choices (quality, resolution, crop, spreads) make of the files, and what the user is told.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "filebrowser/fileitemwidget.h"
#include "filebrowser/filelistwidget.h"
#include "liveview/capturewriter.h"
#include "liveview/videowidget.h"
#include "optigrab.h"
#include "optigrab_sim.h"
#include "settings/capturechoices.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "testenvironment.h"
#include "viewdriver.h"

namespace {

// The JPEG luminance table that a quality gives, as libjpeg scales the standard one, in the file's
// zig-zag order.
QByteArray luminanceTable(int quality) {
    static const int standard[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                     14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                     18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                     49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
    static const int zigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                   12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                   35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                   58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    QByteArray table;
    for (int i = 0; i < 64; ++i)
        table.append(char(qBound(1, (standard[zigzag[i]] * scale + 50) / 100, 255)));
    return table;
}

// Dots per inch in a JPEG file's JFIF header; 0 when it has none in inches.
int jfifDpi(const QByteArray& jpeg) {
    if (jpeg.size() < 18 || jpeg.mid(6, 5) != QByteArray("JFIF\0", 5) || jpeg[13] != 1)
        return 0;
    return (uchar(jpeg[14]) << 8) | uchar(jpeg[15]);
}

// A grey 32x32 thumbnail, to tell which part of a picture a page came from.
QImage thumb(const QImage& picture) {
    return picture.convertToFormat(QImage::Format_Grayscale8)
        .scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

double difference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            sum += qAbs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
    return sum / 1024;
}

}  // namespace

class TestPageCaptures : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_configPath;
    QTemporaryDir m_frames;  // the photograph the camera plays
    QTemporaryDir m_saved;   // the save folder
    ExtraSettings m_extra;   // as main makes it, in the configuration folder
    std::unique_ptr<VideoWidget> m_view;
    QStringList m_written;  // files of the captures written since the last capture()

    void openOn(const QString& photograph) {
        QDir(m_frames.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_frames.path()));
        QVERIFY(QFile::copy(QStringLiteral(PAGES_DIR "/") + photograph, m_frames.filePath("frame.jpg")));
        QVERIFY(optigrabSimPlugFrames(m_frames.path().toUtf8().constData(), 30) >= 0);
        m_view = std::make_unique<VideoWidget>(nullptr, &m_extra);
        connect(m_view->findChild<CaptureWriter*>(), &CaptureWriter::captureWritten, this,
                [this](const QString& path, bool loaded) {
                    if (loaded)
                        m_written << path;
                });
        m_view->resize(960, 540);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        QTRY_VERIFY_WITH_TIMEOUT(viewdriver::showsPicture(*m_view), 10000);
    }

    // A green band over the layer's (100, 100) to (300, 150), drawn with the pen.
    void drawBand() { viewdriver::penLine(*m_view, {100, 125}, {300, 125}, 50, Qt::green); }

    QStringList capture() {
        m_written.clear();
        m_view->captureImage();
        m_view->findChild<CaptureWriter*>()->waitForDone();
        QCoreApplication::processEvents();  // the queued reports reach the file panel
        QTest::qWait(50);
        return m_written;
    }

    QStringList tilePaths() {
        QListWidget* list = m_view->findChild<FileListWidget*>()->findChild<QListWidget*>();
        QStringList paths;
        for (int row = 0; row < list->count(); ++row)
            paths << list->itemWidget(list->item(row))->findChild<FileItemWidget*>()->m_path;
        return paths;
    }

    QString notice() {
        const QLabel* label = m_view->findChild<QLabel*>("noticeLabel");
        return label != nullptr && label->isVisible() ? label->text() : QString();
    }

private slots:
    void initTestCase() {
        m_configPath = testenvironment::isolate(m_home.path());
        m_extra.open(ExtraSettings::defaultFilePath());
        ReadXML* s = ReadXML::instance();
        s->language = "en";
        s->devName = "";
        s->savePath = m_saved.path().toStdString();
        s->bsaveType = true;
        s->customPrefix = "page";
        QVERIFY(s->writeData(m_configPath.toUtf8().constData()));
    }

    void init() {
        QDir(m_saved.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_saved.path()));
    }

    void cleanup() {
        m_view.reset();
        optigrabSimUnplugAll();
        for (const char* key : {CaptureChoices::kCropKey, CaptureChoices::kSplitKey,
                                CaptureChoices::kQualityKey, CaptureChoices::kDpiKey})
            m_extra.remove(key);
    }

    // The quality and resolution chosen on the Capture tab in an earlier run are those of the files,
    // with or without a drawing painted into them; a new choice counts from the next capture.
    void qualityAndResolutionReachTheFile_data() {
        QTest::addColumn<int>("quality");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("drawing");
        QTest::addRow("quality 60 at 300 dpi") << 60 << 300 << false;
        QTest::addRow("quality 95 at 150 dpi, with a drawing") << 95 << 150 << true;
    }
    void qualityAndResolutionReachTheFile() {
        QFETCH(int, quality);
        QFETCH(int, dpi);
        QFETCH(bool, drawing);
        // Stored, then read back from the file as at the next start.
        openOn("notebook-spread-top-dark-mat.jpg");
        CaptureChoices(&m_extra).setJpegQuality(quality);
        CaptureChoices(&m_extra).setDpi(dpi);
        m_view.reset();
        optigrabSimUnplugAll();
        const QString extraFile = m_extra.filePath();
        m_extra.open(m_home.filePath("elsewhere.ini"));
        m_extra.open(extraFile);
        openOn("notebook-spread-top-dark-mat.jpg");
        if (drawing)
            drawBand();
        for (int chosen : {quality, 70}) {
            const QStringList files = capture();
            QCOMPARE(files.size(), 1);
            const QByteArray jpeg = testenvironment::fileBytes(files[0]);
            QVERIFY2(jpeg.contains(QByteArray(1, '\0') + luminanceTable(chosen)),
                     qPrintable(QString("quality %1").arg(chosen)));
            QCOMPARE(jfifDpi(jpeg), dpi);
            if (drawing)
                QCOMPARE(QImage(files[0]).pixelColor(150 * 1008 / 960, 110 * 1008 / 960).green() > 200, true);
            CaptureChoices(&m_extra).setJpegQuality(70);
        }
    }

    // A camera unplugged and plugged in again gets the chosen quality, resolution and cropping as
    // soon as the view has opened it again.
    void choicesReachACameraPluggedAgain() {
        CaptureChoices(&m_extra).setJpegQuality(75);
        CaptureChoices(&m_extra).setDpi(300);
        CaptureChoices(&m_extra).setCropping(true);
        openOn("notebook-rotated-dark-mat.jpg");
        optigrabSimUnplugAll();
        QTRY_VERIFY_WITH_TIMEOUT(!viewdriver::showsPicture(*m_view), 10000);
        QVERIFY(optigrabSimPlugFrames(m_frames.path().toUtf8().constData(), 30) >= 0);
        QTRY_VERIFY_WITH_TIMEOUT(viewdriver::showsPicture(*m_view), 10000);
        const long dev = 0;  // the one camera plugged
        long quality = 0, xDpi = 0, yDpi = 0, corners[8] = {}, found = 0;
        QCOMPARE(camGetImageJPGQuanlity(dev, &quality), long(CAM_OK));
        QCOMPARE(camGetImageDPI(dev, &xDpi, &yDpi), long(CAM_OK));
        QCOMPARE(quality, 75L);
        QCOMPARE(xDpi, 300L);
        QCOMPARE(yDpi, 300L);
        QTRY_VERIFY_WITH_TIMEOUT(camGetPageCorners(dev, corners, &found) == CAM_OK && found == 1, 10000);
    }

    // Split on, a spread gives two files, the left page first, each a tile; a single page gives one
    // file and leaves the next number free. No page found with crop on keeps the whole picture and
    // says so.
    void spreadsAndPages_data() {
        QTest::addColumn<QString>("photograph");
        QTest::addColumn<bool>("split");
        QTest::addColumn<bool>("crop");
        QTest::addColumn<int>("files");
        QTest::addColumn<QSize>("wholeSize");  // the picture's size when a file is expected whole
        QTest::addColumn<QString>("expectedNotice");
        QTest::addColumn<bool>("drawing");
        QTest::addRow("spread, split")
            << "notebook-spread-top-dark-mat.jpg" << true << false << 2 << QSize() << QString() << false;
        QTest::addRow("spread, not split") << "notebook-spread-top-dark-mat.jpg" << false << false << 1
                                           << QSize(1008, 756) << QString() << false;
        QTest::addRow("single page, split and crop")
            << "notebook-rotated-dark-mat.jpg" << true << true << 1 << QSize() << QString() << false;
        QTest::addRow("no page found, crop")
            << "receipt-on-white-desk-low-contrast.jpg" << false << true << 1 << QSize(1080, 1920)
            << QString("No page found: the whole picture was saved.") << false;
        // A drawing made over the whole picture does not fit a cut-out page: left out, and said.
        QTest::addRow("spread, split, with a drawing")
            << "notebook-spread-top-dark-mat.jpg" << true << false << 2 << QSize()
            << QString("The picture was saved without the drawing over it.") << true;
    }
    void spreadsAndPages() {
        QFETCH(QString, photograph);
        QFETCH(bool, split);
        QFETCH(bool, crop);
        QFETCH(int, files);
        QFETCH(QSize, wholeSize);
        QFETCH(QString, expectedNotice);
        QFETCH(bool, drawing);
        CaptureChoices(&m_extra).setSplitSpreads(split);
        CaptureChoices(&m_extra).setCropping(crop);
        openOn(photograph);
        if (drawing)
            drawBand();
        const QStringList written = capture();
        QCOMPARE(written.size(), files);
        QCOMPARE(tilePaths(), written);
        QCOMPARE(QFileInfo(written[0]).fileName(), QString("page_00001.jpg"));
        QCOMPARE(notice(), expectedNotice);
        const QImage source(QStringLiteral(PAGES_DIR "/") + photograph);
        if (wholeSize.isValid()) {
            QCOMPARE(QImage(written[0]).size(), wholeSize);
        } else if (files == 1) {  // the page cut out of the desk, its edge painted white
            const QImage page(written[0]);
            QVERIFY2(page.width() < source.width() && page.height() < source.height(),
                     qPrintable(written[0]));
            QVERIFY(qGray(page.pixel(1, page.height() / 2)) >= 250);
        } else {
            QCOMPARE(QFileInfo(written[1]).fileName(), QString("page_00002.jpg"));
            const QImage left = thumb(source.copy(0, 0, source.width() / 2, source.height()));
            const QImage right =
                thumb(source.copy(source.width() / 2, 0, source.width() / 2, source.height()));
            const QImage first = thumb(QImage(written[0]));
            QVERIFY2(difference(first, left) < difference(first, right),
                     qPrintable(QString("%1 %2").arg(difference(first, left)).arg(difference(first, right))));
        }
        // The number a single page did not need is the next capture's.
        if (files == 1 && split)
            QCOMPARE(QFileInfo(capture().value(0)).fileName(), QString("page_00002.jpg"));
    }
};

QTEST_MAIN(TestPageCaptures)
#include "tst_pagecaptures.moc"
