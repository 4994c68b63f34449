// SPDX-License-Identifier: GPL-3.0-or-later
// Capture of one camera: mode choice, V4L2 streaming set-up and the capture thread's frame loop.
#include "capturestream.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "errors.h"
#include "log.h"

namespace optigrab {

namespace {

using Clock = std::chrono::steady_clock;

const unsigned kBufferCount = 4;
// How often a frame waiting for a busy lane looks for a newer one in the driver's queue.
const std::chrono::milliseconds kNewerFrameCheck(4);
// The capture thread wakes this often even without frames; close wakes it at once through the eventfd.
const int kPollTimeoutMs = 500;
// Format negotiation just after a camera is plugged in often fails once with one of these errors; a
// moment later it works.
const int kOpenAttempts = 3;
const int kRetryDelayMs = 300;
bool isTransient(int error) {
    return error == EIO || error == ETIMEDOUT || error == EPROTO || error == EPIPE;
}
// A stream without frames for this long, or for ten frame periods if that is longer, has stalled.
const std::chrono::milliseconds kMinStallTime(2000);
// Restart, then reopen; a camera that fails after both is given up.
const int kMaxRecoveries = 2;
// Uncompressed frames skipped after every STREAMON, counted by the driver's frame sequence number.
const std::uint32_t kSettlingFrames = 2;
// A size hint of 1x1 (width << 32 | height): the smallest scale the decoder offers.
const std::uint64_t kCheckOnlyHint = std::uint64_t(1) << 32 | 1;
// While zoomed, pages are looked for in the whole frame decoded at about this width.
const long kAnalysisWidth = 640;

thread_local bool tl_captureThread = false;

long sizeDistance(const FrameSize& size, long width, long height) {
    return std::labs(size.width - width) + std::labs(size.height - height);
}

// The buffer's time stamp for the frame callback, when the driver takes it from the monotonic clock.
long long monotonicTimeUs(const v4l2_buffer& buffer) {
    if ((buffer.flags & V4L2_BUF_FLAG_TIMESTAMP_MASK) != V4L2_BUF_FLAG_TIMESTAMP_MONOTONIC)
        return 0;
    return static_cast<long long>(buffer.timestamp.tv_sec) * 1000000 + buffer.timestamp.tv_usec;
}

}  // namespace

CaptureStream::CaptureStream(const DeviceInfo& device, long devIndex, GoneHandler onGone)
    : device_(device), onGone_(std::move(onGone)), v4l2_(*device.platform), devIndex_(devIndex) {}

CaptureStream::~CaptureStream() {
    stop();
}

bool CaptureStream::chooseMode(const DeviceInfo& device, long code, long width, long height, long fps,
                               Mode* mode) {
    const MediaFormat* format = nullptr;
    for (const MediaFormat& candidate : device.formats)
        if (candidate.code == code)
            format = &candidate;
    if (!format && !device.formats.empty())
        format = &device.formats.front();
    if (!format || format->sizes.empty())
        return false;

    const FrameSize* best = &format->sizes.front();
    for (const FrameSize& size : format->sizes)  // largest first: ties keep the larger size
        if (sizeDistance(size, width, height) < sizeDistance(*best, width, height))
            best = &size;

    long rate = best->fps.empty() ? 0 : best->fps.front();
    if (fps > 0) {
        for (long offered : best->fps)
            if (std::labs(offered - fps) < std::labs(rate - fps))
                rate = offered;
    }
    *mode = Mode{format->code, format->fourcc, best->width, best->height, rate, 0};
    return true;
}

long CaptureStream::start(long code, long width, long height, long fps) {
    Mode wanted;
    if (!chooseMode(device_, code, width, height, fps, &wanted))
        return CAM_ERR_NOT_SUPPORTED;
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0)
        return CAM_ERR_NO_MEMORY;
    int error = openWithRetries(wanted, &mode_);
    if (error == ENOSPC)
        error = openWithLessBandwidth(wanted, fps);
    if (!error) {
        try {
            thread_ = std::thread(&CaptureStream::run, this);
        } catch (const std::system_error&) {
            v4l2_.close();
            error = ENOMEM;
        }
    }
    if (!error)
        return CAM_OK;
    ::close(wakeFd_);
    wakeFd_ = -1;
    return error == ENOTSUP ? long(CAM_ERR_NOT_SUPPORTED) : resultFromErrno(error);
}

