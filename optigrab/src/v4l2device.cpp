// SPDX-License-Identifier: GPL-3.0-or-later
// V4L2 calls of one capture node, through the Platform seam so that real and simulated cameras run the
// same code.
#include "v4l2device.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <thread>

#include <sys/mman.h>

namespace optigrab {

namespace {

// Sizes offered for stepwise or continuous size ranges: the common camera and display sizes.
const long kStandardSizes[][2] = {{4208, 3120}, {4096, 2160}, {3840, 2160}, {3264, 2448}, {2592, 1944},
                                  {2560, 1440}, {2048, 1536}, {1920, 1080}, {1600, 1200}, {1280, 960},
                                  {1280, 720},  {1024, 768},  {800, 600},   {640, 480},   {320, 240}};
// Rates offered for stepwise or continuous interval ranges.
const long kStandardRates[] = {120, 60, 50, 30, 25, 20, 15, 10, 5};

struct FormatCode {
    std::uint32_t fourcc;
    long code;
};
// The public order of media types.
const FormatCode kFormats[] = {
    {V4L2_PIX_FMT_MJPEG, kMediaMjpg}, {V4L2_PIX_FMT_YUYV, kMediaYuy2}, {V4L2_PIX_FMT_NV12, kMediaNv12}};

long rateOf(const v4l2_fract& interval) {
    if (interval.numerator == 0 || interval.denominator == 0)
        return 0;
    return std::lround(double(interval.denominator) / double(interval.numerator));
}

double seconds(const v4l2_fract& interval) {
    return interval.denominator == 0 ? 0 : double(interval.numerator) / interval.denominator;
}

// Whether a frame interval lies in a step-wise range on one of its steps (step 0: continuous). Drivers
// count intervals in whole units (100 ns for UVC), so a step hit within a thousandth counts.
bool reachable(double interval, double min, double max, double step) {
    const double slack = interval * 1e-3;
    if (interval < min - slack || interval > max + slack)
        return false;
    if (step <= 0)
        return true;
    const double steps = (interval - min) / step;
    return std::fabs(steps - std::round(steps)) * step <= slack;
}

bool fitsStep(long value, long min, long max, long step) {
    if (value < min || value > max)
        return false;
    return step <= 1 || (value - min) % step == 0;
}

}  // namespace

V4l2Device::V4l2Device(Platform& platform) : platform_(platform) {}

V4l2Device::~V4l2Device() {
    close();
}

int V4l2Device::open(const std::string& path) {
    close();
    int fd = platform_.open(path);
    if (fd < 0)
        return errno ? errno : EIO;
    fd_ = fd;
    return 0;
}

void V4l2Device::close() {
    if (fd_ < 0)
        return;
    stopStreaming();
    platform_.close(fd_);
    fd_ = -1;
}

int V4l2Device::xioctl(unsigned long request, void* arg) {
    int busyTries = 0;
    for (;;) {
        if (platform_.ioctl(fd_, request, arg) >= 0)
            return 0;
        int error = errno;
        if (error == EINTR)
            continue;
        if (error == EAGAIN && request != VIDIOC_DQBUF && ++busyTries < 20) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        return error ? error : EIO;
    }
}

bool V4l2Device::isCapture(std::string* card) {
    v4l2_capability cap{};
    if (xioctl(VIDIOC_QUERYCAP, &cap) != 0)
        return false;
    std::uint32_t caps = (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
    if (!(caps & V4L2_CAP_VIDEO_CAPTURE) || !(caps & V4L2_CAP_STREAMING))
        return false;
    if (card) {
        const char* text = reinterpret_cast<const char*>(cap.card);
        *card = std::string(text, strnlen(text, sizeof cap.card));
    }
    return true;
}

std::vector<MediaFormat> V4l2Device::enumerateFormats() {
    std::vector<std::uint32_t> offered;
    for (std::uint32_t i = 0;; ++i) {
        v4l2_fmtdesc desc{};
        desc.index = i;
        desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (xioctl(VIDIOC_ENUM_FMT, &desc) != 0)
            break;
        offered.push_back(desc.pixelformat);
    }
    std::vector<MediaFormat> formats;
    for (const FormatCode& known : kFormats) {
        if (std::find(offered.begin(), offered.end(), known.fourcc) == offered.end())
            continue;
        MediaFormat format;
        format.code = known.code;
        format.fourcc = known.fourcc;
        format.sizes = enumerateSizes(known.fourcc);
        if (!format.sizes.empty())
            formats.push_back(std::move(format));
    }
    return formats;
}

std::vector<FrameSize> V4l2Device::enumerateSizes(std::uint32_t fourcc) {
    std::vector<std::pair<long, long>> sizes;
    for (std::uint32_t i = 0;; ++i) {
        v4l2_frmsizeenum size{};
        size.index = i;
        size.pixel_format = fourcc;
        if (xioctl(VIDIOC_ENUM_FRAMESIZES, &size) != 0)
            break;
        if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
            sizes.emplace_back(size.discrete.width, size.discrete.height);
            continue;
        }
        // Stepwise or continuous: one answer describes the whole range.
        const v4l2_frmsize_stepwise& range = size.stepwise;
        long stepW = size.type == V4L2_FRMSIZE_TYPE_CONTINUOUS ? 1 : range.step_width;
        long stepH = size.type == V4L2_FRMSIZE_TYPE_CONTINUOUS ? 1 : range.step_height;
        for (const auto& standard : kStandardSizes) {
            if (fitsStep(standard[0], range.min_width, range.max_width, stepW) &&
                fitsStep(standard[1], range.min_height, range.max_height, stepH))
                sizes.emplace_back(standard[0], standard[1]);
        }
        sizes.emplace_back(range.max_width, range.max_height);
        break;
    }
    std::sort(sizes.begin(), sizes.end(), [](const auto& a, const auto& b) {
        long areaA = a.first * a.second, areaB = b.first * b.second;
        return areaA != areaB ? areaA > areaB : a.first > b.first;
    });
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());

