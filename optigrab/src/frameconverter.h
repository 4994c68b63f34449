// SPDX-License-Identifier: GPL-3.0-or-later
// Turns one camera frame (MJPG, YUY2, NV12) into tightly packed RGB888, optionally scaled down to a
// preview size, into a buffer the caller reuses from frame to frame. One instance per thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "jpegdecoder.h"

namespace optigrab {

// A frame as the camera delivered it.
struct FrameView {
    long code = 0;  // MediaCode
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;  // bytes used
    long width = 0;        // the mode's size (an MJPG frame's own header wins)
    long height = 0;
    long stride = 0;  // bytes per line of YUY2 / of NV12's luma plane; 0 = packed
};

// A part of a frame, in millionths of its width and height; width 0 = the whole frame.
struct FramePart {
    static constexpr long kWhole = 1000000;
    long x = 0, y = 0, width = 0, height = 0;
    bool whole() const {
        return width <= 0 || height <= 0 || (x == 0 && y == 0 && width >= kWhole && height >= kWhole);
    }
};

class FrameConverter {
public:
    enum class Quality { Preview, Still };

    FrameConverter();
    ~FrameConverter();
    FrameConverter(const FrameConverter&) = delete;
    FrameConverter& operator=(const FrameConverter&) = delete;

    // Cheap checks before decoding: enough bytes for the mode; MJPG starts with SOI and has EOI at
    // its end. Frames that fail are dropped without being decoded.
    static bool looksComplete(const FrameView& frame);

    // Converts frame to RGB888 at the smallest size that still covers hintWidth x hintHeight (0, 0 =
    // full size). out grows when too small and is never shrunk, so a steady stream allocates nothing.
    // Returns false for a frame that is incomplete or does not decode cleanly (nothing to show).
    // With a part, only that part of the frame is converted (MJPG decodes only its rows and columns,
    // to whole blocks) and the hint applies to it; shown then tells the part converted, which may be
    // a little larger (chroma pairs, scaled pixels).
    bool toRgb(const FrameView& frame, long hintWidth, long hintHeight, Quality quality,
               std::vector<std::uint8_t>& out, long* outWidth, long* outHeight, const FramePart& part = {},
               FramePart* shown = nullptr);

    // Size of the preview of a width x height frame of media type code under a size hint.
    static void previewSize(long code, long width, long height, long hintWidth, long hintHeight,
                            long* outWidth, long* outHeight);

    // The frame itself, or a copy (valid until the next call) with the standard Huffman tables before
    // its scan: UVC cameras commonly leave them out, as the MJPEG format allows.
    const std::uint8_t* withHuffmanTables(const std::uint8_t* data, std::size_t size, std::size_t* newSize);

private:
    // A part's pixels in a width x height frame: whole multiples of step from the frame's corner.
    struct Pixels {
        long x, y, width, height;
    };
    static Pixels pixelsOf(const FramePart& part, long width, long height, long step);
    static FramePart partOf(const Pixels& pixels, long width, long height);
    bool decodeMjpeg(const FrameView& frame, long hintWidth, long hintHeight, Quality quality,
                     std::vector<std::uint8_t>& out, long* outWidth, long* outHeight, const FramePart& part,
                     FramePart* shown);
    bool convertYuv(const FrameView& frame, long hintWidth, long hintHeight, std::vector<std::uint8_t>& out,
                    long* outWidth, long* outHeight, const FramePart& part, FramePart* shown);
    JpegDecoder jpeg_;
    std::vector<std::uint8_t> patched_;     // MJPG frame with DHT inserted
    std::vector<std::uint8_t> argb_;        // YUV converted to ARGB before scaling
    std::vector<std::uint8_t> scaledArgb_;  // the scaled ARGB picture
};

}  // namespace optigrab
