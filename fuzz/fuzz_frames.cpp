// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the library's frame path on arbitrary buffers. The first bytes choose the media type
// (MJPG, YUY2, NV12), the mode's size, the line stride, the preview size hint and the quality, as
// a driver and the viewer would; the rest is the frame as the camera delivered it.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "deviceinfo.h"
#include "frameconverter.h"

using optigrab::FrameConverter;
using optigrab::FrameView;

namespace {

const std::size_t kHeaderSize = 8;

long readU16(const std::uint8_t* p) {
    return (long(p[0]) << 8) | p[1];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize)
        return 0;
    static FrameConverter converter;  // one per capture thread, reused frame after frame
    static std::vector<std::uint8_t> out;

    FrameView frame;
    const long codes[] = {optigrab::kMediaMjpg, optigrab::kMediaYuy2, optigrab::kMediaNv12};
    frame.code = codes[data[0] % 3];
    frame.width = 1 + readU16(data + 1) % 1280;
    frame.height = 1 + readU16(data + 3) % 720;
    // 0: packed lines; otherwise a stride around the packed one, shorter ones included.
    const long packed = frame.code == optigrab::kMediaYuy2 ? 2 * frame.width : frame.width;
    frame.stride = data[5] == 0 ? 0 : packed + long(data[5]) - 32;
    const long hintWidth = data[6] == 0 ? 0 : frame.width * data[6] / 128;
    const long hintHeight = data[6] == 0 ? 0 : frame.height * data[6] / 128;
    const auto quality = data[7] & 1 ? FrameConverter::Quality::Still : FrameConverter::Quality::Preview;
    frame.data = data + kHeaderSize;
    frame.size = size - kHeaderSize;

    long width = 0, height = 0;
    if (!converter.toRgb(frame, hintWidth, hintHeight, quality, out, &width, &height))
        return 0;
    // A frame that decodes gives a picture that fits the buffer the callback is handed.
    if (width <= 0 || height <= 0 || out.size() < std::size_t(width) * std::size_t(height) * 3)
        std::abort();
    if (frame.code != optigrab::kMediaMjpg && (width > frame.width || height > frame.height))
        std::abort();
    return 0;
}
