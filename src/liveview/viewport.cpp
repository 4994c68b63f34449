// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom, pan and the view to picture mapping of one shown picture.
#include "viewport.h"

#include <cmath>

#include "zoomsteps.h"

void Viewport::setFrame(const QRect& area, const QSize& pictureSize, bool fitted, double pixelRatio) {
    m_area = area;
    m_picture = pictureSize;
    m_fit = fitted && !pictureSize.isEmpty() ? qMin(double(area.width()) / pictureSize.width(),
                                                    double(area.height()) / pictureSize.height())
                                             : 1.0 / pixelRatio;
}

void Viewport::setZoom(double scale, const QPoint& offset) {
    m_scale = scale;
    m_offset = offset;
}

bool Viewport::zoomed() const {
    return m_scale != ZoomSteps::kMin;
}

QPointF Viewport::origin() const {
    const QSize fitted = (QSizeF(m_picture) * m_fit).toSize();
    const int baseX = m_area.x() + (m_area.width() - fitted.width()) / 2;
    const int baseY = m_area.y() + (m_area.height() - fitted.height()) / 2;
    return QPointF(baseX + m_offset.x(), baseY + m_offset.y());
}

QRectF Viewport::pictureOnView() const {
    return QRectF(origin(), QSizeF(m_picture) * shownScale());
}

QPoint Viewport::toPicture(const QPoint& viewPos) const {
    const QPointF picture = (QPointF(viewPos) - origin()) / shownScale();
    return QPoint(static_cast<int>(std::floor(picture.x())), static_cast<int>(std::floor(picture.y())));
}

QRect Viewport::toView(const QRect& pictureRect) const {
    const QRectF view(origin() + QPointF(pictureRect.topLeft()) * shownScale(),
                      QSizeF(pictureRect.size()) * shownScale());
    // Smooth scaling reaches a pixel beyond the scaled edges.
    return view.toAlignedRect().adjusted(-1, -1, 1, 1);
}

QRectF Viewport::visiblePart() const {
    const QRectF whole(0, 0, 1, 1);
    if (!zoomed() || m_picture.isEmpty())
        return whole;
    const QSizeF size(m_picture);
    const QRectF visible =
        QRectF((QPointF(m_area.topLeft()) - origin()) / shownScale(), QSizeF(m_area.size()) / shownScale())
            .intersected(QRectF(QPointF(0, 0), size));
    if (visible.isEmpty())
        return whole;
    return QRectF(visible.x() / size.width(), visible.y() / size.height(), visible.width() / size.width(),
                  visible.height() / size.height());
}

void Viewport::panBy(const QPoint& delta) {
    m_offset += delta;
}

void Viewport::zoomAbout(const QPointF& viewPos, double scale) {
    scale = qBound(ZoomSteps::kMin, scale, ZoomSteps::kMax);
    if (std::abs(scale - ZoomSteps::kMin) < 1e-6) {
        reset();
        return;
    }
    const QPointF picturePoint = (viewPos - origin()) / shownScale();
    const QPointF base = origin() - QPointF(m_offset);
    m_offset = (viewPos - picturePoint * scale * m_fit - base).toPoint();
    m_scale = scale;
}

void Viewport::zoomToRect(const QRect& viewRect) {
    if (viewRect.width() < 1 || viewRect.height() < 1)
        return;
    const double scale = m_scale * qMin(double(m_area.width()) / viewRect.width(),
                                        double(m_area.height()) / viewRect.height());
    // Zoomed about the rectangle's centre, which then moves to the area's centre.
    const QPointF centre = QRectF(viewRect).center();
    zoomAbout(centre, scale);
    if (zoomed())
        panBy((QRectF(m_area).center() - centre).toPoint());
}

void Viewport::zoomIn() {
    zoomAbout(QRectF(m_area).center(), m_scale * ZoomSteps::kStep);
}

void Viewport::zoomOut() {
    zoomAbout(QRectF(m_area).center(), m_scale / ZoomSteps::kStep);
}

void Viewport::wheel(const QPointF& viewPos, int angleDelta) {
    const double scale = ZoomSteps::afterWheel(m_scale, angleDelta, m_wheelRemainder);
    if (scale != m_scale)
        zoomAbout(viewPos, scale);
}

void Viewport::beginPinch(const QPointF& first, const QPointF& second) {
    m_pinch.begin(first, second, m_scale);
}

void Viewport::followPinch(const QPointF& first, const QPointF& second) {
    const PinchGesture::Step step = m_pinch.follow(first, second);
    panBy(step.moved.toPoint());
    zoomAbout(step.centre, step.scale);
}

void Viewport::reset() {
    m_scale = ZoomSteps::kMin;
    m_offset = QPoint();
    m_wheelRemainder = 0;
}
