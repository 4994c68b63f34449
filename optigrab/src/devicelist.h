// SPDX-License-Identifier: GPL-3.0-or-later
// Scanning of the capture nodes of all platforms into the ordered device list.
#pragma once

#include <string>
#include <vector>

#include "deviceinfo.h"
#include "platform.h"
#include "v4l2device.h"

namespace optigrab {

class DeviceList {
public:
    // Capture nodes of every platform that offer a media type the library decodes, ordered by node
    // number, with their modes. A node whose device (path, bus address and serial)
    // and platform appear in known (devices still plugged since the last scan) keeps the modes found
    // then instead of being queried again while it may be streaming. Runs on the calling thread.
    // Nodes this user may not open (EACCES, EPERM) go to *denied when it is given.
    static std::vector<DeviceInfo> scan(const std::vector<Platform*>& platforms,
                                        const std::vector<DeviceInfo>& known,
                                        std::vector<NodeInfo>* denied = nullptr);

    // Paths of the same capture nodes in the same order (for hot-plug events).
    static std::vector<std::string> capturePaths(const std::vector<Platform*>& platforms,
                                                 std::vector<NodeInfo>* denied = nullptr);

private:
    struct Candidate {
        Platform* platform;
        NodeInfo node;
    };
    static std::vector<Candidate> candidates(const std::vector<Platform*>& platforms);
    // Opens the candidate; a node the user may not open is added to *denied.
    static bool open(V4l2Device& device, const Candidate& candidate, std::vector<NodeInfo>* denied);
};

}  // namespace optigrab
