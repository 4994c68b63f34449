// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated cameras as a Platform: registry of plugged cameras, open descriptors and hot-plug.
#include "simulator.h"

#include "framecycle.h"
#include "simcontrol.h"

#include <linux/videodev2.h>
#include <sys/eventfd.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace optigrab {

Platform& simulatedPlatform() {
    return sim::Simulator::instance();
}

namespace sim {

namespace {

constexpr int kFirstNodeNumber = 1000;    // above any real /dev/videoN, so simulated cameras come last
constexpr int kMostFromEnvironment = 64;  // OPTIGRAB_SIMULATED_CAMERAS: more is a typo, not a demo

}  // namespace

Simulator& Simulator::instance() {
    // Never destroyed: at exit, frame clock threads of cameras still streaming and the library's
    // own threads may still call in, and static destruction order across the library is not ours.
    static Simulator* simulator = new Simulator;
    return *simulator;
}

Simulator::Simulator() {
    // Demos and smoke tests: OPTIGRAB_SIMULATED_CAMERAS=N cameras are present from the start.
    if (const char* text = std::getenv("OPTIGRAB_SIMULATED_CAMERAS")) {
        char* end = nullptr;
        errno = 0;
        const long count = std::strtol(text, &end, 10);
        if (end == text || *end != '\0' || errno == ERANGE || count < 0 || count > kMostFromEnvironment) {
            // A typo here would otherwise look like a camera that does not work.
            std::fprintf(
                stderr,
                "optigrab: OPTIGRAB_SIMULATED_CAMERAS=\"%s\" is not a number from 0 to %d; no simulated "
                "cameras added\n",
                printable(text).c_str(), kMostFromEnvironment);
            return;
        }
        for (long i = 0; i < count; ++i)
            plug(CameraConfig::documentCamera());
    }
}

Simulator::~Simulator() = default;

std::string Simulator::nodePath(int id, bool metadata) {
    return std::string("/dev/optigrab-sim/") + (metadata ? "meta" : "video") + std::to_string(id);
}

int Simulator::nodeNumber(int id, bool metadata) {
    return kFirstNodeNumber + 2 * id + (metadata ? 1 : 0);
}

std::vector<NodeInfo> Simulator::nodes() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<NodeInfo> result;
    for (const auto& [id, camera] : cameras_) {
        const int slot = slots_.at(id);
        for (bool metadata : {false, true})
            result.push_back({nodePath(slot, metadata), nodeNumber(slot, metadata), camera->config().vendorId,
                              camera->config().productId, camera->config().serial,
                              "sim:" + std::to_string(id)});
    }
    std::sort(result.begin(), result.end(),
              [](const NodeInfo& a, const NodeInfo& b) { return a.number < b.number; });
    return result;
}

int Simulator::open(const std::string& path) {
    std::shared_ptr<SimCamera> camera;
    bool metadata = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& [id, candidate] : cameras_)
            for (bool meta : {false, true})
                if (path == nodePath(slots_.at(id), meta)) {
                    camera = candidate;
                    metadata = meta;
                }
    }
    if (!camera) {
        errno = ENOENT;
        return -1;
    }
    auto handle = std::make_shared<Handle>();
    handle->node.fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    handle->node.metadata = metadata;
    handle->camera = camera;
    if (handle->node.fd < 0)
        return -1;
    if (const int result = camera->attach(&handle->node); result < 0) {
        ::close(handle->node.fd);
        errno = -result;
        return -1;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    handles_[handle->node.fd] = handle;
    return handle->node.fd;
}

std::shared_ptr<Simulator::Handle> Simulator::handle(int fd) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = handles_.find(fd);
    return found == handles_.end() ? nullptr : found->second;
}

int Simulator::close(int fd) {
    std::shared_ptr<Handle> closing;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = handles_.find(fd);
        if (found != handles_.end()) {
            closing = found->second;
            handles_.erase(found);
        }
    }
    if (!closing) {
        errno = EBADF;
        return -1;
    }
    closing->camera->detach(&closing->node);  // before the eventfd goes: the camera writes to it
    return ::close(fd);
}

int Simulator::ioctl(int fd, unsigned long request, void* arg) {
    const auto target = handle(fd);
    if (!target) {
        errno = EBADF;
        return -1;
    }
    const int result = target->camera->ioctl(target->node, request, arg);
    if (result < 0) {
        errno = -result;
        return -1;
    }
    return result;
}

void* Simulator::mmap(std::size_t length, int fd, off_t offset) {
    const auto target = handle(fd);
    if (!target) {
        errno = EBADF;
        return MAP_FAILED;
    }
    int error = 0;
    void* address = target->camera->mmap(target->node, length, offset, &error);
    if (address == MAP_FAILED)
        errno = error;
    return address;
}

int Simulator::munmap(void* address, std::size_t length) {
    return ::munmap(address, length);  // buffer mappings are ordinary shared mappings
}

