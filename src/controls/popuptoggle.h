// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and closing a bar's popup from its button: one popup at a time, the button's checked look
// following it, and a popup deleted late never mistaken for a newer one.
#pragma once

#include <QObject>
#include <QPoint>
#include <QToolButton>
#include <QWidget>

namespace PopupToggle {

// Moves popup to topLeft, registers it with the popup manager and shows it in front.
void show(QWidget* popup, const QPoint& topLeft);

// Closes popup when it is open: hidden now, deleted on the next pass of the event loop, forgotten, and
// its opener unchecked. False when there was no open popup.
template <class Popup>
bool close(Popup*& popup, QToolButton* opener) {
    if (popup == nullptr || !popup->isVisible())
        return false;
    popup->hide();
    popup->deleteLater();
    popup = nullptr;
    opener->setChecked(false);
    return true;
}

// The opener's click: closes the open popup, else makes one with make() and returns it for the caller
// to place and show; null when nothing is to be shown. Whoever deletes the popup later (the bar, the
// popup manager, the popup itself), owner forgets it and unchecks the opener, unless a newer popup has
// taken its place meanwhile.
template <class Popup, class Make>
Popup* toggle(QObject* owner, Popup*& popup, QToolButton* opener, Make make) {
    if (close(popup, opener))
        return nullptr;
    opener->setChecked(true);
    if (popup != nullptr)
        return nullptr;
    Popup* opened = make();
    popup = opened;
    opened->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(opened, &QObject::destroyed, owner, [&popup, opened, opener] {
        if (popup != opened)
            return;
        popup = nullptr;
        opener->setChecked(false);
    });
    return opened;
}

}  // namespace PopupToggle
