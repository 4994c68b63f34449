// SPDX-License-Identifier: GPL-3.0-or-later
// The document and black-and-white looks of a grey picture, made with OpenCV's core and imgproc.
#pragma once

#include <opencv2/core.hpp>

namespace optigrab {

class PageLooks {
public:
    // White paper and dark text: the page's background (its lighting) is estimated by a morphological
    // closing of a reduced copy, which removes the text, and divided out; then the levels are stretched
    // so that paper is white and the darkest ink black. Text keeps its full-resolution edges.
    void document(cv::Mat& grey);

    // Two levels by Sauvola's local threshold, T = m (1 + k (s / R - 1)) over a window scaled to the
    // picture. Local mean m and deviation s come from integral images of a reduced copy (the window
    // is many pixels wide, so they hardly change), the threshold map is scaled back up and compared
    // with the full picture. What is much darker than the paper around it (its level from a wide
    // closing) is ink whatever the window says, so dark plain areas come out clean.
    void blackWhite(cv::Mat& grey);

private:
    // Reused from frame to frame, each at a size of its own: no allocation in a steady stream.
    cv::Mat reduced_, background_, fullSize_, sum_, squares_, mean_, deviation_, work_, threshold_,
        fullThreshold_;
};

}  // namespace optigrab
