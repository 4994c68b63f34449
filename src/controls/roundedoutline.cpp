// SPDX-License-Identifier: GPL-3.0-or-later
// The white rounded outline (radius 5) of the frameless popups: its path, its mask and its painting.
#include "roundedoutline.h"

#include <QPainter>
#include <QWidget>

namespace RoundedOutline {

QPainterPath path(const QRect& rect) {
    QPainterPath outline;
    outline.addRoundedRect(rect, 5, 5);
    return outline;
}

QRegion mask(const QRect& rect) {
    return QRegion(path(rect).toFillPolygon().toPolygon(), Qt::OddEvenFill);
}

void paint(QWidget* widget) {
    QPainter painter(widget);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(widget->rect(), Qt::transparent);
    painter.fillPath(path(widget->rect()), Qt::white);
}

}  // namespace RoundedOutline
