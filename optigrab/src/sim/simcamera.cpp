// SPDX-License-Identifier: GPL-3.0-or-later
// One simulated UVC camera, its describing half: modes, capabilities, formats and frame rates.
#include "simcamera.h"

#include "optigrab_sim.h"

#include <linux/videodev2.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace optigrab::sim {

namespace {

// UVC frame intervals are counted in 100 ns units.
constexpr std::uint32_t kIntervalUnits = 10000000;

const char* formatDescription(std::uint32_t fourcc) {
    switch (fourcc) {
        case V4L2_PIX_FMT_MJPEG:
            return "Motion-JPEG";
        case V4L2_PIX_FMT_YUYV:
            return "YUYV 4:2:2";
        case V4L2_PIX_FMT_GREY:
            return "8-bit Greyscale";
        case V4L2_PIX_FMT_H264:
            return "H.264";
        default:
            return "Y/UV 4:2:0";
    }
}

// The fraction of seconds a number of 100 ns units is, reduced as the UVC driver reduces it.
v4l2_fract intervalFraction(std::uint32_t units) {
    std::uint32_t a = units, b = kIntervalUnits;
    while (b) {
        const std::uint32_t r = a % b;
        a = b;
        b = r;
    }
    return {units / a, kIntervalUnits / a};
}

// The UVC driver's measure for the nearest frame size: the area the two sizes do not share.
long sizeDistance(const CameraConfig::Mode& mode, long width, long height) {
    const long common = std::min<long>(mode.width, width) * std::min<long>(mode.height, height);
    return static_cast<long>(mode.width) * mode.height + width * height - 2 * common;
}

int nearestFps(const std::vector<int>& rates, double wantedInterval) {
    int best = rates.front();
    for (int fps : rates)
        if (std::abs(1.0 / fps - wantedInterval) < std::abs(1.0 / best - wantedInterval))
            best = fps;
    return best;
}

void copyString(std::uint8_t* target, std::size_t size, const std::string& text) {
    // Kernel strings are fixed arrays; cut on a UTF-8 character boundary.
    std::size_t length = std::min(text.size(), size - 1);
    while (length > 0 && length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    std::memset(target, 0, size);
    std::memcpy(target, text.data(), length);
}

}  // namespace

std::uint32_t CameraConfig::Mode::bytesPerLine(unsigned quirks) const {
    // Some cameras pad their lines, as the driver then reports in bytesperline.
    const std::uint32_t padding = quirks & OPTIGRAB_SIM_QUIRK_PADDED_LINES ? kLinePadding : 0;
    switch (fourcc) {
        case V4L2_PIX_FMT_YUYV:
            return static_cast<std::uint32_t>(width) * 2 + padding;
        case V4L2_PIX_FMT_NV12:
        case V4L2_PIX_FMT_GREY:
            return static_cast<std::uint32_t>(width) + padding;
        default:
            return 0;  // compressed
    }
}

std::uint32_t CameraConfig::Mode::imageSize(unsigned quirks) const {
    const auto lines = static_cast<std::uint32_t>(height);
    switch (fourcc) {
        case V4L2_PIX_FMT_YUYV:
        case V4L2_PIX_FMT_GREY:
            return bytesPerLine(quirks) * lines;
        case V4L2_PIX_FMT_NV12:
            return bytesPerLine(quirks) * (lines + (lines + 1) / 2);
        default:
            // Compressed: the worst case a UVC camera announces (dwMaxVideoFrameBufferSize).
            return static_cast<std::uint32_t>(width) * lines * 2;
    }
}

CameraConfig CameraConfig::documentCamera() {
    CameraConfig config;
    config.name = "Simulated Document Camera";
    config.vendorId = "fa11";
    config.productId = "0c01";
    for (const auto& [width, height] : {std::pair{3840, 2160}, {1920, 1080}, {1280, 720}, {640, 480}})
        config.modes.push_back({V4L2_PIX_FMT_MJPEG, width, height, {30, 15, 5}});
    config.modes.push_back({V4L2_PIX_FMT_YUYV, 1280, 720, {10, 5}});
    config.modes.push_back({V4L2_PIX_FMT_YUYV, 640, 480, {30, 15, 5}});
    return config;
}

bool CameraConfig::valid() const {
    const auto hex4 = [](const std::string& id) {
        return id.size() == 4 && std::all_of(id.begin(), id.end(), [](char c) {
                   return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
               });
    };
    return !name.empty() && hex4(vendorId) && hex4(productId) && validModes(modes) &&
           (secondModes.empty() || validModes(secondModes));
}

bool CameraConfig::validModes(const std::vector<Mode>& list) {
    if (list.empty())
        return false;
    for (const auto& mode : list) {
        const bool planar = mode.fourcc == V4L2_PIX_FMT_NV12;
        const bool other = mode.fourcc == V4L2_PIX_FMT_GREY || mode.fourcc == V4L2_PIX_FMT_H264;
        if ((mode.fourcc != V4L2_PIX_FMT_MJPEG && mode.fourcc != V4L2_PIX_FMT_YUYV && !planar && !other) ||
            mode.width < 16 || mode.height < 16 || mode.width > 8192 || mode.height > 8192 ||
            mode.fps.empty())
            return false;
        // Packed 4:2:2 needs even widths, 4:2:0 even heights too.
        if ((mode.fourcc == V4L2_PIX_FMT_YUYV || planar) && (mode.width % 2 || (planar && mode.height % 2)))
            return false;
        if (std::any_of(mode.fps.begin(), mode.fps.end(), [](int fps) { return fps <= 0 || fps > 1000; }))
            return false;
        for (const auto& other : list)
            if (&other != &mode && other.fourcc == mode.fourcc && other.width == mode.width &&
                other.height == mode.height)
                return false;
    }
    return true;
}

SimCamera::SimCamera(int id, CameraConfig config, CycleSource cycles)
    : id_(id),
      config_(std::move(config)),
      cycles_(std::move(cycles)),
      controls_(config_.quirks),
      current_(&config_.modes.front()),
      fps_(config_.modes.front().fps.front()),
      locked_(config_.quirks & OPTIGRAB_SIM_QUIRK_NO_ACCESS) {}

double SimCamera::rate() const {
    return interval_ ? double(kIntervalUnits) / interval_ : fps_;
}

SimCamera::~SimCamera() {
    std::lock_guard<std::mutex> control(controlMutex_);
    stopStreaming();
    freeBuffers();
}

int SimCamera::attach(OpenNode* node) {
    std::lock_guard<std::mutex> control(controlMutex_);
    std::lock_guard<std::mutex> state(stateMutex_);
    if (gone_)
        return -ENODEV;
    if (locked_)
        return -EACCES;  // the node's mode and ACL leave this user out
    nodes_.push_back(node);
    if (signalled_) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t written = ::write(node->fd, &one, sizeof one);
    }
    return 0;
}

