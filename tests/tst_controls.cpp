// SPDX-License-Identifier: GPL-3.0-or-later
// The shared controls: icon modes of the tool button, hover swapping, button dressing and its style
// sheets, the slider look, the spacing style, the popup manager's outside-press closing, and typing
// into a field of a window that never gets the keyboard.
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QSlider>
#include <QStyleOptionToolButton>
#include <QtTest>

#include "controls/buttoneventfilter.h"
#include "controls/custombutton.h"
#include "controls/keyboardhandover.h"
#include "controls/popupmanager.h"
#include "controls/spacingproxystyle.h"
#include "controls/vtoolbutton.h"

namespace {

const QColor kNormal(255, 0, 0);
const QColor kActive(0, 255, 0);
const QColor kSelected(0, 0, 255);
const QColor kDisabled(255, 255, 0);

QPixmap solid(const QColor& color) {
    QPixmap pixmap(24, 24);
    pixmap.fill(color);
    return pixmap;
}

// One colour per mode, so a drawn pixel tells which mode was chosen.
QIcon modeIcon() {
    QIcon icon;
    icon.addPixmap(solid(kNormal), QIcon::Normal);
    icon.addPixmap(solid(kActive), QIcon::Active);
    icon.addPixmap(solid(kSelected), QIcon::Selected);
    icon.addPixmap(solid(kDisabled), QIcon::Disabled);
    return icon;
}

QColor centre(const QPixmap& pixmap) {
    return pixmap.toImage().pixelColor(pixmap.width() / 2, pixmap.height() / 2);
}

QImage iconImage(const QIcon& icon) {
    return icon.pixmap(24, 24).toImage();
}

QImage iconImage(const QString& path) {
    return iconImage(QIcon(path));
}

}  // namespace

class TestControls : public QObject {
    Q_OBJECT

private:
    static int registeredCount() { return PopupManager::instance()->m_popups.size(); }

    // A top-level window at a known place on the screen, with a button a press can aim at.
    struct Target {
        QWidget window;
        QPushButton* button = nullptr;
        Target() {
            button = new QPushButton("target", &window);
            button->setGeometry(10, 10, 100, 40);
            window.setGeometry(0, 0, 400, 300);
            window.show();
        }
    };

    static QWidget* openPopup(const QRect& geometry) {
        auto* popup = new QWidget;
        popup->setGeometry(geometry);
        PopupManager::instance()->registerPopup(popup);
        popup->show();
        return popup;
    }

private slots:
    void initTestCase() { PopupManager::instance(); }

    void iconModeFollowsButtonState_data() {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("down");
        QTest::addColumn<bool>("hovered");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("idle") << false << false << false << true << kNormal;
        QTest::newRow("checked idle") << true << false << false << true << kSelected;
        QTest::newRow("hovered") << false << false << true << true << kActive;
        QTest::newRow("checked hovered") << true << false << true << true << kSelected;
        QTest::newRow("pressed") << false << true << false << true << kSelected;
        QTest::newRow("pressed while hovered") << false << true << true << true << kSelected;
        QTest::newRow("disabled") << false << false << false << false << kDisabled;
        QTest::newRow("disabled checked") << true << false << false << false << kDisabled;
        QTest::newRow("disabled hovered") << false << false << true << false << kDisabled;
    }

    void iconModeFollowsButtonState() {
        QFETCH(bool, checked);
        QFETCH(bool, down);
        QFETCH(bool, hovered);
        QFETCH(bool, enabled);
        QFETCH(QColor, expected);
        VToolButton button(nullptr);
        button.setIcon(modeIcon());
        button.setIconSize(QSize(24, 24));
        button.setFixedSize(40, 40);
        button.setCheckable(true);
        button.setChecked(checked);
        button.setDown(down);
        button.setAttribute(Qt::WA_UnderMouse, hovered);
        button.setEnabled(enabled);

        QStyleOptionToolButton option;
        button.initStyleOption(&option);
        QCOMPARE(option.icon.availableSizes(QIcon::Normal, QIcon::Off).size(), 1);
        QCOMPARE(centre(option.icon.pixmap(24, 24)), expected);
        // What the button draws: a disabled button's pixmap is greyed by the style on top.
        if (enabled)
            QCOMPARE(centre(button.grab()), expected);
    }

