// SPDX-License-Identifier: GPL-3.0-or-later
// The rectangle dragged over the view with Select, drawn as a dashed outline while it grows.
#pragma once

#include <QPoint>
#include <QRect>

class QPainter;

// GUI thread only; view coordinates.
class SelectionOverlay {
public:
    void begin(const QPoint& viewPos);
    // Moves the dragged corner; returns the view area to repaint.
    QRect extend(const QPoint& viewPos);
    // Ends (or cancels) the drag; returns the view area to repaint.
    QRect finish();
    bool active() const { return m_active; }
    QRect rect() const { return QRect(m_anchor, m_corner).normalized(); }
    void paint(QPainter& painter) const;

private:
    // The area the outline covers.
    QRect outlineArea() const { return rect().adjusted(-2, -2, 2, 2); }

    bool m_active = false;
    QPoint m_anchor;
    QPoint m_corner;
};
