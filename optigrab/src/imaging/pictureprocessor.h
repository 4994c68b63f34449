// Applies a device's picture settings (orientation, look) to an RGB888 picture: libyuv turns and
// converts, PageLooks makes the document and black-and-white looks. One instance per thread; its
// buffers are reused from frame to frame.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/pagelooks.h"
#include "imaging/picturesettings.h"

namespace optigrab {

class PictureProcessor {
public:
    // Replaces rgb (tightly packed, width x height) by the processed picture; a quarter turn exchanges
    // *width and *height. False when out of memory (rgb is then unchanged).
    bool apply(const PictureSettings& settings, std::vector<std::uint8_t>& rgb, long* width, long* height);

private:
    bool turnColour(const PictureSettings& settings, std::vector<std::uint8_t>& rgb, int width, int height);
    bool turnGrey(const PictureSettings& settings, int width, int height);

    PageLooks looks_;
    std::vector<std::uint8_t> argb_, mirrored_, turned_;          // colour: ARGB copies
    std::vector<std::uint8_t> grey_, greyMirrored_, greyTurned_;  // the other looks: one byte a pixel
};

}  // namespace optigrab
