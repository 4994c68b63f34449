// SPDX-License-Identifier: GPL-3.0-or-later
// How long a change of the camera's brightness takes from the Adjustment popup's slider: until the
// control reached the camera (the driver's call returned), and until the first preview frame the
// library hands over shows it.
#pragma once

#include <atomic>
#include <mutex>

#include "samples.h"

class QWidget;

class ControlTimer {
public:
    // Capture threads: notes the level of a preview frame (tightly packed RGB) while run() watches.
    void notePreview(const unsigned char* rgb, long width, long height, long long captureUs);

    // GUI thread, with the camera streaming and the event loop stopped: opens the view's Adjustment
    // popup and moves its brightness slider between two values, trials times. False when the camera
    // offers no brightness.
    bool run(QWidget* view, int trials);

    // The figures as "figure KEY VALUE" lines: control_camera_*, control_preview_* (median, p95), and
    // control_captured_median (to the capture time of the frame showing it: the camera's share).
    void print() const;

private:
    struct Seen {
        long frames = 0;
        double level = 0;
        long long captureUs = 0, seenUs = 0;
    };
    Seen latest() const;
    bool waitFrames(long after, int count) const;

    std::atomic<bool> watching_{false};
    mutable std::mutex mutex_;  // guards seen_
    Seen seen_;
    Samples toCamera_{64}, toPreview_{64}, toCaptured_{64};
};
