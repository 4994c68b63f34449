// SPDX-License-Identifier: GPL-3.0-or-later
#include "shapetool.h"

#include <QMouseEvent>
#include <QPainter>

#include "liveview/annotationhistory.h"
#include "liveview/inktiles.h"
#include "liveview/viewport.h"
#include "toolhost.h"

void ShapeTool::press(QMouseEvent* event) {
    const QPoint at = m_host.viewport().toPicture(event->pos());
    if (event->button() != Qt::LeftButton || m_host.layer().isNull() || !m_host.layer().rect().contains(at))
        return;
    m_active = true;
    m_from = at;
    m_to = at;
    m_pen = QPen(m_host.penColor(), m_host.penSize(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    // Undo and redo wait for the shape, as for a stroke.
    m_host.pointer().drawing = true;
}

void ShapeTool::move(QMouseEvent* event) {
    if (m_active)
        moveTo(m_host.viewport().toPicture(event->pos()));
}

void ShapeTool::moveTo(const QPoint& layerPos) {
    const QRect layer = m_host.layer().rect();
    const QRect before = bounds();
    m_to = QPoint(qBound(0, layerPos.x(), layer.width() - 1), qBound(0, layerPos.y(), layer.height() - 1));
    m_host.layerChanged(before.united(bounds()));
}

void ShapeTool::release(QMouseEvent* event) {
    if (!m_active || event->button() != Qt::LeftButton)
        return;
    moveTo(m_host.viewport().toPicture(event->pos()));
    end();
    if (m_from == m_to)
        return;
    QPixmap& layer = m_host.layer();
    const QRect area = bounds().intersected(layer.rect());
    AnnotationHistory& history = m_host.history();
    history.beginStep();
    history.aboutToChange(layer, area);
    {
        QPainter painter(&layer);
        paint(painter);
    }
    history.endStep();
    m_host.inkTiles().mark(area);
    m_host.stepEnded();
    m_host.layerChanged(area);
}

void ShapeTool::cancel() {
    if (!m_active)
        return;
    end();
    m_host.layerChanged(bounds());
}

void ShapeTool::end() {
    m_active = false;
    m_host.pointer().drawing = false;
}

QCursor ShapeTool::cursor() const {
    return Qt::CrossCursor;
}

QRect ShapeTool::bounds() const {
    const int margin = int(m_pen.widthF() / 2 + 2 + reach(m_pen));
    return QRect(m_from, m_to).normalized().adjusted(-margin, -margin, margin, margin);
}

void ShapeTool::paint(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(m_pen);
    painter.setBrush(Qt::NoBrush);
    draw(painter, m_from, m_to);
    painter.restore();
}

// The shape being dragged shows over the ink, on its page point and cut at the picture's edges.
void ShapeTool::paintPreview(QPainter& painter, const Viewport& viewport) const {
    if (!m_active || m_from == m_to)
        return;
    painter.save();
    const QRectF picture = viewport.pictureOnView();
    painter.translate(picture.topLeft());
    painter.scale(viewport.shownScale(), viewport.shownScale());
    painter.setClipRect(m_host.layer().rect(), Qt::IntersectClip);
    paint(painter);
    painter.restore();
}
