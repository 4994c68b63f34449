// SPDX-License-Identifier: GPL-3.0-or-later
// What the library knows about one capture node after a scan: where it lives, its names and ids, and
// the modes it offers. Plain data, copied freely.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform.h"

namespace optigrab {

// Media-type codes of the public interface.
enum MediaCode : long { kMediaYuy2 = 1, kMediaMjpg = 2, kMediaNv12 = 3 };

struct FrameSize {
    long width = 0;
    long height = 0;
    std::vector<long> fps;  // highest first; empty when the driver lists no intervals
};

struct MediaFormat {
    long code = 0;  // MediaCode
    std::uint32_t fourcc = 0;
    std::vector<FrameSize> sizes;  // largest first (area, then width)
};

struct DeviceInfo {
    Platform* platform = nullptr;  // the side (kernel or simulator) that answers for the node
    NodeInfo node;
    std::string card;                  // the driver's card name
    std::vector<MediaFormat> formats;  // MJPG, YUY2, NV12 order; only those offered
};

// Name of a media-type code ("MJPG", "YUY2", "NV12"), empty for an unknown code.
inline const char* mediaName(long code) {
    switch (code) {
        case kMediaYuy2:
            return "YUY2";
        case kMediaMjpg:
            return "MJPG";
        case kMediaNv12:
            return "NV12";
        default:
            return "";
    }
}

}  // namespace optigrab
