// SPDX-License-Identifier: GPL-3.0-or-later
// The operating-system side of the camera library: video node discovery, the V4L2 system calls and
// hot-plug events. The kernel answers for real cameras and the simulator for simulated ones; every
// line of code above this seam is the same for both.
#pragma once

#include <poll.h>
#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace optigrab {

// One video node as the platform sees it; capture nodes are told apart from metadata nodes by the
// caller through VIDIOC_QUERYCAP.
struct NodeInfo {
    std::string path;       // "/dev/video2", or a simulated node's path
    int number = 0;         // node number: the device list is ordered by it
    std::string vendorId;   // four lower-case hex digits, empty when unknown
    std::string productId;  // four lower-case hex digits, empty when unknown
    std::string serial;     // empty when unknown
    // Where the device sits on its bus now ("BUS:DEV" for USB): a device plugged again gets a new
    // one, so with the serial it tells a new camera from the old one at a reused node path. Empty
    // when unknown.
    std::string busAddress;

    // The same device behind the same node path.
    bool sameDevice(const NodeInfo& other) const {
        return path == other.path && busAddress == other.busAddress && serial == other.serial;
    }
};

// Changed: udev's "change" of a node that stays, as when its permissions change.
// Failed: the library gave a node up itself (it sends no frames), whatever the platform still lists.
enum class NodeEvent { Added, Removed, Changed, Failed };

// Receives hot-plug events from a platform. Called on a platform thread (udev monitor, simulator
// control); the receiver must not call back into the platform from inside.
class HotplugSink {
public:
    virtual ~HotplugSink() = default;
    virtual void nodeEvent(NodeEvent event, const std::string& path) = 0;
    // Waits until every event passed in so far has been handled; false when deadline passed first or
    // when waiting would deadlock. A sink that handles each event inside nodeEvent has nothing to wait
    // for.
    virtual bool waitUntilHandled(std::chrono::steady_clock::time_point /*deadline*/) { return true; }
};

// System calls with the kernel's semantics: -1 (or MAP_FAILED) and errno on failure. A node that was
// unplugged answers ENODEV to every call but close and munmap; poll then reports POLLERR on it.
class Platform {
public:
    virtual ~Platform() = default;

    // Candidate video nodes, ordered by node number.
    virtual std::vector<NodeInfo> nodes() = 0;

    virtual int open(const std::string& path) = 0;  // opened read-write, non-blocking
    virtual int close(int fd) = 0;
    virtual int ioctl(int fd, unsigned long request, void* arg) = 0;
    virtual void* mmap(std::size_t length, int fd, off_t offset) = 0;  // PROT_READ|PROT_WRITE, MAP_SHARED
    virtual int munmap(void* address, std::size_t length) = 0;
    // fds[0] is a node opened through this platform; further entries may be any real descriptors
    // (the capture thread's wake-up descriptor), so a platform's own descriptors must be real ones.
    virtual int poll(struct pollfd* fds, nfds_t count, int timeoutMs) = 0;

    // Starts reporting plug and unplug events to sink until stopHotplug returns; after it returns no
    // call into sink is running or will start.
    virtual void startHotplug(HotplugSink* sink) = 0;
    virtual void stopHotplug() = 0;
};

// The kernel's V4L2 nodes (/dev/video*), with ids and serial from udev.
Platform& kernelPlatform();

// The simulated cameras (optigrab_sim.h). Their node numbers follow all real ones.
Platform& simulatedPlatform();

}  // namespace optigrab