// Opens the node and starts streaming in the wanted mode; *actual gets the mode the driver chose.
// Returns 0 or an errno value (ENOTSUP: the driver offers another format); the node is closed on
// failure.
int CaptureStream::openMode(const Mode& wanted, Mode* actual) {
    if (int error = v4l2_.open(device_.node.path))
        return error;
    v4l2_pix_format format{};
    int error = v4l2_.setFormat(wanted.fourcc, wanted.width, wanted.height, &format);
    if (!error && (format.pixelformat != wanted.fourcc || format.width == 0 || format.height == 0))
        error = ENOTSUP;
    if (!error) {
        *actual = wanted;
        actual->width = format.width;
        actual->height = format.height;
        actual->stride = format.bytesperline;
        long rate = 0;
        // A driver without frame-rate control runs at its own pace; that is no reason to fail.
        if (v4l2_.setFrameRate(wanted.fps, &rate) == 0 && rate > 0)
            actual->fps = rate;
        error = v4l2_.startStreaming(kBufferCount);
    }
    if (error)
        v4l2_.close();
    return error;
}

// openMode, tried again a few times after errors that format negotiation often gives once just after
// a camera is plugged in.
int CaptureStream::openWithRetries(const Mode& wanted, Mode* actual) {
    int error = 0;
    for (int attempt = 1; attempt <= kOpenAttempts; ++attempt) {
        error = openMode(wanted, actual);
        if (!isTransient(error))
            break;
        if (attempt < kOpenAttempts && !pauseUnlessStopped(kRetryDelayMs))
            break;
        if (attempt == kOpenAttempts)
            logLine("%s (%s): cannot start %s %ldx%ld: %s", device_.card.c_str(), device_.node.path.c_str(),
                    mediaName(wanted.code), wanted.width, wanted.height, std::strerror(error));
    }
    return error;
}

// The camera's USB bus cannot carry the wanted mode (another camera on it, or an uncompressed mode
// too large for it): MJPG at the same size (at the asked rate or below; askedFps 0 = any), then lower
// rates. Returns 0 or an errno value.
int CaptureStream::openWithLessBandwidth(const Mode& wanted, long askedFps) {
    std::vector<Mode> candidates;
    const auto addRates = [&](long code, long below) {
        for (const MediaFormat& format : device_.formats)
            for (const FrameSize& size : format.sizes)
                if (format.code == code && size.width == wanted.width && size.height == wanted.height)
                    for (long rate : size.fps)  // highest first
                        if (below == 0 || rate < below)
                            candidates.push_back(
                                {format.code, format.fourcc, size.width, size.height, rate, 0});
    };
    if (wanted.code != kMediaMjpg)
        addRates(kMediaMjpg, askedFps > 0 ? askedFps + 1 : 0);
    addRates(wanted.code, wanted.fps);
    for (const Mode& candidate : candidates) {
        const int error = openWithRetries(candidate, &mode_);
        if (error == ENOSPC)
            continue;
        if (!error)
            logLine("%s (%s): not enough USB bandwidth for %s %ldx%ld at %ld fps; using %s at %ld fps",
                    device_.card.c_str(), device_.node.path.c_str(), mediaName(wanted.code), wanted.width,
                    wanted.height, wanted.fps, mediaName(mode_.code), mode_.fps);
        return error;
    }
    logLine(
        "%s (%s): not enough USB bandwidth for %s %ldx%ld, not even at a lower rate; another camera on "
        "the same USB bus may be using it",
        device_.card.c_str(), device_.node.path.c_str(), mediaName(wanted.code), wanted.width, wanted.height);
    return ENOSPC;
}

// Waits ms milliseconds unless stop() is called meanwhile; false when it was.
bool CaptureStream::pauseUnlessStopped(int ms) {
    pollfd wake{wakeFd_, POLLIN, 0};
    while (::poll(&wake, 1, ms) < 0 && errno == EINTR) {
    }
    return !stopping_.load();
}

