// SPDX-License-Identifier: GPL-3.0-or-later
#include "selecttool.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "liveview/viewport.h"
#include "toolhost.h"

void SelectTool::press(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_active = true;
    m_anchor = event->pos();
    m_corner = event->pos();
}

void SelectTool::move(QMouseEvent* event) {
    if (!m_active)
        return;
    const QRect before = outlineArea();
    m_corner = event->pos();
    m_host.widget()->update(before.united(outlineArea()));
}

void SelectTool::release(QMouseEvent* event) {
    constexpr int kSmallest = 8;
    if (!m_active || event->button() != Qt::LeftButton)
        return;
    // As far as the pointer went, not the pixels the outline spans (one more): a drag across half the
    // view zooms exactly 2x, and the camera's part then needs no scaling.
    const QRect selected(rect().topLeft(), rect().size() - QSize(1, 1));
    cancel();
    if (selected.width() >= kSmallest && selected.height() >= kSmallest) {
        m_host.viewport().zoomToRect(selected);
        m_host.viewportChanged();
    }
}

void SelectTool::cancel() {
    if (!m_active)
        return;
    m_active = false;
    m_host.widget()->update(outlineArea());
}

QCursor SelectTool::cursor() const {
    return Qt::CrossCursor;
}

void SelectTool::paintPreview(QPainter& painter, const Viewport&) const {
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
