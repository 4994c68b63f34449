// The simulated cameras as a Platform: registry of plugged cameras, open descriptors and hot-plug.
#pragma once

#include "platform.h"
#include "simcamera.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
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
    // Lets the user open the camera's nodes (and its second node's), with a change event for each.
    bool grantAccess(int id);
    void unplugAll();
    int count();
    std::shared_ptr<SimCamera> camera(int id);

    // Node paths and numbers of camera id: its capture node, then its metadata node.
    static std::string nodePath(int id, bool metadata);
    static int nodeNumber(int id, bool metadata);

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
    void announce(NodeEvent event, int id);

    std::mutex mutex_;  // guards cameras_, companions_, handles_, nextId_ and cycles_
    std::map<int, std::shared_ptr<SimCamera>> cameras_;  // plugged cameras (and second nodes) by id
    std::map<int, int> companions_;                      // camera id -> id of its second capture node
    std::map<int, std::shared_ptr<Handle>> handles_;     // open nodes by descriptor
    int nextId_ = 0;
    // Encoded frames by mode, shared by all cameras and kept for the process's life: opening the same
    // mode again (tests, mode switches) costs nothing.
    std::map<std::tuple<std::uint32_t, int, int>, std::shared_ptr<FrameCycle>> cycles_;

    // Held while a hot-plug event is delivered, so stopHotplug can wait for a running delivery;
    // guards sink_. Taken before mutex_ when both are needed, never inside a SimCamera lock.
    std::mutex sinkMutex_;
    HotplugSink* sink_ = nullptr;

    std::mutex controlMutex_;  // guards control_; serialises startHotplug and stopHotplug
    std::unique_ptr<SimControl> control_;
};

}  // namespace optigrab::sim
