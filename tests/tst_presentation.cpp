// SPDX-License-Identifier: GPL-3.0-or-later
// The presentation tools of the main view, checked on the painted view: digital zoom by wheel, keys
// and selection, ink through zoom and pan, the Undo button and the tool keys.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <cmath>

#include "annotation/penwidget.h"
#include "filebrowser/filelistwidget.h"
#include "liveview/videowidget.h"
#include "optigrab_sim.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "testenvironment.h"
#include "viewdriver.h"

namespace {

// A 1024 x 512 picture whose red says the column (x / 4) and green the row (y / 2): the colour on
// screen tells which picture point is shown there.
QImage positionPicture() {
    QImage picture(1024, 512, QImage::Format_RGB888);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x / 4, y / 2, 0));
    return picture;
}

// The picture column shown at a view position (within 4 pixels).
int shownColumn(QWidget& view, const QPoint& pos) {
    return qRed(view.grab().toImage().pixel(pos)) * 4;
}

// How much the grey values along a row of the view vary: fine stripes resolved vary a lot, stripes
// averaged into grey hardly at all.
double rowContrast(const QImage& shot, int y, int fromX, int toX) {
    double sum = 0, squares = 0;
    for (int x = fromX; x < toX; ++x) {
        const double grey = qGray(shot.pixel(x, y));
        sum += grey;
        squares += grey * grey;
    }
    const double n = toX - fromX, mean = sum / n;
    return std::sqrt(squares / n - mean * mean);
}

bool isInk(const QImage& shot, const QPoint& at) {
    const QRgb pixel = shot.pixel(at);
    return qBlue(pixel) > 200 && qRed(pixel) < 60 && qGreen(pixel) < 60;
}

int inkIn(const QImage& shot, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += isInk(shot, {x, y}) ? 1 : 0;
    return count;
}

QAbstractButton* barButton(QWidget& view, const char* name) {
    return view.findChild<QAbstractButton*>(name);
}

QAbstractButton* rightButton(QWidget& view, const char* name) {
    return view.findChild<QWidget*>("ToolWidget_Right")->findChild<QAbstractButton*>(name);
}

// The colour positionPicture() has at a view position while the view shows it whole.
QColor pictureAt(const QPoint& at) {
    return QColor(qRgb(at.x() / 4, at.y() / 2, 0));
}

// Chooses a mask in the Masking popup: "curtain", "spotlight", or a spotlight's shape button.
void chooseMask(QWidget& view, const QString& choice) {
    barButton(view, "toolButton_mark")->click();
    auto* popup = view.findChild<QWidget*>("MaskWidget");
    QVERIFY(popup != nullptr && popup->isVisible());
    const QString name = choice.startsWith("toolButton") ? choice : "pushButton_" + choice;
    popup->findChild<QAbstractButton*>(name)->click();
}

QTouchDevice* touchScreen() {
    static QTouchDevice* const screen = QTest::createTouchDevice();
    return screen;
}

void activate(QWidget& view) {
    view.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&view));
}

}  // namespace

class TestPresentation : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_settingsFile;
    ExtraSettings m_extra;  // handed to every view, as main hands its own

    // A camera showing a white page, and captures named page_NNNNN.jpg in captures.
    void whitePageCapturedInto(const QTemporaryDir& frames, const QTemporaryDir& captures) {
        QImage page(1280, 720, QImage::Format_RGB888);
        page.fill(Qt::white);
        QVERIFY(page.save(frames.filePath("page.jpg"), "JPEG", 95));
        QVERIFY(optigrabSimPlugFrames(frames.path().toUtf8().constData(), 30) >= 0);
        ReadXML* settings = ReadXML::instance();
        settings->savePath = captures.path().toStdString();
        settings->bsaveType = true;
        settings->customPrefix = "page";
        QVERIFY(settings->writeData(m_settingsFile.toUtf8().constData()));
    }

