// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's masks: the curtain and the spotlight chosen with Masking, and their drags. GUI
// thread only.
#include <QMouseEvent>

#include "videowidget.h"

void VideoWidget::showMask(MaskKind kind) {
    m_mask.setKind(kind);
    update();
}

QRectF VideoWidget::pictureOnView() const {
    return QRectF(pictureOrigin(), QSizeF(m_videoPixmap.size()) * shownScale());
}

bool VideoWidget::maskMouseEvent(QMouseEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            // With Move (or no tool) a drag inside the spotlight moves it; with the pen, the eraser, Select
            // or Text it is the tool's, so that the lit paragraph can be marked.
            if (event->button() != Qt::LeftButton ||
                !m_mask.press(event->pos(), pictureOnView(),
                              !(m_drawingMode || m_eraserMode || m_selectMode || m_textMode)))
                return false;
            update();
            return true;
        case QEvent::MouseMove:
            if (!m_mask.dragging())
                return false;
            m_mask.drag(event->pos(), pictureOnView());
            update();
            return true;
        case QEvent::MouseButtonRelease:
            if (!m_mask.dragging())
                return false;
            m_mask.release();
            return true;
        default:
            return false;
    }
}
