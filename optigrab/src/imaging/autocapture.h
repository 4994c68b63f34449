// SPDX-License-Identifier: GPL-3.0-or-later
// Decides when to capture a page by itself: from the mean difference of successive reduced pictures,
// idle -> page moving -> lying still for the hold time -> capture -> waiting for the next change.
// A page that is the same as the last one captured is not captured again. Not thread-safe: its owner
// serialises the calls.
#pragma once

#include <opencv2/core.hpp>

#include "pagefinder.h"

namespace optigrab {

class AutoCapture {
public:
    // The public CamAutoCaptureState codes of optigrab.h.
    enum State { Waiting = 1, Moving = 2, HoldingStill = 3, Captured = 4 };

    // holdMs: how long the picture must lie still; needPage: capture only when a page is found.
    AutoCapture(int holdMs, bool needPage);

    // One picture (grey, any size), taken at timeMs, with the page found in it (grey's coordinates)
    // or nullptr. Returns true when this picture is to be captured.
    bool feed(const cv::Mat& grey, long long timeMs, const Quad* page);

    State state() const { return state_; }

private:
    static double difference(const cv::Mat& a, const cv::Mat& b);
    // The page straightened to a small fixed size, or the whole picture reduced when none was found:
    // what two captures are compared by.
    static cv::Mat likeness(const cv::Mat& grey, const Quad* page);
    static double largestLocalChange(const cv::Mat& a, const cv::Mat& b);

    int holdMs_;
    bool needPage_;
    State state_ = Moving;  // the page lying there when capture starts counts as new
    long long stillSince_ = -1;
    cv::Mat previous_;
    cv::Mat lastCaptured_;  // likeness of the page captured last
};

}  // namespace optigrab