// Our descriptors are eventfds that the cameras make readable when a frame waits or the camera is
// gone; the revents the caller sees come from the camera's state, like a driver's poll.
int Simulator::poll(struct pollfd* fds, nfds_t count, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    std::vector<std::shared_ptr<Handle>> ours(count);
    std::vector<struct pollfd> real(fds, fds + count);
    for (nfds_t i = 0; i < count; ++i) {
        ours[i] = handle(fds[i].fd);
        if (ours[i])
            real[i].events = POLLIN;
    }
    const auto nodeEvents = [&](nfds_t i) {
        return static_cast<short>(ours[i]->camera->pollEvents(ours[i]->node) &
                                  (fds[i].events | POLLERR | POLLHUP));
    };

    for (;;) {
        bool ready = false;
        for (nfds_t i = 0; i < count; ++i)
            if (ours[i] && nodeEvents(i))
                ready = true;
        int wait = 0;
        if (!ready && timeoutMs != 0) {
            wait = -1;
            if (timeoutMs > 0) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
                wait = static_cast<int>(std::max<long>(0, left));
            }
        }
        if (::poll(real.data(), count, wait) < 0)
            return -1;
        int result = 0;
        for (nfds_t i = 0; i < count; ++i) {
            fds[i].revents = ours[i] ? nodeEvents(i) : real[i].revents;
            if (fds[i].revents)
                ++result;
        }
        if (result > 0 || wait == 0 || (timeoutMs > 0 && Clock::now() >= deadline))
            return result;
        // Woken by a count that a DQBUF on another thread already consumed: sleep again.
    }
}

void Simulator::startHotplug(HotplugSink* sink) {
    std::lock_guard<std::mutex> control(controlMutex_);
    {
        std::lock_guard<std::mutex> lock(sinkMutex_);
        sink_ = sink;
    }
    const char* path = std::getenv("OPTIGRAB_SIMULATED_CONTROL");
    if (path && *path && !control_) {
        control_ = std::make_unique<SimControl>(*this, path);
        if (!control_->start())
            control_.reset();
    }
}

void Simulator::stopHotplug() {
    std::lock_guard<std::mutex> control(controlMutex_);
    control_.reset();  // joins the control thread: no command is running after this
    {
        std::lock_guard<std::mutex> replugging(replugMutex_);
        finishLateRemoval();
    }
    std::lock_guard<std::mutex> lock(sinkMutex_);
    sink_ = nullptr;
}

// Runs with sinkMutex_ held.
void Simulator::announce(NodeEvent event, int slot) {
    if (!sink_)
        return;
    for (bool metadata : {false, true})
        sink_->nodeEvent(event, nodePath(slot, metadata));
}

int Simulator::replug(int id, CameraConfig config, int removalDelayMs) {
    std::lock_guard<std::mutex> replugging(replugMutex_);
    finishLateRemoval();  // one late removal at a time
    int fresh = 0, slot = 0;
    {
        std::lock_guard<std::mutex> delivery(sinkMutex_);
        std::shared_ptr<SimCamera> old;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            const auto found = cameras_.find(id);
            if (found == cameras_.end() || companions_.count(id))
                return -1;
            old = found->second;
            slot = slots_.at(id);
            cameras_.erase(found);
            slots_.erase(id);
            fresh = nextId_++;
            if (config.serial.empty())
                config.serial = "SIM0000" + std::to_string(fresh);
            cameras_[fresh] = makeCamera(fresh, std::move(config));
            slots_[fresh] = slot;
        }
        old->unplug();
        announce(NodeEvent::Added, slot);
    }
    std::lock_guard<std::mutex> late(lateMutex_);
    lateStop_ = false;
    latePending_ = true;
    lateRemoval_ = std::thread([this, slot, removalDelayMs] {
        std::unique_lock<std::mutex> waiting(lateMutex_);
        lateWake_.wait_for(waiting, std::chrono::milliseconds(removalDelayMs), [this] { return lateStop_; });
        waiting.unlock();
        {
            std::lock_guard<std::mutex> delivery(sinkMutex_);
            announce(NodeEvent::Removed, slot);
        }
        waiting.lock();
        latePending_ = false;
        lateWake_.notify_all();
    });
    return fresh;
}

bool Simulator::settle(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    {
        std::unique_lock<std::mutex> late(lateMutex_);
        if (!lateWake_.wait_until(late, deadline, [this] { return !latePending_; }))
            return false;
    }
    // Holding sinkMutex_ keeps stopHotplug from taking the sink away meanwhile; the sink's thread never
    // takes it.
    std::lock_guard<std::mutex> delivery(sinkMutex_);
    return !sink_ || sink_->waitUntilHandled(deadline);
}

// Delivers a pending late removal now and waits until it has gone out. Called with replugMutex_ held.
void Simulator::finishLateRemoval() {
    {
        std::lock_guard<std::mutex> late(lateMutex_);
        lateStop_ = true;
        lateWake_.notify_all();
    }
    if (lateRemoval_.joinable())
        lateRemoval_.join();
}

