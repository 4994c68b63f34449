// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's shapes on the annotation layer: line, arrow, rectangle and ellipse, each one step
// of the history. GUI thread only.
#include <QPainter>

#include "videowidget.h"

void VideoWidget::beginShape(const QPoint& layerPos) {
    if (m_drawingPixmap.isNull() || !insidePicture(layerPos))
        return;
    QPen pen(m_penColor, m_penSize, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    m_shape.begin(m_currentToolType, layerPos, pen);
    // Undo and redo wait for the shape, as for a stroke.
    m_drawing = true;
}

void VideoWidget::moveShape(const QPoint& layerPos) {
    const QPoint inside(qBound(0, layerPos.x(), m_drawingPixmap.width() - 1),
                        qBound(0, layerPos.y(), m_drawingPixmap.height() - 1));
    update(layerToView(m_shape.moveTo(inside)));
}

void VideoWidget::finishShape(const QPoint& layerPos) {
    moveShape(layerPos);
    m_shape.end();
    m_drawing = false;
    if (!m_shape.drawn())
        return;
    const QRect area = m_shape.bounds().intersected(m_drawingPixmap.rect());
    m_history.beginStep();
    m_history.aboutToChange(m_drawingPixmap, area);
    {
        QPainter painter(&m_drawingPixmap);
        m_shape.paint(painter);
    }
    m_history.endStep();
    m_inkTiles.mark(area);
    historyChanged();
    update(layerToView(area));
}

void VideoWidget::cancelShape() {
    m_shape.end();
    m_drawing = false;
    update(layerToView(m_shape.bounds()));
}
