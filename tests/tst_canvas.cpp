// SPDX-License-Identifier: GPL-3.0-or-later
// The annotation canvas of the main view: strokes, ink, erasing, clearing, panning, undo and redo,
// checked on the pixels the view paints over a white picture.
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "liveview/videowidget.h"
#include "optigrab_sim.h"
#include "settings/readxml.h"
#include "testenvironment.h"
#include "toolbars/toolswidget.h"
#include "viewdriver.h"

namespace {

enum DrawingTool { Pen, Highlighter, Eraser };

// How opaque the ink of one saturated colour is at a pixel painted over white: 0 none, 255 opaque.
int inkAlpha(const QImage& painted, const QPoint& at) {
    const QRgb pixel = painted.pixel(at);
    return 255 - qMin(qRed(pixel), qMin(qGreen(pixel), qBlue(pixel)));
}

// Sum of the ink's opacity over one column, in whole opaque pixels: the width a horizontal line
// covers there, partly covered pixels counted by their share.
double inkAcross(const QImage& painted, int x, int fromY, int toY) {
    double sum = 0;
    for (int y = fromY; y <= toY; ++y)
        sum += inkAlpha(painted, {x, y});
    return sum / 255.0;
}

int inkedPixels(const QImage& painted) {
    int count = 0;
    for (int y = 0; y < painted.height(); ++y)
        for (int x = 0; x < painted.width(); ++x)
            if (inkAlpha(painted, {x, y}) != 0)
                ++count;
    return count;
}

// The highlighter's ink is 50 of 255 opaque; blending over the picture may round by one.
bool highlighted(const QImage& painted, const QPoint& at) {
    return qAbs(inkAlpha(painted, at) - 50) <= 1;
}

}  // namespace

class TestCanvas : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;

    // A view showing a white picture of its own size, as after the first camera frame.
    static void showPicture(VideoWidget& view, const QSize& size) {
        QImage white(size, QImage::Format_RGB888);
        white.fill(Qt::white);
        viewdriver::showPicture(view, white);
        QCOMPARE(layer(view).pixelColor(size.width() - 1, size.height() - 1), QColor(Qt::white));
    }

    static void mouse(VideoWidget& view, QEvent::Type type, const QPoint& pos) {
        viewdriver::mouse(view, type, pos);
    }

    static void stroke(VideoWidget& view, const QVector<QPoint>& path) { viewdriver::stroke(view, path); }

    static QAbstractButton* barButton(VideoWidget& view, const char* name) {
        return view.findChild<ToolsWidget*>()->findChild<QAbstractButton*>(name);
    }

    // The picture with the ink over it as the view paints them, without the bars and the other
    // children: what a capture or a recording holds.
    static QImage layer(VideoWidget& view) { return viewdriver::painted(view); }

    // Whether a camera frame passes to the GUI thread now (it does not while the picture is frozen).
    static bool framePasses(VideoWidget& view) {
        QSignalSpy delivered(&view, &VideoWidget::imageReady);
        QImage frame(view.size(), QImage::Format_RGB888);
        frame.fill(Qt::white);
        view.drawQImage(0, &frame, frame.width(), frame.height());
        QCoreApplication::processEvents();  // the view takes it: the next one is told again
        return delivered.count() == 1;
    }

    // The bar's Undo button, which the view enables while there is a step to undo.
    static bool undoEnabled(VideoWidget& view) { return barButton(view, "toolButton_black")->isEnabled(); }

    static void selectTool(VideoWidget& view, DrawingTool tool, int size, QColor color = Qt::red) {
        if (tool == Eraser) {
            QMetaObject::invokeMethod(&view, "handleEraseMode", Q_ARG(int, 1), Q_ARG(int, size));
        } else {
            view.updateToolSettings(tool == Pen ? 0 : 1, color, size);
            QMetaObject::invokeMethod(&view, "switchToDrawingMode");
        }
    }

