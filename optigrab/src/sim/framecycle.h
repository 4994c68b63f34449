// SPDX-License-Identifier: GPL-3.0-or-later
// The frames of one simulated camera mode: a short cycle of pages, each rendered and encoded once, or
// the JPEG files of a folder, played in a loop.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace optigrab::sim {

// Streaming a 4K mode must cost the simulator next to nothing, or measurements would see the
// simulator instead of the library. So each frame of the cycle is rendered and encoded the first
// time it is needed and kept for the process's life; delivering a frame is one memcpy.
// Thread-safe: several cameras' frame clock threads may share one cycle.
class FrameCycle {
public:
    // fourcc: V4L2_PIX_FMT_MJPEG, _YUYV, _NV12, _GREY or _H264 (whose frames stay empty).
    FrameCycle(std::uint32_t fourcc, int width, int height);

    // The JPEG files (*.jpg, *.jpeg) of a folder in name order, read now, as MJPEG frames of the
    // size of the first one; other files are kept as they are, broken ones too. Null (and a line on
    // standard error) when the folder has no JPEG file or the first one has no readable size.
    static std::shared_ptr<FrameCycle> fromFolder(const std::string& folder);

    // Frames in the cycle: fewer for large sizes to bound memory and start-up time.
    int size() const { return count_; }

    // Frame `index` (taken modulo size()), encoded (empty if encoding failed); the bytes stay valid for the
    // cycle's life. The first call for an index renders and encodes it (tens of milliseconds at 4K).
    const std::vector<std::uint8_t>& frame(long index);

    std::uint32_t fourcc() const { return fourcc_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    FrameCycle(std::vector<std::vector<std::uint8_t>> recorded, int width, int height);
    std::vector<std::uint8_t> encode(int index) const;

    const std::uint32_t fourcc_;
    const int width_;
    const int height_;
    const int count_;
    // Each frame is encoded exactly once, by whichever thread needs it first; the others wait only
    // for that frame.
    struct Slot {
        std::once_flag encoded;
        std::vector<std::uint8_t> bytes;
    };
    std::unique_ptr<Slot[]> frames_;
    const bool recorded_ = false;  // frames_ hold files read in advance: nothing to encode
};

}  // namespace optigrab::sim
