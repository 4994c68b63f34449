// SPDX-License-Identifier: GPL-3.0-or-later
// Device list scanning: every platform's nodes, capture nodes with a format the library decodes,
// modes queried through V4L2.
#include "devicelist.h"

#include <algorithm>
#include <cerrno>

namespace optigrab {

std::vector<DeviceList::Candidate> DeviceList::candidates(const std::vector<Platform*>& platforms) {
    std::vector<Candidate> all;
    for (Platform* platform : platforms)
        for (NodeInfo& node : platform->nodes())
            all.push_back({platform, std::move(node)});
    // The simulator numbers its nodes after the real ones, so this keeps real cameras first.
    std::stable_sort(all.begin(), all.end(),
                     [](const Candidate& a, const Candidate& b) { return a.node.number < b.node.number; });
    return all;
}

bool DeviceList::open(V4l2Device& device, const Candidate& candidate, std::vector<NodeInfo>* denied) {
    const int error = device.open(candidate.node.path);
    if ((error == EACCES || error == EPERM) && denied)
        denied->push_back(candidate.node);
    return error == 0;  // else vanished, or no permission
}

std::vector<DeviceInfo> DeviceList::scan(const std::vector<Platform*>& platforms,
                                         const std::vector<DeviceInfo>& known,
                                         std::vector<NodeInfo>* denied) {
    std::vector<DeviceInfo> devices;
    for (Candidate& candidate : candidates(platforms)) {
        auto same = std::find_if(known.begin(), known.end(), [&](const DeviceInfo& info) {
            return info.platform == candidate.platform && info.node.sameDevice(candidate.node);
        });
        if (same != known.end()) {
            devices.push_back(*same);
            continue;
        }
        V4l2Device device(*candidate.platform);
        if (!open(device, candidate, denied))
            continue;
        DeviceInfo info;
        if (!device.isCapture(&info.card))
            continue;
        info.platform = candidate.platform;
        info.node = std::move(candidate.node);
        info.formats = device.enumerateFormats();
        // An infrared node, or one that offers only H.264: nothing the library could show.
        if (info.formats.empty())
            continue;
        devices.push_back(std::move(info));
    }
    return devices;
}

std::vector<std::string> DeviceList::capturePaths(const std::vector<Platform*>& platforms,
                                                  std::vector<NodeInfo>* denied) {
    std::vector<std::string> paths;
    for (Candidate& candidate : candidates(platforms)) {
        V4l2Device device(*candidate.platform);
        if (!open(device, candidate, denied))
            continue;
        if (device.isCapture(nullptr) && !device.enumerateFormats().empty())
            paths.push_back(candidate.node.path);
    }
    return paths;
}

}  // namespace optigrab
