// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's digital zoom: the wheel about the pointer, keys about the centre, and the part of
// the picture the camera is asked for while zoomed. GUI thread only.
#include <QWheelEvent>

#include "annotationcanvas.h"
#include "comparepane.h"
#include "textcontroller.h"
#include "videowidget.h"

QRect VideoWidget::liveArea() const {
    if (m_comparePane == nullptr || m_comparePane->isHidden())
        return rect();
    return QRect(0, 0, width() / 2, height());
}

// Split, the picture prepared at the view's size is shown fitted into the left half, so the layer and
// its ink keep their size and page points. The zoom and the pan are the documented members'.
Viewport& VideoWidget::viewport() {
    const QRect area = liveArea();
    m_viewport.setFrame(area, m_videoPixmap.size(), area != rect(), devicePixelRatioF());
    m_viewport.setZoom(m_currentScale, m_imageOffset);
    return m_viewport;
}

void VideoWidget::viewportChanged() {
    m_currentScale = m_viewport.scale();
    m_imageOffset = m_viewport.offset();
    // Back at 1x the camera's part of the picture is stale: the whole picture shows.
    if (!m_viewport.zoomed())
        m_livePicture.dropPart();
    m_livePicture.requestPart(m_presenter, m_currentDevIndex, viewport(), devicePixelRatioF());
    update();
}

void VideoWidget::zoomIn() {
    viewport().zoomIn();
    viewportChanged();
}

void VideoWidget::zoomOut() {
    viewport().zoomOut();
    viewportChanged();
}

void VideoWidget::resetZoom() {
    viewport().reset();
    viewportChanged();
}

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
    viewport().wheel(event->position(), event->angleDelta().y());
    if (m_viewport.scale() != m_currentScale)
        viewportChanged();
    event->accept();
}

// What is under way stops; with nothing under way the picture is whole again.
void VideoWidget::cancelInProgress() {
    if (m_text->stopReading())
        return;
    if (!m_canvas->cancel())
        resetZoom();
}
