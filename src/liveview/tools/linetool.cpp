// SPDX-License-Identifier: GPL-3.0-or-later
#include "linetool.h"

#include <QPainter>

void LineTool::draw(QPainter& painter, const QPoint& from, const QPoint& to) const {
    painter.drawLine(from, to);
}
