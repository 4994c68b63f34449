// SPDX-License-Identifier: GPL-3.0-or-later
// The real side of the Platform seam: /dev/video* nodes through the kernel's system calls, ids and
// serial numbers from udev, hot-plug from the udev monitor.
#pragma once

#include "platform.h"
#include "udevmonitor.h"

namespace optigrab {

class KernelPlatform : public Platform {
public:
    std::vector<NodeInfo> nodes() override;
    int open(const std::string& path) override;
    int close(int fd) override;
    int ioctl(int fd, unsigned long request, void* arg) override;
    void* mmap(std::size_t length, int fd, off_t offset) override;
    int munmap(void* address, std::size_t length) override;
    int poll(struct pollfd* fds, nfds_t count, int timeoutMs) override;
    void startHotplug(HotplugSink* sink) override;
    void stopHotplug() override;

private:
    // Nodes found in /dev when udev cannot enumerate (no ids or serial then).
    static std::vector<NodeInfo> nodesFromDev();

    UdevMonitor monitor_;
};

}  // namespace optigrab
