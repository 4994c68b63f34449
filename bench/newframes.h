// SPDX-License-Identifier: GPL-3.0-or-later
// Tells the view's paints that show a new camera frame from repaints of the old one.
#pragma once

#include <QObject>
#include <utility>

#include "liveview/videowidget.h"

// GUI thread. The view takes each delivered frame first (its own connection is the older one), then
// this marks it, and the paint the frame asks for comes after both.
class NewFrames : public QObject {
public:
    explicit NewFrames(VideoWidget* view) {
        connect(
            view, &VideoWidget::imageReady, this, [this] { m_pending = m_seen = true; },
            Qt::QueuedConnection);
    }
    // After a paint of the view: whether it showed a frame no paint showed before.
    bool painted() { return std::exchange(m_pending, false); }
    // Whether a frame has reached the view: its annotation layer exists.
    bool seen() const { return m_seen; }

private:
    bool m_pending = false;
    bool m_seen = false;
};
