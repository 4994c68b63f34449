// SPDX-License-Identifier: GPL-3.0-or-later
#include "arrowtool.h"

#include <QLineF>
#include <QPainter>

namespace {

// The head: two strokes this many degrees off the shaft, this long (more for thick pens).
constexpr double kHeadAngle = 28.0;
constexpr double kHeadLength = 14.0;

double headLength(const QPen& pen) {
    return qMax(kHeadLength, pen.widthF() * 4);
}

}  // namespace

void ArrowTool::draw(QPainter& painter, const QPoint& from, const QPoint& to) const {
    const QLineF shaft(to, from);
    painter.drawLine(shaft);
    for (double side : {-kHeadAngle, kHeadAngle}) {
        QLineF barb = shaft;
        barb.setLength(headLength(painter.pen()));
        barb.setAngle(shaft.angle() + side);
        painter.drawLine(barb);
    }
}

double ArrowTool::reach(const QPen& pen) const {
    return headLength(pen);
}
