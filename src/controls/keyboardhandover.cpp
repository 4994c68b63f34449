// SPDX-License-Identifier: GPL-3.0-or-later
// The keys of the window with the keyboard, handed to a text field pressed in another window.
#include "keyboardhandover.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QWidget>
#include <QWindow>

namespace {

// A field that takes typed text (line edits, spin boxes, editable combo boxes).
bool takesText(const QWidget* widget) {
    return widget->testAttribute(Qt::WA_InputMethodEnabled) && (widget->focusPolicy() & Qt::ClickFocus);
}

bool inKeyboardWindow(const QWidget* widget) {
    const QWindow* window = widget->window()->windowHandle();
    return window != nullptr && window == QGuiApplication::focusWindow();
}

}  // namespace

QWidget* KeyboardHandover::target() const {
    if (m_target == nullptr || !m_target->isVisible() || inKeyboardWindow(m_target))
        return nullptr;
    return m_target;
}

bool KeyboardHandover::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget == nullptr)
                return false;
            m_target = takesText(widget) && !inKeyboardWindow(widget) ? widget : nullptr;
            return false;
        }
        case QEvent::ShortcutOverride:
            // Accepted: the key is typed, not taken by a shortcut of the window with the keyboard.
            if (target() == nullptr || watched == m_target)
                return false;
            event->accept();
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            QWidget* field = target();
            // A key the field ignores goes on to its parents, and through this filter again.
            if (field == nullptr || watched == field || m_handingOver)
                return false;
            auto* key = static_cast<QKeyEvent*>(event);
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                           key->count());
            const QScopedValueRollback<bool> handingOver(m_handingOver, true);
            QCoreApplication::sendEvent(field, &copy);
            return true;
        }
        default:
            return false;
    }
}
