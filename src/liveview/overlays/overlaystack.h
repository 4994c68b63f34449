// SPDX-License-Identifier: GPL-3.0-or-later
// The overlays of the live picture in painting order, bottom first; the pointer reaches the topmost
// one that takes it.
#pragma once

#include <memory>
#include <vector>

#include "overlay.h"

// GUI thread only.
class OverlayStack {
public:
    // Puts overlay on top of the others; returns it.
    template <class Kind>
    Kind* add(std::unique_ptr<Kind> overlay) {
        Kind* added = overlay.get();
        m_overlays.push_back(std::move(overlay));
        return added;
    }
    void paint(QPainter& painter, const Viewport& viewport, const QRect& dirty) const;
    // Whether an overlay took the press; it then has the pointer until release().
    bool press(const QPointF& viewPos, const Viewport& viewport, bool toolMarks);
    bool grabbed() const { return m_grabbed != nullptr; }
    // The grabbing overlay follows the pointer; returns the view area to paint again.
    QRect drag(const QPointF& viewPos, const Viewport& viewport);
    void release();

private:
    std::vector<std::unique_ptr<Overlay>> m_overlays;
    Overlay* m_grabbed = nullptr;
};
