// SPDX-License-Identifier: GPL-3.0-or-later
#include "rectangletool.h"

#include <QPainter>

void RectangleTool::draw(QPainter& painter, const QPoint& from, const QPoint& to) const {
    painter.drawRect(QRect(from, to).normalized());
}
