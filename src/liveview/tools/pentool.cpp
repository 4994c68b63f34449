// SPDX-License-Identifier: GPL-3.0-or-later
#include "pentool.h"

#include <QPainter>

#include "toolhost.h"

void PenTool::drawSegment(QPixmap& layer, const QPoint& from, const QPoint& to, const QVector<QRect>&) {
    QPainter painter(&layer);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setPen(roundPen(m_host.penColor(), width()));
    painter.drawLine(from, to);
}

int PenTool::width() const {
    return m_host.penSize();
}
