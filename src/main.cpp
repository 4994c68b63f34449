// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point: the application object and the full-screen main view.
#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <cstdio>

#include "controls/geometryprobe.h"
#include "controls/popupmanager.h"
#include "controls/quitonsignal.h"
#include "liveview/videowidget.h"

int main(int argc, char* argv[]) {
    // Diagnostic lines come from several threads; each should reach a pipe whole and in order.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    // Read when the application object is made: set later, they are ignored with a warning and a
    // desktop scaled to 200 % shows the interface at half its size.
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    QApplication app(argc, argv);
    // The desktop matches the window to the menu entry and shows the entry's icon for it.
    QGuiApplication::setDesktopFileName(PAGELUX_APP_ID);
    QApplication::setWindowIcon(QIcon(":/image/svg/Pagelux"));
    // The popup registry watches the application's presses before any widget exists.
    PopupManager::instance();
    // Test-only: answers the random-input driver when PAGELUX_DEBUG_GEOMETRY names a socket.
    GeometryProbe::startFromEnvironment(&app);
    // Shut-down and log-out end the program as closing its window does.
    QuitOnSignal quitOnSignal;
    VideoWidget view;
    // Covers the screen also where no window manager carries out the full-screen request.
    view.setGeometry(QGuiApplication::primaryScreen()->geometry());
    view.showFullScreen();
    return app.exec();
}
