// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing and extent of the dragged shapes.
#include "shapestroke.h"

#include <QLineF>
#include <QPainter>
#include <QPolygonF>
#include <QtMath>

namespace {

// An arrow's head: two strokes this many degrees off the shaft, this long (more for thick pens).
constexpr double kHeadAngle = 28.0;
constexpr double kHeadLength = 14.0;

double headLength(const QPen& pen) {
    return qMax(kHeadLength, pen.widthF() * 4);
}

}  // namespace

void ShapeStroke::begin(int kind, const QPoint& at, const QPen& pen) {
    m_active = true;
    m_kind = kind;
    m_from = at;
    m_to = at;
    m_pen = pen;
}

QRect ShapeStroke::moveTo(const QPoint& at) {
    const QRect before = bounds();
    m_to = at;
    return before.united(bounds());
}

QRect ShapeStroke::bounds() const {
    const int reach = int(m_pen.widthF() / 2 + 2 + (m_kind == Arrow ? headLength(m_pen) : 0));
    return QRect(m_from, m_to).normalized().adjusted(-reach, -reach, reach, reach);
}

void ShapeStroke::paint(QPainter& painter) const {
    if (!drawn())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(m_pen);
    painter.setBrush(Qt::NoBrush);
    const QRect box = QRect(m_from, m_to).normalized();
    switch (m_kind) {
        case Line:
            painter.drawLine(m_from, m_to);
            break;
        case Arrow: {
            const QLineF shaft(m_to, m_from);
            painter.drawLine(shaft);
            for (double side : {-kHeadAngle, kHeadAngle}) {
                QLineF barb = shaft;
                barb.setLength(headLength(m_pen));
                barb.setAngle(shaft.angle() + side);
                painter.drawLine(barb);
            }
            break;
        }
        case Rectangle:
            painter.drawRect(box);
            break;
        case Ellipse:
            painter.drawEllipse(box);
            break;
    }
    painter.restore();
}
