// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's digital zoom: the wheel about the pointer, keys about the centre, a view rectangle
// filling the view, and the mapping between view and picture positions that painting and the
// canvas share. GUI thread only.
#include <QWheelEvent>
#include <cmath>

#include "comparepane.h"
#include "videowidget.h"
#include "zoomsteps.h"

namespace {

using ZoomSteps::kMax;
using ZoomSteps::kMin;
using ZoomSteps::kStep;

}  // namespace

QRect VideoWidget::liveArea() const {
    if (m_comparePane == nullptr || m_comparePane->isHidden())
        return rect();
    return QRect(0, 0, width() / 2, height());
}

// Split, the picture prepared at the view's size is shown fitted into the left half, so the layer and
// its ink keep their size and page points.
double VideoWidget::fitScale() const {
    const QRect area = liveArea();
    // The picture is prepared in device pixels: on a screen scaled to 200 % two of them make one of the
    // view's.
    if (area == rect() || m_videoPixmap.isNull())
        return 1.0 / devicePixelRatioF();
    return qMin(double(area.width()) / m_videoPixmap.width(), double(area.height()) / m_videoPixmap.height());
}

double VideoWidget::shownScale() const {
    return m_currentScale * fitScale();
}

QPointF VideoWidget::pictureOrigin() const {
    const QRect area = liveArea();
    const QSize fitted = (QSizeF(m_videoPixmap.size()) * fitScale()).toSize();
    const int baseX = area.x() + (area.width() - fitted.width()) / 2;
    const int baseY = area.y() + (area.height() - fitted.height()) / 2;
    return QPointF(baseX + m_imageOffset.x(), baseY + m_imageOffset.y());
}

QPoint VideoWidget::toLayer(const QPoint& viewPos) const {
    const QPointF layer = (QPointF(viewPos) - pictureOrigin()) / shownScale();
    return QPoint(static_cast<int>(std::floor(layer.x())), static_cast<int>(std::floor(layer.y())));
}

QRect VideoWidget::layerToView(const QRect& layerRect) const {
    const QPointF origin = pictureOrigin();
    const QRectF view(origin + QPointF(layerRect.topLeft()) * shownScale(),
                      QSizeF(layerRect.size()) * shownScale());
    // Smooth scaling reaches a pixel beyond the scaled edges.
    return view.toAlignedRect().adjusted(-1, -1, 1, 1);
}

// The picture point under viewPos stays under it. Back at 1x the picture is whole again.
void VideoWidget::zoomAbout(const QPointF& viewPos, double scale) {
    scale = qBound(kMin, scale, kMax);
    if (std::abs(scale - kMin) < 1e-6) {
        resetZoom();
        return;
    }
    const QPointF picturePoint = (viewPos - pictureOrigin()) / shownScale();
    const QPointF origin = viewPos - picturePoint * scale * fitScale();
    const QPointF base = pictureOrigin() - QPointF(m_imageOffset);
    m_imageOffset = (origin - base).toPoint();
    m_currentScale = scale;
    updatePreviewPart();
    update();
}

void VideoWidget::zoomToViewRect(const QRect& viewRect) {
    if (viewRect.width() < 1 || viewRect.height() < 1)
        return;
    const QRect area = liveArea();
    const double scale = qBound(kMin,
                                m_currentScale * qMin(double(area.width()) / viewRect.width(),
                                                      double(area.height()) / viewRect.height()),
                                kMax);
    // The rectangle's centre goes to the centre of the live picture's area.
    const QPointF picturePoint = (QRectF(viewRect).center() - pictureOrigin()) / shownScale();
    const QPointF origin = QRectF(area).center() - picturePoint * scale * fitScale();
    const QPointF base = pictureOrigin() - QPointF(m_imageOffset);
    m_imageOffset = (origin - base).toPoint();
    m_currentScale = scale;
    updatePreviewPart();
    update();
}

void VideoWidget::zoomIn() {
    zoomAbout(QRectF(liveArea()).center(), m_currentScale * kStep);
}

void VideoWidget::zoomOut() {
    zoomAbout(QRectF(liveArea()).center(), m_currentScale / kStep);
}

void VideoWidget::resetZoom() {
    m_currentScale = kMin;
    m_imageOffset = QPoint(0, 0);
    m_wheelRemainder = 0;
    m_partPixmap = QPixmap();
    updatePreviewPart();
    update();
}

void VideoWidget::updatePreviewPart() {
    constexpr double kMillion = 1000000.0;  // the camera library's unit of picture parts
    QRectF wanted(0, 0, 1, 1);
    if (m_currentScale != 1.0 && !m_videoPixmap.isNull()) {
        const QSizeF layer(m_videoPixmap.size());
        const QRect area = liveArea();
        const QRectF visible = QRectF((QPointF(area.topLeft()) - pictureOrigin()) / shownScale(),
                                      QSizeF(area.size()) / shownScale())
                                   .intersected(QRectF(QPointF(0, 0), layer));
        if (!visible.isEmpty())
            wanted = QRectF(visible.x() / layer.width(), visible.y() / layer.height(),
                            visible.width() / layer.width(), visible.height() / layer.height());
    }
    if (wanted == m_requestedPart || m_presenter == nullptr)
        return;
    m_requestedPart = wanted;
    if (wanted == QRectF(0, 0, 1, 1)) {
        m_presenter->setPreviewPart(m_currentDevIndex, 0, 0, 0, 0);
        return;
    }
    m_presenter->setPreviewPart(m_currentDevIndex, qRound(wanted.x() * kMillion),
                                qRound(wanted.y() * kMillion), qRound(wanted.width() * kMillion),
                                qRound(wanted.height() * kMillion));
}

// Each notch is one step; the small deltas of touch pads add up to notches.
void VideoWidget::wheelEvent(QWheelEvent* event) {
    // A turn over a bar, the file panel or another panel over the picture is theirs, also when they
    // leave it unused (a list at its end) and it comes on to the view: the picture stays as it is.
    if (childAt(event->position().toPoint()) != nullptr) {
        event->accept();
        return;
    }
    if (m_videoPixmap.isNull() || !liveArea().contains(event->position().toPoint())) {
        event->ignore();
        return;
    }
    const double scale = ZoomSteps::afterWheel(m_currentScale, event->angleDelta().y(), m_wheelRemainder);
    if (scale != m_currentScale)
        zoomAbout(event->position(), scale);
    event->accept();
}

void VideoWidget::switchToSelectMode() {
    m_textMode = false;
    commitText();
    m_selectMode = true;
    m_movingMode = false;
    m_drawingMode = false;
    m_eraserMode = false;
    setCursor(Qt::CrossCursor);
}

// A dragged rectangle fills the view; a click or a sliver is no selection.
void VideoWidget::finishSelection() {
    constexpr int kSmallest = 8;
    const QRect selected = m_selection.rect();
    update(m_selection.finish());
    if (selected.width() >= kSmallest && selected.height() >= kSmallest)
        zoomToViewRect(selected);
}
