// SPDX-License-Identifier: GPL-3.0-or-later
// Cuts a page out of a full-resolution picture and warps it to an upright rectangle; optionally
// turns it by the small skew its text lines still show, and paints its border white.
#pragma once

#include <opencv2/core.hpp>

#include "pagefinder.h"

namespace optigrab {

class PageStraightener {
public:
    // The page within rgb (CV_8UC3), corners in rgb's coordinates, as a rectangle with the page's
    // aspect ratio, as large as the page's longer sides.
    static cv::Mat straighten(const cv::Mat& rgb, const Quad& page);

    // Width over height of the rectangle whose picture is page, in a picture of the given size.
    static double aspectRatio(const Quad& page, const cv::Size& picture);

    // Angle in degrees (-5 to 5; positive: lines fall to the right) at which the text lines of an
    // upright page run, from the spread of its dark pixels across rows.
    static double residualSkew(const cv::Mat& rgb);

    // rgb turned so that lines at the given skew run level; corners it uncovers take the colour of
    // the nearest edge.
    static cv::Mat levelled(const cv::Mat& rgb, double skewDegrees);

    // Paints the outer strip (1 % of the shorter side), where desk or the paper's shadowed edge
    // shows after cropping, white.
    static void whitenBorder(cv::Mat& rgb);
};

}  // namespace optigrab
