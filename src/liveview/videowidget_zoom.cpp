// The main view's digital zoom: the wheel about the pointer, keys about the centre, a view rectangle
// filling the view, and the mapping between view and picture positions that painting and the
// canvas share. GUI thread only.
#include <QWheelEvent>
#include <cmath>

#include "videowidget.h"

namespace {

constexpr double kZoomStep = 1.25;
constexpr double kMinScale = 1.0;
constexpr double kMaxScale = 8.0;
constexpr int kWheelNotch = 120;  // angle delta of one wheel notch, in eighths of a degree

}  // namespace

QPointF VideoWidget::pictureOrigin() const {
    const int baseX = (width() - m_videoPixmap.width()) / 2;
    const int baseY = (height() - m_videoPixmap.height()) / 2;
    return QPointF(baseX + m_imageOffset.x(), baseY + m_imageOffset.y());
}

QPoint VideoWidget::toLayer(const QPoint& viewPos) const {
    const QPointF layer = (QPointF(viewPos) - pictureOrigin()) / m_currentScale;
    return QPoint(static_cast<int>(std::floor(layer.x())), static_cast<int>(std::floor(layer.y())));
}

QRect VideoWidget::layerToView(const QRect& layerRect) const {
    const QPointF origin = pictureOrigin();
    const QRectF view(origin + QPointF(layerRect.topLeft()) * m_currentScale,
                      QSizeF(layerRect.size()) * m_currentScale);
    // Smooth scaling reaches a pixel beyond the scaled edges.
    return view.toAlignedRect().adjusted(-1, -1, 1, 1);
}

// The picture point under viewPos stays under it. Back at 1x the picture is whole again.
void VideoWidget::zoomAbout(const QPointF& viewPos, double scale) {
    scale = qBound(kMinScale, scale, kMaxScale);
    if (std::abs(scale - kMinScale) < 1e-6) {
        resetZoom();
        return;
    }
    const QPointF picturePoint = (viewPos - pictureOrigin()) / m_currentScale;
    const QPointF origin = viewPos - picturePoint * scale;
    const QPointF base = pictureOrigin() - QPointF(m_imageOffset);
    m_imageOffset = (origin - base).toPoint();
    m_currentScale = scale;
    updatePreviewPart();
    update();
}

void VideoWidget::zoomToViewRect(const QRect& viewRect) {
    if (viewRect.width() < 1 || viewRect.height() < 1)
        return;
    const double scale = qBound(
        kMinScale,
        m_currentScale * qMin(double(width()) / viewRect.width(), double(height()) / viewRect.height()),
        kMaxScale);
    // The rectangle's centre goes to the view's centre.
    const QPointF picturePoint = (QRectF(viewRect).center() - pictureOrigin()) / m_currentScale;
    const QPointF origin = QRectF(rect()).center() - picturePoint * scale;
    const QPointF base = pictureOrigin() - QPointF(m_imageOffset);
    m_imageOffset = (origin - base).toPoint();
    m_currentScale = scale;
    updatePreviewPart();
    update();
}

void VideoWidget::zoomIn() {
    zoomAbout(QRectF(rect()).center(), m_currentScale * kZoomStep);
}

void VideoWidget::zoomOut() {
    zoomAbout(QRectF(rect()).center(), m_currentScale / kZoomStep);
}

void VideoWidget::resetZoom() {
    m_currentScale = kMinScale;
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
        const QRectF visible = QRectF(-pictureOrigin() / m_currentScale, QSizeF(size()) / m_currentScale)
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
    if (m_videoPixmap.isNull()) {
        event->ignore();
        return;
    }
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / kWheelNotch;
    m_wheelRemainder -= notches * kWheelNotch;
    if (notches != 0)
        zoomAbout(event->position(), m_currentScale * std::pow(kZoomStep, notches));
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
