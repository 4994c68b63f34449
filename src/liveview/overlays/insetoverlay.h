// SPDX-License-Identifier: GPL-3.0-or-later
// A second camera's picture in a corner of the live area: dragged to move, dragged at a corner to
// resize (its shape kept), double-clicked to exchange it with the main picture.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPointF>
#include <functional>

#include "overlay.h"

// GUI thread only. Where it lies is kept in fractions of the live area, so it follows a resized or
// split view.
class InsetOverlay : public Overlay {
public:
    // swap: a double click on the inset; moved: a drag on it ended.
    InsetOverlay(std::function<void()> swap, std::function<void()> moved);

    // The picture to show, already at the inset's size, or none (the inset is hidden); returns the view
    // area to paint again.
    QRect show(const QImage& picture);
    QRect hide();
    bool shown() const { return !m_picture.isNull(); }
    // The inset's width as a share of the live area's (0.1 to 1).
    double share() const { return m_share; }
    void setShare(double share);
    // Where the inset lies in the live area area.
    QRect rectIn(const QRect& area) const;

    void paint(QPainter& painter, const Viewport& viewport, const QRect& dirty) const override;
    bool press(const QPointF& viewPos, const Viewport& viewport, bool toolMarks) override;
    QRect drag(const QPointF& viewPos, const Viewport& viewport) override;
    void release() override;

private:
    enum class Grab { None, Move, Resize };

    std::function<void()> m_swap;
    std::function<void()> m_moved;
    QImage m_picture;
    double m_aspect = 16.0 / 9.0;  // width by height of the camera's picture
    double m_share = 0.25;         // of the live area's width
    QPointF m_place{-1, -1};       // top left in fractions of the live area; negative: top right
    mutable QRect m_area;          // the live area when it was painted last
    mutable QRect m_shownRect;     // where it was painted last, in view pixels
    Grab m_grab = Grab::None;
    QPointF m_grabOffset;       // Move: the pointer from the top left
    QPointF m_anchor;           // Resize: the corner that stays
    QElapsedTimer m_lastPress;  // for a double click
};
