// One simulated UVC camera: its modes, V4L2 format state, mmap buffers and frame clock thread.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace optigrab::sim {

class FrameCycle;

// What a camera offers and how it calls itself; checked by the simulator before a camera is made.
struct CameraConfig {
    struct Mode {
        std::uint32_t fourcc;  // V4L2_PIX_FMT_MJPEG, _YUYV or _NV12
        int width;
        int height;
        std::vector<int> fps;  // highest first

        std::uint32_t imageSize() const;  // the buffer size a frame may need
    };
    std::string name;
    std::string vendorId;
    std::string productId;
    std::string serial;
    std::vector<Mode> modes;  // formats are enumerated in the order they first appear here
    double frameClock = 0;    // 0: the mode's rate; negative: a frame whenever a buffer is queued

    // What a typical document camera offers: MJPEG up to 4K at 30/15/5 fps, and YUY2 at the sizes
    // and rates that fit USB 2.0. Serial left empty: the simulator derives it from the id.
    static CameraConfig documentCamera();
    // Names, ids (four hex digits) and modes a V4L2 device could have.
    bool valid() const;
};

// One open descriptor of a camera's capture or metadata node. fd is a real eventfd, so callers can
// poll it together with their own descriptors; it is readable while a filled buffer is waiting or
// after the camera was unplugged.
struct OpenNode {
    int fd = -1;
    bool metadata = false;  // UVC cameras have a second, metadata-only node; it cannot stream video
};

// Answers the V4L2 calls of its nodes with the semantics of the kernel's UVC driver, returning 0 or
// a negative errno. Called from any thread; its frame clock thread runs while it streams.
class SimCamera {
public:
    using CycleSource =
        std::function<std::shared_ptr<FrameCycle>(std::uint32_t fourcc, int width, int height)>;

    SimCamera(int id, CameraConfig config, CycleSource cycles);
    ~SimCamera();
    SimCamera(const SimCamera&) = delete;
    SimCamera& operator=(const SimCamera&) = delete;

    int id() const { return id_; }
    const CameraConfig& config() const { return config_; }

    int attach(OpenNode* node);   // -ENODEV once unplugged
    void detach(OpenNode* node);  // close: an owner's stream stops and its buffers go
    int ioctl(OpenNode& node, unsigned long request, void* arg);
    // Maps buffer memory; the mapping stays valid after the buffers are freed or the camera is gone.
    void* mmap(OpenNode& node, std::size_t length, off_t offset, int* error);
    // poll revents of a node (POLLIN/POLLRDNORM, POLLERR, POLLHUP); also resets a stale eventfd.
    short pollEvents(const OpenNode& node);

    void unplug();  // every later call but detach answers ENODEV; waits for the frame clock to stop
    bool setFault(int kind, int count);
    void setBusy(bool busy);
    long framesDelivered() const { return delivered_.load(); }

private:
    enum class BufferState { Dequeued, Queued, Filling, Done };
    struct Buffer {
        int memfd = -1;
        std::uint8_t* memory = nullptr;  // the simulator's own mapping
        std::size_t length = 0;          // page-rounded size of the memory
        std::uint32_t offset = 0;        // the mmap cookie QUERYBUF reports
        BufferState state = BufferState::Dequeued;
        std::uint32_t bytesused = 0;
        std::uint32_t flags = 0;  // V4L2_BUF_FLAG_ERROR after a failed frame
        std::uint32_t sequence = 0;
        struct timeval timestamp {};
    };

    int queryCap(const OpenNode& node, void* arg) const;
    int enumFormat(void* arg) const;
    int enumFrameSizes(void* arg) const;
    int enumFrameIntervals(void* arg) const;
    int getFormat(void* arg) const;
    int setFormat(const OpenNode& node, void* arg, bool apply);
    int getParm(void* arg) const;
    int setParm(void* arg);
    int requestBuffers(OpenNode& node, void* arg);
    int queryBuffer(void* arg);
    int queueBuffer(const OpenNode& node, void* arg);
    int dequeueBuffer(const OpenNode& node, void* arg);
    int streamOn(const OpenNode& node, void* arg);
    int streamOff(const OpenNode& node, void* arg);

    const CameraConfig::Mode* findMode(std::uint32_t fourcc, int width, int height) const;
    std::vector<std::uint32_t> formats() const;
    void describeFormat(void* arg, const CameraConfig::Mode& mode) const;
    void describeBuffer(std::uint32_t index, void* arg) const;
    int allocateBuffers(std::uint32_t count);
    void freeBuffers();
    void stopStreaming();
    void clockLoop(std::shared_ptr<FrameCycle> cycle, double fps);
    std::uint32_t fill(Buffer& buffer, const std::vector<std::uint8_t>& frame, int fault) const;
    void signalNodes(bool readable);

    const int id_;
    const CameraConfig config_;
    const CycleSource cycles_;

    // Serialises the calls of all nodes like the driver's own lock; guards current_, interval_,
    // buffers_ (the vector itself), owner_, clock_ and the buffers' memory while not streaming.
    std::mutex controlMutex_;
    const CameraConfig::Mode* current_;  // the mode S_FMT chose
    int fps_;                            // the rate S_PARM chose
    std::vector<Buffer> buffers_;
    const OpenNode* owner_ = nullptr;  // the node that holds the buffers
    std::thread clock_;

    // Shared with the frame clock thread: guards the buffer states and metadata, queued_, done_,
    // streaming_, stopClock_, gone_, busy_, the fault counters, sequence_ and nodes_.
    mutable std::mutex stateMutex_;
    std::condition_variable clockWake_;
    std::deque<std::uint32_t> queued_;  // buffer indices waiting to be filled, oldest first
    std::deque<std::uint32_t> done_;    // filled buffers waiting for DQBUF, oldest first
    bool streaming_ = false;
    bool stopClock_ = false;
    bool gone_ = false;
    bool busy_ = false;
    bool stalled_ = false;
    int faults_[5] = {0, 0, 0, 0, 0};  // frames still to damage, by fault kind - 1 (stall unused)
    std::uint32_t sequence_ = 0;
    std::vector<const OpenNode*> nodes_;  // open nodes, whose eventfds are signalled
    bool signalled_ = false;              // the eventfds hold a count

    std::atomic<long> delivered_{0};
};

}  // namespace optigrab::sim
