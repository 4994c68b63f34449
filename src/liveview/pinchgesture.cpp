// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom and pan of a two-finger pinch.
#include "pinchgesture.h"

#include <QLineF>

void PinchGesture::begin(const QPointF& first, const QPointF& second, double scale) {
    m_active = true;
    m_startScale = scale;
    m_startDistance = QLineF(first, second).length();
    m_centre = (first + second) / 2;
}

PinchGesture::Step PinchGesture::follow(const QPointF& first, const QPointF& second) {
    const QPointF centre = (first + second) / 2;
    const QPointF moved = centre - m_centre;
    m_centre = centre;
    // Fingers that touched down on one spot cannot say how far apart they went: the zoom stays.
    const double distance = QLineF(first, second).length();
    const double scale = m_startDistance > 0 ? m_startScale * distance / m_startDistance : m_startScale;
    return {centre, moved, scale};
}
