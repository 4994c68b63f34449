// SPDX-License-Identifier: GPL-3.0-or-later
// One open camera: the chosen mode, the V4L2 stream and the capture thread that turns its frames into
// RGB and hands them to the frame callback. The latest good frame is kept for still pictures.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "deviceinfo.h"
#include "frameconverter.h"
#include "imaging/frameanalyser.h"
#include "imaging/pictureprocessor.h"
#include "imaging/picturesettings.h"
#include "optigrab.h"
#include "v4l2device.h"

namespace optigrab {

// Receives every good frame of a stream as the camera sent it, in order, with the time the camera
// took it (monotonic microseconds): a recorder. Called on capture threads; must not wait.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual void addFrame(const FrameView& frame, long long captureUs) = 0;
};

class CaptureStream {
public:
    struct Mode {
        long code = 0;
        std::uint32_t fourcc = 0;
        long width = 0;
        long height = 0;
        long fps = 0;     // 0 when the driver does not say
        long stride = 0;  // bytes per line (YUY2, NV12 luma)
    };
    // Runs on the capture thread when the node went away (ENODEV) while streaming.
    using GoneHandler = std::function<void(const std::string& path)>;

    CaptureStream(const DeviceInfo& device, long devIndex, GoneHandler onGone);
    ~CaptureStream();
    CaptureStream(const CaptureStream&) = delete;
    CaptureStream& operator=(const CaptureStream&) = delete;

    // The offered mode nearest to the request: same code at the nearest size, else the first media
    // type; the nearest offered rate, fps 0 = the highest. False when the device offers nothing.
    static bool chooseMode(const DeviceInfo& device, long code, long width, long height, long fps,
                           Mode* mode);

    // Opens the node in the mode nearest to the request and starts the capture thread. Errors that
    // often pass are tried again, and a mode the USB bus cannot carry gives way to a lighter one (with
    // a log line). Returns a CamResult. Called once.
    long start(long code, long width, long height, long fps);
    // Ends the capture thread and releases the device. When it returns no frame callback is running or
    // will start. Safe to call twice, and after the thread ended by itself.
    void stop();

    Mode mode() const { return mode_; }  // fixed once start succeeded (a reopen must match it)
    // True on any library capture thread: those must not wait for capture threads to end.
    static bool onAnyCaptureThread();

    void setCallback(callBackPreviewImage callback) { callback_.store(callback); }
    void setDevIndex(long devIndex) { devIndex_.store(devIndex); }
    void setPaused(bool paused) { paused_.store(paused); }
    void setSizeHint(long width, long height);
    void setPicture(const PictureSettings& settings) { picture_.store(settings.pack()); }
    void setPreviewPart(const FramePart& part);
    // Any thread; null ends the hand-over. The sink is kept alive while a frame is handed to it.
    void setSink(std::shared_ptr<FrameSink> sink) { std::atomic_store(&sink_, std::move(sink)); }
    // Set before start: it is handed every decoded frame, in order.
    void setAnalyser(std::shared_ptr<FrameAnalyser> analyser) { analyser_ = std::move(analyser); }

    // Copies the latest good frame as the camera sent it into bytes and describes it in view (whose
    // data points into bytes). CAM_ERR_NO_FRAME when there is none yet.
    long copyLatestFrame(std::vector<std::uint8_t>& bytes, FrameView* view) const;

    long framesDelivered() const { return delivered_.load(); }
    long framesDropped() const { return dropped_.load(); }

private:
    // A decoding worker. Frames are handed to the free lane in arrival order, each with a ticket;
    // lanes decode at the same time, but call the frame callback one at a time in ticket order.
    struct Lane {
        std::thread thread;
        FrameConverter converter;
        PictureProcessor processor;
        std::vector<std::uint8_t> rgb;    // the buffer handed to the callback
        std::vector<std::uint8_t> spare;  // next latest frame, swapped with latest_
        // The picture for the analyser where the one shown differs: the whole frame while a part is
        // shown, or the frame before turning and looks.
        std::vector<std::uint8_t> whole;
        bool assigned = false;     // guarded by lanesMutex_
        v4l2_buffer buffer{};      // guarded by lanesMutex_: the frame to decode
        std::uint64_t ticket = 0;  // guarded by lanesMutex_
    };

    int openMode(const Mode& wanted, Mode* actual);
    int openWithRetries(const Mode& wanted, Mode* actual);
    int openWithLessBandwidth(const Mode& wanted, long askedFps);
    bool pauseUnlessStopped(int ms);
    void run();
    int recover(int attempt, const char* why);
    void waitForIdleLanes();
    bool unfit(const v4l2_buffer& buffer) const;
    void handleFrame(const v4l2_buffer& dequeued);
    FrameView viewOf(const v4l2_buffer& buffer) const;
    void runLane(Lane& lane);
    void keepLatest(const FrameView& frame, std::vector<std::uint8_t>& spare);
    // A good frame: kept for stills and handed to the sink.
    void goodFrame(const FrameView& frame, const v4l2_buffer& buffer, std::vector<std::uint8_t>& spare);
    void startLanes();
    void stopLanes();

    DeviceInfo device_;
    GoneHandler onGone_;
    std::shared_ptr<FrameAnalyser> analyser_;
    std::shared_ptr<FrameSink> sink_;  // atomic access only
    Mode mode_;
    V4l2Device v4l2_;  // opened and closed by start/stop; the capture thread and the lanes dequeue and
                       // requeue in between, and the lanes end before it closes
    std::thread thread_;
    int wakeFd_ = -1;  // eventfd that wakes the capture thread's poll for stop()

    std::atomic<bool> stopping_{false};
    std::atomic<callBackPreviewImage> callback_{nullptr};
    std::atomic<long> devIndex_;
    std::atomic<bool> paused_{false};
    std::atomic<std::uint64_t> sizeHint_{0};  // width << 32 | height, one atomic so a pair never tears
    std::atomic<std::uint32_t> picture_{0};   // PictureSettings::pack()
    mutable std::mutex partMutex_;            // guards previewPart_
    FramePart previewPart_;
    std::atomic<long> delivered_{0};
    std::atomic<long> dropped_{0};

    std::vector<std::unique_ptr<Lane>> lanes_;  // created and joined by the capture thread
    std::mutex lanesMutex_;  // guards the lanes' hand-over fields, nextTicket_, turn_, lanesStopping_
    std::condition_variable lanesChanged_;
    std::uint64_t nextTicket_ = 0;  // ticket of the next frame handed to a lane
    std::uint64_t turn_ = 0;        // ticket whose callback runs next
    bool lanesStopping_ = false;
    std::vector<std::uint8_t> spare_;  // capture thread: next latest frame when no lane decodes

    mutable std::mutex latestMutex_;  // guards latest_ and latestView_
    std::vector<std::uint8_t> latest_;
    FrameView latestView_;  // data unused; size and geometry of latest_
};

}  // namespace optigrab