    void iconModeLeavesIconlessOptionAlone() {
        VToolButton button(nullptr);
        button.setText("text only");
        button.initStyleOption(nullptr);
        QStyleOptionToolButton option;
        button.initStyleOption(&option);
        QVERIFY(option.icon.isNull());
        QCOMPARE(option.text, QString("text only"));
    }

    void setTextPrependsSpaces_data() {
        QTest::addColumn<int>("spaces");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three") << 3 << "   A";
        QTest::newRow("none") << 0 << "A";
        QTest::newRow("negative") << -2 << "A";
    }

    void setTextPrependsSpaces() {
        QFETCH(int, spaces);
        QFETCH(QString, expected);
        VToolButton button(nullptr);
        button.setText("A", spaces);
        QCOMPARE(button.text(), expected);
        QCOMPARE(button.font().pixelSize(), 6);
    }

    void dressingFollowsButtonType_data() {
        QTest::addColumn<int>("buttonType");
        QTest::addColumn<int>("toolButtonStyle");
        QTest::addColumn<bool>("hasIcon");
        QTest::addColumn<bool>("hasText");
        QTest::newRow("icon only") << 0 << int(Qt::ToolButtonIconOnly) << true << false;
        QTest::newRow("text only") << 1 << int(Qt::ToolButtonTextOnly) << false << true;
        QTest::newRow("text beside icon") << 2 << int(Qt::ToolButtonTextBesideIcon) << true << true;
        QTest::newRow("text under icon") << 3 << int(Qt::ToolButtonTextUnderIcon) << true << true;
        QTest::newRow("unknown type") << 7 << int(Qt::ToolButtonIconOnly) << true << true;
    }