    std::vector<FrameSize> result;
    for (const auto& [width, height] : sizes) {
        if (width <= 0 || height <= 0)
            continue;
        FrameSize frameSize;
        frameSize.width = width;
        frameSize.height = height;
        frameSize.fps = enumerateRates(fourcc, width, height);
        result.push_back(std::move(frameSize));
    }
    return result;
}

std::vector<long> V4l2Device::enumerateRates(std::uint32_t fourcc, long width, long height) {
    std::vector<long> rates;
    for (std::uint32_t i = 0;; ++i) {
        v4l2_frmivalenum interval{};
        interval.index = i;
        interval.pixel_format = fourcc;
        interval.width = static_cast<std::uint32_t>(width);
        interval.height = static_cast<std::uint32_t>(height);
        if (xioctl(VIDIOC_ENUM_FRAMEINTERVALS, &interval) != 0)
            break;
        if (interval.type == V4L2_FRMIVAL_TYPE_DISCRETE) {
            long rate = rateOf(interval.discrete);
            if (rate > 0)
                rates.push_back(rate);
            continue;
        }
        // A range of intervals: the standard rates the camera can reach, the fastest one included.
        const v4l2_frmival_stepwise& range = interval.stepwise;
        const double step = interval.type == V4L2_FRMIVAL_TYPE_CONTINUOUS ? 0 : seconds(range.step);
        for (long rate : kStandardRates)
            if (reachable(1.0 / rate, seconds(range.min), seconds(range.max), step))
                rates.push_back(rate);
        const long fastest = rateOf(range.min);
        if (fastest > 0 && reachable(1.0 / fastest, seconds(range.min), seconds(range.max), step))
            rates.push_back(fastest);
        break;
    }
    std::sort(rates.begin(), rates.end(), std::greater<long>());
    rates.erase(std::unique(rates.begin(), rates.end()), rates.end());
    return rates;
}

