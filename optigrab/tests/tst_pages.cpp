// SPDX-License-Identifier: GPL-3.0-or-later
// Pages in pictures: corners of a page under a known perspective, straightened text lines, no page
// where none lies whole, spreads against single pages, automatic capture over a scripted sequence,
// and the photographs of real pages on desks.
#include <QtTest>

#include <QImage>

#include <vector>

#include "handmarked.h"
#include "imaging/autocapture.h"
#include "imaging/booksplitter.h"
#include "imaging/pagefinder.h"
#include "imaging/pagestraightener.h"
#include "synthpage.h"

using optigrab::Quad;
using Corners = std::array<cv::Point2f, 4>;
Q_DECLARE_METATYPE(Corners)
Q_DECLARE_METATYPE(synth::Desk)

namespace {

const int kWidth = 1280, kHeight = 720;

Corners turned(cv::Point2f centre, float width, float height, float degrees) {
    cv::Point2f corners[4];
    cv::RotatedRect(centre, cv::Size2f(width, height), degrees).points(corners);
    std::array<cv::Point2f, 4> c{corners[0], corners[1], corners[2], corners[3]};
    return optigrab::PageFinder::ordered(c);
}

// A page of width x height (picture pixels at its centre) tilted away from the camera about its
// horizontal axis and turned in the picture, seen by a camera of focal length 1000 px centred on the
// picture.
Corners tilted(cv::Point2f centre, float width, float height, double tiltDegrees, double turnDegrees) {
    const double f = 1000, distance = 1000, tilt = tiltDegrees * CV_PI / 180,
                 turn = turnDegrees * CV_PI / 180;
    std::array<cv::Point2f, 4> c;
    const double xs[4] = {-0.5, 0.5, 0.5, -0.5}, ys[4] = {-0.5, -0.5, 0.5, 0.5};
    for (int i = 0; i < 4; ++i) {
        const double x0 = xs[i] * width, y0 = ys[i] * height;
        const double x = x0 * std::cos(turn) - y0 * std::sin(turn),
                     y = x0 * std::sin(turn) + y0 * std::cos(turn);
        const double depth = distance + y * std::sin(tilt);
        c[i] = cv::Point2f(float(kWidth / 2.0 + f * x / depth),
                           float(kHeight / 2.0 + f * y * std::cos(tilt) / depth));
        c[i] += centre - cv::Point2f(kWidth / 2.0f, kHeight / 2.0f);
    }
    return c;
}

cv::Mat grey(const cv::Mat& rgb) {
    double scale = 1;
    return optigrab::PageFinder::reduce(rgb.data, rgb.cols, rgb.rows, optigrab::PageFinder::kMaxWidth,
                                        &scale);
}

// Angle in degrees of the page's heading rule, from the height of its ink in a left and a right band.
double headingAngle(const cv::Mat& page) {
    cv::Mat g;
    cv::cvtColor(page, g, cv::COLOR_RGB2GRAY);
    auto inkRow = [&](double from, double to) {
        double sum = 0, count = 0;
        for (int y = page.rows / 40; y < page.rows / 7; ++y)
            for (int x = int(from * page.cols); x < int(to * page.cols); ++x)
                if (g.at<uchar>(y, x) < 100) {
                    sum += y;
                    ++count;
                }
        return count > 0 ? sum / count : -1000.0;
    };
    const double dx = 0.55 * page.cols;
    return std::atan2(inkRow(0.7, 0.85) - inkRow(0.15, 0.3), dx) * 180.0 / CV_PI;
}

// One page of a scripted sequence: a page (or the empty desk, seed 0) at a small offset.
cv::Mat scene(unsigned seed, int shift) {
    cv::Mat desk = synth::desk(640, 360, synth::Desk::Dark);
    if (seed == 0)
        return grey(desk);
    return grey(synth::onDesk(synth::page(425, 550, seed), desk, turned({320.0f + shift, 180}, 200, 260, 5)));
}

}  // namespace

