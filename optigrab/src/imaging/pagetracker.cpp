// SPDX-License-Identifier: GPL-3.0-or-later
// Page tracking: exponential smoothing of the corners; a jump restarts it, a few misses end it.
#include "pagetracker.h"

#include <algorithm>

namespace optigrab {

namespace {

// Misses tolerated before the page counts as gone: a hand passing over a corner is not a new page.
const int kMaxMisses = 3;
// A corner moving further than this share of the diagonal means the page was moved: no smoothing.
const double kJump = 0.04;
// Weight of the newest corners in the average.
const float kWeight = 0.35f;

}  // namespace

bool PageTracker::update(bool found, const Quad& page, Quad* tracked) {
    if (!found) {
        if (tracking_ && ++misses_ > kMaxMisses)
            tracking_ = false;
    } else {
        misses_ = 0;
        double diagonal = cv::norm(page[2] - page[0]);
        double moved = 0;
        for (int i = 0; i < 4; ++i)
            moved = std::max(moved, double(cv::norm(page[i] - smoothed_[i])));
        if (!tracking_ || moved > kJump * diagonal) {
            smoothed_ = page;
        } else {
            for (int i = 0; i < 4; ++i)
                smoothed_[i] = smoothed_[i] * (1.0f - kWeight) + page[i] * kWeight;
        }
        tracking_ = true;
    }
    if (tracking_)
        *tracked = smoothed_;
    return tracking_;
}

void PageTracker::reset() {
    tracking_ = false;
    misses_ = 0;
}

}  // namespace optigrab