private slots:
    void initTestCase() {
        m_settingsFile = testenvironment::isolate(m_home.path());
        // The bars are the basic ones unless a test says otherwise, whatever another suite left.
        m_extra.open(ExtraSettings::defaultFilePath());
        m_extra.setShowAllTools(false);
        optigrabSimUnplugAll();  // no camera: the view shows only the pictures the tests give it
        ReadXML::instance()->language = "en";
    }

    // A test that stopped early leaves no camera and no tools switch to the next.
    void cleanup() {
        optigrabSimUnplugAll();
        m_extra.setShowAllTools(false);
    }

    void wheelZoomsAboutThePointer_data() {
        QTest::addColumn<QVector<int>>("turns");  // notches per wheel event
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<double>("scale");
        QTest::newRow("one notch") << QVector<int>{1} << QPoint(200, 150) << 1.25;
        QTest::newRow("three notches, one event") << QVector<int>{3} << QPoint(600, 300) << 1.953125;
        QTest::newRow("in twice, out once") << QVector<int>{1, 1, -1} << QPoint(800, 100) << 1.25;
        QTest::newRow("beyond the largest") << QVector<int>{20} << QPoint(300, 200) << 8.0;
        QTest::newRow("out below 1x") << QVector<int>{2, -5} << QPoint(700, 300) << 1.0;
    }

    void wheelZoomsAboutThePointer() {
        QFETCH(QVector<int>, turns);
        QFETCH(QPoint, pointer);
        QFETCH(double, scale);
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        const int under = shownColumn(view, pointer);
        for (int notches : turns)
            viewdriver::wheel(view, pointer, notches);
        if (scale == 1.0) {
            // Back at 1x the whole picture shows again.
            QCOMPARE(shownColumn(view, {0, 0}), 0);
            QCOMPARE(shownColumn(view, pointer), under);
            return;
        }
        QVERIFY(qAbs(shownColumn(view, pointer) - under) <= 4);
        const int spread = shownColumn(view, pointer + QPoint(120, 0)) - shownColumn(view, pointer);
        QVERIFY2(qAbs(spread - 120 / scale) <= 5, qPrintable(QString::number(spread)));
    }

    // While zoomed the camera's frames of the part shown cover the view: a selection of half the view
    // shows them pixel for pixel, a wheel zoom shows a larger part scaled onto the view, centred.
    void cameraPartFillsTheZoomedView_data() {
        QTest::addColumn<bool>("selection");  // else three wheel notches at the centre
        QTest::addColumn<QRectF>("part");     // what the camera's frame shows
        QTest::addColumn<QSize>("frameSize");
        QTest::newRow("half the view selected") << true << QRectF(0.25, 0.25, 0.5, 0.5) << QSize(1024, 512);
        QTest::newRow("wheel, a larger part") << false << QRectF(0.2, 0.2, 0.6, 0.6) << QSize(1228, 614);
    }

    void cameraPartFillsTheZoomedView() {
        QFETCH(bool, selection);
        QFETCH(QRectF, part);
        QFETCH(QSize, frameSize);
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        if (selection) {
            QMetaObject::invokeMethod(&view, "switchToSelectMode");
            viewdriver::stroke(view, {{256, 128}, {768, 384}});
        } else {
            viewdriver::wheel(view, {512, 256}, 3);
        }
        // Fine stripes that any scaling greys, in blue 60 that scaling keeps within a step; a white cross at
        // the middle.
        QImage frame(frameSize, QImage::Format_RGB888);
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x)
                frame.setPixel(x, y, qRgb(x % 2 * 200, y % 2 * 200, 60));
        const QPoint middle(frame.width() / 2, frame.height() / 2);
        for (int d = -40; d <= 40; ++d) {
            frame.setPixel(middle + QPoint(d, 0), qRgb(255, 255, 255));
            frame.setPixel(middle + QPoint(0, d), qRgb(255, 255, 255));
        }
        view.drawQImagePart(0, &frame, part);
        // Scaled, the blue may round by a step.
        QTRY_VERIFY(qAbs(viewdriver::painted(view).pixelColor(5, 5).blue() - 60) <= 2);
        const QImage shot = viewdriver::painted(view);
        if (selection) {
            QCOMPARE(shot.convertToFormat(QImage::Format_RGB888), frame);
            return;
        }
        // Nothing of the enlarged whole picture (no blue in it) shows at the view's edges.
        for (int x = 0; x < view.width(); ++x)
            for (int y = 0; y < view.height(); y += x == 0 || x == view.width() - 1 ? 1 : view.height() - 1)
                QVERIFY2(qAbs(shot.pixelColor(x, y).blue() - 60) <= 2,
                         qPrintable(QString("%1,%2").arg(x).arg(y)));
        // The frame's middle, the picture's, at the view's centre.
        const auto whitest = [&](QPoint from, QPoint step) {
            int most = 0;
            for (int i = 0; i < 7; ++i)
                most = qMax(most, shot.pixelColor(from + i * step).blue());
            return most;
        };
        QVERIFY(whitest({509, 230}, {1, 0}) > 140);
        QVERIFY(whitest({480, 253}, {0, 1}) > 140);
    }

    // The wheel over a bar or the file panel never zooms the picture behind them, even when they
    // leave the turn unused (a panel with nothing left to scroll) and it comes on to the view.
    void wheelOverPanelsLeavesThePicture_data() {
        QTest::addColumn<QString>("over");
        QTest::newRow("file panel with one tile") << "files";
        QTest::newRow("bottom bar") << "toolButton_freeze";
    }

    void wheelOverPanelsLeavesThePicture() {
        QFETCH(QString, over);
        QTemporaryDir captures;
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        QWidget* target = barButton(view, over.toUtf8());
        if (over == "files") {
            QVERIFY(positionPicture().save(captures.filePath("page_00001.jpg")));
            QTest::mouseClick(rightButton(view, "toolButton_filelist"), Qt::LeftButton);
            auto* files = view.findChild<FileListWidget*>();
            files->addPath(captures.filePath("page_00001.jpg"));
            target = files->findChild<QListWidget*>()->viewport();
        }
        QVERIFY(target != nullptr && target->isVisible());
        const QRect shown = QRect(target->mapTo(&view, QPoint()), target->size()).intersected(view.rect());
        QVERIFY(!shown.isEmpty());
        const QPoint probe(300, 60);
        QCOMPARE(view.childAt(probe), nullptr);
        const QColor before = view.grab().toImage().pixelColor(probe);
        // A turn the panel leaves unused comes on to the view at the same point.
        for (int turn = 0; turn < 5; ++turn) {
            viewdriver::wheel(*target, target->mapFrom(&view, shown.center()), 1);
            viewdriver::wheel(view, shown.center(), 1);
        }
        QCOMPARE(view.grab().toImage().pixelColor(probe), before);
    }

    void keysZoomAboutTheCentre_data() {
        QTest::addColumn<QVector<QKeySequence>>("keys");
        QTest::addColumn<double>("scale");
        const QKeySequence in(Qt::CTRL | Qt::Key_Plus), out(Qt::CTRL | Qt::Key_Minus),
            whole(Qt::CTRL | Qt::Key_0), inUnshifted(Qt::CTRL | Qt::Key_Equal), esc(Qt::Key_Escape);
        QTest::newRow("Ctrl+plus") << QVector<QKeySequence>{in} << 1.25;
        QTest::newRow("Ctrl+= twice") << QVector<QKeySequence>{inUnshifted, inUnshifted} << 1.5625;
        QTest::newRow("in and out") << QVector<QKeySequence>{in, in, out} << 1.25;
        QTest::newRow("Ctrl+0") << QVector<QKeySequence>{in, in, in, whole} << 1.0;
        QTest::newRow("Esc") << QVector<QKeySequence>{in, esc} << 1.0;
    }

    void keysZoomAboutTheCentre() {
        QFETCH(QVector<QKeySequence>, keys);
        QFETCH(double, scale);
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        activate(view);
        for (const QKeySequence& key : keys)
            QTest::keySequence(&view, key);
        const QPoint centre(512, 256);
        QVERIFY(qAbs(shownColumn(view, centre) - 512) <= 4);
        const int spread = shownColumn(view, centre + QPoint(160, 0)) - shownColumn(view, centre);
        QVERIFY2(qAbs(spread - 160 / scale) <= 5, qPrintable(QString::number(spread)));
    }

    // A stroke stays on its picture point through zoom and pan, and one drawn while zoomed lands
    // where the pointer was on the picture.
    void inkStaysOnThePage() {
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        view.updateToolSettings(0, Qt::blue, 6);
        QMetaObject::invokeMethod(&view, "switchToDrawingMode");
        viewdriver::stroke(view, {{300, 100}, {300, 150}, {300, 200}});

        viewdriver::wheel(view, {500, 250}, 3);  // about 1.95x: picture (300, 150) is at (105, 48)
        QMetaObject::invokeMethod(&view, "switchToMovingMode");
        viewdriver::stroke(view, {{600, 300}, {650, 330}});
        const QImage zoomed = view.grab().toImage();
        QCOMPARE(zoomed.pixelColor(155, 78), QColor(Qt::blue));
        QVERIFY(zoomed.pixelColor(105, 48) != QColor(Qt::blue));

        QMetaObject::invokeMethod(&view, "switchToDrawingMode");
        viewdriver::stroke(view, {{400, 100}, {400, 150}, {400, 160}});
        QMetaObject::invokeMethod(&view, "resetZoom");
        const QImage whole = view.grab().toImage();
        QCOMPARE(whole.pixelColor(300, 150), QColor(Qt::blue));
        // (400, 130) at 1.95x, shifted by (-476, -222) + (50, 30): picture (423, 166).
        QCOMPARE(whole.pixelColor(423, 166), QColor(Qt::blue));
    }

    void selectionFillsTheView_data() {
        QTest::addColumn<QRect>("dragged");
        QTest::addColumn<int>("centreColumn");  // shown at the view's centre afterwards
        QTest::addColumn<double>("scale");
        QTest::newRow("same shape as the view") << QRect(256, 128, 256, 128) << 384 << 4.0;
        QTest::newRow("tall: its height fills") << QRect(100, 100, 100, 256) << 150 << 2.0;
        QTest::newRow("tiny: at most 8x") << QRect(600, 300, 20, 10) << 610 << 8.0;
        QTest::newRow("a click selects nothing") << QRect(700, 300, 3, 3) << 512 << 1.0;
    }

    void selectionFillsTheView() {
        QFETCH(QRect, dragged);
        QFETCH(int, centreColumn);
        QFETCH(double, scale);
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        barButton(view, "toolButton_areaselection")->click();
        viewdriver::mouse(view, QEvent::MouseButtonPress, dragged.topLeft());
        viewdriver::mouse(view, QEvent::MouseMove, dragged.bottomRight());
        if (dragged.width() > 8) {
            // While dragged, the outline shows in black and white over the coloured picture.
            const QColor edge = view.grab().toImage().pixelColor(dragged.center().x(), dragged.top());
            QVERIFY2(edge == Qt::black || edge == Qt::white, qPrintable(edge.name()));
        }
        viewdriver::mouse(view, QEvent::MouseButtonRelease, dragged.bottomRight());
        const QPoint centre(512, 256);
        QVERIFY2(qAbs(shownColumn(view, centre) - centreColumn) <= 4,
                 qPrintable(QString::number(shownColumn(view, centre))));
        const int spread = shownColumn(view, centre + QPoint(160, 0)) - shownColumn(view, centre);
        QVERIFY2(qAbs(spread - 160 / scale) <= 5, qPrintable(QString::number(spread)));
    }

    // Undo undoes like Ctrl+Z and is disabled while there is nothing to undo.
    void undoButtonFollowsTheHistory() {
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        QAbstractButton* undo = barButton(view, "toolButton_black");
        QVERIFY(!undo->isEnabled());
        view.updateToolSettings(0, Qt::blue, 6);
        QMetaObject::invokeMethod(&view, "switchToDrawingMode");
        viewdriver::stroke(view, {{100, 100}, {200, 100}});
        viewdriver::stroke(view, {{100, 200}, {200, 200}});
        QVERIFY(undo->isEnabled());
        undo->click();
        QCOMPARE(view.grab().toImage().pixelColor(150, 200), QColor(qRgb(150 / 4, 100, 0)));
        QCOMPARE(view.grab().toImage().pixelColor(150, 100), QColor(Qt::blue));
        QVERIFY(undo->isEnabled());
        undo->click();
        QVERIFY(!undo->isEnabled());
        QCOMPARE(view.grab().toImage().pixelColor(150, 100), QColor(qRgb(150 / 4, 50, 0)));
    }

    // A 4K camera on a quarter-size view: zoomed 8x, the picture comes from the camera's own pixels
    // of the part shown, and one-pixel stripes that the whole picture averages into grey show.
    void zoomedPictureHasTheCamerasDetail() {
        QTemporaryDir frames;
        QImage page(3840, 2160, QImage::Format_RGB888);
        page.fill(Qt::white);
        for (int y = 1000; y < 1160; ++y)
            for (int x = 1800; x < 2040; x += 2)
                page.setPixel(x, y, qRgb(0, 0, 0));
        QVERIFY(page.save(frames.filePath("page.jpg"), "JPEG", 95));
        QVERIFY(optigrabSimPlugFrames(frames.path().toUtf8().constData(), 30) >= 0);
        VideoWidget view(nullptr, &m_extra);
        view.resize(960, 540);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTRY_VERIFY_WITH_TIMEOUT(view.grab().toImage().pixelColor(10, 10) == QColor(Qt::white), 10000);
        QTest::qWait(300);
        QVERIFY(rowContrast(view.grab().toImage(), 270, 460, 500) < 20);

        viewdriver::wheel(view, {480, 270}, 10);
        QTRY_VERIFY_WITH_TIMEOUT(rowContrast(view.grab().toImage(), 270, 400, 560) > 60, 5000);
        optigrabSimUnplugAll();
    }

    // A shape follows the pointer while dragged, is drawn on release, and goes with one undo.
    void shapes_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QVector<QPoint>>("inked");
        QTest::addColumn<QVector<QPoint>>("blank");
        QTest::newRow("line") << 2 << QVector<QPoint>{{200, 150}, {120, 110}} << QVector<QPoint>{{292, 201}};
        QTest::newRow("arrow") << 3 << QVector<QPoint>{{200, 150}, {292, 201}, {295, 193}}
                               << QVector<QPoint>{{200, 110}};
        QTest::newRow("rectangle") << 4 << QVector<QPoint>{{200, 100}, {300, 150}, {100, 200}}
                                   << QVector<QPoint>{{200, 150}};
        QTest::newRow("ellipse") << 5 << QVector<QPoint>{{200, 100}, {100, 150}, {300, 150}}
                                 << QVector<QPoint>{{102, 102}, {200, 150}};
    }

    void shapes() {
        QFETCH(int, tool);
        QFETCH(QVector<QPoint>, inked);
        QFETCH(QVector<QPoint>, blank);
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        view.updateToolSettings(tool, Qt::blue, 4);
        QMetaObject::invokeMethod(&view, "switchToDrawingMode");
        viewdriver::mouse(view, QEvent::MouseButtonPress, {100, 100});
        viewdriver::mouse(view, QEvent::MouseMove, {250, 300});
        viewdriver::mouse(view, QEvent::MouseMove, {300, 200});
        const QImage preview = view.grab().toImage();
        viewdriver::mouse(view, QEvent::MouseButtonRelease, {300, 200});
        const QImage drawn = view.grab().toImage();
        for (const QPoint& at : inked) {
            QVERIFY2(isInk(preview, at), qPrintable(QString("preview at %1,%2").arg(at.x()).arg(at.y())));
            QVERIFY2(isInk(drawn, at), qPrintable(QString("at %1,%2").arg(at.x()).arg(at.y())));
        }
        for (const QPoint& at : blank)
            QVERIFY2(!isInk(drawn, at), qPrintable(QString("at %1,%2").arg(at.x()).arg(at.y())));
        // Nothing of the way the pointer went is left.
        QVERIFY(!isInk(drawn, {250, 300}));
        QAbstractButton* undo = barButton(view, "toolButton_black");
        undo->click();
        QVERIFY(!isInk(view.grab().toImage(), inked.first()));
        QVERIFY(!undo->isEnabled());
    }

    // "Show all tools" switched in the settings panel is remembered and reaches the bars at once, both
    // ways.
    void toolsSwitchInThePanel_data() {
        QTest::addColumn<bool>("before");
        QTest::newRow("switched on") << false;
        QTest::newRow("switched off") << true;
    }

    void toolsSwitchInThePanel() {
        QFETCH(bool, before);
        m_extra.setShowAllTools(before);
        VideoWidget view(nullptr, &m_extra);
        view.resize(1280, 720);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        barButton(view, "toolButton_set")->click();
        auto* box = view.findChild<QCheckBox*>("checkBox_showAllTools");
        QVERIFY(box != nullptr);
        QCOMPARE(box->isChecked(), before);
        box->click();
        QCOMPARE(m_extra.showAllTools(), !before);
        QCOMPARE(barButton(view, "toolButton_record")->isVisible(), !before);
    }

    // With "Show all tools" the pen popup offers the highlighter and the shapes, without it the pen
    // alone; the tool chosen there is the one the canvas draws with.
    void penPopupTools_data() {
        QTest::addColumn<bool>("allTools");
        QTest::newRow("switch on") << true;
        QTest::newRow("switch off") << false;
    }

    void penPopupTools() {
        QFETCH(bool, allTools);
        VideoWidget view(nullptr, &m_extra);
        m_extra.setShowAllTools(allTools);
        viewdriver::showPicture(view, positionPicture());
        barButton(view, "toolButton_pen")->click();
        auto* popup = view.findChild<PenWidget*>();
        QVERIFY(popup != nullptr);
        auto* highlighter = popup->findChild<QAbstractButton*>("toolButton_highlighter");
        QCOMPARE(highlighter != nullptr, allTools);
        QCOMPARE(popup
                     ->findChildren<QToolButton*>(QRegularExpression("^toolButton_(brush|highlighter|line|"
                                                                     "arrow|rectangle|ellipse)$"))
                     .size(),
                 allTools ? 6 : 0);
        if (allTools) {
            highlighter->click();
            QVERIFY(highlighter->isChecked());
            popup->findChild<QAbstractButton*>("colorBlueButton")->click();
        }
        viewdriver::stroke(view, {{100, 300}, {200, 300}, {300, 300}});
        const QRgb ink = view.grab().toImage().pixel(150, 300);
        // The highlighter lets the picture show through; the pen covers it.
        QVERIFY2((qGreen(ink) > 100) == allTools, qPrintable(QColor(ink).name()));
        m_extra.setShowAllTools(false);
    }

    // Text typed through an input method (Chinese and Cyrillic) goes on the page in the pen's colour
    // with Enter, a click elsewhere or another tool, as one undo step; Esc drops it.
    void text_data() {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("Enter") << "enter" << true;
        QTest::newRow("a click elsewhere") << "click" << true;
        QTest::newRow("another tool") << "tool" << true;
        QTest::newRow("Esc") << "esc" << false;
    }

    void text() {
        QFETCH(QString, ending);
        QFETCH(bool, drawn);
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        activate(view);
        view.updateToolSettings(0, Qt::blue, 5);
        barButton(view, "toolButton_texttool")->click();
        viewdriver::mouse(view, QEvent::MouseButtonPress, {100, 100});
        viewdriver::mouse(view, QEvent::MouseButtonRelease, {100, 100});
        auto* editor = view.findChild<QLineEdit*>("textEditor");
        QVERIFY(editor != nullptr && editor->hasFocus());
        QInputMethodEvent composing("ni", {});
        QApplication::sendEvent(editor, &composing);
        QInputMethodEvent committed;
        committed.setCommitString(QString::fromUtf8("你好 Мир"));
        QApplication::sendEvent(editor, &committed);
        QCOMPARE(editor->text(), QString::fromUtf8("你好 Мир"));
        // Typing does not reach the view's keys: "p" is text here, not the pen.
        QTest::keyClick(editor, Qt::Key_P);
        QVERIFY(barButton(view, "toolButton_texttool")->isChecked());
        if (ending == "enter") {
            QTest::keyClick(editor, Qt::Key_Return);
        } else if (ending == "click") {
            viewdriver::mouse(view, QEvent::MouseButtonPress, {600, 300});
            viewdriver::mouse(view, QEvent::MouseButtonRelease, {600, 300});
        } else if (ending == "tool") {
            barButton(view, "toolButton_drag")->click();
        } else {
            QTest::keyClick(editor, Qt::Key_Escape);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(view.findChild<QLineEdit*>("textEditor") == nullptr);
        const QRect textArea(100, 100, 160, 30);
        const int ink = inkIn(view.grab().toImage(), textArea);
        QVERIFY2((ink > 20) == drawn, qPrintable(QString::number(ink)));
        QAbstractButton* undo = barButton(view, "toolButton_black");
        QCOMPARE(undo->isEnabled(), drawn);
        if (drawn) {
            undo->click();
            QCOMPARE(inkIn(view.grab().toImage(), textArea), 0);
        }
    }

    // The curtain covers the picture in dark grey and is pushed back from the side the drag starts
    // at; the spotlight darkens all but its shape, moves from inside and grows from its edge.
    void masks_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QVector<QPoint>>("drag");
        QTest::addColumn<QVector<QPoint>>("shown");    // the picture as it is
        QTest::addColumn<QVector<QPoint>>("covered");  // curtain grey, or the picture darkened
        QTest::addColumn<bool>("pen");                 // the pen is chosen, else Move
        QTest::addColumn<bool>("offAndOn");            // M turns masking off and on again at the end
        QTest::newRow("curtain") << "curtain" << QVector<QPoint>{} << QVector<QPoint>{}
                                 << QVector<QPoint>{{5, 5}, {512, 256}, {1000, 420}} << true << false;
        QTest::newRow("curtain from the top")
            << "curtain" << QVector<QPoint>{{500, 10}, {500, 100}, {520, 200}}
            << QVector<QPoint>{{100, 20}, {900, 190}} << QVector<QPoint>{{100, 210}, {900, 420}} << true
            << false;
        QTest::newRow("curtain from the left")
            << "curtain" << QVector<QPoint>{{10, 300}, {400, 300}} << QVector<QPoint>{{20, 100}, {390, 420}}
            << QVector<QPoint>{{410, 100}, {1000, 420}} << true << false;
        QTest::newRow("curtain from the bottom, twice")
            << "curtain" << QVector<QPoint>{{500, 505}, {500, 400}, {500, 401}, {500, 300}}
            << QVector<QPoint>{{100, 310}, {900, 420}} << QVector<QPoint>{{100, 290}, {900, 10}} << true
            << false;
        QTest::newRow("spotlight") << "spotlight" << QVector<QPoint>{}
                                   << QVector<QPoint>{{512, 256}, {400, 256}}
                                   << QVector<QPoint>{{900, 420}, {330, 170}, {512, 140}} << true << false;
        QTest::newRow("spotlight moved") << "spotlight" << QVector<QPoint>{{512, 256}, {700, 300}}
                                         << QVector<QPoint>{{700, 300}, {850, 300}}
                                         << QVector<QPoint>{{400, 256}, {900, 420}} << false << false;
        QTest::newRow("spotlight grown from its right edge")
            << "spotlight" << QVector<QPoint>{{716, 256}, {950, 256}}
            << QVector<QPoint>{{900, 256}, {400, 256}} << QVector<QPoint>{{1000, 256}, {512, 140}} << true
            << false;
        QTest::newRow("spotlight moved, M off and on")
            << "spotlight" << QVector<QPoint>{{512, 256}, {700, 300}}
            << QVector<QPoint>{{700, 300}, {850, 300}} << QVector<QPoint>{{400, 256}, {900, 420}} << false
            << true;
        QTest::newRow("spotlight grown, M off and on")
            << "spotlight" << QVector<QPoint>{{716, 256}, {950, 256}}
            << QVector<QPoint>{{900, 256}, {400, 256}} << QVector<QPoint>{{1000, 256}, {512, 140}} << true
            << true;
        QTest::newRow("rectangular spotlight")
            << "toolButton_spotRectangle" << QVector<QPoint>{} << QVector<QPoint>{{315, 160}, {710, 350}}
            << QVector<QPoint>{{300, 160}, {720, 350}, {512, 150}} << true << false;
        QTest::newRow("the pen writes inside the spotlight")
            << "spotlight" << QVector<QPoint>{{450, 256}, {500, 256}, {560, 256}}
            << QVector<QPoint>{{512, 200}} << QVector<QPoint>{{900, 420}} << true << false;
    }

    void masks() {
        QFETCH(QString, choice);
        QFETCH(QVector<QPoint>, drag);
        QFETCH(QVector<QPoint>, shown);
        QFETCH(QVector<QPoint>, covered);
        QFETCH(bool, pen);
        QFETCH(bool, offAndOn);
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        view.updateToolSettings(0, Qt::blue, 6);
        QMetaObject::invokeMethod(&view, pen ? "switchToDrawingMode" : "switchToMovingMode");
        chooseMask(view, choice);
        QVERIFY(barButton(view, "toolButton_mark")->isChecked());
        if (!drag.isEmpty())
            viewdriver::stroke(view, drag);
        if (offAndOn) {
            activate(view);
            QTest::keyClick(&view, Qt::Key_M);
            QCOMPARE(view.grab().toImage().pixelColor(covered.first()), pictureAt(covered.first()));
            QTest::keyClick(&view, Qt::Key_M);
        }
        const QImage shot = view.grab().toImage();
        for (const QPoint& at : shown)
            QVERIFY2(
                shot.pixelColor(at) == pictureAt(at),
                qPrintable(QString("%1,%2: %3").arg(at.x()).arg(at.y()).arg(shot.pixelColor(at).name())));
        for (const QPoint& at : covered) {
            const QColor seen = shot.pixelColor(at);
            const bool masked = choice == "curtain" ? seen == QColor(64, 64, 64)
                                                    : seen.red() <= pictureAt(at).red() / 3 + 2 &&
                                                          seen.green() <= pictureAt(at).green() / 3 + 2;
            QVERIFY2(masked, qPrintable(QString("%1,%2: %3").arg(at.x()).arg(at.y()).arg(seen.name())));
        }
        // Dragging the mask draws nothing; the pen writes inside the spotlight.
        const bool writes = QByteArray(QTest::currentDataTag()).startsWith("the pen");
        QCOMPARE(inkIn(shot, view.rect()) > 0, writes);
    }

    // The spotlight stays on its page point when the picture is zoomed (and runs off the view then),
    // and keeps its place and shape on a screen of two pixels a point.
    void spotlightZoomedAndSharp_data() {
        QTest::addColumn<int>("notches");  // wheel notches about (700, 400)
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QVector<QPoint>>("bright");
        QTest::addColumn<QVector<QPoint>>("dark");
        QTest::newRow("whole picture, sharp screen")
            << 0 << 2.0 << QVector<QPoint>{{512, 256}, {330, 256}, {512, 170}}
            << QVector<QPoint>{{290, 256}, {512, 140}, {330, 170}, {900, 420}};
        QTest::newRow("zoomed") << 3 << 1.0 << QVector<QPoint>{{333, 119}, {100, 150}, {333, 10}}
                                << QVector<QPoint>{{700, 300}, {20, 300}, {900, 200}, {100, 400}};
        QTest::newRow("zoomed, sharp screen")
            << 3 << 2.0 << QVector<QPoint>{{333, 119}, {100, 150}, {333, 10}}
            << QVector<QPoint>{{700, 300}, {20, 300}, {900, 200}, {100, 400}};
    }

    void spotlightZoomedAndSharp() {
        QFETCH(int, notches);
        QFETCH(qreal, ratio);
        QFETCH(QVector<QPoint>, bright);
        QFETCH(QVector<QPoint>, dark);
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        if (notches != 0)
            viewdriver::wheel(view, {700, 400}, notches);
        const auto rendered = [&] {
            QImage image(view.size() * ratio, QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            view.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
            return image;
        };
        const QImage plain = rendered();
        chooseMask(view, "spotlight");
        const QImage masked = rendered();
        for (const QPoint& at : bright)
            QCOMPARE(masked.pixelColor(at * ratio), plain.pixelColor(at * ratio));
        for (const QPoint& at : dark) {
            const QColor seen = masked.pixelColor(at * ratio), under = plain.pixelColor(at * ratio);
            QVERIFY2(
                seen.red() <= under.red() / 3 + 2 && seen.green() <= under.green() / 3 + 2,
                qPrintable(
                    QString("%1,%2: %3 over %4").arg(at.x()).arg(at.y()).arg(seen.name(), under.name())));
        }
    }

    // A mask's drag paints again the part that changed, not the whole view for every step.
    void maskDragRepaintsWhatChanged_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QVector<QPoint>>("drag");
        QTest::addColumn<QVector<QPoint>>("changed");
        QTest::newRow("curtain pushed down") << "curtain" << QVector<QPoint>{{500, 5}, {500, 60}, {500, 120}}
                                             << QVector<QPoint>{{100, 30}, {900, 110}};
        QTest::newRow("spotlight moved") << "spotlight" << QVector<QPoint>{{512, 256}, {560, 256}, {620, 280}}
                                         << QVector<QPoint>{{400, 256}, {700, 300}};
    }

    void maskDragRepaintsWhatChanged() {
        QFETCH(QString, choice);
        QFETCH(QVector<QPoint>, drag);
        QFETCH(QVector<QPoint>, changed);
        VideoWidget view;
        viewdriver::showPicture(view, positionPicture());
        QMetaObject::invokeMethod(&view, "switchToMovingMode");
        chooseMask(view, choice);
        QTest::qWait(50);  // the mask's first painting
        struct PaintedRegion : QObject {
            QRegion painted;
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::Paint)
                    painted += static_cast<QPaintEvent*>(event)->region();
                return false;
            }
        } recorder;
        view.installEventFilter(&recorder);
        viewdriver::mouse(view, QEvent::MouseButtonPress, drag.first());
        for (const QPoint& at : drag.mid(1)) {
            viewdriver::mouse(view, QEvent::MouseMove, at);
            QApplication::processEvents();
        }
        viewdriver::mouse(view, QEvent::MouseButtonRelease, drag.last());
        for (const QPoint& at : changed)
            QVERIFY(recorder.painted.contains(at));
        const QRect bounds = recorder.painted.boundingRect();
        QVERIFY2(bounds.width() * bounds.height() < view.width() * view.height() / 3,
                 qPrintable(QString("%1 x %2").arg(bounds.width()).arg(bounds.height())));
    }

    // Masking goes off with a second click, with M, or with Adjustment in its group; M brings the
    // last mask back.
    void maskingTurnsOff_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("second click") << "click";
        QTest::newRow("M") << "M";
        QTest::newRow("Adjustment") << "adjust";
    }

    void maskingTurnsOff() {
        QFETCH(QString, how);
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        activate(view);
        chooseMask(view, "spotlight");
        QAbstractButton* masking = barButton(view, "toolButton_mark");
        const QPoint corner(900, 420);
        QVERIFY(view.grab().toImage().pixelColor(corner) != pictureAt(corner));
        if (how == "click")
            masking->click();
        else if (how == "M")
            QTest::keyClick(&view, Qt::Key_M);
        else
            barButton(view, "toolButton_adjust")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(view.grab().toImage().pixelColor(corner), pictureAt(corner));
        QVERIFY(!masking->isChecked());
        QVERIFY(view.findChild<QWidget*>("MaskWidget") == nullptr);

        barButton(view, "toolButton_drag")->click();
        activate(view);
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_M);
        QVERIFY(masking->isChecked());
        QVERIFY(view.grab().toImage().pixelColor(corner) != pictureAt(corner));
    }

    // A capture holds the page, not the curtain the class sees over it.
    void captureHoldsNoMask() {
        QTemporaryDir frames, captures;
        whitePageCapturedInto(frames, captures);
        if (QTest::currentTestFailed())
            return;
        VideoWidget view(nullptr, &m_extra);
        view.resize(1280, 720);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QPoint middle(640, 300);
        QTRY_VERIFY_WITH_TIMEOUT(view.grab().toImage().pixelColor(middle) == QColor(Qt::white), 10000);
        QMetaObject::invokeMethod(view.findChild<QObject*>("ToolsWidget"), "toggleMasking");
        QCOMPARE(view.grab().toImage().pixelColor(middle), QColor(64, 64, 64));
        view.captureImage();
        const QString file = captures.filePath("page_00001.jpg");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(file), 20000);
        const QImage captured(file);
        QCOMPARE(captured.size(), QSize(1280, 720));  // the camera's page
        QVERIFY2(qGray(captured.pixel(640, 360)) > 240, qPrintable(QColor(captured.pixel(640, 360)).name()));
        optigrabSimUnplugAll();
    }

    // Split: the live picture fitted into the left half, the newest capture on the right, then the
    // file whose tile is clicked; each half zooms on its own and the live half takes ink; a second
    // click on Split Screen shows one picture again.
    void splitScreen() {
        QTemporaryDir captures;
        // Red or green, blue growing from left to right.
        const auto saved = [&](const QString& name, QColor colour) {
            QImage file(800, 600, QImage::Format_RGB888);
            for (int x = 0; x < file.width(); ++x)
                for (int y = 0; y < file.height(); ++y)
                    file.setPixelColor(x, y, QColor(colour.red(), colour.green(), x * 255 / 799));
            return file.save(captures.filePath(name), "JPEG", 98);
        };
        QVERIFY(saved("page_00001.jpg", QColor(250, 0, 0)));
        QTest::qWait(1100);  // a newer modification time
        QVERIFY(saved("page_00002.jpg", QColor(0, 250, 0)));
        const QString older = captures.filePath("page_00001.jpg");
        ReadXML::instance()->savePath = captures.path().toStdString();
        QVERIFY(ReadXML::instance()->writeData(m_settingsFile.toUtf8().constData()));
        m_extra.setShowAllTools(true);
        VideoWidget view(nullptr, &m_extra);
        QImage live(1600, 800, QImage::Format_RGB888);
        for (int y = 0; y < live.height(); ++y)
            for (int x = 0; x < live.width(); ++x)
                live.setPixel(x, y, qRgb(x / 8, 0, 0));
        viewdriver::showPicture(view, live);
        QCOMPARE(view.size(), QSize(1600, 800));
        const auto seen = [&view](const QPoint& at) { return view.grab().toImage().pixelColor(at); };
        const auto wheelOn = [&view](const QPoint& at, int notches) {
            QWidget* under = view.childAt(at);
            QWidget* target = under != nullptr ? under : &view;
            viewdriver::wheel(*target, target->mapFrom(&view, at), notches);
        };

        rightButton(view, "toolButton_compare")->click();
        // The live picture fitted into 800 x 800: half its size, at y 200 to 600.
        QVERIFY(qAbs(seen({400, 400}).red() - 100) <= 2);
        QCOMPARE(seen({400, 150}), QColor(Qt::black));
        // The newest capture, 800 x 600 fitted into 798 x 800 beside the divider.
        const QColor newest = seen({1201, 400});
        QVERIFY2(newest.green() > 230 && newest.red() < 20 && qAbs(newest.blue() - 128) < 8,
                 qPrintable(newest.name()));

        QTest::mouseClick(rightButton(view, "toolButton_filelist"), Qt::LeftButton);
        auto* files = view.findChild<FileListWidget*>();
        files->addPath(older);
        auto* list = files->findChild<QListWidget*>();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QTest::mouseClick(rightButton(view, "toolButton_filelist"), Qt::LeftButton);
        QVERIFY2(seen({1201, 400}).red() > 230, qPrintable(seen({1201, 400}).name()));

        // Two fingers, then the wheel, over the right half zoom the capture alone: its blue changes
        // slower along x.
        const auto blueSpread = [&seen] { return seen({1301, 400}).blue() - seen({1201, 400}).blue(); };
        const int wholeSpread = blueSpread();
        QTouchDevice* screen = touchScreen();
        QTest::touchEvent(&view, screen).press(0, {1150, 400}, &view).press(1, {1250, 400}, &view);
        QTest::touchEvent(&view, screen).move(0, {1100, 400}, &view).move(1, {1300, 400}, &view);
        QTest::touchEvent(&view, screen).release(0, {1100, 400}, &view).release(1, {1300, 400}, &view);
        const int pinchedSpread = blueSpread();
        QVERIFY2(pinchedSpread * 3 < wholeSpread * 2,
                 qPrintable(QString("%1 %2").arg(pinchedSpread).arg(wholeSpread)));
        wheelOn({1201, 400}, 4);
        QVERIFY2(blueSpread() * 2 < pinchedSpread,
                 qPrintable(QString("%1 %2").arg(blueSpread()).arg(pinchedSpread)));
        QVERIFY(qAbs(seen({400, 400}).red() - 100) <= 2);
        wheelOn({400, 400}, 2);
        QVERIFY(qAbs(seen({400, 400}).red() - 100) <= 2);
        // 100 view pixels at 0.5 x 1.5625 are 128 picture columns.
        QVERIFY2(qAbs(seen({500, 400}).red() - 116) <= 2,
                 qPrintable(QString::number(seen({500, 400}).red())));

        view.updateToolSettings(0, Qt::blue, 6);
        QMetaObject::invokeMethod(&view, "switchToDrawingMode");
        viewdriver::stroke(view, {{300, 300}, {400, 300}, {500, 300}});
        QCOMPARE(seen({400, 300}), QColor(Qt::blue));

        rightButton(view, "toolButton_compare")->click();
        QVERIFY(qAbs(seen({1200, 400}).red() - 150) <= 2);
        m_extra.setShowAllTools(false);
    }

    // Split, each capture shows on the right half once written, in place of the one shown before.
    void splitScreenShowsEachNewCapture() {
        QTemporaryDir frames, captures;
        QImage earlier(800, 600, QImage::Format_RGB888);
        earlier.fill(Qt::red);
        QVERIFY(earlier.save(captures.filePath("page_00001.jpg"), "JPEG", 95));
        whitePageCapturedInto(frames, captures);
        if (QTest::currentTestFailed())
            return;
        m_extra.setShowAllTools(true);
        VideoWidget view(nullptr, &m_extra);
        view.resize(1280, 720);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const auto seen = [&view](const QPoint& at) { return view.grab().toImage().pixelColor(at); };
        // All the tools make the view a little wider than the picture, which is then scaled.
        QTRY_VERIFY_WITH_TIMEOUT(qGray(seen({640, 300}).rgb()) > 240, 10000);
        rightButton(view, "toolButton_compare")->click();
        const QPoint right(960, 360);
        QVERIFY2(seen(right).red() > 230 && seen(right).green() < 30, qPrintable(seen(right).name()));
        // The white page, then the page with a blue band across its middle drawn on the live half.
        view.captureImage();
        QTRY_VERIFY2_WITH_TIMEOUT(qGray(seen(right).rgb()) > 240, qPrintable(seen(right).name()), 20000);
        view.updateToolSettings(0, Qt::blue, 30);
        QMetaObject::invokeMethod(&view, "switchToDrawingMode");
        viewdriver::stroke(view, {{20, 360}, {320, 360}, {620, 360}});
        view.captureImage();
        QTRY_VERIFY2_WITH_TIMEOUT(seen(right).blue() > 200 && seen(right).red() < 60,
                                  qPrintable(seen(right).name()), 20000);
        QVERIFY(QFileInfo::exists(captures.filePath("page_00003.jpg")));
        optigrabSimUnplugAll();
        m_extra.setShowAllTools(false);
    }

    // One finger draws as the mouse does; two fingers zoom with their distance and pan with the
    // point between them, drawing nothing even with the pen chosen; a tap on a bar button presses it.
    void touch_data() {
        QTest::addColumn<QVector<QVector<QPoint>>>("frames");  // finger positions, one list a step
        QTest::addColumn<QPoint>("atCentre");  // picture point at the view's centre afterwards
        QTest::addColumn<double>("scale");
        QTest::addColumn<bool>("inked");
        using Frames = QVector<QVector<QPoint>>;
        QTest::newRow("one finger draws")
            << Frames{{{300, 100}}, {{400, 100}}, {{500, 100}}} << QPoint(512, 256) << 1.0 << true;
        // The first finger has drawn a little before the second comes down: that goes again.
        QTest::newRow("pinch out") << Frames{{{412, 256}},
                                             {{424, 256}},
                                             {{424, 256}, {624, 256}},
                                             {{374, 256}, {674, 256}},
                                             {{324, 256}, {724, 256}}}
                                   << QPoint(518, 256) << 2.0 << false;
        QTest::newRow("pinch out while moving up")
            << Frames{{{412, 306}, {612, 306}}, {{362, 281}, {662, 281}}, {{312, 256}, {712, 256}}}
            << QPoint(512, 306) << 2.0 << false;
        QTest::newRow("pinch in to the whole picture")
            << Frames{{{312, 256}, {712, 256}}, {{412, 256}, {612, 256}}, {{462, 256}, {562, 256}}}
            << QPoint(512, 256) << 1.0 << false;
    }

    void touch() {
        QFETCH(QVector<QVector<QPoint>>, frames);
        QFETCH(QPoint, atCentre);
        QFETCH(double, scale);
        QFETCH(bool, inked);
        QTouchDevice* screen = touchScreen();
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        view.updateToolSettings(0, Qt::blue, 6);
        barButton(view, "toolButton_pen")->click();
        activate(view);
        QVector<QPoint> down;
        for (const QVector<QPoint>& fingers : frames) {
            QTest::QTouchEventSequence step = QTest::touchEvent(&view, screen);
            for (int id = 0; id < fingers.size(); ++id) {
                if (id < down.size())
                    step.move(id, fingers[id], &view);
                else
                    step.press(id, fingers[id], &view);
            }
            step.commit();
            down = fingers;
        }
        QTest::QTouchEventSequence lift = QTest::touchEvent(&view, screen);
        for (int id = 0; id < down.size(); ++id)
            lift.release(id, down[id], &view);
        lift.commit();
        // The pen popup the click opened stays out of the picture.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QPoint centre(512, 256);
        QVERIFY2(qAbs(shownColumn(view, centre) - atCentre.x()) <= 4,
                 qPrintable(QString::number(shownColumn(view, centre))));
        const int shownRow = qGreen(view.grab().toImage().pixel(centre)) * 2;
        QVERIFY2(qAbs(shownRow - atCentre.y()) <= 2, qPrintable(QString::number(shownRow)));
        const int spread = shownColumn(view, centre + QPoint(160, 0)) - shownColumn(view, centre);
        QVERIFY2(qAbs(spread - 160 / scale) <= 5, qPrintable(QString::number(spread)));
        QCOMPARE(inkIn(view.grab().toImage(), QRect(0, 0, 1024, 440)) > 0, inked);

        // A finger on a bar button presses it as a click would.
        auto* freeze = barButton(view, "toolButton_freeze");
        const QPoint onFreeze = freeze->mapTo(&view, freeze->rect().center());
        QTest::touchEvent(&view, screen).press(0, onFreeze, &view);
        QTest::touchEvent(&view, screen).release(0, onFreeze, &view);
        QVERIFY(freeze->isChecked());
    }

    void toolKeys_data() {
        QTest::addColumn<QString>("from");  // the tool chosen before the key
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("to");
        QTest::newRow("P") << "toolButton_drag" << Qt::Key_P << "toolButton_pen";
        QTest::newRow("E") << "toolButton_drag" << Qt::Key_E << "toolButton_eraser";
        QTest::newRow("H") << "toolButton_pen" << Qt::Key_H << "toolButton_drag";
        QTest::newRow("S") << "toolButton_drag" << Qt::Key_S << "toolButton_areaselection";
        QTest::newRow("T") << "toolButton_drag" << Qt::Key_T << "toolButton_texttool";
    }

    // A tool key chooses its tool, except while a text field takes the typing.
    void toolKeys() {
        QFETCH(QString, from);
        QFETCH(Qt::Key, key);
        QFETCH(QString, to);
        VideoWidget view(nullptr, &m_extra);
        viewdriver::showPicture(view, positionPicture());
        barButton(view, from.toUtf8())->click();
        activate(view);
        auto* field = new QLineEdit(&view);
        field->show();
        field->setFocus();
        QTest::keyClick(field, key);
        QVERIFY(barButton(view, from.toUtf8())->isChecked());
        QCOMPARE(field->text().size(), 1);

        view.setFocus();
        QTest::keyClick(&view, key);
        QVERIFY(barButton(view, to.toUtf8())->isChecked());
    }
};

QTEST_MAIN(TestPresentation)
#include "tst_presentation.moc"
