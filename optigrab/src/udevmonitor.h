// SPDX-License-Identifier: GPL-3.0-or-later
// Hot-plug events of real video nodes: a thread that listens to udev's monitor for video4linux nodes
// being added and removed, and tells a HotplugSink.
#pragma once

#include <mutex>
#include <thread>

#include "platform.h"

struct udev;
struct udev_monitor;

namespace optigrab {

class UdevMonitor {
public:
    UdevMonitor() = default;
    ~UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    // Starts the monitor thread. Without udev (no netlink socket, as in some containers) real cameras
    // are still listed, only their hot-plug goes unnoticed; that is not an error for the library.
    void start(HotplugSink* sink);
    // When it returns the sink is not being called and will not be.
    void stop();

private:
    void run();

    std::mutex mutex_;  // guards the members below across start and stop
    std::thread thread_;
    int wakeFd_ = -1;
    struct udev* udev_ = nullptr;  // used by the monitor thread while it runs
    struct udev_monitor* monitor_ = nullptr;
    HotplugSink* sink_ = nullptr;
};

}  // namespace optigrab
