// SPDX-License-Identifier: GPL-3.0-or-later
// Two fingers on a picture: the zoom follows their distance, the pan the point between them.
#pragma once

#include <QPointF>

// GUI thread only.
class PinchGesture {
public:
    struct Step {
        QPointF centre;  // the point between the fingers now
        QPointF moved;   // how far it went since the previous step
        double scale;    // the zoom their distance asks for
    };

    // Two fingers are down on a picture shown at scale.
    void begin(const QPointF& first, const QPointF& second, double scale);
    Step follow(const QPointF& first, const QPointF& second);
    void end() { m_active = false; }
    bool active() const { return m_active; }

private:
    bool m_active = false;
    double m_startScale = 1.0;
    double m_startDistance = 0;
    QPointF m_centre;
};
