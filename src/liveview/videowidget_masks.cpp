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
            if (event->button() != Qt::LeftButton || !m_mask.press(event->pos(), pictureOnView()))
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
