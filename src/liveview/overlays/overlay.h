// SPDX-License-Identifier: GPL-3.0-or-later
// A thing painted over the live picture, in view coordinates; some take the pointer where they lie.
#pragma once

#include <QPointF>
#include <QRect>

class QPainter;
class Viewport;

// GUI thread only.
class Overlay {
public:
    virtual ~Overlay() = default;
    // Paints over the picture placed by viewport; only dirty needs painting.
    virtual void paint(QPainter& painter, const Viewport& viewport, const QRect& dirty) const = 0;
    // The hit test: whether the overlay takes a left press at viewPos, and then the pointer's drags
    // until the release. toolMarks: the chosen tool acts on the picture where it is pressed.
    virtual bool press(const QPointF& viewPos, const Viewport& viewport, bool toolMarks) {
        Q_UNUSED(viewPos);
        Q_UNUSED(viewport);
        Q_UNUSED(toolMarks);
        return false;
    }
    // Returns the view area to paint again.
    virtual QRect drag(const QPointF& viewPos, const Viewport& viewport) {
        Q_UNUSED(viewPos);
        Q_UNUSED(viewport);
        return QRect();
    }
    virtual void release() {}
};
