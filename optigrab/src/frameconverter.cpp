// SPDX-License-Identifier: GPL-3.0-or-later
// Frame conversion to RGB888: libjpeg for MJPG (DCT-domain scaling for previews), libyuv for YUY2
// and NV12 (box-filter scaling). Runs on a capture thread, or on the caller's thread for stills.
#include "frameconverter.h"

#include <algorithm>
#include <cstring>

#include <libyuv.h>

#include "deviceinfo.h"

namespace optigrab {

namespace {

// The Huffman tables that JPEG suggests for 8-bit images (ITU T.81 K.3), which MJPEG frames without a
// DHT segment are coded with: class/id byte, 16 code-length counts, then the symbols.
const std::uint8_t kDcLumaBits[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
const std::uint8_t kDcChromaBits[16] = {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
const std::uint8_t kDcValues[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
const std::uint8_t kAcLumaBits[16] = {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d};
const std::uint8_t kAcLumaValues[162] = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22,
    0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52, 0xd1, 0xf0, 0x24, 0x33,
    0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x34,
    0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55,
    0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76,
    0x77, 0x78, 0x79, 0x7a, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96,
    0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5,
    0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4,
    0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf1,
    0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};
const std::uint8_t kAcChromaBits[16] = {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77};
const std::uint8_t kAcChromaValues[162] = {
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13,
    0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33, 0x52, 0xf0, 0x15, 0x62,
    0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18, 0x19, 0x1a, 0x26, 0x27, 0x28, 0x29,
    0x2a, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54,
    0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75,
    0x76, 0x77, 0x78, 0x79, 0x7a, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94,
    0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3,
    0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2,
    0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea,
    0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};

void appendTable(std::vector<std::uint8_t>& segment, std::uint8_t classAndId, const std::uint8_t* bits,
                 const std::uint8_t* values, std::size_t valueCount) {
    segment.push_back(classAndId);
    segment.insert(segment.end(), bits, bits + 16);
    segment.insert(segment.end(), values, values + valueCount);
}

// The complete DHT segment (marker, length, four tables), built once.
const std::vector<std::uint8_t>& standardHuffmanSegment() {
    static const std::vector<std::uint8_t> segment = [] {
        std::vector<std::uint8_t> s = {0xFF, 0xC4, 0, 0};
        appendTable(s, 0x00, kDcLumaBits, kDcValues, sizeof kDcValues);
        appendTable(s, 0x10, kAcLumaBits, kAcLumaValues, sizeof kAcLumaValues);
        appendTable(s, 0x01, kDcChromaBits, kDcValues, sizeof kDcValues);
        appendTable(s, 0x11, kAcChromaBits, kAcChromaValues, sizeof kAcChromaValues);
        std::size_t length = s.size() - 2;
        s[2] = static_cast<std::uint8_t>(length >> 8);
        s[3] = static_cast<std::uint8_t>(length & 0xFF);
        return s;
    }();
    return segment;
}

// Denominators of the scalings the JPEG decoder does inside the inverse DCT with its fast paths.
const int kScaleDenominators[] = {8, 4, 2, 1};

// How much larger than its mode, in each direction, an MJPG frame's own header may say it is.
const long kMjpegSizeSlack = 2;

// Bytes at the end of an MJPG frame searched for EOI: drivers may leave a little padding after it.
const std::size_t kEoiSearch = 1024;

void ensureSize(std::vector<std::uint8_t>& buffer, std::size_t size) {
    if (buffer.size() < size)
        buffer.resize(size);
}

}  // namespace

FrameConverter::FrameConverter() = default;

FrameConverter::~FrameConverter() = default;

bool FrameConverter::looksComplete(const FrameView& frame) {
    if (!frame.data || frame.width <= 0 || frame.height <= 0)
        return false;
    std::size_t w = static_cast<std::size_t>(frame.width), h = static_cast<std::size_t>(frame.height);
    switch (frame.code) {
        case kMediaMjpg: {
            if (frame.size < 4 || frame.data[0] != 0xFF || frame.data[1] != 0xD8)
                return false;
            std::size_t from = frame.size > kEoiSearch ? frame.size - kEoiSearch : 2;
            for (std::size_t i = frame.size - 2; i >= from; --i)
                if (frame.data[i] == 0xFF && frame.data[i + 1] == 0xD9)
                    return true;
            return false;
        }
        case kMediaYuy2: {
            std::size_t stride = frame.stride > 0 ? static_cast<std::size_t>(frame.stride) : 2 * w;
            return stride >= 2 * w && frame.size >= stride * h;
        }
        case kMediaNv12: {
            std::size_t stride = frame.stride > 0 ? static_cast<std::size_t>(frame.stride) : w;
            return stride >= w && frame.size >= stride * h + stride * ((h + 1) / 2);
        }
        default:
            return false;
    }
}

void FrameConverter::previewSize(long code, long width, long height, long hintWidth, long hintHeight,
                                 long* outWidth, long* outHeight) {
    *outWidth = width;
    *outHeight = height;
    hintWidth = std::max(0L, hintWidth);
    hintHeight = std::max(0L, hintHeight);
    if ((hintWidth == 0 && hintHeight == 0) || width <= 0 || height <= 0)
        return;
    if (code == kMediaMjpg) {
        for (int denominator : kScaleDenominators) {
            long w = (width + denominator - 1) / denominator, h = (height + denominator - 1) / denominator;
            if (w >= hintWidth && h >= hintHeight) {
                *outWidth = w;
                *outHeight = h;
                return;
            }
        }
        return;
    }
    if (hintWidth >= width || hintHeight >= height)
        return;
    // Keep the aspect: the dimension that needs the larger share decides, the other follows rounded up.
    if (hintWidth * height >= hintHeight * width) {
        *outWidth = hintWidth;
        *outHeight = std::min(height, (height * hintWidth + width - 1) / width);
    } else {
        *outHeight = hintHeight;
        *outWidth = std::min(width, (width * hintHeight + height - 1) / height);
    }
}

bool FrameConverter::toRgb(const FrameView& frame, long hintWidth, long hintHeight, Quality quality,
                           std::vector<std::uint8_t>& out, long* outWidth, long* outHeight,
                           const FramePart& part, FramePart* shown) {
    if (!looksComplete(frame))
        return false;
    if (frame.code == kMediaMjpg)
        return decodeMjpeg(frame, hintWidth, hintHeight, quality, out, outWidth, outHeight, part, shown);
    return convertYuv(frame, hintWidth, hintHeight, out, outWidth, outHeight, part, shown);
}

FrameConverter::Pixels FrameConverter::pixelsOf(const FramePart& part, long width, long height, long step) {
    if (part.whole())
        return {0, 0, width, height};
    auto span = [step](long from, long length, long size) {
        const long whole = FramePart::kWhole;
        long begin = std::clamp(from, 0L, whole) * size / whole / step * step;
        long end = (std::clamp(from + length, 0L, whole) * size + whole - 1) / whole;
        end = std::min(size, (end + step - 1) / step * step);
        if (end <= begin)
            begin = std::max(0L, end - step);
        return std::make_pair(begin, end - begin);
    };
    const auto [x, w] = span(part.x, part.width, width);
    const auto [y, h] = span(part.y, part.height, height);
    return {x, y, w, h};
}

FramePart FrameConverter::partOf(const Pixels& pixels, long width, long height) {
    const long whole = FramePart::kWhole;
    auto share = [whole](long value, long size) { return (value * whole + size / 2) / size; };
    return {share(pixels.x, width), share(pixels.y, height), share(pixels.width, width),
            share(pixels.height, height)};
}

const std::uint8_t* FrameConverter::withHuffmanTables(const std::uint8_t* data, std::size_t size,
                                                      std::size_t* newSize) {
    *newSize = size;
    std::size_t i = 2, scanStart = 0;
    while (i + 4 <= size) {
        if (data[i] != 0xFF)
            return data;  // not a marker where one belongs: let the decoder judge
        std::uint8_t marker = data[i + 1];
        if (marker == 0xFF) {  // fill byte
            ++i;
            continue;
        }
        if (marker == 0xC4)
            return data;  // has its own tables
        if (marker == 0xDA) {
            scanStart = i;
            break;
        }
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {  // markers without a length
            i += 2;
            continue;
        }
        i += 2 + ((std::size_t(data[i + 2]) << 8) | data[i + 3]);
    }
    if (scanStart == 0)
        return data;
    const std::vector<std::uint8_t>& tables = standardHuffmanSegment();
    *newSize = size + tables.size();
    ensureSize(patched_, *newSize);
    std::memcpy(patched_.data(), data, scanStart);
    std::memcpy(patched_.data() + scanStart, tables.data(), tables.size());
    std::memcpy(patched_.data() + scanStart + tables.size(), data + scanStart, size - scanStart);
    return patched_.data();
}

bool FrameConverter::decodeMjpeg(const FrameView& frame, long hintWidth, long hintHeight, Quality quality,
                                 std::vector<std::uint8_t>& out, long* outWidth, long* outHeight,
                                 const FramePart& part, FramePart* shown) {
    std::size_t size = 0;
    const std::uint8_t* jpeg = withHuffmanTables(frame.data, frame.size, &size);
    if (quality == Quality::Still)
        hintWidth = hintHeight = 0;
    long fullWidth = 0, fullHeight = 0;
    Pixels pixels{};
    int scale = 1;
    // The scaling the preview size asks for, done inside the inverse DCT. The header wins over the
    // mode (some cameras pad or misreport it), but within bounds: a damaged size field would otherwise
    // have us allocate gigabytes for one frame (0 refuses the frame).
    auto denominator = [&](long width, long height, JpegDecoder::Crop* crop) {
        if (width > kMjpegSizeSlack * frame.width || height > kMjpegSizeSlack * frame.height)
            return 0;
        fullWidth = width;
        fullHeight = height;
        pixels = pixelsOf(part, width, height, 1);
        long w = 0, h = 0;
        previewSize(kMediaMjpg, pixels.width, pixels.height, hintWidth, hintHeight, &w, &h);
        int d = 1;
        while (d < 8 && (pixels.width + d - 1) / d != w)
            d *= 2;
        scale = d;
        if (pixels.width != width || pixels.height != height) {
            // In scaled pixels, whole ones: the part grows to the scaled pixels it touches.
            crop->x = pixels.x / d;
            crop->y = pixels.y / d;
            crop->width = (pixels.x + pixels.width + d - 1) / d - crop->x;
            crop->height = (pixels.y + pixels.height + d - 1) / d - crop->y;
        }
        return d;
    };
    // Preview frames favour speed: the fast IDCT and chroma upsampling differ from the accurate ones
    // by less than the camera's own noise; still pictures take the accurate ones. A frame with corrupt
    // data shows garbage and is dropped; stray bytes between segments leave the picture whole.
    const JpegDecoder::Outcome outcome =
        jpeg_.decode(jpeg, size, quality == Quality::Preview, denominator, out, outWidth, outHeight);
    const bool good = outcome == JpegDecoder::Outcome::Clean || outcome == JpegDecoder::Outcome::Harmless;
    if (good && shown != nullptr) {
        const long x = pixels.x / scale * scale, y = pixels.y / scale * scale;
        *shown = partOf(
            {x, y, std::min(fullWidth - x, *outWidth * scale), std::min(fullHeight - y, *outHeight * scale)},
            fullWidth, fullHeight);
    }
    return good;
}

bool FrameConverter::convertYuv(const FrameView& frame, long hintWidth, long hintHeight,
                                std::vector<std::uint8_t>& out, long* outWidth, long* outHeight,
                                const FramePart& part, FramePart* shown) {
    // Chroma comes in pairs of columns (and of rows in NV12): a part starts and ends on them.
    const Pixels pixels = pixelsOf(part, frame.width, frame.height, 2);
    const int w = int(pixels.width), h = int(pixels.height);
    long ow = 0, oh = 0;
    previewSize(frame.code, w, h, hintWidth, hintHeight, &ow, &oh);
    ensureSize(out, static_cast<std::size_t>(ow) * oh * 3);
    const bool scaled = ow != w || oh != h;
    int result = 0;
    if (frame.code == kMediaNv12) {
        const int stride = frame.stride > 0 ? int(frame.stride) : int(frame.width);
        const std::uint8_t* y = frame.data + std::size_t(stride) * pixels.y + pixels.x;
        const std::uint8_t* uv =
            frame.data + std::size_t(stride) * frame.height + std::size_t(stride) * (pixels.y / 2) + pixels.x;
        if (!scaled) {
            // libyuv's RAW is R, G, B in memory order: what the callback promises.
            result = libyuv::NV12ToRAW(y, stride, uv, stride, out.data(), w * 3, w, h);
        } else {
            ensureSize(argb_, std::size_t(w) * h * 4);
            result = libyuv::NV12ToARGB(y, stride, uv, stride, argb_.data(), w * 4, w, h);
        }
    } else {
        const int stride = frame.stride > 0 ? int(frame.stride) : int(frame.width) * 2;
        const std::uint8_t* yuy2 = frame.data + std::size_t(stride) * pixels.y + std::size_t(pixels.x) * 2;
        ensureSize(argb_, std::size_t(w) * h * 4);
        result = libyuv::YUY2ToARGB(yuy2, stride, argb_.data(), w * 4, w, h);
        if (!scaled && result == 0)
            result = libyuv::ARGBToRAW(argb_.data(), w * 4, out.data(), w * 3, w, h);
    }
    if (scaled && result == 0) {
        ensureSize(scaledArgb_, std::size_t(ow) * oh * 4);
        // libyuv's quarter-width box path requires a height step that is a multiple of four too, and
        // aborts otherwise (4x6 to 1x1): such steps take the bilinear filter, which has no such path.
        const bool quarterWidthOnly = w == 4 * ow && h % oh == 0 && (h / oh) % 4 != 0;
        result = libyuv::ARGBScale(argb_.data(), w * 4, w, h, scaledArgb_.data(), int(ow) * 4, int(ow),
                                   int(oh), quarterWidthOnly ? libyuv::kFilterBilinear : libyuv::kFilterBox);
        if (result == 0)
            result =
                libyuv::ARGBToRAW(scaledArgb_.data(), int(ow) * 4, out.data(), int(ow) * 3, int(ow), int(oh));
    }
    if (result != 0)
        return false;
    *outWidth = ow;
    *outHeight = oh;
    if (shown != nullptr)
        *shown = partOf(pixels, frame.width, frame.height);
    return true;
}

}  // namespace optigrab
