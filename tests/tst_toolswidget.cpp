// SPDX-License-Identifier: GPL-3.0-or-later
// The bottom tool bar: its buttons at start, the tool group, popups above their buttons, the order of
// its signals, the relays from the popups, Capture and Freeze, and its texts after a language switch.
#include <QPointer>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

#include "annotation/erasewiget.h"
#include "annotation/penwidget.h"
#include "controls/popupmanager.h"
#include "controls/vtoolbutton.h"
#include "toolbars/toolswidget.h"

namespace {

QImage iconImage(const QIcon& icon) {
    return icon.pixmap(30, 30).toImage();
}

QImage iconImage(const QString& path) {
    return iconImage(QIcon(path));
}

QColor pixel(QWidget* widget, const QPoint& at) {
    return widget->grab().toImage().pixelColor(at);
}

}  // namespace

class TestToolsWidget : public QObject {
    Q_OBJECT

private:
    // A bar low in a black window, as in the view over a dark picture, with room for popups above it.
    struct Bar {
        QWidget view;
        ToolsWidget& bar;
        Bar() : bar(*new ToolsWidget(&view)) {
            QPalette black = view.palette();
            black.setColor(QPalette::Window, Qt::black);
            view.setPalette(black);
            view.setAutoFillBackground(true);
            view.setGeometry(400, 700, 400, 300);
            bar.setAttribute(Qt::WA_TranslucentBackground);
            bar.move(35, 234);
            view.show();
        }
        QToolButton* button(const char* name) { return bar.findChild<QToolButton*>(name); }
    };

    static void pressElsewhere() {
        QWidget elsewhere;
        elsewhere.setGeometry(0, 0, 100, 100);
        elsewhere.show();
        QTest::mouseClick(&elsewhere, Qt::LeftButton, {}, QPoint(50, 50));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void initTestCase() { PopupManager::instance(); }

    void startLooksAsExpected_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QColor>("background");
        QTest::newRow("Move") << "toolButton_drag" << 0 << ":/image/svg/move_press.svg" << QColor("#0099FF");
        QTest::newRow("Annotation") << "toolButton_pen" << 66 << ":/image/svg/annotation"
                                    << QColor("#EFEFF0");
        QTest::newRow("Eraser") << "toolButton_eraser" << 132 << ":/image/svg/erase" << QColor("#EFEFF0");
        QTest::newRow("Freeze") << "toolButton_freeze" << 198 << ":/image/svg/freeze" << QColor("#EFEFF0");
        QTest::newRow("Capture") << "toolButton_capture" << 264 << ":/image/svg/capture" << QColor("#EFEFF0");
    }

    void startLooksAsExpected() {
        QFETCH(QString, button);
        QFETCH(int, x);
        QFETCH(QString, icon);
        QFETCH(QColor, background);
        Bar bar;
        QCOMPARE(bar.bar.size(), QSize(330, 66));
        QToolButton* b = bar.button(button.toLatin1().constData());
        QVERIFY(b->isVisible());
        QCOMPARE(b->geometry(), QRect(x, 0, 66, 66));
        QCOMPARE(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QCOMPARE(iconImage(b->icon()), iconImage(icon));
        QCOMPARE(pixel(&bar.bar, QPoint(x + 5, 33)), background);
        // Only the five tools show.
        int visible = 0;
        for (QToolButton* any : bar.bar.findChildren<QToolButton*>())
            visible += any->isVisible() ? 1 : 0;
        QCOMPARE(visible, 5);
    }

    void outerCornersAreRounded() {
        Bar bar;
        const QImage image = bar.view.grab(bar.bar.geometry()).toImage();
        // Move is checked: blue inside, not in its rounded outer corner.
        QCOMPARE(image.pixelColor(5, 33), QColor("#0099FF"));
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
        QCOMPARE(image.pixelColor(329, 65), QColor(Qt::black));
        QCOMPARE(image.pixelColor(329, 0), QColor(Qt::black));
        QCOMPARE(image.pixelColor(320, 33), QColor("#EFEFF0"));
    }

    void toolGroupKeepsOneTool_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<int>("moving");
        QTest::addColumn<int>("drawing");
        QTest::newRow("annotation") << QStringList{"toolButton_pen"} << "toolButton_pen" << 0 << 1;
        QTest::newRow("eraser") << QStringList{"toolButton_eraser"} << "toolButton_eraser" << 0 << 0;
        QTest::newRow("move again") << QStringList{"toolButton_drag"} << "toolButton_drag" << 1 << 0;
        QTest::newRow("annotation, then move")
            << QStringList{"toolButton_pen", "toolButton_drag"} << "toolButton_drag" << 1 << 1;
        QTest::newRow("eraser, then annotation")
            << QStringList{"toolButton_eraser", "toolButton_pen"} << "toolButton_pen" << 0 << 1;
    }

