// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom and pan of a shown picture as its callers see them: the picture point under the pointer stays
// there, a selection fills the area, wheel notches add up, and the part shown is the part asked for.
#include <QtTest>

#include "liveview/viewport.h"

class TestViewport : public QObject {
    Q_OBJECT

    static Viewport placed(const QRect& area, const QSize& picture, bool fitted) {
        Viewport viewport;
        viewport.setFrame(area, picture, fitted);
        return viewport;
    }

    // Within the rounding of whole view pixels.
    static bool near(const QPoint& a, const QPoint& b) {
        return qAbs(a.x() - b.x()) <= 1 && qAbs(a.y() - b.y()) <= 1;
    }

private slots:
    void zoomKeepsThePointUnderThePointer_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<bool>("fitted");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<double>("asked");
        QTest::addColumn<double>("scale");
        const QRect whole(0, 0, 800, 600), half(0, 0, 400, 600);
        QTest::newRow("centre, 2x") << whole << false << QPoint(400, 300) << 2.0 << 2.0;
        QTest::newRow("near a corner, 3x") << whole << false << QPoint(90, 40) << 3.0 << 3.0;
        QTest::newRow("fitted into a half") << half << true << QPoint(300, 250) << 2.5 << 2.5;
        QTest::newRow("beyond the largest") << whole << false << QPoint(600, 100) << 20.0 << 8.0;
        QTest::newRow("below the whole picture") << half << true << QPoint(100, 100) << 0.5 << 1.0;
    }

    void zoomKeepsThePointUnderThePointer() {
        QFETCH(QRect, area);
        QFETCH(bool, fitted);
        QFETCH(QPoint, at);
        QFETCH(double, asked);
        QFETCH(double, scale);
        Viewport viewport = placed(area, QSize(800, 600), fitted);
        viewport.panBy(QPoint(7, -5));
        const QPoint before = viewport.toPicture(at);
        viewport.zoomAbout(at, asked);
        QCOMPARE(viewport.scale(), scale);
        if (viewport.zoomed()) {
            QVERIFY(near(viewport.toPicture(at), before));
            QVERIFY(viewport.toView(QRect(before, QSize(1, 1))).contains(at));
        } else {
            // The whole picture again, centred.
            QCOMPARE(viewport.pictureOnView().center(), QRectF(area).center());
        }
    }

    void selectionFillsTheArea_data() {
        QTest::addColumn<QRect>("selection");
        QTest::addColumn<double>("scale");
        QTest::newRow("a quarter") << QRect(100, 100, 400, 300) << 2.0;
        QTest::newRow("tall: its height fills") << QRect(600, 0, 100, 150) << 4.0;
        QTest::newRow("tiny: the largest zoom") << QRect(10, 10, 20, 20) << 8.0;
    }

    void selectionFillsTheArea() {
        QFETCH(QRect, selection);
        QFETCH(double, scale);
        Viewport viewport = placed(QRect(0, 0, 800, 600), QSize(800, 600), false);
        const QPoint centre = viewport.toPicture(selection.center());
        viewport.zoomToRect(selection);
        QCOMPARE(viewport.scale(), scale);
        QVERIFY(near(viewport.toPicture(QPoint(400, 300)), centre));
    }

    void wheelNotchesAddUp_data() {
        QTest::addColumn<QVector<int>>("deltas");
        QTest::addColumn<double>("scale");
        QTest::newRow("one notch") << QVector<int>{120} << 1.25;
        QTest::newRow("two halves") << QVector<int>{60, 60} << 1.25;
        QTest::newRow("half a notch") << QVector<int>{60} << 1.0;
        QTest::newRow("in and out") << QVector<int>{120, 120, -120} << 1.25;
        QTest::newRow("out of the whole picture") << QVector<int>{-240} << 1.0;
    }

    void wheelNotchesAddUp() {
        QFETCH(QVector<int>, deltas);
        QFETCH(double, scale);
        Viewport viewport = placed(QRect(0, 0, 800, 600), QSize(800, 600), false);
        for (int delta : deltas)
            viewport.wheel(QPointF(400, 300), delta);
        QCOMPARE(viewport.scale(), scale);
    }

    void visiblePartFollowsZoomAndPan_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPoint>("pan");
        QTest::addColumn<QRectF>("part");
        QTest::newRow("whole") << 1.0 << QPoint() << QRectF(0, 0, 1, 1);
        QTest::newRow("2x about the centre") << 2.0 << QPoint() << QRectF(0.25, 0.25, 0.5, 0.5);
        QTest::newRow("2x, panned to the left edge") << 2.0 << QPoint(400, 0) << QRectF(0, 0.25, 0.5, 0.5);
        QTest::newRow("4x, panned past the left edge")
            << 4.0 << QPoint(1400, 0) << QRectF(0, 0.375, 0.1875, 0.25);
    }

    void visiblePartFollowsZoomAndPan() {
        QFETCH(double, scale);
        QFETCH(QPoint, pan);
        QFETCH(QRectF, part);
        Viewport viewport = placed(QRect(0, 0, 800, 600), QSize(800, 600), false);
        viewport.zoomAbout(QPointF(400, 300), scale);
        viewport.panBy(pan);
        const QRectF shown = viewport.visiblePart();
        QVERIFY2(
            qAbs(shown.x() - part.x()) < 0.01 && qAbs(shown.y() - part.y()) < 0.01 &&
                qAbs(shown.width() - part.width()) < 0.01 && qAbs(shown.height() - part.height()) < 0.01,
            qPrintable(
                QString("%1 %2 %3 %4").arg(shown.x()).arg(shown.y()).arg(shown.width()).arg(shown.height())));
    }
};

QTEST_GUILESS_MAIN(TestViewport)
#include "tst_viewport.moc"