private slots:
    void initTestCase() {
        qputenv("HOME", m_home.path().toUtf8());
        optigrabSimUnplugAll();  // no camera: the view shows only the pictures the tests give it
        QDir().mkpath(QCoreApplication::applicationDirPath() + "/Configuration");
        ReadXML::instance()->language = "en";
    }

    void shortMovesDrawNothing_data() {
        QTest::addColumn<QVector<QPoint>>("path");
        QTest::newRow("click without movement") << QVector<QPoint>{{100, 100}, {100, 100}};
        QTest::newRow("moves adding up to 3 pixels") << QVector<QPoint>{{10, 10}, {12, 11}, {11, 11}};
        QTest::newRow("stroke starting at the layer's origin") << QVector<QPoint>{{0, 0}, {40, 40}, {80, 20}};
    }

    void shortMovesDrawNothing() {
        QFETCH(QVector<QPoint>, path);
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        selectTool(view, Pen, 5);
        stroke(view, path);
        QCOMPARE(inkedPixels(layer(view)), 0);
        QVERIFY(!undoEnabled(view));
    }

    void segmentsWaitForFourPixels() {
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        selectTool(view, Pen, 1);
        mouse(view, QEvent::MouseButtonPress, {10, 10});
        mouse(view, QEvent::MouseMove, {12, 11});
        QCOMPARE(inkedPixels(layer(view)), 0);
        mouse(view, QEvent::MouseMove, {13, 12});
        const QImage drawn = layer(view);
        // One segment from (10, 10) to (13, 12): both ends and the middle carry ink, (12, 11) did
        // not become a corner.
        QVERIFY(inkAlpha(drawn, {10, 10}) > 0);
        QVERIFY(inkAlpha(drawn, {13, 12}) > 0);
        QVERIFY(inkAlpha(drawn, {11, 11}) > 0);
        QCOMPARE(inkAlpha(drawn, {13, 10}), 0);
        mouse(view, QEvent::MouseButtonRelease, {13, 12});
        // The next stroke starts afresh: nothing joins it to the end of the last one.
        stroke(view, {{100, 40}, {100, 60}});
        QCOMPARE(inkAlpha(layer(view), {56, 26}), 0);
        QVERIFY(inkAlpha(layer(view), {100, 50}) > 0);
    }

    void inkWidthAndAlpha_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("centreAlpha");
        QTest::newRow("pen 5") << int(Pen) << 5 << 5.0 << 255;
        QTest::newRow("pen 30") << int(Pen) << 30 << 30.0 << 255;
        QTest::newRow("highlighter 5: 15 wide at alpha 50") << int(Highlighter) << 5 << 15.0 << 50;
        QTest::newRow("eraser 3: a band 30 wide") << int(Eraser) << 3 << 30.0 << 0;
    }

    void inkWidthAndAlpha() {
        QFETCH(int, tool);
        QFETCH(int, size);
        QFETCH(double, width);
        QFETCH(int, centreAlpha);
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        if (tool == Eraser) {
            selectTool(view, Pen, 60, Qt::blue);  // something to erase
            stroke(view, {{50, 200}, {590, 200}});
        }
        selectTool(view, DrawingTool(tool), size, Qt::red);
        stroke(view, {{100, 200}, {300, 200}, {500, 200}});
        const QImage drawn = layer(view);
        const double across = inkAcross(drawn, 200, 140, 260);
        if (tool == Eraser) {
            QVERIFY2(qAbs((60.0 - across) - width) <= 1.0, qPrintable(QString::number(60.0 - across)));
        } else {
            // Alpha 50 of 255 per pixel: the band's width is the sum divided by that share.
            const double measured = across * 255.0 / centreAlpha;
            QVERIFY2(qAbs(measured - width) <= 1.0, qPrintable(QString::number(measured)));
            QCOMPARE(drawn.pixelColor(200, 200).red(), 255);
        }
        QVERIFY2(qAbs(inkAlpha(drawn, {200, 200}) - centreAlpha) <= 1,
                 qPrintable(QString::number(inkAlpha(drawn, {200, 200}))));
    }

    // One highlighter stroke is one even band, however its segments meet: on the layer (what a
    // capture holds), on screen, and again after undo and redo. A second stroke over it is darker.
    void highlighterStrokeIsOneBand_data() {
        QTest::addColumn<QVector<QVector<QPoint>>>("strokes");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("darker");
        using Strokes = QVector<QVector<QPoint>>;
        QTest::newRow("fast: joints of long segments")
            << Strokes{{{100, 100}, {160, 100}, {220, 100}, {280, 100}}} << QPoint(160, 100) << false;
        QTest::newRow("turning back over itself")
            << Strokes{{{100, 100}, {300, 100}, {200, 100}}} << QPoint(250, 100) << false;
        QTest::newRow("crossing itself")
            << Strokes{{{100, 100}, {300, 300}, {300, 100}, {100, 300}}} << QPoint(200, 200) << false;
        QTest::newRow("a second stroke")
            << Strokes{{{100, 100}, {300, 100}}, {{200, 50}, {200, 150}}} << QPoint(200, 100) << true;
    }

    void highlighterStrokeIsOneBand() {
        QFETCH(QVector<QVector<QPoint>>, strokes);
        QFETCH(QPoint, at);
        QFETCH(bool, darker);
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        selectTool(view, Highlighter, 5, Qt::blue);
        QImage before;
        for (const QVector<QPoint>& path : strokes) {
            before = layer(view);
            stroke(view, path);
        }
        // A point on the first segment that nothing else covers.
        const QPoint alone = strokes.first()[0] + (strokes.first()[1] - strokes.first()[0]) / 4;
        const QImage drawn = layer(view);
        QVERIFY(highlighted(drawn, alone));
        QCOMPARE(inkAlpha(drawn, at) > 51, darker);
        QCOMPARE(drawn.pixel(at) != drawn.pixel(alone), darker);
        QMetaObject::invokeMethod(&view, "undoDrawing");
        QVERIFY(layer(view) == before);
        QMetaObject::invokeMethod(&view, "redoDrawing");
        QVERIFY(layer(view) == drawn);
    }

    void toolChangeMidStrokeAppliesToLaterSegments() {
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        selectTool(view, Pen, 5);
        mouse(view, QEvent::MouseButtonPress, {100, 100});
        mouse(view, QEvent::MouseMove, {200, 100});
        view.updateToolSettings(1, Qt::red, 5);
        mouse(view, QEvent::MouseMove, {300, 100});
        mouse(view, QEvent::MouseButtonRelease, {300, 100});
        QCOMPARE(inkAlpha(layer(view), {150, 100}), 255);
        QVERIFY(highlighted(layer(view), {250, 100}));
        // Still one stroke: one undo takes all of it.
        QMetaObject::invokeMethod(&view, "undoDrawing");
        QCOMPARE(inkedPixels(layer(view)), 0);
        QVERIFY(!undoEnabled(view));
    }

    void eraserCursorAndClearAll() {
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        selectTool(view, Pen, 8);
        stroke(view, {{100, 100}, {400, 300}});
        QVERIFY(inkedPixels(layer(view)) > 0);

        QMetaObject::invokeMethod(&view, "handleEraseMode", Q_ARG(int, 1), Q_ARG(int, 3));
        const QCursor eraser = view.cursor();
        QCOMPARE(eraser.pixmap().size(), QSize(30, 30));
        QCOMPARE(eraser.hotSpot(), QPoint(15, 15));
        QVERIFY(inkedPixels(eraser.pixmap().toImage()) > 0);

        QMetaObject::invokeMethod(&view, "handleEraseMode", Q_ARG(int, 2), Q_ARG(int, 3));
        QCOMPARE(inkedPixels(layer(view)), 0);
        QCOMPARE(view.cursor().pixmap().cacheKey(), eraser.pixmap().cacheKey());
        // Still erasing: a stroke now takes nothing away and adds nothing.
        stroke(view, {{100, 100}, {400, 300}});
        QCOMPARE(inkedPixels(layer(view)), 0);
    }

    void panningMovesWhereStrokesLand() {
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        QMetaObject::invokeMethod(&view, "switchToMovingMode");
        QCOMPARE(view.cursor().shape(), Qt::OpenHandCursor);
        mouse(view, QEvent::MouseButtonPress, {300, 300});
        QCOMPARE(view.cursor().shape(), Qt::ClosedHandCursor);
        mouse(view, QEvent::MouseMove, {340, 300});
        mouse(view, QEvent::MouseMove, {400, 300});
        mouse(view, QEvent::MouseButtonRelease, {400, 300});
        // The picture moved 100 pixels to the right: a black band on its left.
        QCOMPARE(layer(view).pixelColor(99, 300), QColor(Qt::black));
        QCOMPARE(layer(view).pixelColor(100, 300), QColor(Qt::white));

        selectTool(view, Pen, 6);
        stroke(view, {{150, 50}, {150, 90}});
        // On screen the stroke sits under the pointer, the picture's left band is black.
        const QImage shot = layer(view);
        QCOMPARE(shot.pixelColor(150, 70), QColor(Qt::red));
        QCOMPARE(shot.pixelColor(50, 70), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(250, 70), QColor(Qt::white));
        // Back at the picture's place the stroke was drawn 100 pixels left of where it showed.
        QMetaObject::invokeMethod(&view, "resetZoom");
        QCOMPARE(inkAlpha(layer(view), {50, 70}), 255);
        QCOMPARE(inkAlpha(layer(view), {150, 70}), 0);

        // A press in the black band is outside the picture and starts nothing.
        QMetaObject::invokeMethod(&view, "switchToMovingMode");
        stroke(view, {{300, 300}, {400, 300}});
        selectTool(view, Pen, 6);
        stroke(view, {{50, 200}, {150, 200}});
        QMetaObject::invokeMethod(&view, "resetZoom");
        QCOMPARE(inkAlpha(layer(view), {50, 200}), 0);
    }

    void screenShowsEveryStroke() {
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        selectTool(view, Pen, 4);
        // Strokes crossing tile borders; one is erased along its whole length, which empties its
        // own tiles, and the erasing is undone, which fills them again.
        stroke(view, {{10, 10}, {630, 470}});
        stroke(view, {{600, 20}, {20, 460}});
        stroke(view, {{20, 400}, {620, 400}});
        selectTool(view, Eraser, 3);
        stroke(view, {{5, 400}, {635, 400}});
        QCOMPARE(inkAlpha(layer(view), {100, 400}), 0);
        QMetaObject::invokeMethod(&view, "undoDrawing");
        QCOMPARE(inkAlpha(layer(view), {100, 400}), 255);
        // Every stroke shows whole on the screen, under the bars and the other children.
        const QImage drawn = layer(view);
        const QImage shot = view.grab().toImage();
        for (int y = 0; y < 480; y += 3)
            for (int x = 0; x < 800; x += 3) {
                if (view.childAt(x, y) != nullptr)
                    continue;  // the corner icon, the tool bar
                QVERIFY2(shot.pixel(x, y) == drawn.pixel(x, y),
                         qPrintable(QString("at %1,%2").arg(x).arg(y)));
            }
    }

    void undoAndRedoRestoreExactPixels() {
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        QVector<QImage> states{layer(view)};
        selectTool(view, Pen, 7, Qt::green);
        stroke(view, {{50, 50}, {300, 200}, {600, 60}});
        states << layer(view);
        selectTool(view, Highlighter, 12, Qt::yellow);
        stroke(view, {{40, 400}, {600, 100}});
        states << layer(view);
        selectTool(view, Eraser, 4);
        stroke(view, {{200, 10}, {220, 470}});
        states << layer(view);
        QMetaObject::invokeMethod(&view, "handleEraseMode", Q_ARG(int, 2), Q_ARG(int, 4));
        states << layer(view);

        for (int i = states.size() - 2; i >= 0; --i) {
            QMetaObject::invokeMethod(&view, "undoDrawing");
            QVERIFY2(layer(view) == states[i], qPrintable(QString("undo to state %1").arg(i)));
        }
        QVERIFY(!undoEnabled(view));
        QMetaObject::invokeMethod(&view, "undoDrawing");  // nothing left: no change
        QVERIFY(layer(view) == states[0]);
        for (int i = 1; i < states.size(); ++i) {
            QMetaObject::invokeMethod(&view, "redoDrawing");
            QVERIFY2(layer(view) == states[i], qPrintable(QString("redo to state %1").arg(i)));
        }

        // A new stroke after undoing leaves nothing to redo.
        QMetaObject::invokeMethod(&view, "undoDrawing");
        QMetaObject::invokeMethod(&view, "undoDrawing");
        selectTool(view, Pen, 3);
        stroke(view, {{10, 300}, {100, 300}});
        const QImage afterNew = layer(view);
        QMetaObject::invokeMethod(&view, "redoDrawing");
        QVERIFY(layer(view) == afterNew);
    }

    void shortcutsUndoAndRedo() {
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        selectTool(view, Pen, 5);
        stroke(view, {{50, 50}, {300, 300}});
        const QImage drawn = layer(view);
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(inkedPixels(layer(view)), 0);
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(layer(view) == drawn);
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(layer(view) == drawn);
    }

    void newLayerStartsWithoutHistory() {
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        selectTool(view, Pen, 5);
        stroke(view, {{50, 50}, {300, 300}});
        QMetaObject::invokeMethod(&view, "clearDrawing");
        QVERIFY(undoEnabled(view));
        // The window changes size (a projector's new resolution): the next frame brings a new layer.
        showPicture(view, QSize(800, 600));
        QCOMPARE(inkedPixels(layer(view)), 0);
        // Undoing the Clear All now would bring back strokes of another layer.
        QVERIFY(!undoEnabled(view));
        QMetaObject::invokeMethod(&view, "undoDrawing");
        QCOMPARE(inkedPixels(layer(view)), 0);
        // A frame of the same size keeps the strokes and their history.
        stroke(view, {{50, 50}, {300, 300}});
        showPicture(view, QSize(800, 600));
        QVERIFY(inkedPixels(layer(view)) > 0);
        QMetaObject::invokeMethod(&view, "undoDrawing");
        QCOMPARE(inkedPixels(layer(view)), 0);
        QVERIFY(!undoEnabled(view));
    }

    void bottomBarDrivesTheCanvas() {
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        ToolsWidget* bar = view.findChild<ToolsWidget*>();

        barButton(view, "toolButton_drag")->click();
        QCOMPARE(view.cursor().shape(), Qt::OpenHandCursor);
        stroke(view, {{300, 300}, {330, 310}});
        // Moved 30 right and 10 down: black bands on the left and at the top.
        QCOMPARE(layer(view).pixelColor(29, 200), QColor(Qt::black));
        QCOMPARE(layer(view).pixelColor(200, 9), QColor(Qt::black));
        QCOMPARE(layer(view).pixelColor(30, 10), QColor(Qt::white));
        QMetaObject::invokeMethod(&view, "resetZoom");

        barButton(view, "toolButton_pen")->click();  // also opens the pen popup
        QCOMPARE(view.cursor().shape(), Qt::CrossCursor);
        // The pen popup's choice, as the bar relays it.
        emit bar->toolChanged(1, Qt::blue, 6);
        stroke(view, {{100, 100}, {300, 100}});
        QVERIFY(highlighted(layer(view), {200, 100}));
        QCOMPARE(layer(view).pixelColor(200, 100).blue(), 255);
        QVERIFY(qAbs(inkAcross(layer(view), 200, 60, 140) * 255 / 50 - 16.0) <= 1.0);

        // The eraser popup reports its starting choice on the next pass of the event loop.
        barButton(view, "toolButton_eraser")->click();
        QTRY_COMPARE(view.cursor().pixmap().size(), QSize(50, 50));
        emit bar->switchToEraseMode(2, 5);  // Clear All
        QCOMPARE(inkedPixels(layer(view)), 0);
        QCOMPARE(view.cursor().pixmap().size(), QSize(50, 50));

        QAbstractButton* freeze = barButton(view, "toolButton_freeze");
        freeze->click();
        QVERIFY(!framePasses(view));
        freeze->click();
        QVERIFY(framePasses(view));
    }

    void spaceFreezesUnlessAControlUsesIt_data() {
        QTest::addColumn<QString>("focused");  // a bar button's name; "" leaves the focus as at start
        QTest::newRow("picture") << "";
        QTest::newRow("Capture button") << "toolButton_capture";
        QTest::newRow("Move button") << "toolButton_drag";
    }

    void spaceFreezesUnlessAControlUsesIt() {
        QFETCH(QString, focused);
        VideoWidget view;
        showPicture(view, QSize(800, 480));
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QAbstractButton* freeze = barButton(view, "toolButton_freeze");
        QAbstractButton* button =
            focused.isEmpty() ? nullptr : barButton(view, focused.toLatin1().constData());
        if (button != nullptr)
            button->setFocus();  // else the focus stays where the view put it at start
        QSignalSpy pressed(button != nullptr ? button : freeze, &QAbstractButton::clicked);
        for (bool frozen : {true, false}) {
            QTest::keyClick(view.windowHandle(), Qt::Key_Space);  // to whatever has the focus
            // A focused button is pressed and the picture goes on; elsewhere Space toggles Freeze.
            QCOMPARE(framePasses(view), !(button == nullptr && frozen));
            QCOMPARE(freeze->isChecked(), button == nullptr && frozen);
        }
        QCOMPARE(pressed.count(), 2);
    }

    void thirtyFullScreenStepsStayUnder64MB() {
        VideoWidget view;
        showPicture(view, QSize(1920, 1080));
        const long before = testenvironment::residentKiB();
        QVector<QImage> states{layer(view)};
        for (int i = 0; i < 30; ++i) {
            // Each stroke crosses the whole layer, so each step keeps a band of tiles from corner
            // to corner; every other one with the wide highlighter.
            selectTool(view, i % 2 ? Highlighter : Pen, 30, QColor::fromHsv(i * 12, 255, 255));
            const int y = 20 + i * 34;
            stroke(view, {{5, y}, {1915, 1075 - y}, {5, 1075 - y / 2}});
            if (i % 10 == 9)
                states << layer(view);
        }
        QMetaObject::invokeMethod(&view, "handleEraseMode", Q_ARG(int, 2), Q_ARG(int, 1));
        const long grown = testenvironment::residentKiB() - before;
        QVERIFY2(grown < 64 * 1024, qPrintable(QString("grew by %1 KiB").arg(grown)));
        for (int i = 0; i < 31; ++i) {
            QMetaObject::invokeMethod(&view, "undoDrawing");
            if (i % 10 == 0)
                QVERIFY2(layer(view) == states[3 - i / 10], qPrintable(QString("undo %1").arg(i)));
        }
        QVERIFY(layer(view) == states[0]);
        QVERIFY(!undoEnabled(view));
    }
};

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
