// SPDX-License-Identifier: GPL-3.0-or-later
// The udev monitor thread for real video nodes.
#include "udevmonitor.h"

#include <libudev.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace optigrab {

UdevMonitor::~UdevMonitor() {
    stop();
}

void UdevMonitor::start(HotplugSink* sink) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (thread_.joinable() || !sink)
        return;
    udev_ = udev_new();
    if (udev_)
        monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ && (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "video4linux", nullptr) < 0 ||
                     udev_monitor_enable_receiving(monitor_) < 0)) {
        udev_monitor_unref(monitor_);
        monitor_ = nullptr;
    }
    wakeFd_ = monitor_ ? ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK) : -1;
    if (wakeFd_ < 0) {
        if (monitor_)
            udev_monitor_unref(monitor_);
        if (udev_)
            udev_unref(udev_);
        monitor_ = nullptr;
        udev_ = nullptr;
        return;
    }
    sink_ = sink;
    thread_ = std::thread(&UdevMonitor::run, this);
}

void UdevMonitor::stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!thread_.joinable())
        return;
    std::uint64_t one = 1;
    while (::write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
    thread_.join();
    ::close(wakeFd_);
    wakeFd_ = -1;
    udev_monitor_unref(monitor_);
    udev_unref(udev_);
    monitor_ = nullptr;
    udev_ = nullptr;
    sink_ = nullptr;
}

// Runs on the monitor thread until stop() wakes it.
void UdevMonitor::run() {
    const int monitorFd = udev_monitor_get_fd(monitor_);
    for (;;) {
        pollfd fds[2] = {{monitorFd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        if (!(fds[0].revents & POLLIN))
            continue;
        udev_device* device = udev_monitor_receive_device(monitor_);
        if (!device)
            continue;
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        if (action && node) {
            if (std::strcmp(action, "add") == 0)
                sink_->nodeEvent(NodeEvent::Added, node);
            else if (std::strcmp(action, "remove") == 0)
                sink_->nodeEvent(NodeEvent::Removed, node);
            else if (std::strcmp(action, "change") == 0)
                sink_->nodeEvent(NodeEvent::Changed, node);
        }
        udev_device_unref(device);
    }
}

}  // namespace optigrab
