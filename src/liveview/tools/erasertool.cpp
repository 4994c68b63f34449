// SPDX-License-Identifier: GPL-3.0-or-later
#include "erasertool.h"

#include <QIcon>
#include <QPainter>
#include <QWidget>
#include <cstdio>

#include "liveview/inktiles.h"
#include "toolhost.h"

QCursor EraserTool::cursor() const {
    const int side = width();
    const QPixmap icon = QIcon(":/image/svg/bar.svg").pixmap(QSize(side, side), QIcon::Normal, QIcon::On);
    // A size of 0 renders nothing; the previous cursor is better than an invisible one.
    if (icon.isNull())
        return m_host.widget()->cursor();
    return QCursor(icon, side / 2, side / 2);
}

void EraserTool::drawSegment(QPixmap& layer, const QPoint& from, const QPoint& to, const QVector<QRect>&) {
    printf("****进入擦除模式******************m_eraserSize=%d\n", width());
    QPainter painter(&layer);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setPen(roundPen(Qt::transparent, width()));
    painter.drawLine(from, to);
}

int EraserTool::width() const {
    return m_host.eraserSize();
}

// Erasing may have emptied tiles, which then need no compositing.
void EraserTool::ended() {
    m_host.inkTiles().prune(m_host.layer());
}