    void toolGroupKeepsOneTool() {
        QFETCH(QStringList, clicks);
        QFETCH(QString, checked);
        QFETCH(int, moving);
        QFETCH(int, drawing);
        Bar bar;
        QSignalSpy movingSpy(&bar.bar, &ToolsWidget::switchToMovingMode);
        QSignalSpy drawingSpy(&bar.bar, &ToolsWidget::switchToDrawingMode);
        for (const QString& name : clicks) {
            QTest::mouseClick(bar.button(name.toLatin1().constData()), Qt::LeftButton);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        for (const char* name : {"toolButton_drag", "toolButton_pen", "toolButton_eraser"}) {
            QCOMPARE(bar.button(name)->isChecked(), checked == name);
            const QString normal = bar.button(name) == bar.button("toolButton_drag") ? ":/image/svg/move.svg"
                                   : bar.button(name) == bar.button("toolButton_pen")
                                       ? ":/image/svg/annotation"
                                       : ":/image/svg/erase";
            const QString pressed = QString(normal).replace(".svg", "").append("_press");
            QCOMPARE(iconImage(bar.button(name)->icon()), iconImage(checked == name ? pressed : normal));
        }
        QCOMPARE(movingSpy.count(), moving);
        QCOMPARE(drawingSpy.count(), drawing);
    }

    void popupOpensAboveItsButton_data() {
        QTest::addColumn<bool>("pen");
        QTest::newRow("pen") << true;
        QTest::newRow("eraser") << false;
    }

    void popupOpensAboveItsButton() {
        QFETCH(bool, pen);
        Bar bar;
        QToolButton* button = pen ? bar.button("toolButton_pen") : bar.button("toolButton_eraser");
        QTest::mouseClick(button, Qt::LeftButton);
        QWidget* popup = pen ? static_cast<QWidget*>(bar.bar.m_pen) : bar.bar.m_erase;
        QVERIFY(popup != nullptr);
        QVERIFY(popup->isVisible());
        const QPoint buttonTopLeft = button->mapToGlobal(QPoint(0, 0));
        QCOMPARE(popup->geometry().left(), buttonTopLeft.x());
        QCOMPARE(popup->geometry().bottom() + 1 + 2, buttonTopLeft.y());
        QCOMPARE(popup->size(), pen ? QSize(264, 140) : QSize(196, 140));

        // A press elsewhere closes it through the popup registry, and the bar forgets it.
        QPointer<QWidget> watched = popup;
        pressElsewhere();
        QVERIFY(watched.isNull());
        QVERIFY((pen ? static_cast<QWidget*>(bar.bar.m_pen) : bar.bar.m_erase) == nullptr);
        QVERIFY(button->isChecked());
    }

    // Adjustment and Video Filters look checked, with their checked icon, while their popup is open,
    // and plain again however it closes; Move stays the tool.
    void pictureButtonsLookCheckedWhileTheirPopupIsOpen_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<bool>("byPressElsewhere");
        QTest::newRow("Adjustment, clicked again") << "toolButton_adjust"
                                                   << ":/image/svg/adjust" << false;
        QTest::newRow("Adjustment, press elsewhere") << "toolButton_adjust"
                                                     << ":/image/svg/adjust" << true;
        QTest::newRow("Video Filters, clicked again") << "toolButton_videoFliter"
                                                      << ":/image/svg/black" << false;
        QTest::newRow("Video Filters, press elsewhere") << "toolButton_videoFliter"
                                                        << ":/image/svg/black" << true;
    }

