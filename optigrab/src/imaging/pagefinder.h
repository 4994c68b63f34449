// SPDX-License-Identifier: GPL-3.0-or-later
// Finds a sheet of paper lying on a desk: the largest convex quadrilateral of plausible shape and size
// in a reduced grey picture. Stateless; PageTracker smooths its answers over frames.
#pragma once

#include <array>
#include <cstdint>

#include <opencv2/core.hpp>

namespace optigrab {

// Corners in the order top-left, top-right, bottom-right, bottom-left.
using Quad = std::array<cv::Point2f, 4>;

class PageFinder {
public:
    // Widest picture the finder looks at; larger ones are reduced first (see reduce).
    static const int kMaxWidth = 640;

    // A grey copy of packed RGB888 at most maxWidth wide (area-averaged), and the factor that takes
    // its coordinates back to the full picture's.
    static cv::Mat reduce(const std::uint8_t* rgb, long width, long height, int maxWidth, double* scale);

    // True with the page's corners in grey's coordinates. A page that touches the picture's edge, a
    // shape too small, too large or too far from a rectangle in perspective, or only clutter: false.
    static bool find(const cv::Mat& grey, Quad* page);

    // Orders four corners top-left, top-right, bottom-right, bottom-left.
    static Quad ordered(const std::array<cv::Point2f, 4>& corners);

    // How well two convex outlines agree: the area they share over the area either covers (0 to 1).
    static double overlap(const Quad& a, const Quad& b);
};

}  // namespace optigrab
