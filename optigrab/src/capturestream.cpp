// Capture of one camera: mode choice, V4L2 streaming set-up and the capture thread's frame loop.
#include "capturestream.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "errors.h"

namespace optigrab {

namespace {

const unsigned kBufferCount = 4;
// The capture thread wakes this often even without frames; close wakes it at once through the eventfd.
const int kPollTimeoutMs = 500;

thread_local bool tl_captureThread = false;

long sizeDistance(const FrameSize& size, long width, long height) {
    return std::labs(size.width - width) + std::labs(size.height - height);
}

}  // namespace

CaptureStream::CaptureStream(const DeviceInfo& device, long devIndex, GoneHandler onGone)
    : device_(device), onGone_(std::move(onGone)), v4l2_(*device.platform), devIndex_(devIndex) {}

CaptureStream::~CaptureStream() { stop(); }

bool CaptureStream::chooseMode(const DeviceInfo& device, long code, long width, long height, long fps,
                               Mode* mode) {
    const MediaFormat* format = nullptr;
    for (const MediaFormat& candidate : device.formats)
        if (candidate.code == code) format = &candidate;
    if (!format && !device.formats.empty()) format = &device.formats.front();
    if (!format || format->sizes.empty()) return false;

    const FrameSize* best = &format->sizes.front();
    for (const FrameSize& size : format->sizes)  // largest first: ties keep the larger size
        if (sizeDistance(size, width, height) < sizeDistance(*best, width, height)) best = &size;

    long rate = best->fps.empty() ? 0 : best->fps.front();
    if (fps > 0) {
        for (long offered : best->fps)
            if (std::labs(offered - fps) < std::labs(rate - fps)) rate = offered;
    }
    *mode = Mode{format->code, format->fourcc, best->width, best->height, rate, 0};
    return true;
}

long CaptureStream::start(long code, long width, long height, long fps) {
    Mode wanted;
    if (!chooseMode(device_, code, width, height, fps, &wanted)) return CAM_ERR_NOT_SUPPORTED;
    if (int error = v4l2_.open(device_.node.path)) return resultFromErrno(error);

    v4l2_pix_format actual{};
    if (int error = v4l2_.setFormat(wanted.fourcc, wanted.width, wanted.height, &actual)) {
        v4l2_.close();
        return resultFromErrno(error);
    }
    if (actual.pixelformat != wanted.fourcc || actual.width == 0 || actual.height == 0) {
        v4l2_.close();
        return CAM_ERR_NOT_SUPPORTED;
    }
    mode_ = wanted;
    mode_.width = actual.width;
    mode_.height = actual.height;
    mode_.stride = actual.bytesperline;
    long rate = 0;
    // A driver without frame-rate control runs at its own pace; that is no reason to fail.
    if (v4l2_.setFrameRate(wanted.fps, &rate) == 0 && rate > 0) mode_.fps = rate;

    if (int error = v4l2_.startStreaming(kBufferCount)) {
        v4l2_.close();
        return resultFromErrno(error);
    }
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) {
        v4l2_.close();
        return CAM_ERR_NO_MEMORY;
    }
    try {
        thread_ = std::thread(&CaptureStream::run, this);
    } catch (const std::system_error&) {
        ::close(wakeFd_);
        wakeFd_ = -1;
        v4l2_.close();
        return CAM_ERR_NO_MEMORY;
    }
    return CAM_OK;
}

void CaptureStream::stop() {
    stopping_.store(true);
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

bool CaptureStream::onAnyCaptureThread() { return tl_captureThread; }

void CaptureStream::setSizeHint(long width, long height) {
    auto clamp = [](long v) {
        return static_cast<std::uint64_t>(v < 0 ? 0 : (v > 0xFFFFFFFFL ? 0xFFFFFFFFL : v));
    };
    sizeHint_.store(clamp(width) << 32 | clamp(height));
}

long CaptureStream::copyLatestFrame(std::vector<std::uint8_t>& bytes, FrameView* view) const {
    std::lock_guard<std::mutex> lock(latestMutex_);
    if (latestView_.size == 0) return CAM_ERR_NO_FRAME;
    bytes.assign(latest_.begin(), latest_.begin() + static_cast<std::ptrdiff_t>(latestView_.size));
    *view = latestView_;
    view->data = bytes.data();
    return CAM_OK;
}

// Runs on the capture thread until stop() or until the device fails.
void CaptureStream::run() {
    tl_captureThread = true;
    Platform& platform = *device_.platform;
    bool gone = false;
    while (!stopping_.load()) {
        pollfd fds[2] = {{v4l2_.fd(), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        int ready = platform.poll(fds, 2, kPollTimeoutMs);
        if (ready < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            gone = errno == ENODEV;
            break;
        }
        if (ready == 0 || stopping_.load() || fds[1].revents) continue;  // a stalled camera just waits
        if (!(fds[0].revents & (POLLIN | POLLERR | POLLHUP | POLLNVAL))) continue;

        // POLLERR is also answered by DQBUF: ENODEV for an unplugged camera.
        v4l2_buffer buffer{};
        int error = v4l2_.dequeue(&buffer);
        if (error == EAGAIN) continue;
        if (error == EIO) {  // a frame the driver marked as failed on older kernels
            dropped_.fetch_add(1);
            continue;
        }
        if (error) {
            gone = error == ENODEV || error == ENXIO;
            break;
        }
        handleFrame(buffer);
        if ((error = v4l2_.requeue(buffer)) != 0) {
            gone = error == ENODEV || error == ENXIO;
            break;
        }
    }
    // Releases the buffers at once: an unplugged camera's memory should not wait for camCloseDev.
    v4l2_.close();
    if (gone && !stopping_.load() && onGone_) onGone_(device_.node.path);
}

// Runs on the capture thread for every dequeued buffer.
void CaptureStream::handleFrame(const v4l2_buffer& buffer) {
    FrameView frame;
    frame.code = mode_.code;
    frame.data = v4l2_.bufferData(buffer.index);
    frame.size = std::min<std::size_t>(buffer.bytesused, v4l2_.bufferLength(buffer.index));
    frame.width = mode_.width;
    frame.height = mode_.height;
    frame.stride = mode_.stride;
    if ((buffer.flags & V4L2_BUF_FLAG_ERROR) || !FrameConverter::looksComplete(frame)) {
        dropped_.fetch_add(1);
        return;
    }

    callBackPreviewImage callback = callback_.load();
    if (callback && !paused_.load()) {
        std::uint64_t hint = sizeHint_.load();
        long width = 0, height = 0;
        if (!converter_.toRgb(frame, long(hint >> 32), long(hint & 0xFFFFFFFFu), FrameConverter::Quality::Preview,
                              rgb_, &width, &height)) {
            dropped_.fetch_add(1);  // corrupt data: the last good frame stays the one kept for stills
            return;
        }
        if (stopping_.load()) return;
        PreviewParam param{devIndex_.load()};
        callback(rgb_.data(), width, height, width * height * 3, &param);
        delivered_.fetch_add(1);
    }

    // Keeps the source for still pictures; the copy goes to spare_ first so the lock is held only for
    // a swap, and both vectors keep their capacity from frame to frame.
    spare_.resize(std::max(spare_.size(), frame.size));
    std::copy(frame.data, frame.data + frame.size, spare_.begin());
    std::lock_guard<std::mutex> lock(latestMutex_);
    latest_.swap(spare_);
    latestView_ = frame;
    latestView_.data = nullptr;
}

}  // namespace optigrab