void CaptureStream::stop() {
    stopping_.store(true);
    {
        // Under the lock, so that a capture thread about to wait for a free lane sees the flag.
        std::lock_guard<std::mutex> lock(lanesMutex_);
        lanesChanged_.notify_all();
    }
    if (thread_.joinable()) {
        std::uint64_t one = 1;
        while (::write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
        wakeFd_ = -1;
    }
    v4l2_.close();
}

bool CaptureStream::onAnyCaptureThread() {
    return tl_captureThread;
}

void CaptureStream::setSizeHint(long width, long height) {
    auto clamp = [](long v) {
        return static_cast<std::uint64_t>(v < 0 ? 0 : (v > 0xFFFFFFFFL ? 0xFFFFFFFFL : v));
    };
    sizeHint_.store(clamp(width) << 32 | clamp(height));
}

void CaptureStream::setPreviewPart(const FramePart& part) {
    std::lock_guard<std::mutex> lock(partMutex_);
    previewPart_ = part;
}

long CaptureStream::copyLatestFrame(std::vector<std::uint8_t>& bytes, FrameView* view) const {
    std::lock_guard<std::mutex> lock(latestMutex_);
    if (latestView_.size == 0)
        return CAM_ERR_NO_FRAME;
    bytes.assign(latest_.begin(), latest_.begin() + static_cast<std::ptrdiff_t>(latestView_.size));
    *view = latestView_;
    view->data = bytes.data();
    return CAM_OK;
}

// Runs on the capture thread until stop() or until the device fails. A stream that stops delivering
// (USB errors leave the node in place but fill no buffer) or whose queue fails (POLLERR, and EIO from
// DQBUF) is restarted, then reopened; a camera that still sends nothing is reported as gone.
void CaptureStream::run() {
    tl_captureThread = true;
    startLanes();
    Platform& platform = *device_.platform;
    const auto stallTime = std::max<Clock::duration>(
        kMinStallTime, mode_.fps > 0 ? std::chrono::milliseconds(10000 / mode_.fps) : Clock::duration(0));
    auto lastFrame = Clock::now();
    int recoveries = 0;      // recoveries since the last good frame
    int failedDequeues = 0;  // EIO from DQBUF in a row
    bool gone = false;
    while (!stopping_.load()) {
        pollfd fds[2] = {{v4l2_.fd(), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        int ready = platform.poll(fds, 2, kPollTimeoutMs);
        if (ready < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            gone = errno == ENODEV;
            break;
        }
        if (stopping_.load() || fds[1].revents)
            continue;
        // POLLERR is also answered by DQBUF: ENODEV for an unplugged camera, EIO for a failed queue.
        int error = EAGAIN;
        v4l2_buffer buffer{};
        if (fds[0].revents & (POLLIN | POLLERR | POLLHUP | POLLNVAL))
            error = v4l2_.dequeue(&buffer);
        if (error == 0) {
            lastFrame = Clock::now();
            recoveries = failedDequeues = 0;
            handleFrame(buffer);
            continue;
        }
        if (error == ENODEV || error == ENXIO) {
            gone = true;
            break;
        }
        // One EIO may be a single failed frame (older kernels); a second in a row is a failed queue.
        if (error != EAGAIN && ++failedDequeues == 1) {
            dropped_.fetch_add(1);
            continue;
        }
        const bool stalled = error == EAGAIN;
        if (stalled && Clock::now() - lastFrame < stallTime)
            continue;
        char why[96];
        if (stalled)
            std::snprintf(
                why, sizeof why, "no frame for %lld ms",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastFrame).count()));
        else
            std::snprintf(why, sizeof why, "the stream failed (%s)", std::strerror(error));
        failedDequeues = 0;
        error = recover(++recoveries, why);
        if (error) {
            gone = error == ENODEV || error == ENXIO || error == ENOENT;
            if (!gone && !stopping_.load()) {
                logLine("%s (%s): the camera sends no frames; giving it up. Unplug it and plug it in again.",
                        device_.card.c_str(), device_.node.path.c_str());
                gone = true;  // reported like an unplugged camera, so the program shows its prompt
            }
            break;
        }
        lastFrame = Clock::now();
    }
    stopLanes();  // no callback runs after this, and no lane touches the buffers any more
    // Releases the buffers at once: an unplugged camera's memory should not wait for camCloseDev.
    v4l2_.close();
    if (gone && !stopping_.load() && onGone_)
        onGone_(device_.node.path);
}

// Runs on the capture thread: the first recovery restarts the stream (STREAMOFF, STREAMON), the
// second opens the node again; after that the camera has failed. Returns 0 when streaming again.
int CaptureStream::recover(int attempt, const char* why) {
    if (attempt > kMaxRecoveries)
        return EIO;
    waitForIdleLanes();  // the buffers go away: no lane may still decode or requeue one
    const char* card = device_.card.c_str();
    const char* path = device_.node.path.c_str();
    if (attempt == 1) {
        logLine("%s (%s): %s; restarting the stream", card, path, why);
        v4l2_.stopStreaming();
        const int error = v4l2_.startStreaming(kBufferCount);
        if (error == 0 || error == ENODEV)
            return error;
    } else {
        logLine("%s (%s): %s; opening the camera again", card, path, why);
    }
    v4l2_.close();
    Mode reopened;
    int error = openWithRetries(mode_, &reopened);
    // Frames are described by mode_, which other threads read: the driver must give the same again.
    if (!error && (reopened.code != mode_.code || reopened.width != mode_.width ||
                   reopened.height != mode_.height || reopened.stride != mode_.stride)) {
        v4l2_.close();
        error = ENOTSUP;
    }
    return error;
}

FrameView CaptureStream::viewOf(const v4l2_buffer& buffer) const {
    FrameView frame;
    frame.code = mode_.code;
    frame.data = v4l2_.bufferData(buffer.index);
    frame.size = std::min<std::size_t>(buffer.bytesused, v4l2_.bufferLength(buffer.index));
    frame.width = mode_.width;
    frame.height = mode_.height;
    frame.stride = mode_.stride;
    return frame;
}

// A frame not worth decoding: an uncompressed camera's garbage just after STREAMON, a buffer the
// driver marks as failed, or one too short for the mode.
bool CaptureStream::unfit(const v4l2_buffer& buffer) const {
    const bool settling = mode_.code != kMediaMjpg && buffer.sequence < kSettlingFrames;
    return settling || (buffer.flags & V4L2_BUF_FLAG_ERROR) || !FrameConverter::looksComplete(viewOf(buffer));
}

// Runs on the capture thread for every dequeued buffer: checks it and hands it to a free lane, which
// requeues it once decoded. A requeue that fails (an unplugged camera) shows at the next dequeue.
void CaptureStream::handleFrame(const v4l2_buffer& dequeued) {
    if (unfit(dequeued)) {
        dropped_.fetch_add(1);
        v4l2_.requeue(dequeued);
        return;
    }
    // Still pictures work without preview. An uncompressed frame that is complete is whole; an MJPEG
    // frame goes to a lane all the same, whose decoding tells a damaged one, which must never become
    // the frame kept for stills.
    if (mode_.code != kMediaMjpg && (callback_.load() == nullptr || paused_.load())) {
        goodFrame(viewOf(dequeued), dequeued, spare_);
        v4l2_.requeue(dequeued);
        return;
    }
    // All lanes busy: decoding fell behind. Frames that come meanwhile would each wait behind this
    // one, and the driver fills no buffer while all are held: so while it waits, the frame held is
    // swapped for the newest good one ready and the older goes back to the driver at once. Only this
    // thread hands lanes out, so a lane found free stays free.
    v4l2_buffer buffer = dequeued;
    std::unique_lock<std::mutex> lock(lanesMutex_);
    Lane* free = nullptr;
    const auto ready = [&] {
        for (auto& lane : lanes_)
            if (!lane->assigned)
                free = lane.get();
        return free != nullptr || stopping_.load() || lanes_.empty();
    };
    while (!lanesChanged_.wait_for(lock, kNewerFrameCheck, ready)) {
        // A recording of the camera's own stream keeps every frame, in order: nothing is swapped.
        if (std::atomic_load(&sink_) != nullptr)
            continue;
        lock.unlock();
        v4l2_buffer newer{};
        // At most as many as there are buffers: a camera that fills a buffer the moment it is queued
        // would keep this going otherwise.
        for (unsigned n = 0; n < kBufferCount && !stopping_.load() && v4l2_.dequeue(&newer) == 0; ++n) {
            dropped_.fetch_add(1);
            if (unfit(newer)) {
                v4l2_.requeue(newer);
                continue;
            }
            v4l2_.requeue(buffer);
            buffer = newer;
        }
        lock.lock();
    }
    if (free == nullptr) {  // stopping, or no lane could be started
        lock.unlock();
        v4l2_.requeue(buffer);
        return;
    }
    free->assigned = true;
    free->buffer = buffer;
    free->ticket = nextTicket_++;
    lanesChanged_.notify_all();
}

namespace {

// A part of the picture as it is shown (mirrored, then turned clockwise) as a part of the camera's
// picture, and back: the preview part is asked for and reported in the shown picture.
FramePart cameraPartOf(const FramePart& shownPart, const PictureSettings& picture) {
    if (shownPart.whole())
        return shownPart;
    const long k = FramePart::kWhole;
    FramePart part = shownPart;
    for (int i = 0; i < picture.quarterTurns; ++i)  // a quarter turn back: (x, y) -> (y, 1 - x)
        part = FramePart{part.y, k - part.x - part.width, part.height, part.width};
    if (picture.mirrored)
        part.x = k - part.x - part.width;
    return part;
}

FramePart shownPartOf(const FramePart& cameraPart, const PictureSettings& picture) {
    const long k = FramePart::kWhole;
    FramePart part = cameraPart;
    if (picture.mirrored)
        part.x = k - part.x - part.width;
    for (int i = 0; i < picture.quarterTurns; ++i)  // a quarter turn: (x, y) -> (1 - y, x)
        part = FramePart{k - part.y - part.height, part.x, part.height, part.width};
    return part;
}

}  // namespace

// Runs on a lane's thread: decodes the frames handed to it, then, in its turn, keeps the frame for
// still pictures and calls the frame callback.
void CaptureStream::runLane(Lane& lane) {
    tl_captureThread = true;
    std::unique_lock<std::mutex> lock(lanesMutex_);
    for (;;) {
        lanesChanged_.wait(lock, [&] { return lane.assigned || lanesStopping_; });
        if (!lane.assigned)
            return;
        const v4l2_buffer buffer = lane.buffer;
        const std::uint64_t ticket = lane.ticket;
        lock.unlock();

        const FrameView frame = viewOf(buffer);
        // With no picture to show, decoding only checks the data: at the smallest scale there is.
        const bool showing = callback_.load() != nullptr && !paused_.load();
        const std::uint64_t hint = showing ? sizeHint_.load() : kCheckOnlyHint;
        const PictureSettings picture = PictureSettings::unpack(picture_.load());
        FramePart part, shown;
        if (showing) {
            std::lock_guard<std::mutex> partLock(partMutex_);
            part = cameraPartOf(previewPart_, picture);
        }
        long hintWidth = long(hint >> 32), hintHeight = long(hint & 0xFFFFFFFFu);
        const double sourceWidth =
            part.whole() ? double(frame.width) : double(frame.width) * part.width / FramePart::kWhole;
        const double sourceHeight =
            part.whole() ? double(frame.height) : double(frame.height) * part.height / FramePart::kWhole;
        if (picture.turnedSideways() && hintWidth > 0 && hintHeight > 0 && sourceWidth > 0 &&
            sourceHeight > 0) {
            // A picture turned sideways is shown with its own shape inside the hint: decoding covers
            // that fitted size (in the camera's orientation), not the whole hint, which would need the
            // full-size picture of a wide camera in a wide window.
            const double scale = std::min(double(hintWidth) / sourceHeight, double(hintHeight) / sourceWidth);
            hintWidth = std::lround(sourceWidth * scale);
            hintHeight = std::lround(sourceHeight * scale);
        }
        long width = 0, height = 0;
        bool decoded = !stopping_.load() &&
                       lane.converter.toRgb(frame, hintWidth, hintHeight, FrameConverter::Quality::Preview,
                                            lane.rgb, &width, &height, part, &shown);
        // Pages are looked for in the whole picture as the camera sees it: the whole frame while a
        // zoomed preview holds only part of it, the picture before turning and looks.
        const bool processing = decoded && showing && !picture.plain();
        const bool wanted = decoded && analyser_ && analyser_->wantsFrames();
        const std::vector<std::uint8_t>* analysed = wanted ? &lane.rgb : nullptr;
        long analysedWidth = width, analysedHeight = height;
        if (wanted && !part.whole()) {
            analysed = lane.converter.toRgb(frame, kAnalysisWidth, 0, FrameConverter::Quality::Preview,
                                            lane.whole, &analysedWidth, &analysedHeight)
                           ? &lane.whole
                           : nullptr;
        } else if (wanted && processing) {
            lane.whole.assign(lane.rgb.begin(), lane.rgb.begin() + width * height * 3);
            analysed = &lane.whole;
        }
        // Decoding scales by powers of two only: the processing scales on to the size shown, before
        // it turns the picture.
        if (processing)
            decoded = lane.processor.apply(picture, lane.rgb, &width, &height, hintWidth, hintHeight);
        lock.lock();
        lanesChanged_.wait(lock, [&] { return turn_ == ticket; });
        lock.unlock();

        callBackPreviewImage callback = callback_.load();
        if (!decoded) {
            dropped_.fetch_add(1);  // corrupt data: the last good frame stays the one kept for stills
        } else {
            // Kept before it is shown: a still taken the moment a picture appears finds its frame.
            goodFrame(frame, buffer, lane.spare);
            if (analysed != nullptr && !stopping_.load())
                analyser_->analyse(analysed->data(), analysedWidth, analysedHeight);
            if (showing && callback && !paused_.load() && !stopping_.load()) {
                if (!shown.whole())
                    shown = shownPartOf(shown, picture);
                PreviewParam param{devIndex_.load(), monotonicTimeUs(buffer), shown.x, shown.y, shown.width,
                                   shown.height};
                callback(lane.rgb.data(), width, height, width * height * 3, &param);
                delivered_.fetch_add(1);
            }
        }
        v4l2_.requeue(buffer);

        lock.lock();
        ++turn_;
        lane.assigned = false;
        lanesChanged_.notify_all();
    }
}

void CaptureStream::goodFrame(const FrameView& frame, const v4l2_buffer& buffer,
                              std::vector<std::uint8_t>& spare) {
    keepLatest(frame, spare);
    if (std::shared_ptr<FrameSink> sink = std::atomic_load(&sink_)) {
        const long long capturedUs = monotonicTimeUs(buffer);
        sink->addFrame(frame, capturedUs > 0 ? capturedUs
                                             : std::chrono::duration_cast<std::chrono::microseconds>(
                                                   Clock::now().time_since_epoch())
                                                   .count());
    }
}

// Keeps the source of a good frame for still pictures; the copy goes to spare first so the lock is
// held only for a swap, and the vectors keep their capacity from frame to frame.
void CaptureStream::keepLatest(const FrameView& frame, std::vector<std::uint8_t>& spare) {
    spare.resize(std::max(spare.size(), frame.size));
    std::copy(frame.data, frame.data + frame.size, spare.begin());
    std::lock_guard<std::mutex> lock(latestMutex_);
    latest_.swap(spare);
    latestView_ = frame;
    latestView_.data = nullptr;
}

// Two lanes where two cores can run them: a 4K MJPEG frame takes longer to decode than a 60 fps
// camera leaves between frames on one core.
void CaptureStream::startLanes() {
    const unsigned count = std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    std::lock_guard<std::mutex> lock(lanesMutex_);
    lanesStopping_ = false;
    for (unsigned i = 0; i < count; ++i) {
        lanes_.push_back(std::make_unique<Lane>());
        Lane& lane = *lanes_.back();
        try {
            lane.thread = std::thread(&CaptureStream::runLane, this, std::ref(lane));
        } catch (const std::system_error&) {
            lanes_.pop_back();  // fewer lanes still deliver every frame, only more slowly
            break;
        }
    }
}

// Runs on the capture thread: waits until every lane has handed its frame back.
void CaptureStream::waitForIdleLanes() {
    std::unique_lock<std::mutex> lock(lanesMutex_);
    lanesChanged_.wait(lock, [&] {
        for (auto& lane : lanes_)
            if (lane->assigned)
                return false;
        return true;
    });
}

// Lets the lanes finish the frames they hold, in order, and ends them.
void CaptureStream::stopLanes() {
    {
        std::lock_guard<std::mutex> lock(lanesMutex_);
        lanesStopping_ = true;
        lanesChanged_.notify_all();
    }
    for (auto& lane : lanes_)
        lane->thread.join();
    lanes_.clear();
}

}  // namespace optigrab
