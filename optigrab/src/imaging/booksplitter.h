// SPDX-License-Identifier: GPL-3.0-or-later
// Tells a two-page spread from a single page: a landscape picture with a gutter, a dark or shaded
// vertical band near the middle between two lighter page regions, and splits the spread there.
#pragma once

#include <opencv2/core.hpp>

#include "pagefinder.h"

namespace optigrab {

class BookSplitter {
public:
    // Column of the gutter in grey's coordinates, or -1 when grey shows no spread.
    static int gutter(const cv::Mat& grey);

    // The outline of a spread cut along the vertical line at column x into its two pages.
    static void split(const Quad& spread, float x, Quad* left, Quad* right);
};

}  // namespace optigrab
