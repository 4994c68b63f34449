// SPDX-License-Identifier: GPL-3.0-or-later
// Real video nodes: enumeration through udev (with /dev as fallback) and plain system calls.
#include "kernelplatform.h"

#include <libudev.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace optigrab {

namespace {

// "video12" -> 12; -1 for other names.
int nodeNumber(const char* name) {
    if (!name || std::strncmp(name, "video", 5) != 0 || !std::isdigit(static_cast<unsigned char>(name[5])))
        return -1;
    char* end = nullptr;
    long number = std::strtol(name + 5, &end, 10);
    return *end == '\0' ? int(number) : -1;
}

std::string lowerAttribute(udev_device* device, const char* name) {
    const char* value = device ? udev_device_get_sysattr_value(device, name) : nullptr;
    std::string text = value ? value : "";
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void sortByNumber(std::vector<NodeInfo>& nodes) {
    std::sort(nodes.begin(), nodes.end(),
              [](const NodeInfo& a, const NodeInfo& b) { return a.number < b.number; });
}

}  // namespace

Platform& kernelPlatform() {
    static KernelPlatform platform;
    return platform;
}

std::vector<NodeInfo> KernelPlatform::nodes() {
    std::vector<NodeInfo> found;
    udev* context = udev_new();
    udev_enumerate* enumerate = context ? udev_enumerate_new(context) : nullptr;
    if (enumerate && udev_enumerate_add_match_subsystem(enumerate, "video4linux") >= 0 &&
        udev_enumerate_scan_devices(enumerate) >= 0) {
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
            udev_device* device = udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
            if (!device)
                continue;
            const char* node = udev_device_get_devnode(device);
            int number = nodeNumber(udev_device_get_sysname(device));
            if (node && number >= 0) {
                // The USB device the node belongs to carries the ids; it is owned by `device`.
                udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
                NodeInfo info;
                info.path = node;
                info.number = number;
                info.vendorId = lowerAttribute(usb, "idVendor");
                info.productId = lowerAttribute(usb, "idProduct");
                const char* serial = usb ? udev_device_get_sysattr_value(usb, "serial") : nullptr;
                info.serial = serial ? serial : "";
                const char* bus = usb ? udev_device_get_sysattr_value(usb, "busnum") : nullptr;
                const char* address = usb ? udev_device_get_sysattr_value(usb, "devnum") : nullptr;
                if (bus && address)
                    info.busAddress = std::string(bus) + ":" + address;
                found.push_back(std::move(info));
            }
            udev_device_unref(device);
        }
    }
    if (enumerate)
        udev_enumerate_unref(enumerate);
    if (context)
        udev_unref(context);
    if (found.empty())
        found = nodesFromDev();
    sortByNumber(found);
    return found;
}

std::vector<NodeInfo> KernelPlatform::nodesFromDev() {
    std::vector<NodeInfo> found;
    DIR* dev = ::opendir("/dev");
    if (!dev)
        return found;
    while (dirent* entry = ::readdir(dev)) {
        int number = nodeNumber(entry->d_name);
        if (number < 0)
            continue;
        NodeInfo info;
        info.path = std::string("/dev/") + entry->d_name;
        info.number = number;
        found.push_back(std::move(info));
    }
    ::closedir(dev);
    return found;
}

int KernelPlatform::open(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
}

int KernelPlatform::close(int fd) {
    return ::close(fd);
}

int KernelPlatform::ioctl(int fd, unsigned long request, void* arg) {
    return ::ioctl(fd, request, arg);
}

void* KernelPlatform::mmap(std::size_t length, int fd, off_t offset) {
    return ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, offset);
}

int KernelPlatform::munmap(void* address, std::size_t length) {
    return ::munmap(address, length);
}

int KernelPlatform::poll(struct pollfd* fds, nfds_t count, int timeoutMs) {
    return ::poll(fds, count, timeoutMs);
}

void KernelPlatform::startHotplug(HotplugSink* sink) {
    monitor_.start(sink);
}

void KernelPlatform::stopHotplug() {
    monitor_.stop();
}

}  // namespace optigrab
