// SPDX-License-Identifier: GPL-3.0-or-later
// Still pictures of pages: a camera frame decoded at full resolution, then cut out and straightened
// to the page found in it, or split at a spread's gutter into its two pages.
#pragma once

#include <opencv2/core.hpp>

#include "frameconverter.h"
#include "pagefinder.h"

namespace optigrab {

struct PageOptions {
    bool crop = false;         // cut out and straighten the page
    bool levelText = false;    // then turn it by the residual skew of its text lines
    bool whiteBorder = false;  // then paint its outer strip white
};

class PageStill {
public:
    // The frame as RGB at full size, with options.crop the page cut out of it. *pageFound tells
    // whether a page was found (without one the picture stays whole). CAM_ERR_NO_FRAME when the
    // frame does not decode.
    static long page(const FrameView& frame, const PageOptions& options, cv::Mat* out, bool* pageFound);

    // Whether the frame shows a two-page spread.
    static bool isSpread(const FrameView& frame);

    // The two pages of a spread, left first, each cut out and straightened as far as the spread's
    // outline is found; *spread false (and the whole picture in left) when the frame shows no spread.
    static long spread(const FrameView& frame, const PageOptions& options, cv::Mat* left, cv::Mat* right,
                       bool* spread);

private:
    static bool decode(const FrameView& frame, cv::Mat* rgb);
    static cv::Mat finish(const cv::Mat& rgb, const Quad* page, const PageOptions& options);
};

}  // namespace optigrab
