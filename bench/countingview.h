// SPDX-License-Identifier: GPL-3.0-or-later
// The product's view as the scenarios run it: the paints that show a new camera frame counted.
#pragma once

#include <QElapsedTimer>

#include "framegaps.h"
#include "liveview/videowidget.h"
#include "newframes.h"

// GUI thread. Counts the paints that show a frame no paint showed before and, while gaps is set,
// tells it when each came on clock.
class CountingView : public VideoWidget {
public:
    using VideoWidget::VideoWidget;

    int painted = 0;
    QElapsedTimer clock;
    FrameGaps* gaps = nullptr;  // the window being measured, or none

    // Whether a frame has reached the view.
    bool hasLayer() const { return m_frames.seen(); }

protected:
    void paintEvent(QPaintEvent* event) override {
        VideoWidget::paintEvent(event);
        if (!m_frames.painted())
            return;
        ++painted;
        if (gaps != nullptr)
            gaps->painted(clock.nsecsElapsed() / 1e6);
    }

private:
    NewFrames m_frames{this};
};
