// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's touch input: one finger acts as the mouse does with the chosen tool, two fingers
// pinch to zoom and move to pan in any mode, without drawing. GUI thread only.
#include <QMouseEvent>
#include <QTouchEvent>

#include "annotationcanvas.h"
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
        viewport().endPinch();
    }
    event->accept();
    if (event->type() == QEvent::TouchCancel) {
        cancelTouchAction();
        m_viewport.endPinch();
        return true;
    }
    if (!m_viewport.pinching() && points.size() >= 2) {
        cancelTouchAction();
        viewport().beginPinch(points[0].pos(), points[1].pos());
    }
    if (m_viewport.pinching()) {
        if (points.size() >= 2 && points[0].state() != Qt::TouchPointReleased &&
            points[1].state() != Qt::TouchPointReleased) {
            // The picture moves with the point between the fingers and scales with their distance,
            // the picture point between them staying there.
            viewport().followPinch(points[0].pos(), points[1].pos());
            viewportChanged();
        }
        if (event->type() == QEvent::TouchEnd)
            m_viewport.endPinch();
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

// A second finger came down: what the first began ends as on a change of tool (a stroke, a shape, a
// selection or a drag is dropped, a text typed is kept), so that a pinch leaves no mark on the page.
void VideoWidget::cancelTouchAction() {
    m_canvas->dropPointerAction();
}
