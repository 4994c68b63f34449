// SPDX-License-Identifier: GPL-3.0-or-later
// Typing into a text field of a window that the windowing system never gives the keyboard: on Wayland
// the windows beside the view's buttons are popup surfaces without a grab, and the compositor keeps the
// keyboard on the view. A press in such a field makes it the target of the view's keys until a press
// elsewhere; shortcuts of the view (Space, Ctrl+Z …) then stay quiet.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// GUI thread only. Watches the whole application once installed as its event filter.
class KeyboardHandover : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The field pressed in, while it is shown and its window is not the one with the keyboard.
    QWidget* target() const;

    QPointer<QWidget> m_target;
    bool m_handingOver = false;
};