int V4l2Device::setFormat(std::uint32_t fourcc, long width, long height, v4l2_pix_format* actual) {
    v4l2_format format{};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    format.fmt.pix.pixelformat = fourcc;
    format.fmt.pix.width = static_cast<std::uint32_t>(width);
    format.fmt.pix.height = static_cast<std::uint32_t>(height);
    format.fmt.pix.field = V4L2_FIELD_NONE;
    if (int error = xioctl(VIDIOC_S_FMT, &format))
        return error;
    *actual = format.fmt.pix;
    return 0;
}

int V4l2Device::setFrameRate(long fps, long* actual) {
    *actual = 0;
    v4l2_streamparm parm{};
    parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (fps > 0) {
        parm.parm.capture.timeperframe.numerator = 1;
        parm.parm.capture.timeperframe.denominator = static_cast<std::uint32_t>(fps);
        if (int error = xioctl(VIDIOC_S_PARM, &parm))
            return error;
    } else if (int error = xioctl(VIDIOC_G_PARM, &parm)) {
        return error;
    }
    *actual = rateOf(parm.parm.capture.timeperframe);
    return 0;
}

int V4l2Device::startStreaming(unsigned count) {
    v4l2_requestbuffers request{};
    request.count = count;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    if (int error = xioctl(VIDIOC_REQBUFS, &request))
        return error;
    if (request.count == 0)
        return ENOMEM;
    buffers_.resize(request.count);
    for (unsigned i = 0; i < request.count; ++i) {
        v4l2_buffer buffer{};
        buffer.index = i;
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        int error = xioctl(VIDIOC_QUERYBUF, &buffer);
        if (!error) {
            void* address = platform_.mmap(buffer.length, fd_, buffer.m.offset);
            if (address == MAP_FAILED) {
                error = errno ? errno : ENOMEM;
            } else {
                buffers_[i] = {address, buffer.length};
                error = xioctl(VIDIOC_QBUF, &buffer);
            }
        }
        if (error) {
            releaseBuffers();
            return error;
        }
    }
    int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (int error = xioctl(VIDIOC_STREAMON, &type)) {
        releaseBuffers();
        return error;
    }
    streaming_ = true;
    return 0;
}

void V4l2Device::stopStreaming() {
    if (streaming_) {
        int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        xioctl(VIDIOC_STREAMOFF, &type);
        streaming_ = false;
    }
    releaseBuffers();
}

void V4l2Device::releaseBuffers() {
    if (buffers_.empty())
        return;
    for (Mapping& mapping : buffers_)
        if (mapping.address)
            platform_.munmap(mapping.address, mapping.length);
    buffers_.clear();
    // Frees the driver's buffers; an unplugged node answers ENODEV, which changes nothing here.
    v4l2_requestbuffers request{};
    request.count = 0;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    xioctl(VIDIOC_REQBUFS, &request);
}

int V4l2Device::dequeue(v4l2_buffer* buffer) {
    *buffer = v4l2_buffer{};
    buffer->type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buffer->memory = V4L2_MEMORY_MMAP;
    int error = xioctl(VIDIOC_DQBUF, buffer);
    if (!error && buffer->index >= buffers_.size())
        return EIO;
    return error;
}

int V4l2Device::requeue(const v4l2_buffer& buffer) {
    v4l2_buffer copy = buffer;
    copy.bytesused = 0;
    copy.flags = 0;
    return xioctl(VIDIOC_QBUF, &copy);
}

const std::uint8_t* V4l2Device::bufferData(unsigned index) const {
    return static_cast<const std::uint8_t*>(buffers_[index].address);
}

std::size_t V4l2Device::bufferLength(unsigned index) const {
    return buffers_[index].length;
}

}  // namespace optigrab
