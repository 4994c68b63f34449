// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's touch input: one finger acts as the mouse does with the chosen tool, two fingers
// pinch to zoom and move to pan in any mode, without drawing. GUI thread only.
#include <QMouseEvent>
#include <QTouchEvent>

#include "videowidget.h"

bool VideoWidget::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
            return touchEvent(static_cast<QTouchEvent*>(event));
        default:
            return QWidget::event(event);
    }
}

bool VideoWidget::touchEvent(QTouchEvent* event) {
    const QList<QTouchEvent::TouchPoint>& points = event->touchPoints();
    if (event->type() == QEvent::TouchBegin) {
        // A touch on a bar, the file panel or the compared picture is theirs: left unaccepted, it
        // reaches them as the mouse events the platform makes of it.
        if (points.isEmpty() || childAt(points.first().pos().toPoint()) != nullptr) {
            event->ignore();
            return false;
        }
        m_pinch.end();
    }
    event->accept();
    if (event->type() == QEvent::TouchCancel) {
        cancelTouchAction();
        m_pinch.end();
        return true;
    }
    if (!m_pinch.active() && points.size() >= 2) {
        cancelTouchAction();
        m_pinch.begin(points[0].pos(), points[1].pos(), m_currentScale);
    }
    if (m_pinch.active()) {
        if (points.size() >= 2 && points[0].state() != Qt::TouchPointReleased &&
            points[1].state() != Qt::TouchPointReleased) {
            // The picture moves with the point between the fingers and scales with their distance,
            // the picture point between them staying there.
            const PinchGesture::Step step = m_pinch.follow(points[0].pos(), points[1].pos());
            m_imageOffset += step.moved.toPoint();
            zoomAbout(step.centre, step.scale);
        }
        if (event->type() == QEvent::TouchEnd)
            m_pinch.end();
        return true;
    }
    // One finger: the mouse's left button.
    const QEvent::Type type = event->type() == QEvent::TouchBegin ? QEvent::MouseButtonPress
                              : event->type() == QEvent::TouchEnd ? QEvent::MouseButtonRelease
                                                                  : QEvent::MouseMove;
    const QPointF pos = points.first().pos();
    QMouseEvent mouse(type, pos, mapToGlobal(pos.toPoint()), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, event->modifiers());
    if (type == QEvent::MouseButtonPress)
        mousePressEvent(&mouse);
    else if (type == QEvent::MouseMove)
        mouseMoveEvent(&mouse);
    else
        mouseReleaseEvent(&mouse);
    return true;
}

// A second finger came down: what the first began (a stroke, a shape, a selection, a drag) is
// dropped, so that a pinch leaves nothing on the page.
void VideoWidget::cancelTouchAction() {
    if (m_drawing && !m_shape.active()) {
        const int steps = m_history.undoSteps();
        m_highlight.end();
        m_drawing = false;
        m_lastPoint = QPoint(0, 0);
        m_currentLine.clear();
        m_history.endStep();
        if (m_history.undoSteps() > steps)
            showRestored(m_history.undo(m_drawingPixmap));
    }
    if (m_shape.active())
        cancelShape();
    if (m_selection.active())
        update(m_selection.finish());
    m_mask.release();
    m_mousePressed = false;
}