class PagesTest : public QObject {
    Q_OBJECT

private slots:
    void pageIsFoundAndStraightened_data() {
        QTest::addColumn<synth::Desk>("desk");
        QTest::addColumn<Corners>("corners");
        QTest::addRow("dark desk, turned 8 degrees") << synth::Desk::Dark << turned({640, 360}, 420, 560, 8);
        QTest::addRow("dark desk, tilted 30 degrees")
            << synth::Desk::Dark << tilted({640, 360}, 425, 550, 30, 0);
        QTest::addRow("wood desk, turned -12 degrees")
            << synth::Desk::Wood << turned({600, 350}, 400, 540, -12);
        QTest::addRow("wood desk, tilted 35 and turned 10 degrees")
            << synth::Desk::Wood << tilted({640, 360}, 425, 550, 35, 10);
    }
    void pageIsFoundAndStraightened() {
        QFETCH(synth::Desk, desk);
        QFETCH(Corners, corners);
        const cv::Mat picture =
            synth::onDesk(synth::page(850, 1100, 1), synth::desk(kWidth, kHeight, desk), corners);
        double scale = 1;
        const cv::Mat g = optigrab::PageFinder::reduce(picture.data, kWidth, kHeight, 640, &scale);
        Quad found;
        QVERIFY(optigrab::PageFinder::find(g, &found));
        const double diagonal = std::hypot(kWidth, kHeight);
        for (int i = 0; i < 4; ++i) {
            found[i] *= float(scale);
            const double error = cv::norm(found[i] - corners[i]);
            QVERIFY2(error < 0.01 * diagonal,
                     qPrintable(QString("corner %1 off by %2 px").arg(i).arg(error)));
        }
        const cv::Mat page = optigrab::PageStraightener::straighten(picture, found);
        QVERIFY(std::abs(headingAngle(page)) < 0.5);
        QVERIFY(std::abs(double(page.cols) / page.rows - 850.0 / 1100.0) < 0.06);
    }

    void residualSkewIsLevelled_data() {
        QTest::addColumn<double>("degrees");
        QTest::addRow("3 degrees down to the right") << 3.0;
        QTest::addRow("1.5 degrees up to the right") << -1.5;
        QTest::addRow("level") << 0.0;
    }
    void residualSkewIsLevelled() {
        QFETCH(double, degrees);
        cv::Mat page = synth::page(850, 1100, 2), skewed;
        // Turned clockwise on screen by degrees, as a page lying slightly askew.
        cv::warpAffine(page, skewed, cv::getRotationMatrix2D({425, 550}, -degrees, 1.0), page.size(),
                       cv::INTER_LINEAR, cv::BORDER_REPLICATE);
        const double skew = optigrab::PageStraightener::residualSkew(skewed);
        QVERIFY2(std::abs(skew - degrees) < 0.3, qPrintable(QString::number(skew)));
        QVERIFY(std::abs(headingAngle(optigrab::PageStraightener::levelled(skewed, skew))) < 0.5);
    }

    void noPageWhereNoneLiesWhole_data() {
        QTest::addColumn<synth::Desk>("desk");
        QTest::addColumn<Corners>("corners");  // all zero: the empty desk
        QTest::addRow("page cut by the left edge") << synth::Desk::Dark << turned({150, 360}, 420, 560, 4);
        QTest::addRow("page cut by the bottom edge") << synth::Desk::Wood << turned({640, 600}, 420, 560, -6);
        QTest::addRow("a white strip, not a page") << synth::Desk::Dark << turned({640, 360}, 1000, 130, 2);
        QTest::addRow("empty dark desk") << synth::Desk::Dark << Corners{};
        QTest::addRow("empty wood desk") << synth::Desk::Wood << Corners{};
    }
    void noPageWhereNoneLiesWhole() {
        QFETCH(synth::Desk, desk);
        QFETCH(Corners, corners);
        cv::Mat picture = synth::desk(kWidth, kHeight, desk);
        if (corners[2].x > 0)
            picture = synth::onDesk(synth::page(850, 1100, 1), picture, corners);
        Quad found;
        QVERIFY(!optigrab::PageFinder::find(grey(picture), &found));
    }