void SimCamera::detach(OpenNode* node) {
    std::lock_guard<std::mutex> control(controlMutex_);
    if (owner_ == node) {
        stopStreaming();
        freeBuffers();
        owner_ = nullptr;
    }
    std::lock_guard<std::mutex> state(stateMutex_);
    nodes_.erase(std::remove(nodes_.begin(), nodes_.end(), node), nodes_.end());
}

bool SimCamera::holdsBuffers(const OpenNode& node) {
    std::lock_guard<std::mutex> control(controlMutex_);
    return owner_ == &node;
}

int SimCamera::ioctl(OpenNode& node, unsigned long request, void* arg) {
    std::lock_guard<std::mutex> control(controlMutex_);
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        if (gone_)
            return -ENODEV;
    }
    if (!arg)
        return -EFAULT;
    if (request == VIDIOC_QUERYCAP)
        return queryCap(node, arg);
    if (node.metadata) {
        // A metadata node knows the streaming calls but has no video capture queue or formats.
        switch (request) {
            case VIDIOC_ENUM_FMT:
            case VIDIOC_G_FMT:
            case VIDIOC_S_FMT:
            case VIDIOC_TRY_FMT:
            case VIDIOC_ENUM_FRAMESIZES:
            case VIDIOC_ENUM_FRAMEINTERVALS:
            case VIDIOC_G_PARM:
            case VIDIOC_S_PARM:
            case VIDIOC_REQBUFS:
            case VIDIOC_QUERYBUF:
            case VIDIOC_QBUF:
            case VIDIOC_DQBUF:
            case VIDIOC_STREAMON:
            case VIDIOC_STREAMOFF:
                return -EINVAL;
            default:
                return -ENOTTY;
        }
    }
    switch (request) {
        case VIDIOC_ENUM_FMT:
            return enumFormat(arg);
        case VIDIOC_ENUM_FRAMESIZES:
            return enumFrameSizes(arg);
        case VIDIOC_ENUM_FRAMEINTERVALS:
            return enumFrameIntervals(arg);
        case VIDIOC_G_FMT:
            return getFormat(arg);
        case VIDIOC_S_FMT:
            return setFormat(node, arg, true);
        case VIDIOC_TRY_FMT:
            return setFormat(node, arg, false);
        case VIDIOC_G_PARM:
            return getParm(arg);
        case VIDIOC_S_PARM:
            return setParm(arg);
        case VIDIOC_REQBUFS:
            return requestBuffers(node, arg);
        case VIDIOC_QUERYBUF:
            return queryBuffer(arg);
        case VIDIOC_QBUF:
            return queueBuffer(node, arg);
        case VIDIOC_DQBUF:
            return dequeueBuffer(node, arg);
        case VIDIOC_STREAMON:
            return streamOn(node, arg);
        case VIDIOC_STREAMOFF:
            return streamOff(node, arg);
        default: {
            const int result = controls_.ioctl(request, arg);
            return result == 1 ? -ENOTTY : result;
        }
    }
}

