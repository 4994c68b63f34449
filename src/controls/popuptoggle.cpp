// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and closing a bar's popup from its button: one popup at a time, the button's checked look
// following it, and a popup deleted late never mistaken for a newer one.
#include "popuptoggle.h"

#include "popupmanager.h"
#include "windowplatform.h"

namespace PopupToggle {

void show(QWidget* popup, const QPoint& topLeft) {
    popup->move(topLeft);
    PopupManager::instance()->registerPopup(popup);
    WindowPlatform::showInFront(popup);
}

}  // namespace PopupToggle