    void spreadIsToldFromSinglePage_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("gutter");  // in the full picture; -1: a single page
        QTest::addRow("spread on a dark desk") << "spread dark" << 640;
        QTest::addRow("spread on wood, gutter left of the middle") << "spread wood" << 560;
        QTest::addRow("single page, dark desk") << "page dark" << -1;
        QTest::addRow("single page, wood desk") << "page wood" << -1;
        QTest::addRow("single page ruled down the middle, dark desk") << "ruled page dark" << -1;
    }
    void spreadIsToldFromSinglePage() {
        QFETCH(QString, picture);
        QFETCH(int, gutter);
        const synth::Desk desk = picture.endsWith("wood") ? synth::Desk::Wood : synth::Desk::Dark;
        cv::Mat page = synth::page(850, 1100, 5);
        if (picture.startsWith("ruled"))
            cv::line(page, {425, 0}, {425, 1100}, cv::Scalar(0, 0, 0), 4);
        const cv::Mat rgb =
            picture.startsWith("spread")
                ? synth::spread(kWidth, kHeight, gutter, desk)
                : synth::onDesk(page, synth::desk(kWidth, kHeight, desk), turned({640, 360}, 480, 620, 3));
        const int found = optigrab::BookSplitter::gutter(grey(rgb));
        if (gutter < 0) {
            QCOMPARE(found, -1);
        } else {
            QVERIFY2(std::abs(found * 2 - gutter) <= 0.02 * kWidth, qPrintable(QString::number(found * 2)));
        }
    }

    // still page A, a hand, page B, a hand, page B put back, a hand, page C, the page taken away.
    void autoCaptureTakesEachNewPageOnce() {
        struct Step {
            unsigned seed;  // 0: the empty desk
            int shift;
            bool captureExpected;
        };
        const std::vector<Step> steps = {
            {1, 0, true}, {2, 0, true}, {2, 4, false}, {3, 0, true}, {0, 0, false}};
        optigrab::AutoCapture machine(1000, true);
        long long now = 0;
        for (std::size_t s = 0; s < steps.size(); ++s) {
            const cv::Mat still = scene(steps[s].seed, steps[s].shift);
            Quad page;
            const bool pageFound = optigrab::PageFinder::find(still, &page);
            QCOMPARE(pageFound, steps[s].seed != 0);
            const QByteArray step = QByteArray::number(int(s));
            int captures = 0;
            long long capturedAfter = -1;
            for (int frame = 0; frame < 60; ++frame, now += 33) {  // two seconds lying still
                if (machine.feed(still, now, pageFound ? &page : nullptr)) {
                    ++captures;
                    capturedAfter = frame * 33;
                }
            }
            QVERIFY2(captures == (steps[s].captureExpected ? 1 : 0), step.constData());
            if (captures)
                QVERIFY2(capturedAfter >= 1000 && capturedAfter <= 1200,
                         qPrintable(QString::number(capturedAfter)));
            QCOMPARE(machine.state(),
                     captures ? optigrab::AutoCapture::Captured : optigrab::AutoCapture::Waiting);
            // A hand sweeping across: every frame differs from the one before.
            for (int frame = 0; frame < 15; ++frame, now += 33) {
                cv::Mat hand = still.clone();
                cv::ellipse(hand, {40 * frame, 200}, {90, 60}, 20, 0, 360, cv::Scalar(150), cv::FILLED);
                QVERIFY(!machine.feed(hand, now, nullptr));
            }
            QCOMPARE(machine.state(), optigrab::AutoCapture::Moving);
        }
    }

    // Every page lies wholly in its photograph; the outline found must match the one marked by hand.
    void photographsOfPages_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("page");
        QTest::addColumn<bool>("spread");
        QTest::addRow("spread on a dark mat") << "notebook-spread-top-dark-mat.jpg" << true << true;
        QTest::addRow("turned page on a dark mat") << "notebook-rotated-dark-mat.jpg" << true << false;
        QTest::addRow("page at an angle on a cluttered desk")
            << "notebook-angle-wood-desk-mug.jpg" << true << false;
        // Its outline is too faint and broken to close: no crop rather than a wrong one.
        QTest::addRow("receipt on a white desk")
            << "receipt-on-white-desk-low-contrast.jpg" << false << false;
        QTest::addRow("sheet on a patterned rug") << "sheet-on-patterned-rug.jpg" << true << false;
    }
    void photographsOfPages() {
        QFETCH(QString, file);
        QFETCH(bool, page);
        QFETCH(bool, spread);
        QImage image(QStringLiteral(PAGES_DIR "/") + file);
        QVERIFY(!image.isNull());
        image = image.convertToFormat(QImage::Format_RGB888);
        // Packed rows, as reduce expects.
        const cv::Mat rgb =
            cv::Mat(image.height(), image.width(), CV_8UC3, image.bits(), size_t(image.bytesPerLine()))
                .clone();
        double scale = 1;
        const cv::Mat g = optigrab::PageFinder::reduce(rgb.data, rgb.cols, rgb.rows,
                                                       optigrab::PageFinder::kMaxWidth, &scale);
        Quad found, marked;
        QVERIFY(handmarked::outline(PAGES_DIR, file, &marked));
        const bool pageFound = optigrab::PageFinder::find(g, &found);
        QCOMPARE(pageFound, page);
        for (cv::Point2f& corner : found)
            corner *= float(scale);
        const double overlap = pageFound ? optigrab::PageFinder::overlap(found, marked) : 1.0;
        QVERIFY2(overlap >= 0.95, qPrintable(QString("intersection over union %1").arg(overlap)));
        QCOMPARE(optigrab::BookSplitter::gutter(g) >= 0, spread);
    }
};

QTEST_GUILESS_MAIN(PagesTest)
#include "tst_pages.moc"