int SimCamera::queryCap(const OpenNode& node, void* arg) const {
    auto* cap = static_cast<v4l2_capability*>(arg);
    std::memset(cap, 0, sizeof *cap);
    copyString(cap->driver, sizeof cap->driver, "optigrab-sim");
    copyString(cap->card, sizeof cap->card, config_.name);
    copyString(cap->bus_info, sizeof cap->bus_info, "simulated-usb-" + std::to_string(id_));
    cap->version = (6u << 16) | (1u << 8);
    // Like the kernel, capabilities describe the whole device (both nodes); only device_caps tells
    // a capture node from a metadata node.
    cap->capabilities =
        V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING | V4L2_CAP_DEVICE_CAPS;
    cap->device_caps = (node.metadata ? V4L2_CAP_META_CAPTURE : V4L2_CAP_VIDEO_CAPTURE) | V4L2_CAP_STREAMING;
    return 0;
}

std::vector<std::uint32_t> SimCamera::formats() const {
    std::vector<std::uint32_t> result;
    for (const auto& mode : config_.modes)
        if (std::find(result.begin(), result.end(), mode.fourcc) == result.end())
            result.push_back(mode.fourcc);
    return result;
}

const CameraConfig::Mode* SimCamera::findMode(std::uint32_t fourcc, int width, int height) const {
    for (const auto& mode : config_.modes)
        if (mode.fourcc == fourcc && mode.width == width && mode.height == height)
            return &mode;
    return nullptr;
}

int SimCamera::enumFormat(void* arg) const {
    auto* desc = static_cast<v4l2_fmtdesc*>(arg);
    const auto list = formats();
    if (desc->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || desc->index >= list.size())
        return -EINVAL;
    const std::uint32_t index = desc->index;
    std::memset(desc, 0, sizeof *desc);
    desc->index = index;
    desc->type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    desc->pixelformat = list[index];
    desc->flags =
        list[index] == V4L2_PIX_FMT_MJPEG || list[index] == V4L2_PIX_FMT_H264 ? V4L2_FMT_FLAG_COMPRESSED : 0;
    copyString(desc->description, sizeof desc->description, formatDescription(list[index]));
    return 0;
}

int SimCamera::enumFrameSizes(void* arg) const {
    auto* size = static_cast<v4l2_frmsizeenum*>(arg);
    std::uint32_t seen = 0;
    for (const auto& mode : config_.modes) {
        if (mode.fourcc != size->pixel_format)
            continue;
        if (seen++ == size->index) {
            size->type = V4L2_FRMSIZE_TYPE_DISCRETE;
            size->discrete.width = static_cast<std::uint32_t>(mode.width);
            size->discrete.height = static_cast<std::uint32_t>(mode.height);
            return 0;
        }
    }
    return -EINVAL;
}

int SimCamera::enumFrameIntervals(void* arg) const {
    auto* interval = static_cast<v4l2_frmivalenum*>(arg);
    const auto* mode = findMode(interval->pixel_format, static_cast<int>(interval->width),
                                static_cast<int>(interval->height));
    if (mode && interval->index == 0 && (config_.quirks & OPTIGRAB_SIM_QUIRK_STEPWISE_RATES)) {
        // One range from the fastest to the slowest rate, in steps of the shortest interval.
        interval->type = V4L2_FRMIVAL_TYPE_STEPWISE;
        interval->stepwise.min = intervalFraction(kIntervalUnits / std::uint32_t(mode->fps.front()));
        interval->stepwise.max = intervalFraction(kIntervalUnits / std::uint32_t(mode->fps.back()));
        interval->stepwise.step = interval->stepwise.min;
        return 0;
    }
    if (!mode || interval->index >= mode->fps.size() || (config_.quirks & OPTIGRAB_SIM_QUIRK_STEPWISE_RATES))
        return -EINVAL;
    interval->type = V4L2_FRMIVAL_TYPE_DISCRETE;
    interval->discrete.numerator = 1;
    interval->discrete.denominator = static_cast<std::uint32_t>(mode->fps[interval->index]);
    return 0;
}

