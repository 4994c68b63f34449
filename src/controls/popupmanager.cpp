// SPDX-License-Identifier: GPL-3.0-or-later
// The popup registry and its outside-press closing.
#include "popupmanager.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include "windowplatform.h"

PopupManager* PopupManager::m_instance = nullptr;

PopupManager* PopupManager::instance() {
    if (m_instance == nullptr)
        m_instance = new PopupManager(QCoreApplication::instance());
    return m_instance;
}

PopupManager::PopupManager(QObject* parent) : QObject(parent) {
    if (parent != nullptr)
        parent->installEventFilter(this);
}

PopupManager::~PopupManager() {
    // A later application object gets a manager of its own instead of a dangling one.
    if (m_instance == this)
        m_instance = nullptr;
}

void PopupManager::registerPopup(QWidget* popup) {
    if (popup == nullptr || m_popups.contains(popup))
        return;
    popup->setWindowFlags(WindowPlatform::besideButton(Qt::Tool | Qt::FramelessWindowHint));
    popup->setAttribute(Qt::WA_DeleteOnClose);
    m_popups.insert(popup);
    // The pointer is only compared by then, never followed.
    connect(popup, &QObject::destroyed, this, [this, popup]() { m_popups.remove(popup); });
}

void PopupManager::unregisterPopup(QWidget* popup) {
    if (!m_popups.remove(popup))
        return;
    // Registering again connects anew; one connection per popup is enough.
    disconnect(popup, &QObject::destroyed, this, nullptr);
}

bool PopupManager::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    const QPoint globalPos = static_cast<QMouseEvent*>(event)->globalPos();
    // A copy: hiding a popup can run code that unregisters popups.
    const QSet<QWidget*> popups = m_popups;
    for (QWidget* popup : popups) {
        if (!m_popups.contains(popup))
            continue;
        if (popup->isVisible() && !popup->frameGeometry().contains(globalPos)) {
            popup->hide();
            popup->deleteLater();
        }
    }
    return false;
}
