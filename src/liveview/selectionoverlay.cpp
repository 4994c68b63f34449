// SPDX-License-Identifier: GPL-3.0-or-later
// The dashed outline of a selection being dragged.
#include "selectionoverlay.h"

#include <QPainter>
#include <QPen>

void SelectionOverlay::begin(const QPoint& viewPos) {
    m_active = true;
    m_anchor = viewPos;
    m_corner = viewPos;
}

QRect SelectionOverlay::extend(const QPoint& viewPos) {
    const QRect before = outlineArea();
    m_corner = viewPos;
    return before.united(outlineArea());
}

QRect SelectionOverlay::finish() {
    m_active = false;
    return outlineArea();
}

void SelectionOverlay::paint(QPainter& painter) const {
    if (!m_active)
        return;
    // White under black dashes: the outline shows on dark and on light pages.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(rect());
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(rect());
    painter.restore();
}
