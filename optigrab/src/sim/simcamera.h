// SPDX-License-Identifier: GPL-3.0-or-later
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

#include "sim/simcontrols.h"

namespace optigrab::sim {

class FrameCycle;

// What a camera offers and how it calls itself; checked by the simulator before a camera is made.
struct CameraConfig {
    struct Mode {
        std::uint32_t fourcc;  // V4L2_PIX_FMT_MJPEG, _YUYV, _NV12, or _GREY and _H264 (infrared and
                               // compressed nodes, whose frames the library does not decode)
        int width;
        int height;
        std::vector<int> fps;  // highest first

        // Line length of uncompressed formats (0 for compressed ones) and the buffer size a frame
        // may need, as the driver reports them for a camera with these quirks.
        std::uint32_t bytesPerLine(unsigned quirks) const;
        std::uint32_t imageSize(unsigned quirks) const;
    };
    static constexpr std::uint32_t kLinePadding = 64;  // bytes at the end of padded lines
    std::string name;
    std::string vendorId;
    std::string productId;
    std::string serial;
    std::vector<Mode> modes;               // formats are enumerated in the order they first appear here
    std::vector<Mode> secondModes;         // a second capture node of the same device (empty: none)
    std::shared_ptr<FrameCycle> recorded;  // frames played instead of rendered pages (one MJPG mode)
    double frameClock = 0;  // 0: the mode's rate; negative: a frame whenever a buffer is queued
    unsigned quirks = 0;    // OPTIGRAB_SIM_QUIRK_* flags
    long usbBandwidth = 0;  // bytes per second; 0 = unlimited

    // What a typical document camera offers: MJPEG up to 4K at 30/15/5 fps, and YUY2 at the sizes
    // and rates that fit USB 2.0. Serial left empty: the simulator derives it from the id.
    static CameraConfig documentCamera();
    // Names, ids (four hex digits) and modes a V4L2 device could have.
    bool valid() const;
    static bool validModes(const std::vector<Mode>& list);
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
    void grantAccess();  // attach no longer answers EACCES
    long framesDelivered() const { return delivered_.load(); }
    bool holdsBuffers(const OpenNode& node);  // the node set up the camera's stream (REQBUFS) and holds it

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

    double rate() const;  // frames per second S_PARM chose
    const CameraConfig::Mode* findMode(std::uint32_t fourcc, int width, int height) const;
    std::vector<std::uint32_t> formats() const;
    void describeFormat(void* arg, const CameraConfig::Mode& mode) const;
    void describeBuffer(std::uint32_t index, void* arg) const;
    int allocateBuffers(std::uint32_t count);
    void freeBuffers();
    void stopStreaming();
    void clockLoop(std::shared_ptr<FrameCycle> cycle, double fps);
    std::uint32_t fill(Buffer& buffer, const std::vector<std::uint8_t>& frame, int fault,
                       std::uint32_t sequence) const;
    void signalNodes(bool readable);
    // Called with stateMutex_ held: no stall or queue error keeps buffers from being filled.
    bool delivering() const { return !stalled_ && stallRestarts_ == 0 && !queueError_; }
    // Bytes per second a mode needs on the bus (the budget the USB bandwidth check uses).
    static double bandwidth(const CameraConfig::Mode& mode, double fps);

    const int id_;
    const CameraConfig config_;
    const CycleSource cycles_;
    SimControls controls_;             // brightness, focus ...: their own lock
    std::vector<std::uint8_t> shown_;  // frame clock thread: a frame as the controls make it look

    // Serialises the calls of all nodes like the driver's own lock; guards current_, interval_,
    // buffers_ (the vector itself), owner_, clock_ and the buffers' memory while not streaming.
    std::mutex controlMutex_;
    const CameraConfig::Mode* current_;  // the mode S_FMT chose
    int fps_;                            // the rate S_PARM chose
    std::uint32_t interval_ = 0;         // with step-wise rates: the interval S_PARM chose, 100 ns units
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
    bool locked_ = false;              // attach answers EACCES (OPTIGRAB_SIM_QUIRK_NO_ACCESS until granted)
    bool stalled_ = false;             // stalled for good (until unplug)
    int faults_[5] = {0, 0, 0, 0, 0};  // frames still to damage, by fault kind - 1 (stall unused)
    int stallRestarts_ = 0;            // STREAMONs still to come before a USB stall ends; 0 = none
    bool queueError_ = false;          // the queue failed: POLLERR, DQBUF answers EIO
    int queueErrorRestarts_ = 0;       // STREAMONs the queue error still comes back after
    int transientFailures_ = 0;        // S_FMT and STREAMON calls still to answer EIO
    std::uint32_t sequence_ = 0;
    std::vector<const OpenNode*> nodes_;  // open nodes, whose eventfds are signalled
    bool signalled_ = false;              // the eventfds hold a count

    std::atomic<long> delivered_{0};
};

}  // namespace optigrab::sim
