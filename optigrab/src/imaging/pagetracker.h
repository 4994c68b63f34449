// SPDX-License-Identifier: GPL-3.0-or-later
// Smooths the page found in successive preview frames, so that the outline shown over the live
// picture holds still instead of jittering, yet follows a page that is moved. Not thread-safe: its
// owner serialises the calls.
#pragma once

#include "pagefinder.h"

namespace optigrab {

class PageTracker {
public:
    // One frame's answer (found or not); returns whether a page is tracked now, with its corners.
    bool update(bool found, const Quad& page, Quad* tracked);
    void reset();

private:
    bool tracking_ = false;
    int misses_ = 0;  // frames without a page since the last one with
    Quad smoothed_{};
};

}  // namespace optigrab
