// SPDX-License-Identifier: GPL-3.0-or-later
// Orientation and looks of previews and stills: a page with two marked corners seen in every
// orientation, the camera's JPEG turned losslessly as jpegtran turns it, and a page under uneven light
// made white with dark text (document) or two clean levels (black and white).
#include <QtTest>

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include "testsupport.h"

namespace {

// Corner letters in the order top left, top right, bottom right, bottom left: r red, b blue, g grey.
QString cornersOf(const QImage& image) {
    const int inset = 12;
    const QPoint corners[] = {{inset, inset},
                              {image.width() - 1 - inset, inset},
                              {image.width() - 1 - inset, image.height() - 1 - inset},
                              {inset, image.height() - 1 - inset}};
    QString letters;
    for (const QPoint& p : corners) {
        const QColor c = image.pixelColor(p);
        letters += c.red() > 180 && c.blue() < 80 ? 'r' : (c.blue() > 180 && c.red() < 80 ? 'b' : 'g');
    }
    return letters;
}

// Grey paper with a red square in the top left corner and a blue one in the top right.
QImage markedPage(int width, int height) {
    QImage page(width, height, QImage::Format_RGB888);
    page.fill(QColor(128, 128, 128));
    QPainter painter(&page);
    painter.fillRect(0, 0, 48, 48, Qt::red);
    painter.fillRect(width - 48, 0, 48, 48, Qt::blue);
    return page;
}

// Paper lit from the top left (235) down to a dark bottom right corner (85), with lines of dark
// strokes (a fifth of the paper's level) everywhere but in that corner.
const int kLinePitch = 30, kStrokeHeight = 14, kStrokePitch = 8, kStrokeWidth = 3, kTextTop = 10;
bool inDarkCorner(int x, int y, int width, int height) {
    return x > width * 3 / 4 && y > height * 3 / 4;
}
int paperLevel(int x, int y, int width, int height) {
    return 235 - 150 * (x * height + y * width) / (2 * width * height);
}
QImage unevenlyLitPage(int width, int height) {
    QImage page(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int line = (y - kTextTop) % kLinePitch, column = x % kStrokePitch;
            const bool ink = y >= kTextTop && line < kStrokeHeight && column < kStrokeWidth && x > 8 &&
                             x < width - 8 && !inDarkCorner(x, y, width, height);
            const int level = paperLevel(x, y, width, height) / (ink ? 5 : 1);
            page.setPixelColor(x, y, QColor(level, level, level));
        }
    return page;
}

QImage lastPreview() {
    FrameRecorder& r = FrameRecorder::instance();
    std::lock_guard<std::mutex> lock(r.mutex);
    return QImage(r.last.data(), int(r.width), int(r.height), int(r.width) * 3, QImage::Format_RGB888).copy();
}

}  // namespace

class PictureTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    long aligned_ = -1;  // 320x240: whole JPEG blocks
    long odd_ = -1;      // 328x232: partial blocks at the edges
    long page_ = -1;     // the unevenly lit page
    long open_ = -1;

    long plugFolder(const QString& name, const QImage& image) {
        const QString folder = dir_.filePath(name);
        QDir().mkpath(folder);
        image.save(folder + "/page.jpg", "JPG", 95);
        return optigrabSimPlugFrames(folder.toUtf8().constData(), 30) >= 0 ? 0 : -1;
    }
    // Opens dev (closing another) and waits until the frames show the settings set before.
    bool showFreshFrames(long dev) {
        if (open_ != dev) {
            if (open_ >= 0)
                camCloseDev(open_);
            if (camOpenDev(dev, 2, 0, 0, 0) != CAM_OK)
                return false;
            open_ = dev;
        }
        const long start = FrameRecorder::instance().count();
        return waitFor([&] { return FrameRecorder::instance().count() >= start + 3; });
    }
    QImage still(long dev, const QString& name) {
        const QString path = dir_.filePath(name);
        if (camCaptureImageFile(dev, path.toUtf8().constData()) != CAM_OK)
            return {};
        return QImage(path, "JPEG").convertToFormat(QImage::Format_RGB888);
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QCOMPARE(plugFolder("aligned", markedPage(320, 240)), 0L);
        QCOMPARE(plugFolder("odd", markedPage(328, 232)), 0L);
        QCOMPARE(plugFolder("page", unevenlyLitPage(640, 480)), 0L);
        QCOMPARE(camInitCameraLib(), long(CAM_OK));
        long count = 0;
        QCOMPARE(camGetDevCount(&count), long(CAM_OK));
        aligned_ = count - 3, odd_ = count - 2, page_ = count - 1;
        for (long dev : {aligned_, odd_, page_})
            QCOMPARE(camRegCallBackPreviewImage(dev, &FrameRecorder::callback), long(CAM_OK));
    }
    void cleanupTestCase() { QCOMPARE(camUnInitCameraLib(), long(CAM_OK)); }

    void orientationOfPreviewAndStill_data() {
        QTest::addColumn<bool>("odd");
        QTest::addColumn<long>("mode");
        QTest::addColumn<QString>("corners");
        const struct {
            const char* name;
            long mode;
            const char* corners;
        } rows[] = {
            {"as sent", CAM_ROTATE_0, "rbgg"},     {"90", CAM_ROTATE_90, "grbg"},
            {"180", CAM_ROTATE_180, "ggrb"},       {"270", CAM_ROTATE_270, "bggr"},
            {"mirror", CAM_ROTATE_MIRROR, "brgg"}, {"mirror 90", CAM_ROTATE_MIRROR | CAM_ROTATE_90, "gbrg"},
            {"flip", CAM_ROTATE_FLIP, "ggbr"},     {"flip 90", CAM_ROTATE_FLIP | CAM_ROTATE_90, "rggb"}};
        for (bool odd : {false, true})
            for (const auto& row : rows)
                QTest::addRow("%s %s", odd ? "re-encoded" : "lossless", row.name)
                    << odd << row.mode << row.corners;
    }
    void orientationOfPreviewAndStill() {
        QFETCH(bool, odd);
        QFETCH(long, mode);
        QFETCH(QString, corners);
        const long dev = odd ? odd_ : aligned_;
        const QSize sent = odd ? QSize(328, 232) : QSize(320, 240);
        const QSize turned = (mode & 0xFFF) % 180 ? sent.transposed() : sent;
        QCOMPARE(camSetImageRotateMode(dev, mode), long(CAM_OK));
        QVERIFY(showFreshFrames(dev));
        const QImage preview = lastPreview();
        const QImage picture = still(dev, "oriented.jpg");
        QCOMPARE(camSetImageRotateMode(dev, CAM_ROTATE_0), long(CAM_OK));
        QCOMPARE(preview.size(), turned);
        QCOMPARE(cornersOf(preview), corners);
        QCOMPARE(picture.size(), turned);
        QCOMPARE(cornersOf(picture), corners);
    }

    // A zoomed preview asks for a part of the picture as it is shown: the top left quarter of the
    // turned picture holds the turned picture's top left corner.
    void zoomedPartOfATurnedPicture_data() {
        QTest::addColumn<long>("mode");
        QTest::addColumn<QString>("corners");  // only the top left one is the picture's own
        QTest::addRow("as sent") << long(CAM_ROTATE_0) << "rggg";
        QTest::addRow("90") << long(CAM_ROTATE_90) << "gggg";
        QTest::addRow("270") << long(CAM_ROTATE_270) << "bggg";
        QTest::addRow("mirror") << long(CAM_ROTATE_MIRROR) << "bggg";
        QTest::addRow("flip 90") << long(CAM_ROTATE_FLIP | CAM_ROTATE_90) << "rggg";
    }
    void zoomedPartOfATurnedPicture() {
        QFETCH(long, mode);
        QFETCH(QString, corners);
        QCOMPARE(camSetImageRotateMode(aligned_, mode), long(CAM_OK));
        QCOMPARE(camSetPreviewPart(aligned_, 0, 0, 500000, 500000), long(CAM_OK));
        QVERIFY(showFreshFrames(aligned_));
        const QImage preview = lastPreview();
        QCOMPARE(camSetPreviewPart(aligned_, 0, 0, 0, 0), long(CAM_OK));
        QCOMPARE(camSetImageRotateMode(aligned_, CAM_ROTATE_0), long(CAM_OK));
        const bool sideways = (mode & 0xFFF) % 180 != 0;
        QCOMPARE(preview.width() < preview.height(), sideways);
        QVERIFY2(preview.width() < 320 && preview.height() < 320,
                 qPrintable(QString("%1x%2").arg(preview.width()).arg(preview.height())));
        QCOMPARE(cornersOf(preview), corners);
    }

    // A 16:9 camera turned a quarter: a 9:16 picture, as large as a window's hint needs to show it
    // whole (decoding scales by powers of two, the rest is scaled before the turn), full size without.
    void quarterTurnOfAWideCamera_data() {
        QTest::addColumn<QSize>("hint");
        QTest::addColumn<QSize>("preview");
        QTest::addRow("a quarter of the decoded size") << QSize(270, 480) << QSize(270, 480);
        QTest::addRow("between two decoded sizes") << QSize(400, 700) << QSize(394, 700);
        QTest::addRow("wide window") << QSize(1280, 720) << QSize(405, 720);
        QTest::addRow("no hint") << QSize(0, 0) << QSize(1080, 1920);
    }
    void quarterTurnOfAWideCamera() {
        QFETCH(QSize, hint);
        QFETCH(QSize, preview);
        OptigrabSimMode modes[] = {{2, 1920, 1080, {30, 0, 0, 0}}};
        const int id = plugCamera("Wide Cam", "1234", "0018", "W1", modes, 1);
        QVERIFY(id >= 0);
        long count = 0;
        QCOMPARE(camGetDevCount(&count), long(CAM_OK));
        const long wide = count - 1;
        QCOMPARE(camRegCallBackPreviewImage(wide, &FrameRecorder::callback), long(CAM_OK));
        QCOMPARE(camSetImageRotateMode(wide, CAM_ROTATE_270), long(CAM_OK));
        QCOMPARE(camSetPreviewSizeHint(wide, hint.width(), hint.height()), long(CAM_OK));
        QVERIFY(showFreshFrames(wide));
        const QImage shown = lastPreview();
        QCOMPARE(shown.size(), preview);
        if (hint.isEmpty())
            QCOMPARE(still(wide, "wide.jpg").size(), QSize(1080, 1920));
        QCOMPARE(camCloseDev(wide), long(CAM_OK));
        open_ = -1;
        QCOMPARE(optigrabSimUnplug(id), 0);
    }

    void losslessTurnMatchesJpegtran_data() {
        QTest::addColumn<long>("mode");
        QTest::addColumn<QStringList>("jpegtranArguments");
        QTest::addRow("90") << long(CAM_ROTATE_90) << QStringList{"-rotate", "90"};
        QTest::addRow("270") << long(CAM_ROTATE_270) << QStringList{"-rotate", "270"};
        QTest::addRow("mirror") << long(CAM_ROTATE_MIRROR) << QStringList{"-flip", "horizontal"};
        QTest::addRow("mirror 270") << long(CAM_ROTATE_MIRROR | CAM_ROTATE_270) << QStringList{"-transpose"};
    }
    void losslessTurnMatchesJpegtran() {
        QFETCH(long, mode);
        QFETCH(QStringList, jpegtranArguments);
        QCOMPARE(camSetImageRotateMode(aligned_, mode), long(CAM_OK));
        QVERIFY(showFreshFrames(aligned_));
        const QString ours = dir_.filePath("lossless.jpg"), theirs = dir_.filePath("jpegtran.jpg");
        const long result = camCaptureImageFile(aligned_, ours.toUtf8().constData());
        QCOMPARE(camSetImageRotateMode(aligned_, CAM_ROTATE_0), long(CAM_OK));
        QCOMPARE(result, long(CAM_OK));
        QProcess jpegtran;
        jpegtran.start("jpegtran", QStringList{"-copy", "none", "-perfect"} + jpegtranArguments +
                                       QStringList{"-outfile", theirs, dir_.filePath("aligned/page.jpg")});
        QVERIFY(jpegtran.waitForFinished());
        QCOMPARE(jpegtran.exitCode(), 0);
        // Same coefficients decode to the same pixels; a re-encoded picture would differ.
        const QImage a(ours), b(theirs);
        QVERIFY(!a.isNull());
        QCOMPARE(a.size(), b.size());
        QVERIFY(a == b);
    }

    void looksOfAnUnevenlyLitPage_data() {
        QTest::addColumn<long>("look");
        QTest::addColumn<int>("paperAtLeast");      // every paper pixel between the lines
        QTest::addColumn<int>("inkAtMost");         // the middle of every stroke
        QTest::addColumn<double>("darkCornerInk");  // share of dark pixels in the empty dark corner
        QTest::addRow("document") << long(CAM_LOOK_DOCUMENT) << 245 << 80 << 0.0;
        QTest::addRow("black and white") << long(CAM_LOOK_BLACK_WHITE) << 255 << 0 << 0.0;
    }
    void looksOfAnUnevenlyLitPage() {
        QFETCH(long, look);
        QFETCH(int, paperAtLeast);
        QFETCH(int, inkAtMost);
        QFETCH(double, darkCornerInk);
        QCOMPARE(camSetImageColorStyle(page_, look), long(CAM_OK));
        QVERIFY(showFreshFrames(page_));
        const QImage preview = lastPreview();
        const QImage picture = still(page_, "look.jpg");
        QCOMPARE(camSetImageColorStyle(page_, CAM_LOOK_COLOUR), long(CAM_OK));
        for (bool isStill : {false, true}) {
            const QImage& image = isStill ? picture : preview;
            QCOMPARE(image.size(), QSize(640, 480));
            // A JPEG still may blur the levels by a few steps.
            const int slack = isStill ? 6 : 0;
            int paper = 255, ink = 0, cornerInk = 0, cornerPixels = 0;
            for (int y = kTextTop; y + kLinePitch < image.height(); y += kLinePitch)
                for (int x = 0; x < image.width(); ++x) {
                    paper = std::min(paper, qGray(image.pixel(x, y + (kStrokeHeight + kLinePitch) / 2)));
                    if (x > 8 && x < image.width() - 8 && x % kStrokePitch == 1 &&
                        !inDarkCorner(x, y + kStrokeHeight / 2, image.width(), image.height()))
                        ink = std::max(ink, qGray(image.pixel(x, y + kStrokeHeight / 2)));
                }
            for (int y = image.height() * 3 / 4 + 8; y < image.height(); ++y)
                for (int x = image.width() * 3 / 4 + 8; x < image.width(); ++x, ++cornerPixels)
                    cornerInk += qGray(image.pixel(x, y)) < 128;
            QVERIFY2(paper >= paperAtLeast - slack, qPrintable(QString("paper %1").arg(paper)));
            QVERIFY2(ink <= inkAtMost + slack, qPrintable(QString("ink %1").arg(ink)));
            QVERIFY(double(cornerInk) / cornerPixels <= darkCornerInk + 0.002);
        }
    }

    // The simulator's page: a dark title band (a uniform dark area) over lines of text. In black and
    // white the band is black through and through, also zoomed in so far that it fills the local
    // windows; the text is black on white, the margin white.
    void blackAndWhiteOfAPageWithADarkBand_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRectF>("part");  // of the page, shown as the preview
        const QRectF whole(0, 0, 1, 1), topLeft(0, 0, 0.5, 0.5);
        QTest::addRow("640x480") << QSize(640, 480) << whole;
        QTest::addRow("1920x1080") << QSize(1920, 1080) << whole;
        QTest::addRow("640x480 zoomed") << QSize(640, 480) << topLeft;
        QTest::addRow("1920x1080 zoomed") << QSize(1920, 1080) << topLeft;
    }
    void blackAndWhiteOfAPageWithADarkBand() {
        QFETCH(QSize, size);
        QFETCH(QRectF, part);
        OptigrabSimMode modes[] = {{2, size.width(), size.height(), {30, 0, 0, 0}}};
        QVERIFY(plugCamera("Band Cam", "1234", "0019", qPrintable(QString("B%1").arg(size.width())), modes,
                           1) >= 0);
        long count = 0;
        QCOMPARE(camGetDevCount(&count), long(CAM_OK));
        const long dev = count - 1;
        QCOMPARE(camRegCallBackPreviewImage(dev, &FrameRecorder::callback), long(CAM_OK));
        QCOMPARE(camSetImageColorStyle(dev, CAM_LOOK_BLACK_WHITE), long(CAM_OK));
        QCOMPARE(camSetPreviewPart(dev, long(part.x() * 1e6), long(part.y() * 1e6), long(part.width() * 1e6),
                                   long(part.height() * 1e6)),
                 long(CAM_OK));
        QVERIFY(showFreshFrames(dev));
        const QImage preview = lastPreview();
        QCOMPARE(camCloseDev(dev), long(CAM_OK));
        open_ = -1;
        // Share of white pixels in a rectangle of the page, as far as the preview shows it.
        const auto whiteShare = [&](double left, double top, double right, double bottom) {
            const QRectF shown = QRectF(QPointF(left, top), QPointF(right, bottom)) & part;
            const auto onPreview = [&](QPointF p) {
                return QPoint(int((p.x() - part.x()) / part.width() * (preview.width() - 1)),
                              int((p.y() - part.y()) / part.height() * (preview.height() - 1)));
            };
            const QRect area(onPreview(shown.topLeft()), onPreview(shown.bottomRight()));
            int white = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    white += qGray(preview.pixel(x, y)) > 128;
            return double(white) / std::max(1, area.width() * area.height());
        };
        // The band without the frame counter at its right end, the text, the margin left of its rule.
        const double band = whiteShare(0.105, 0.105, 0.80, 0.155), text = whiteShare(0.10, 0.22, 0.90, 0.78),
                     margin = whiteShare(0.01, 0.22, 0.06, 0.78);
        const QString what = QString("white in the band %1, among the text %2, in the margin %3")
                                 .arg(band)
                                 .arg(text)
                                 .arg(margin);
        QVERIFY2(band < 0.002 && text > 0.6 && text < 0.97 && margin > 0.998, qPrintable(what));
    }
};

QTEST_GUILESS_MAIN(PictureTest)
#include "tst_picture.moc"
