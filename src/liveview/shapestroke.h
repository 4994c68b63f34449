// SPDX-License-Identifier: GPL-3.0-or-later
// A shape dragged on the annotation layer: straight line, arrow, rectangle or ellipse between the
// press and the pointer, shown as a preview until the release puts it on the layer.
#pragma once

#include <QPen>
#include <QPoint>
#include <QRect>

class QPainter;

// GUI thread only; layer coordinates.
class ShapeStroke {
public:
    enum Kind { Line = 2, Arrow = 3, Rectangle = 4, Ellipse = 5 };

    static bool isShape(int toolType) { return toolType >= Line && toolType <= Ellipse; }

    void begin(int kind, const QPoint& at, const QPen& pen);
    // Moves the free end; returns the layer area to repaint (the old shape and the new one).
    QRect moveTo(const QPoint& at);
    // Ends the drag; the shape stays for paint() until the next begin().
    void end() { m_active = false; }
    bool active() const { return m_active; }
    // Whether the shape is more than a click: a click draws nothing.
    bool drawn() const { return m_from != m_to; }
    // The layer area the shape covers, its pen and antialiasing included.
    QRect bounds() const;
    void paint(QPainter& painter) const;

private:
    bool m_active = false;
    int m_kind = Line;
    QPoint m_from;
    QPoint m_to;
    QPen m_pen;
};
