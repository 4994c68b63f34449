// SPDX-License-Identifier: GPL-3.0-or-later
// The longest wait between two paints of the view that show a new camera frame.
#pragma once

#include <algorithm>

// Paints of frames the view has not painted before, and the longest gap between two of them. GUI thread.
struct FrameGaps {
    double lastMs = -1;
    double longestMs = 0;
    double longestEventMs = 0;     // the longest queued call the view handled (frame intake, new tile)
    double longestEventCpuMs = 0;  // the most CPU the GUI thread spent in one of them
    int frames = 0;
    void painted(double nowMs) {
        if (lastMs >= 0)
            longestMs = std::max(longestMs, nowMs - lastMs);
        lastMs = nowMs;
        ++frames;
    }
};
