// SPDX-License-Identifier: GPL-3.0-or-later
#include "movetool.h"

#include <QMouseEvent>
#include <QWidget>

#include "liveview/viewport.h"
#include "toolhost.h"

void MoveTool::press(QMouseEvent* event) {
    const PointerState pointer = m_host.pointer();
    pointer.mousePressed = true;
    pointer.dragStartPos = event->pos();
    m_host.widget()->setCursor(Qt::ClosedHandCursor);
}

void MoveTool::move(QMouseEvent* event) {
    const PointerState pointer = m_host.pointer();
    if (!pointer.mousePressed)
        return;
    m_host.viewport().panBy(event->pos() - pointer.dragStartPos);
    pointer.dragStartPos = event->pos();
    m_host.viewportChanged();
}

void MoveTool::release(QMouseEvent*) {
    cancel();
}

bool MoveTool::busy() const {
    return m_host.pointer().mousePressed;
}

void MoveTool::cancel() {
    m_host.pointer().mousePressed = false;
    m_host.widget()->setCursor(cursor());
}

QCursor MoveTool::cursor() const {
    return Qt::OpenHandCursor;
}
