// SPDX-License-Identifier: GPL-3.0-or-later
// Which screen the full-screen view takes, and where it goes when that screen goes away.
#include "screenplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include "controls/windowplatform.h"
#include "settings/extrasettings.h"

namespace {

const QString kScreenKey = QStringLiteral("view/screen");
// Two screens can share a name (two X screens of one server are both "screen"): their places tell them
// apart.
const QString kScreenGeometryKey = QStringLiteral("view/screenGeometry");

}  // namespace

ScreenPlacement::ScreenPlacement(QWidget* view, ExtraSettings* store, QObject* parent)
    : QObject(parent), m_view(view), m_store(store) {
    // Every way out passes here: the window closed, Exit in the menu, a signal from the system.
    connect(qGuiApp, &QCoreApplication::aboutToQuit, this, &ScreenPlacement::remember);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ScreenPlacement::onScreenRemoved);
    m_view->installEventFilter(this);
}

bool ScreenPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_view || event->type() != QEvent::WindowStateChange)
        return false;
    // Min lets go of full screen on X11 (WindowPlatform::showMinimized): shown again from the task bar,
    // the view asks for it anew, once the window system has finished showing it.
    const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    if ((before & Qt::WindowMinimized) &&
        !(m_view->windowState() & (Qt::WindowMinimized | Qt::WindowFullScreen)))
        QTimer::singleShot(0, this, [this] {
            if (m_view != nullptr && !m_view->isMinimized())
                WindowPlatform::showFullScreen(m_view);
        });
    return false;
}

void ScreenPlacement::showFullScreen() {
    const QString name = m_store->value(kScreenKey).toString();
    const QRect geometry = m_store->value(kScreenGeometryKey).toRect();
    QScreen* sameName = nullptr;
    QScreen* samePlace = nullptr;
    for (QScreen* candidate : QGuiApplication::screens()) {
        if (name.isEmpty() || candidate->name() != name)
            continue;
        if (sameName == nullptr)
            sameName = candidate;
        if (samePlace == nullptr && candidate->geometry() == geometry)
            samePlace = candidate;
    }
    moveTo(samePlace != nullptr  ? samePlace
           : sameName != nullptr ? sameName
                                 : QGuiApplication::primaryScreen());
}

void ScreenPlacement::remember() {
    if (m_view == nullptr || m_view->screen() == nullptr)
        return;
    m_store->setValue(kScreenKey, m_view->screen()->name());
    m_store->setValue(kScreenGeometryKey, m_view->screen()->geometry());
}

void ScreenPlacement::moveTo(QScreen* screen) {
    if (m_view == nullptr || screen == nullptr)
        return;
    m_screen = screen;
    // A window manager keeps a full-screen window where it is: it lets go of it for the move.
    if (m_view->isFullScreen())
        m_view->setWindowState(m_view->windowState() & ~Qt::WindowFullScreen);
    m_view->winId();  // the window handle, which carries the screen
    m_view->windowHandle()->setScreen(screen);
    // Covers the screen also where no window manager carries out the full-screen request.
    m_view->setGeometry(screen->geometry());
    WindowPlatform::showFullScreen(m_view);
}

void ScreenPlacement::onScreenRemoved(QScreen* screen) {
    if (screen != m_screen && (m_view == nullptr || m_view->screen() != screen))
        return;
    // Queued: Qt hands the view's window to another screen only after this signal.
    QTimer::singleShot(0, this, [this] { moveTo(QGuiApplication::primaryScreen()); });
}
