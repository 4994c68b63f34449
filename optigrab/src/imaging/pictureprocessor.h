// SPDX-License-Identifier: GPL-3.0-or-later
// Applies a device's picture settings (orientation, look) to an RGB888 picture: libyuv scales and
// turns colour, OpenCV scales and turns grey and converts, PageLooks makes the document and
// black-and-white looks. One instance per thread; its buffers are reused from frame to frame.
#pragma once

#include <cstdint>
#include <vector>

#include <opencv2/core.hpp>

#include "imaging/pagelooks.h"
#include "imaging/picturesettings.h"

namespace optigrab {

class PictureProcessor {
public:
    // Replaces rgb (tightly packed, width x height) by the processed picture; a quarter turn exchanges
    // *width and *height. A picture larger than needed to cover fitWidth x fitHeight (in its own
    // orientation, before the turn; 0 = no limit) is scaled down to that first, so the turn and the
    // looks work on no more pixels than are shown. False when out of memory (rgb is then unchanged).
    bool apply(const PictureSettings& settings, std::vector<std::uint8_t>& rgb, long* width, long* height,
               long fitWidth = 0, long fitHeight = 0);

private:
    // src turned as settings say into dst, which must not share src's pixels.
    void turn(const PictureSettings& settings, const cv::Mat& src, cv::Mat& spare, cv::Mat& dst);

    PageLooks looks_;
    cv::Mat scaled_, mirrored_, turned_, grey_, argb_, argbTurned_;  // reused from frame to frame
};

}  // namespace optigrab
