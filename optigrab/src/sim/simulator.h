// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated cameras as a Platform: registry of plugged cameras, open descriptors and hot-plug.
#pragma once

#include "platform.h"
#include "simcamera.h"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>

namespace optigrab::sim {

class FrameCycle;
class SimControl;

// The process's one simulator, reached through simulatedPlatform() and the optigrab_sim.h functions.
// Every member function is thread-safe.
class Simulator : public Platform {
public:
    static Simulator& instance();

    std::vector<NodeInfo> nodes() override;
    int open(const std::string& path) override;
    int close(int fd) override;
    int ioctl(int fd, unsigned long request, void* arg) override;
    void* mmap(std::size_t length, int fd, off_t offset) override;
    int munmap(void* address, std::size_t length) override;
    int poll(struct pollfd* fds, nfds_t count, int timeoutMs) override;
    void startHotplug(HotplugSink* sink) override;
    void stopHotplug() override;

    // Returns the new camera's id; a second capture node (config.secondModes) gets the next id and
    // is unplugged with the camera.
    int plug(CameraConfig config);
    static constexpr int kRecordedFps = 30;  // the rate recorded frames play at unless told
    // A camera playing the JPEG files of folder at fps; -1 when the folder has none to play.
    int plugFrames(const std::string& folder, int fps);
    bool unplug(int id);
    // Unplugs camera id and plugs a camera made from config at the same node paths, as the kernel
    // reuses /dev/videoN numbers; the old camera's removal events follow removalDelayMs after the new
    // one's plug events. Returns the new id, or -1 (unknown id, or a camera with a second node).
    int replug(int id, CameraConfig config, int removalDelayMs);
    // Lets the user open the camera's nodes (and its second node's), with a change event for each.
    bool grantAccess(int id);
    void unplugAll();
    // Waits until a pending late removal has gone out and the sink has handled every event so far;
    // false when timeoutMs passed first.
    bool settle(int timeoutMs);
    int count();
    // Open nodes that hold their camera's stream, unplugged cameras' included.
    int openStreams();
    std::shared_ptr<SimCamera> camera(int id);

    // Node paths and numbers of a node slot (a camera's id, unless it took an older camera's
    // paths): its capture node, then its metadata node.
    static std::string nodePath(int slot, bool metadata);
    static int nodeNumber(int slot, bool metadata);

private:
    Simulator();
    ~Simulator() override;

    struct Handle {
        OpenNode node;
        std::shared_ptr<SimCamera> camera;
    };
    std::shared_ptr<Handle> handle(int fd);
    std::shared_ptr<SimCamera> makeCamera(int id, CameraConfig config);
    std::shared_ptr<FrameCycle> cycle(std::uint32_t fourcc, int width, int height);
    void announce(NodeEvent event, int slot);  // the events of a slot's two nodes
    void finishLateRemoval();

    std::mutex mutex_;  // guards cameras_, companions_, slots_, handles_, nextId_ and cycles_
    std::map<int, std::shared_ptr<SimCamera>> cameras_;  // plugged cameras (and second nodes) by id
    std::map<int, int> companions_;                      // camera id -> id of its second capture node
    std::map<int, int> slots_;                           // camera id -> node slot of its paths
    std::map<int, std::shared_ptr<Handle>> handles_;     // open nodes by descriptor
    int nextId_ = 0;
    // Encoded frames by mode, shared by all cameras and kept for the process's life: opening the same
    // mode again (tests, mode switches) costs nothing.
    std::map<std::tuple<std::uint32_t, int, int>, std::shared_ptr<FrameCycle>> cycles_;

    // Held while a hot-plug event is delivered, so stopHotplug can wait for a running delivery;
    // guards sink_. Taken before mutex_ when both are needed, never inside a SimCamera lock.
    std::mutex sinkMutex_;
    HotplugSink* sink_ = nullptr;

    // The removal events of a replugged camera, delivered late by their own thread.
    std::mutex replugMutex_;  // serialises replug and stopHotplug's wait for lateRemoval_
    std::mutex lateMutex_;    // guards lateStop_ and latePending_
    std::condition_variable lateWake_;
    bool lateStop_ = false;
    bool latePending_ = false;  // a late removal has not gone out yet
    std::thread lateRemoval_;   // started by replug, joined by the next replug or stopHotplug

    std::mutex controlMutex_;  // guards control_; serialises startHotplug and stopHotplug
    std::unique_ptr<SimControl> control_;
};

}  // namespace optigrab::sim