    void pictureButtonsLookCheckedWhileTheirPopupIsOpen() {
        QFETCH(QString, button);
        QFETCH(QString, icon);
        QFETCH(bool, byPressElsewhere);
        Bar bar;
        bar.bar.setShowAllTools(true);
        QToolButton* b = bar.button(button.toLatin1().constData());
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(b->isChecked());
        const QImage pressed = iconImage(icon + "_press");
        QVERIFY(!pressed.isNull() && pressed != iconImage(icon));
        QCOMPARE(iconImage(b->icon()), pressed);
        if (byPressElsewhere)
            pressElsewhere();
        else
            QTest::keyClick(b, Qt::Key_Space);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!b->isChecked());
        QCOMPARE(iconImage(b->icon()), iconImage(icon));
        QVERIFY(bar.button("toolButton_drag")->isChecked());
    }

    void popupExistsWhenDrawingModeIsAnnounced() {
        Bar bar;
        bool popupShown = false;
        connect(&bar.bar, &ToolsWidget::switchToDrawingMode, this,
                [&]() { popupShown = bar.bar.m_pen != nullptr && bar.bar.m_pen->isVisible(); });
        QTest::mouseClick(bar.button("toolButton_pen"), Qt::LeftButton);
        QVERIFY(popupShown);
    }

    void pressingTheOpenersButtonAgain_data() {
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<bool>("reopened");
        // A mouse press closes the popup; it is deleted before the release completes the click.
        QTest::newRow("mouse") << false << true;
        QTest::newRow("space key") << true << false;
    }

    void pressingTheOpenersButtonAgain() {
        QFETCH(bool, byKey);
        QFETCH(bool, reopened);
        Bar bar;
        QToolButton* pen = bar.button("toolButton_pen");
        QTest::mouseClick(pen, Qt::LeftButton);
        QPointer<PenWidget> first = bar.bar.m_pen;
        QVERIFY(first);
        if (byKey) {
            QTest::keyClick(pen, Qt::Key_Space);
        } else {
            QTest::mousePress(pen, Qt::LeftButton);
            QVERIFY(!first->isVisible());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QTest::mouseRelease(pen, Qt::LeftButton);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        QCOMPARE(bar.bar.m_pen != nullptr, reopened);
        if (reopened)
            QVERIFY(bar.bar.m_pen->isVisible());
        QVERIFY(pen->isChecked());
    }

    void lateDeletionOfAnOldPopupKeepsTheNewOne() {
        Bar bar;
        QToolButton* eraser = bar.button("toolButton_eraser");
        QTest::mouseClick(eraser, Qt::LeftButton);
        QTest::keyClick(eraser, Qt::Key_Space);  // closes; deleted on a later pass
        QTest::mouseClick(eraser, Qt::LeftButton);
        EraseWiget* second = bar.bar.m_erase;
        QVERIFY(second != nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(bar.bar.m_erase, second);
        QTest::keyClick(eraser, Qt::Key_Space);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(bar.bar.m_erase == nullptr);
    }

    void popupChoicesAreRelayedAndRemembered() {
        Bar bar;
        QSignalSpy toolSpy(&bar.bar, &ToolsWidget::toolChanged);
        QTest::mouseClick(bar.button("toolButton_pen"), Qt::LeftButton);
        QTest::mouseClick(bar.bar.m_pen->findChild<VToolButton*>("colorBlueButton"), Qt::LeftButton);
        bar.bar.m_pen->findChild<QSlider*>()->setValue(12);
        QCOMPARE(toolSpy.first(), (QList<QVariant>{0, QColor("#0000ff"), 5}));
        QCOMPARE(toolSpy.last(), (QList<QVariant>{0, QColor("#0000ff"), 12}));
        pressElsewhere();
        QTest::mouseClick(bar.button("toolButton_pen"), Qt::LeftButton);
        PenWidget* reopened = bar.bar.m_pen;
        QCOMPARE(reopened->findChild<QSlider*>()->value(), 12);
        QVERIFY(reopened->findChild<VToolButton*>("colorBlueButton")->isChecked());

        QSignalSpy eraseSpy(&bar.bar, &ToolsWidget::switchToEraseMode);
        QTest::mouseClick(bar.button("toolButton_eraser"), Qt::LeftButton);
        // The eraser reports its opening from the event loop, not during the click.
        QCOMPARE(eraseSpy.count(), 0);
        QTRY_COMPARE(eraseSpy.count(), 1);
        QCOMPARE(eraseSpy.first(), (QList<QVariant>{0, 5}));
        bar.bar.m_erase->findChild<QSlider*>()->setValue(8);
        QCOMPARE(eraseSpy.last(), (QList<QVariant>{0, 8}));
        pressElsewhere();
        QTest::mouseClick(bar.button("toolButton_eraser"), Qt::LeftButton);
        QTRY_COMPARE(eraseSpy.count(), 3);
        QCOMPARE(eraseSpy.last(), (QList<QVariant>{0, 8}));
    }

    void captureAndFreeze_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QVariantList>("freezes");
        QTest::addColumn<int>("captures");
        QTest::addColumn<bool>("checkedAfter");
        QTest::newRow("capture") << "toolButton_capture" << 1 << QVariantList{} << 1 << false;
        QTest::newRow("capture twice") << "toolButton_capture" << 2 << QVariantList{} << 2 << false;
        QTest::newRow("freeze") << "toolButton_freeze" << 1 << QVariantList{true} << 0 << true;
        QTest::newRow("freeze twice") << "toolButton_freeze" << 2 << QVariantList{true, false} << 0 << false;
    }

    void captureAndFreeze() {
        QFETCH(QString, button);
        QFETCH(int, clicks);
        QFETCH(QVariantList, freezes);
        QFETCH(int, captures);
        QFETCH(bool, checkedAfter);
        Bar bar;
        QSignalSpy freezeSpy(&bar.bar, &ToolsWidget::signalFreeze);
        QSignalSpy captureSpy(&bar.bar, &ToolsWidget::signalCaptureImage);
        QToolButton* b = bar.button(button.toLatin1().constData());
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(freezeSpy.count(), freezes.size());
        for (int i = 0; i < freezes.size(); ++i)
            QCOMPARE(freezeSpy.at(i).first(), freezes.at(i));
        QCOMPARE(captureSpy.count(), captures);
        QCOMPARE(b->isChecked(), checkedAfter);
        const QString icon = button == "toolButton_freeze" ? ":/image/svg/freeze" : ":/image/svg/capture";
        QCOMPARE(iconImage(b->icon()), iconImage(checkedAfter ? icon + "_press" : icon));
        QVERIFY(bar.button("toolButton_drag")->isChecked());
    }

    void textsFollowTheLanguage_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("russian");
        QTest::newRow("Move") << "toolButton_drag" << QString::fromUtf8("Сдвиг");
        QTest::newRow("Capture") << "toolButton_capture" << QString::fromUtf8("Снимок");
        QTest::newRow("hidden Record") << "toolButton_record" << QString::fromUtf8("Запись");
        QTest::newRow("hidden Video Fliters") << "toolButton_videoFliter" << QString::fromUtf8("Фильтры");
    }

    void textsFollowTheLanguage() {
        QFETCH(QString, button);
        QFETCH(QString, russian);
        auto* first = new ToolsWidget;
        auto* second = new ToolsWidget;
        QToolButton* b = first->findChild<QToolButton*>(button);
        QVERIFY(b->toolTip().isEmpty());
        // The second bar goes; the first keeps its own buttons to translate.
        delete second;
        QTranslator russianTexts;
        QVERIFY(russianTexts.load(QCoreApplication::applicationDirPath() + "/translations/ru.qm"));
        QCoreApplication::installTranslator(&russianTexts);
        first->retranslateUi();
        QCOMPARE(b->text(), russian);
        QCOMPARE(b->toolTip(), russian);
        // Whole on its button, not cut short.
        QVERIFY2(b->fontMetrics().horizontalAdvance(russian) <= b->width(),
                 qPrintable(QString::number(b->width())));
        QCoreApplication::removeTranslator(&russianTexts);
        first->retranslateUi();
        QVERIFY(b->text() != russian);
        delete first;
    }

    void barGoesWithItsPopups() {
        auto* bar = new ToolsWidget;
        bar->show();
        QTest::mouseClick(bar->findChild<QToolButton*>("toolButton_pen"), Qt::LeftButton);
        QTest::keyClick(bar->findChild<QToolButton*>("toolButton_pen"), Qt::Key_Space);
        QTest::mouseClick(bar->findChild<QToolButton*>("toolButton_eraser"), Qt::LeftButton);
        QPointer<EraseWiget> open = bar->m_erase;
        delete bar;
        QVERIFY(open.isNull());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(TestToolsWidget)
#include "tst_toolswidget.moc"