std::shared_ptr<FrameCycle> Simulator::cycle(std::uint32_t fourcc, int width, int height) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto& slot = cycles_[{fourcc, width, height}];
    if (!slot)
        slot = std::make_shared<FrameCycle>(fourcc, width, height);
    return slot;
}

int Simulator::plug(CameraConfig config) {
    std::lock_guard<std::mutex> delivery(sinkMutex_);  // events leave in the order cameras change
    std::vector<CameraConfig::Mode> secondModes = std::move(config.secondModes);
    int id = 0, second = -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        id = nextId_++;
        if (config.serial.empty())
            config.serial = "SIM0000" + std::to_string(id);
        if (!secondModes.empty()) {
            // A second capture node of the same USB device (infrared, H.264): the same names and ids.
            CameraConfig node = config;
            node.modes = std::move(secondModes);
            second = nextId_++;
            cameras_[second] = makeCamera(second, std::move(node));
            slots_[second] = second;
            companions_[id] = second;
        }
        cameras_[id] = makeCamera(id, std::move(config));
        slots_[id] = id;
    }
    announce(NodeEvent::Added, id);
    if (second >= 0)
        announce(NodeEvent::Added, second);
    return id;
}

int Simulator::plugFrames(const std::string& folder, int fps) {
    CameraConfig config;
    config.name = "Recorded Camera";
    config.vendorId = "fa11";
    config.productId = "0c02";
    config.recorded = FrameCycle::fromFolder(folder);
    if (!config.recorded)
        return -1;
    config.modes = {{V4L2_PIX_FMT_MJPEG, config.recorded->width(), config.recorded->height(), {fps}}};
    if (!config.valid()) {
        std::fprintf(stderr, "optigrab: %s: %dx%d frames at %d fps are more than a camera sends\n",
                     folder.c_str(), config.recorded->width(), config.recorded->height(), fps);
        return -1;
    }
    return plug(std::move(config));
}

// Called with mutex_ held.
std::shared_ptr<SimCamera> Simulator::makeCamera(int id, CameraConfig config) {
    return std::make_shared<SimCamera>(
        id, std::move(config),
        [this](std::uint32_t fourcc, int width, int height) { return cycle(fourcc, width, height); });
}

bool Simulator::unplug(int id) {
    std::lock_guard<std::mutex> delivery(sinkMutex_);
    std::vector<std::pair<int, std::shared_ptr<SimCamera>>> going;  // node slot, camera
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = cameras_.find(id);
        if (found == cameras_.end())
            return false;
        going.emplace_back(slots_.at(id), found->second);
        cameras_.erase(found);
        slots_.erase(id);
        const auto companion = companions_.find(id);
        if (companion != companions_.end()) {  // the device's other capture node goes with it
            const auto node = cameras_.find(companion->second);
            if (node != cameras_.end()) {
                going.emplace_back(slots_.at(node->first), node->second);
                slots_.erase(node->first);
                cameras_.erase(node);
            }
            companions_.erase(companion);
        }
    }
    for (const auto& [slot, camera] : going) {
        camera->unplug();  // open descriptors keep the camera object; they now answer ENODEV
        announce(NodeEvent::Removed, slot);
    }
    return true;
}

bool Simulator::grantAccess(int id) {
    std::lock_guard<std::mutex> delivery(sinkMutex_);
    std::vector<std::pair<int, std::shared_ptr<SimCamera>>> granted;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = cameras_.find(id);
        if (found == cameras_.end())
            return false;
        granted.emplace_back(slots_.at(id), found->second);
        const auto companion = companions_.find(id);
        if (companion != companions_.end() && cameras_.count(companion->second))
            granted.emplace_back(slots_.at(companion->second), cameras_[companion->second]);
    }
    for (const auto& [slot, camera] : granted) {
        camera->grantAccess();
        announce(NodeEvent::Changed, slot);
    }
    return true;
}

void Simulator::unplugAll() {
    std::vector<int> ids;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& entry : cameras_)
            ids.push_back(entry.first);
    }
    for (int id : ids)
        unplug(id);  // a second node already gone with its device answers false
}

int Simulator::count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(cameras_.size() - companions_.size());  // a device's second node is no camera
}

int Simulator::openStreams() {
    std::vector<std::shared_ptr<Handle>> open;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& entry : handles_)
            open.push_back(entry.second);
    }
    // Outside mutex_: a camera's lock is never taken inside it.
    return static_cast<int>(std::count_if(
        open.begin(), open.end(),
        [](const std::shared_ptr<Handle>& handle) { return handle->camera->holdsBuffers(handle->node); }));
}

std::shared_ptr<SimCamera> Simulator::camera(int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = cameras_.find(id);
    return found == cameras_.end() ? nullptr : found->second;
}

}  // namespace sim
}  // namespace optigrab