    void dressingFollowsButtonType() {
        QFETCH(int, buttonType);
        QFETCH(int, toolButtonStyle);
        QFETCH(bool, hasIcon);
        QFETCH(bool, hasText);
        QToolButton button;
        QFont before = button.font();
        before.setPixelSize(7);
        button.setFont(before);
        const QSize defaultIconSize = button.iconSize();
        CustomButton::setToolButton(&button, ":/image/svg/move.svg", "", "", "Move", 66, 60, 30, 28,
                                    buttonType, -1);
        QCOMPARE(int(button.toolButtonStyle()), toolButtonStyle);
        QCOMPARE(!button.icon().isNull(), hasIcon);
        QCOMPARE(button.iconSize(), hasIcon ? QSize(30, 28) : defaultIconSize);
        QCOMPARE(button.text(), hasText ? QString("Move") : QString());
        QCOMPARE(button.font().pixelSize(), hasText ? 12 : 7);
        QCOMPARE(button.size(), QSize(66, 60));
        QCOMPARE(button.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
        QCOMPARE(button.sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
        QVERIFY(button.styleSheet().isEmpty());
    }

    void checkedIconFollowsToggle_data() {
        QTest::addColumn<QString>("pressedPath");
        QTest::addColumn<bool>("checkedAtDressing");
        QTest::newRow("pressed icon, unchecked") << ":/image/svg/move_press.svg" << false;
        QTest::newRow("pressed icon, already checked") << ":/image/svg/move_press.svg" << true;
        QTest::newRow("no pressed icon") << "" << false;
    }

    void checkedIconFollowsToggle() {
        QFETCH(QString, pressedPath);
        QFETCH(bool, checkedAtDressing);
        const QString normal = ":/image/svg/move.svg";
        const QString checkedLook = pressedPath.isEmpty() ? normal : pressedPath;
        QToolButton button;
        button.setCheckable(true);
        button.setChecked(checkedAtDressing);
        CustomButton::setToolButton(&button, normal, pressedPath, "", "", 40, 40, 24, 24, 0, 1);
        QCOMPARE(iconImage(button.icon()), iconImage(checkedAtDressing ? checkedLook : normal));
        button.toggle();
        QCOMPARE(iconImage(button.icon()), iconImage(checkedAtDressing ? normal : checkedLook));
        button.toggle();
        QCOMPARE(iconImage(button.icon()), iconImage(checkedAtDressing ? checkedLook : normal));
    }

    void hoverSwapEndsOnNormalIcon() {
        const QString normal = ":/image/svg/move.svg";
        const QString pressed = ":/image/svg/move_press.svg";
        const QString hover = ":/image/svg/exit.svg";
        QToolButton button;
        button.setCheckable(true);
        button.setChecked(true);
        CustomButton::setToolButton(&button, normal, pressed, hover, "", 40, 40, 24, 24, 0, 1);
        QCOMPARE(button.findChildren<ButtonEventFilter*>().size(), 1);
        QCOMPARE(iconImage(button.icon()), iconImage(pressed));

        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(&button, &enter);
        QCOMPARE(iconImage(button.icon()), iconImage(hover));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        QCOMPARE(iconImage(button.icon()), iconImage(normal));
        // The pressed look comes back with the next toggle to checked.
        button.toggle();
        button.toggle();
        QCOMPARE(iconImage(button.icon()), iconImage(pressed));

        QToolButton plain;
        CustomButton::setToolButton(&plain, normal, pressed, "", "", 40, 40, 24, 24, 0, 1);
        QVERIFY(plain.findChildren<ButtonEventFilter*>().isEmpty());
    }

    void hoverFilterIgnoresOtherObjects() {
        // A filter on a widget that is not a tool button lets every event through.
        QLabel label("unchanged");
        ButtonEventFilter filter(":/image/svg/move.svg", ":/image/svg/exit.svg", nullptr);
        label.installEventFilter(&filter);
        QEvent enter(QEvent::Enter);
        QObject& asObject = filter;
        QVERIFY(!asObject.eventFilter(&label, &enter));
    }

    void styleKindsPaintTheirBackground_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QColor>("background");
        QTest::newRow("tool bar, unchecked") << 0 << false << QColor("#EFEFF0");
        QTest::newRow("tool bar, checked") << 0 << true << QColor("#0099FF");
        QTest::newRow("popup, unchecked") << 1 << false << QColor("#FFFFFF");
        QTest::newRow("popup, checked") << 1 << true << QColor("#0099FF");
        QTest::newRow("side swap, unchecked") << 3 << false << QColor("#CCCCCC");
        QTest::newRow("side swap, checked") << 3 << true << QColor("#999999");
        QTest::newRow("menu entry") << 5 << false << QColor("#FFFFFF");
        QTest::newRow("tile delete") << 6 << false << QColor("#FFFFFF");
    }

    void styleKindsPaintTheirBackground() {
        QFETCH(int, kind);
        QFETCH(bool, checked);
        QFETCH(QColor, background);
        QToolButton button;
        button.setCheckable(true);
        button.setChecked(checked);
        CustomButton::setToolButton(&button, ":/image/svg/move.svg", "", "", "Move", 66, 66, 30, 30, 3, kind);
        QCOMPARE(button.grab().toImage().pixelColor(33, 4), background);
    }

    void unknownStyleKindSetsNoSheet() {
        QToolButton button;
        CustomButton::setToolButton(&button, ":/image/svg/move.svg", "", "", "", 40, 40, 24, 24, 0, 2);
        QVERIFY(button.styleSheet().isEmpty());
    }

    void spacingStyleFixesOnlyTheHorizontalShift_data() {
        QTest::addColumn<int>("metric");
        QTest::addColumn<bool>("fixed");
        QTest::newRow("horizontal shift") << int(QStyle::PM_ButtonShiftHorizontal) << true;
        QTest::newRow("vertical shift") << int(QStyle::PM_ButtonShiftVertical) << false;
        QTest::newRow("small icon size") << int(QStyle::PM_SmallIconSize) << false;
        QTest::newRow("button margin") << int(QStyle::PM_ButtonMargin) << false;
    }

    void spacingStyleFixesOnlyTheHorizontalShift() {
        QFETCH(int, metric);
        QFETCH(bool, fixed);
        const auto m = QStyle::PixelMetric(metric);
        SpacingProxyStyle style(20);
        const int base = QApplication::style()->pixelMetric(m);
        QVERIFY(base != 20);
        QCOMPARE(style.pixelMetric(m), fixed ? 20 : base);
    }

    void onlyMenuEntriesGetTheSpacingStyle_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("ownStyle");
        QTest::newRow("menu entry") << 5 << true;
        QTest::newRow("tool bar") << 0 << false;
        QTest::newRow("popup") << 1 << false;
    }

    void onlyMenuEntriesGetTheSpacingStyle() {
        QFETCH(int, kind);
        QFETCH(bool, ownStyle);
        QToolButton button;
        CustomButton::setToolButton(&button, ":/image/svg/move.svg", "", "", "Move", 120, 32, 24, 24, 2,
                                    kind);
        QCOMPARE(button.testAttribute(Qt::WA_SetStyle), ownStyle);
        // The application's own style stays the application's.
        QVERIFY(qobject_cast<QProxyStyle*>(QApplication::style()->parent()) == nullptr);
    }

