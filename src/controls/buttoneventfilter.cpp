// SPDX-License-Identifier: GPL-3.0-or-later
// Hover icon swapping for tool buttons.
#include "buttoneventfilter.h"

#include <QEvent>
#include <QIcon>
#include <QToolButton>

ButtonEventFilter::ButtonEventFilter(const QString& normalIcon, const QString& hoverIcon, QObject* parent)
    : QObject(parent), m_normalIcon(normalIcon), m_hoverIcon(hoverIcon) {}

ButtonEventFilter::~ButtonEventFilter() = default;

bool ButtonEventFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button == nullptr)
        return false;
    switch (event->type()) {
        case QEvent::Enter:
            button->setIcon(QIcon(m_hoverIcon));
            return true;
        case QEvent::Leave:
            // Always the normal icon, also on a checked button: the next toggle brings the pressed
            // icon back.
            button->setIcon(QIcon(m_normalIcon));
            return true;
        default:
            return false;
    }
}
