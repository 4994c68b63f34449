// SPDX-License-Identifier: GPL-3.0-or-later
// The screen the full-screen view takes on a desktop of several screens (an X server with three
// Xinerama screens): the one it was closed on, else the primary one, and the primary one again when its
// screen goes away; full screen again after Min.
#include <QtTest>

#include <QScreen>
#include <QWidget>

#include "app/screenplacement.h"
#include "controls/windowplatform.h"
#include "settings/extrasettings.h"

class TestScreenPlacement : public QObject {
    Q_OBJECT

    static QScreen* secondScreen() { return QGuiApplication::screens().at(1); }

    // The view remembered on a screen of this name and place, or nothing remembered.
    static void remember(ExtraSettings& store, const QString& name, const QRect& geometry) {
        if (name.isEmpty())
            return;
        store.setValue(QStringLiteral("view/screen"), name);
        store.setValue(QStringLiteral("view/screenGeometry"), geometry);
    }

    // The view covers screen, and Qt counts it as on that screen.
    static bool covers(const QWidget& view, QScreen* screen) {
        return view.screen() == screen && view.geometry() == screen->geometry();
    }

private slots:
    void initTestCase() {
        QVERIFY2(QGuiApplication::screens().size() >= 3,
                 "needs a desktop of three screens (Xvfb +xinerama with three -screen)");
    }

    void opensOnTheRememberedScreen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("onSecond");
        QScreen* second = secondScreen();
        QTest::newRow("nothing remembered") << QString() << QRect() << false;
        QTest::newRow("the second screen") << second->name() << second->geometry() << true;
        QTest::newRow("the second screen's name, moved")
            << second->name() << QRect(9000, 0, 640, 480) << true;
        QTest::newRow("a screen no longer there") << QStringLiteral("gone") << second->geometry() << false;
    }

    void opensOnTheRememberedScreen() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(bool, onSecond);
        ExtraSettings store;
        remember(store, name, geometry);
        QWidget view;
        ScreenPlacement placement(&view, &store);
        placement.showFullScreen();
        QScreen* expected = onSecond ? secondScreen() : QGuiApplication::primaryScreen();
        QTRY_VERIFY2(covers(view, expected), qPrintable(expected->name()));
    }

    void backToThePrimaryScreenWhenItsScreenGoesAway_data() {
        QTest::addColumn<int>("goes");
        QTest::addColumn<bool>("toPrimary");
        QTest::newRow("the view's screen goes") << 1 << true;
        QTest::newRow("another screen goes") << 2 << false;
    }

    void backToThePrimaryScreenWhenItsScreenGoesAway() {
        QFETCH(int, goes);
        QFETCH(bool, toPrimary);
        const QList<QScreen*> screens = QGuiApplication::screens();
        QScreen* viewed = screens.at(1);
        ExtraSettings store;
        remember(store, viewed->name(), viewed->geometry());
        QWidget view;
        ScreenPlacement placement(&view, &store);
        placement.showFullScreen();
        QTRY_VERIFY(covers(view, viewed));
        // What Qt reports when a screen is unplugged, before it hands the screen's windows elsewhere.
        emit qGuiApp->screenRemoved(screens.at(goes));
        QScreen* expected = toPrimary ? QGuiApplication::primaryScreen() : viewed;
        QTRY_VERIFY(covers(view, expected));
        // A move that comes late would show within this.
        QTest::qWait(200);
        QVERIFY(covers(view, expected));
    }

    // Shown again from the desktop's task bar after Min, the view covers its screen again.
    void fullScreenAgainAfterMin() {
        ExtraSettings store;
        QWidget view;
        ScreenPlacement placement(&view, &store);
        placement.showFullScreen();
        QTRY_VERIFY(view.isFullScreen());
        WindowPlatform::showMinimized(&view);
        QTRY_VERIFY(view.isMinimized());
        view.setWindowState(Qt::WindowNoState);  // what the window manager reports on showing it
        QTRY_VERIFY(view.isFullScreen());
        QVERIFY(covers(view, QGuiApplication::primaryScreen()));
    }
};

QTEST_MAIN(TestScreenPlacement)
#include "tst_screenplacement.moc"