    void sliderShowsFilledAndEmptyTrack() {
        QSlider slider(Qt::Horizontal);
        CustomButton::setSlider(&slider, 1, 30, 1, 140);
        slider.setValue(15);
        slider.resize(140, 30);
        QCOMPARE(slider.minimum(), 1);
        QCOMPARE(slider.maximum(), 30);
        QCOMPARE(slider.singleStep(), 1);
        QCOMPARE(slider.width(), 140);
        const QImage image = slider.grab().toImage();
        const int y = image.height() / 2;
        QCOMPARE(image.pixelColor(12, y), QColor("#0099FF"));
        QCOMPARE(image.pixelColor(128, y), QColor("#C4C4C4"));
        // The handle is the round bar icon with its white centre.
        const int handleX = QStyle::sliderPositionFromValue(1, 30, 15, 140 - 15) + 7;
        QCOMPARE(image.pixelColor(handleX, y), QColor(Qt::white));
    }

    void popupRegistrationShapesTheWindow() {
        QWidget popup(nullptr, Qt::Window);
        PopupManager::instance()->registerPopup(&popup);
        QCOMPARE(popup.windowFlags(), Qt::Tool | Qt::FramelessWindowHint);
        QVERIFY(popup.testAttribute(Qt::WA_DeleteOnClose));
        PopupManager::instance()->unregisterPopup(&popup);
        PopupManager::instance()->registerPopup(nullptr);
        QCOMPARE(registeredCount(), 0);
    }

