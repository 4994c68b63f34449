// SPDX-License-Identifier: GPL-3.0-or-later
#include "overlaystack.h"

void OverlayStack::paint(QPainter& painter, const Viewport& viewport, const QRect& dirty) const {
    for (const auto& overlay : m_overlays)
        overlay->paint(painter, viewport, dirty);
}

bool OverlayStack::press(const QPointF& viewPos, const Viewport& viewport, bool toolMarks) {
    release();
    for (auto it = m_overlays.rbegin(); it != m_overlays.rend(); ++it) {
        if ((*it)->press(viewPos, viewport, toolMarks)) {
            m_grabbed = it->get();
            return true;
        }
    }
    return false;
}

QRect OverlayStack::drag(const QPointF& viewPos, const Viewport& viewport) {
    return m_grabbed != nullptr ? m_grabbed->drag(viewPos, viewport) : QRect();
}

void OverlayStack::release() {
    if (m_grabbed != nullptr)
        m_grabbed->release();
    m_grabbed = nullptr;
}
