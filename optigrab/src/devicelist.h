// Scanning of the capture nodes of all platforms into the ordered device list.
#pragma once

#include <string>
#include <vector>

#include "deviceinfo.h"
#include "platform.h"

namespace optigrab {

class DeviceList {
public:
    // Capture nodes of every platform that offer a media type the library decodes, ordered by node
    // number, with their modes. A node whose path
    // and platform appear in known (devices still plugged since the last scan) keeps the modes found
    // then instead of being queried again while it may be streaming. Runs on the calling thread.
    static std::vector<DeviceInfo> scan(const std::vector<Platform*>& platforms,
                                        const std::vector<DeviceInfo>& known);

    // Paths of the same capture nodes in the same order (for hot-plug events).
    static std::vector<std::string> capturePaths(const std::vector<Platform*>& platforms);

private:
    struct Candidate {
        Platform* platform;
        NodeInfo node;
    };
    static std::vector<Candidate> candidates(const std::vector<Platform*>& platforms);
};

}  // namespace optigrab