    void pressClosesPopupsOutsideIt_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<bool>("firstStays");
        QTest::addColumn<bool>("secondStays");
        // First popup at (200, 100) 100 × 50, second at (200, 200) 100 × 50; the target window covers
        // (0, 0) to (400, 300) beneath them.
        QTest::newRow("outside both") << QPoint(50, 250) << false << false;
        QTest::newRow("inside first") << QPoint(250, 120) << true << false;
        QTest::newRow("first's corner") << QPoint(299, 149) << true << false;
        QTest::newRow("inside second") << QPoint(210, 210) << false << true;
    }

    void pressClosesPopupsOutsideIt() {
        QFETCH(QPoint, press);
        QFETCH(bool, firstStays);
        QFETCH(bool, secondStays);
        Target target;
        QVERIFY(QTest::qWaitForWindowExposed(&target.window));
        QPointer<QWidget> first = openPopup(QRect(200, 100, 100, 50));
        QPointer<QWidget> second = openPopup(QRect(200, 200, 100, 50));
        QCOMPARE(registeredCount(), 2);

        QWidget* receiver = QApplication::widgetAt(press);
        if (receiver == nullptr)
            receiver = &target.window;
        QTest::mousePress(receiver, Qt::LeftButton, {}, receiver->mapFromGlobal(press));
        QCOMPARE(first->isVisible(), firstStays);
        QCOMPARE(second->isVisible(), secondStays);
        QTest::mouseRelease(receiver, Qt::LeftButton, {}, receiver->mapFromGlobal(press));
        // Closed popups go on the next pass of the event loop, and leave the registry.
        QTRY_COMPARE(first.isNull(), !firstStays);
        QTRY_COMPARE(second.isNull(), !secondStays);
        QCOMPARE(registeredCount(), int(firstStays) + int(secondStays));
        delete first;
        delete second;
        QCOMPARE(registeredCount(), 0);
    }

    void closingPressStillReachesItsTarget() {
        Target target;
        QVERIFY(QTest::qWaitForWindowExposed(&target.window));
        QPointer<QWidget> popup = openPopup(QRect(200, 100, 100, 50));
        auto* inside = new QPushButton("inside", popup);
        inside->setGeometry(0, 0, 100, 50);
        inside->show();
        QSignalSpy insidePressed(inside, &QPushButton::pressed);
        QSignalSpy targetPressed(target.button, &QPushButton::pressed);

        QTest::mousePress(inside, Qt::LeftButton, {}, QPoint(50, 25));
        QTest::mouseRelease(inside, Qt::LeftButton, {}, QPoint(50, 25));
        QCOMPARE(insidePressed.count(), 1);
        QVERIFY(popup->isVisible());

        QTest::mousePress(target.button, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(targetPressed.count(), 1);
        QVERIFY(!popup.isNull() && !popup->isVisible());
        QTest::mouseRelease(target.button, Qt::LeftButton, {}, QPoint(20, 20));
        QTRY_VERIFY(popup.isNull());
    }

    void hiddenPopupSurvivesAPress() {
        Target target;
        QVERIFY(QTest::qWaitForWindowExposed(&target.window));
        QPointer<QWidget> popup = openPopup(QRect(200, 100, 100, 50));
        popup->hide();
        QTest::mouseClick(target.button, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!popup.isNull());
        // Shown again it is still registered and closes on the next outside press.
        popup->show();
        QTest::mouseClick(target.button, Qt::RightButton);
        QTRY_VERIFY(popup.isNull());
    }

    void reRegisteringAddsOnce_data() {
        QTest::addColumn<int>("registrations");
        QTest::addColumn<int>("unregistrations");
        QTest::addColumn<bool>("closedByPress");
        QTest::newRow("registered once") << 1 << 0 << true;
        QTest::newRow("registered twice, unregistered once") << 2 << 1 << false;
        QTest::newRow("unregistered while a dialog is open, registered again") << 1 << 1 << false;
    }

    void reRegisteringAddsOnce() {
        QFETCH(int, registrations);
        QFETCH(int, unregistrations);
        QFETCH(bool, closedByPress);
        Target target;
        QVERIFY(QTest::qWaitForWindowExposed(&target.window));
        QPointer<QWidget> popup = new QWidget;
        popup->setGeometry(200, 100, 100, 50);
        for (int i = 0; i < registrations; ++i)
            PopupManager::instance()->registerPopup(popup);
        QCOMPARE(registeredCount(), 1);
        for (int i = 0; i < unregistrations; ++i)
            PopupManager::instance()->unregisterPopup(popup);
        popup->show();
        QTest::mouseClick(target.button, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(popup.isNull(), closedByPress);

        if (!closedByPress) {
            // Back in the registry once more: one entry, and it closes like any other popup.
            PopupManager::instance()->registerPopup(popup);
            QCOMPARE(registeredCount(), 1);
            QTest::mouseClick(target.button, Qt::LeftButton);
            QTRY_VERIFY(popup.isNull());
        }
        QCOMPARE(registeredCount(), 0);
    }

    void deletedPopupLeavesTheRegistry() {
        auto* owner = new QWidget;
        auto* popup = new QWidget(owner);
        PopupManager::instance()->registerPopup(popup);
        popup->show();
        QCOMPARE(registeredCount(), 1);
        // Deleted with its owner, not by the manager.
        delete owner;
        QCOMPARE(registeredCount(), 0);
        Target target;
        QTest::mouseClick(target.button, Qt::LeftButton);
    }
    // On Wayland the keyboard stays on the view: what is typed after a press in a field of a window
    // beside a button must reach the field, not the view's shortcuts.
    void keysReachTheFieldPressedIn_data() {
        QTest::addColumn<bool>("pressBackOnTheView");
        QTest::addColumn<QString>("fieldText");
        QTest::addColumn<int>("shortcuts");
        QTest::newRow("pressed in the field") << false << "a b" << 0;
        QTest::newRow("a press on the view again") << true << "" << 1;
    }

    void keysReachTheFieldPressedIn() {
        QFETCH(bool, pressBackOnTheView);
        QFETCH(QString, fieldText);
        QFETCH(int, shortcuts);
        KeyboardHandover handover;
        qApp->installEventFilter(&handover);
        Target view;
        view.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view.window));
        view.window.setFocusPolicy(Qt::StrongFocus);
        view.window.setFocus();
        QShortcut freeze(Qt::Key_Space, &view.window);
        QSignalSpy fired(&freeze, &QShortcut::activated);
        QWidget panel(nullptr, Qt::ToolTip);  // what a window beside a button is on Wayland
        auto* field = new QLineEdit(&panel);
        panel.setGeometry(500, 0, 200, 40);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QTest::mouseClick(field, Qt::LeftButton);
        if (pressBackOnTheView)
            QTest::mouseClick(view.button, Qt::LeftButton);
        QCOMPARE(QGuiApplication::focusWindow(), view.window.windowHandle());
        QTest::keyClicks(&view.window, "a b");
        QCOMPARE(field->text(), fieldText);
        QCOMPARE(fired.count(), shortcuts);
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
