// SPDX-License-Identifier: GPL-3.0-or-later
#include "ellipsetool.h"

#include <QPainter>

void EllipseTool::draw(QPainter& painter, const QPoint& from, const QPoint& to) const {
    painter.drawEllipse(QRect(from, to).normalized());
}
