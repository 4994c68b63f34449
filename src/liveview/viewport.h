// SPDX-License-Identifier: GPL-3.0-or-later
// Where a picture shows in an area of a widget: digital zoom and pan, and the mapping between view
// and picture positions. The live picture and the compared picture of the split view share it.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

#include "pinchgesture.h"

// GUI thread only. The picture is centred in the area at 1x; zoom keeps between ZoomSteps::kMin and
// kMax, and back at kMin the picture is whole and centred again.
class Viewport {
public:
    // The picture of size pictureSize shows in area: scaled to fit it when fitted, else at its own size
    // (a picture already prepared for the area, in device pixels: pixelRatio of them make one of the
    // area's on a scaled screen).
    void setFrame(const QRect& area, const QSize& pictureSize, bool fitted, double pixelRatio = 1.0);
    QRect area() const { return m_area; }
    QSize pictureSize() const { return m_picture; }

    // A zoom and pan kept elsewhere, taken as they are.
    void setZoom(double scale, const QPoint& offset);
    double scale() const { return m_scale; }
    QPoint offset() const { return m_offset; }  // pan of the picture from its centred place
    bool zoomed() const;
    // Picture pixels to view pixels, the fit and the zoom together.
    double shownScale() const { return m_scale * m_fit; }
    QRectF pictureOnView() const;
    // The picture pixel under a view position (outside the picture too), and the view pixels a
    // picture rectangle covers once smoothly scaled.
    QPoint toPicture(const QPoint& viewPos) const;
    QRect toView(const QRect& pictureRect) const;
    // The part of the picture the area shows, in fractions of it; (0, 0, 1, 1) all of it.
    QRectF visiblePart() const;

    void panBy(const QPoint& delta);
    // The picture point under viewPos stays under it.
    void zoomAbout(const QPointF& viewPos, double scale);
    // A view rectangle fills the area, its centre at the area's centre.
    void zoomToRect(const QRect& viewRect);
    // One step in or out about the area's centre.
    void zoomIn();
    void zoomOut();
    // A wheel turn of angleDelta at viewPos: each whole notch is a step, small deltas add up.
    void wheel(const QPointF& viewPos, int angleDelta);
    // Two fingers zoom with their distance and pan with the point between them.
    void beginPinch(const QPointF& first, const QPointF& second);
    void followPinch(const QPointF& first, const QPointF& second);
    void endPinch() { m_pinch.end(); }
    bool pinching() const { return m_pinch.active(); }
    // The whole picture, centred.
    void reset();

private:
    QPointF origin() const;  // view position of the picture's top-left corner

    QRect m_area;
    QSize m_picture;
    double m_fit = 1.0;
    double m_scale = 1.0;
    QPoint m_offset;
    int m_wheelRemainder = 0;
    PinchGesture m_pinch;
};
