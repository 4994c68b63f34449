// SPDX-License-Identifier: GPL-3.0-or-later
// A highlighter stroke, composited once over the layer as it was before it.
#include "highlightstroke.h"

#include <QPainter>

void HighlightStroke::begin(const QPixmap& layer, const QPen& pen, int alpha) {
    m_pen = pen;
    QColor ink = pen.color();
    ink.setAlpha(alpha);
    m_pen.setColor(ink);
    restart(layer);
}

void HighlightStroke::restart(const QPixmap& layer) {
    m_before = layer.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_ink = QImage(m_before.size(), QImage::Format_ARGB32_Premultiplied);
    m_ink.fill(Qt::transparent);
}

void HighlightStroke::addSegment(QPixmap& layer, const QPoint& from, const QPoint& to,
                                 const QVector<QRect>& areas) {
    {
        // Replacing rather than blending: where segments overlap the ink keeps the one alpha, and
        // antialiased edges only mix towards it.
        QPainter ink(&m_ink);
        ink.setRenderHint(QPainter::Antialiasing);
        ink.setCompositionMode(QPainter::CompositionMode_Source);
        ink.setPen(m_pen);
        ink.drawLine(from, to);
    }
    QPainter painter(&layer);
    for (const QRect& area : areas) {
        const QRect inside = area.intersected(m_ink.rect());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(inside.topLeft(), m_before, inside);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(inside.topLeft(), m_ink, inside);
    }
}

void HighlightStroke::end() {
    m_before = QImage();
    m_ink = QImage();
}
