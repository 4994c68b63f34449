// SPDX-License-Identifier: GPL-3.0-or-later
// What the windowing system lets the program do with its own windows.
#include "windowplatform.h"

#include <QGuiApplication>
#include <QWidget>

namespace WindowPlatform {

bool placesOwnWindows() {
    // "wayland", "wayland-egl", "wayland-xcomposite-…": every flavour of Qt's Wayland plugin.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

Qt::WindowFlags besideButton(Qt::WindowFlags wanted) {
    if (placesOwnWindows())
        return wanted;
    return (wanted & ~Qt::WindowType_Mask) | Qt::ToolTip;
}

void showInFront(QWidget* window) {
    window->show();
    window->raise();
    // On Wayland the request only prints a warning: the compositor gives the keyboard itself.
    if (placesOwnWindows())
        window->activateWindow();
}

void showMinimized(QWidget* window) {
    if (!placesOwnWindows()) {
        window->showMinimized();
        return;
    }
    // Minimised and full screen at once, Qt takes the full-screen request back and makes it again
    // around the minimising, and window managers that show a window made full screen (icewm) bring it
    // straight back.
    window->setWindowState(Qt::WindowMinimized);
}

void showFullScreen(QWidget* window) {
    if (placesOwnWindows()) {
        window->showFullScreen();
        return;
    }
    // QWidget::showFullScreen ends with an activation request, which Wayland answers with a warning.
    window->setWindowState((window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)) |
                           Qt::WindowFullScreen);
    window->show();
}

}  // namespace WindowPlatform