void SimCamera::describeFormat(void* arg, const CameraConfig::Mode& mode) const {
    auto* format = static_cast<v4l2_format*>(arg);
    std::memset(&format->fmt.pix, 0, sizeof format->fmt.pix);
    format->fmt.pix.width = static_cast<std::uint32_t>(mode.width);
    format->fmt.pix.height = static_cast<std::uint32_t>(mode.height);
    format->fmt.pix.pixelformat = mode.fourcc;
    format->fmt.pix.field = V4L2_FIELD_NONE;
    format->fmt.pix.bytesperline = mode.bytesPerLine(config_.quirks);
    format->fmt.pix.sizeimage = mode.imageSize(config_.quirks);
    format->fmt.pix.colorspace = V4L2_COLORSPACE_SRGB;
}

int SimCamera::getFormat(void* arg) const {
    if (static_cast<v4l2_format*>(arg)->type != V4L2_BUF_TYPE_VIDEO_CAPTURE)
        return -EINVAL;
    describeFormat(arg, *current_);
    return 0;
}

int SimCamera::setFormat(const OpenNode& node, void* arg, bool apply) {
    auto* format = static_cast<v4l2_format*>(arg);
    if (format->type != V4L2_BUF_TYPE_VIDEO_CAPTURE)
        return -EINVAL;
    if (apply) {
        std::lock_guard<std::mutex> state(stateMutex_);
        // The driver refuses while buffers exist (ours or another opener's) or another program
        // holds the camera.
        if (busy_ || streaming_ || !buffers_.empty() || (owner_ && owner_ != &node))
            return -EBUSY;
        if (transientFailures_ > 0) {  // the camera did not answer the probe in time
            --transientFailures_;
            return -EIO;
        }
    }
    std::uint32_t fourcc = format->fmt.pix.pixelformat;
    const auto list = formats();
    if (std::find(list.begin(), list.end(), fourcc) == list.end())
        fourcc = list.front();
    const CameraConfig::Mode* best = nullptr;
    for (const auto& mode : config_.modes)
        if (mode.fourcc == fourcc &&
            (!best || sizeDistance(mode, format->fmt.pix.width, format->fmt.pix.height) <
                          sizeDistance(*best, format->fmt.pix.width, format->fmt.pix.height)))
            best = &mode;
    if (config_.quirks & OPTIGRAB_SIM_QUIRK_OTHER_SIZE) {
        // A camera that settles on another size than the one asked: the next smaller of the format.
        const CameraConfig::Mode* smaller = nullptr;
        for (const auto& mode : config_.modes)
            if (mode.fourcc == fourcc && long(mode.width) * mode.height < long(best->width) * best->height &&
                (!smaller || long(mode.width) * mode.height > long(smaller->width) * smaller->height))
                smaller = &mode;
        if (smaller)
            best = smaller;
    }
    describeFormat(arg, *best);
    if (apply) {
        current_ = best;
        // Keep the chosen rate if the new size offers it, else the nearest it does.
        fps_ = nearestFps(best->fps, 1.0 / fps_);
        interval_ = 0;
    }
    return 0;
}

int SimCamera::getParm(void* arg) const {
    auto* parm = static_cast<v4l2_streamparm*>(arg);
    if (parm->type != V4L2_BUF_TYPE_VIDEO_CAPTURE)
        return -EINVAL;
    std::memset(&parm->parm.capture, 0, sizeof parm->parm.capture);
    parm->parm.capture.capability = V4L2_CAP_TIMEPERFRAME;
    if (interval_)
        parm->parm.capture.timeperframe = intervalFraction(interval_);
    else
        parm->parm.capture.timeperframe = {1, static_cast<std::uint32_t>(fps_)};
    return 0;
}

int SimCamera::setParm(void* arg) {
    auto* parm = static_cast<v4l2_streamparm*>(arg);
    if (parm->type != V4L2_BUF_TYPE_VIDEO_CAPTURE)
        return -EINVAL;
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        if (busy_ || streaming_)
            return -EBUSY;
    }
    const auto& wanted = parm->parm.capture.timeperframe;
    // A zero fraction asks for the default: the highest rate.
    fps_ = wanted.numerator == 0 || wanted.denominator == 0
               ? current_->fps.front()
               : nearestFps(current_->fps, static_cast<double>(wanted.numerator) / wanted.denominator);
    interval_ = 0;
    if ((config_.quirks & OPTIGRAB_SIM_QUIRK_STEPWISE_RATES) && wanted.numerator && wanted.denominator) {
        // The UVC driver's rounding: to the nearest step from the shortest interval, within the range.
        const std::uint64_t asked = std::uint64_t(wanted.numerator) * kIntervalUnits / wanted.denominator;
        const std::uint64_t min = kIntervalUnits / std::uint32_t(current_->fps.front());
        const std::uint64_t max = kIntervalUnits / std::uint32_t(current_->fps.back());
        const std::uint64_t step = min;
        std::uint64_t units = asked <= min ? min : min + (asked - min + step / 2) / step * step;
        interval_ = static_cast<std::uint32_t>(std::min(units, max));
    }
    return getParm(arg);
}

}  // namespace optigrab::sim
