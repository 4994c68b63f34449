// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated camera controls. Ioctls come on any thread under the camera's control lock; render runs on
// the frame clock thread. The values are shared, under mutex_.
#include "sim/simcontrols.h"

#include <linux/videodev2.h>
#include <turbojpeg.h>

#include <libyuv.h>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "optigrab_sim.h"

namespace optigrab::sim {

namespace {

// Where the page lies for the lens: the focus value that is sharp, where autofocus settles.
const std::int32_t kSharpFocus = 300;
// How long continuous focus takes to bring the lens from anywhere to the page.
const std::chrono::milliseconds kFocusSettle(600);
// The room's light: a white balance set to it leaves colours as they are.
const std::int32_t kRoomTemperature = 4600;
const std::int32_t kDefaultSharpness = 3;
const std::int32_t kManualExposure = 1;  // V4L2_EXPOSURE_MANUAL; 3 is aperture priority (automatic)
const std::uint32_t kNextFlags = V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND;

std::uint8_t clampByte(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

SimControls::SimControls(unsigned quirks)
    : failing_(quirks & OPTIGRAB_SIM_QUIRK_CONTROLS_FAIL),
      lensFrom_(kSharpFocus),
      focusingSince_(std::chrono::steady_clock::now()) {
    if (quirks & OPTIGRAB_SIM_QUIRK_NO_CONTROLS)
        return;
    const std::uint32_t integer = V4L2_CTRL_TYPE_INTEGER, boolean = V4L2_CTRL_TYPE_BOOLEAN,
                        menu = V4L2_CTRL_TYPE_MENU;
    controls_ = {
        {V4L2_CID_USER_CLASS, "User Controls", V4L2_CTRL_TYPE_CTRL_CLASS, 0, 0, 0, 0, 0, {}},
        {V4L2_CID_BRIGHTNESS, "Brightness", integer, -64, 64, 1, 0, 0, {}},
        {V4L2_CID_CONTRAST, "Contrast", integer, 0, 95, 1, 32, 32, {}},
        {V4L2_CID_SATURATION, "Saturation", integer, 0, 100, 1, 64, 64, {}},
        {V4L2_CID_AUTO_WHITE_BALANCE, "White Balance, Automatic", boolean, 0, 1, 1, 1, 1, {}},
        {V4L2_CID_GAMMA, "Gamma", integer, 72, 500, 1, 100, 100, {}},
        {V4L2_CID_GAIN, "Gain", integer, 0, 100, 1, 0, 0, {}},
        {V4L2_CID_POWER_LINE_FREQUENCY,
         "Power Line Frequency",
         menu,
         0,
         3,
         1,
         1,
         1,
         {"Disabled", "50 Hz", "60 Hz", "Auto"}},
        {V4L2_CID_WHITE_BALANCE_TEMPERATURE,
         "White Balance Temperature",
         integer,
         2800,
         6500,
         10,
         kRoomTemperature,
         kRoomTemperature,
         {}},
        {V4L2_CID_SHARPNESS, "Sharpness", integer, 0, 7, 1, kDefaultSharpness, kDefaultSharpness, {}},
        {V4L2_CID_CAMERA_CLASS, "Camera Controls", V4L2_CTRL_TYPE_CTRL_CLASS, 0, 0, 0, 0, 0, {}},
        {V4L2_CID_EXPOSURE_AUTO,
         "Auto Exposure",
         menu,
         0,
         3,
         1,
         3,
         3,
         {nullptr, "Manual Mode", nullptr, "Aperture Priority Mode"}},
        {V4L2_CID_EXPOSURE_ABSOLUTE, "Exposure Time, Absolute", integer, 3, 2047, 1, 250, 250, {}},
        {V4L2_CID_FOCUS_ABSOLUTE, "Focus, Absolute", integer, 0, 1023, 1, kSharpFocus, kSharpFocus, {}},
        {V4L2_CID_FOCUS_AUTO, "Focus, Automatic Continuous", boolean, 0, 1, 1, 1, 1, {}},
        {V4L2_CID_AUTO_FOCUS_START, "Auto Focus, Start", V4L2_CTRL_TYPE_BUTTON, 0, 0, 0, 0, 0, {}},
    };
    if (quirks & OPTIGRAB_SIM_QUIRK_NO_FOCUS_START)
        controls_.pop_back();
}

SimControls::Control* SimControls::find(std::uint32_t id) {
    for (Control& control : controls_)
        if (control.id == id)
            return &control;
    return nullptr;
}

std::int32_t SimControls::valueOf(std::uint32_t id, std::int32_t fallback) const {
    for (const Control& c : controls_)
        if (c.id == id)
            return c.id == V4L2_CID_FOCUS_ABSOLUTE ? lensPosition() : c.value;
    return fallback;
}

std::int32_t SimControls::lensPosition() const {
    std::int32_t set = kSharpFocus, continuous = 0;
    for (const Control& c : controls_) {
        if (c.id == V4L2_CID_FOCUS_ABSOLUTE)
            set = c.value;
        if (c.id == V4L2_CID_FOCUS_AUTO)
            continuous = c.value;
    }
    if (!continuous)
        return set;
    const double moved =
        std::min(1.0, std::chrono::duration<double>(std::chrono::steady_clock::now() - focusingSince_) /
                          std::chrono::duration<double>(kFocusSettle));
    return lensFrom_ + std::int32_t(std::lround((kSharpFocus - lensFrom_) * moved));
}

void SimControls::setValue(Control& control, std::int32_t value) {
    Control* focus = find(V4L2_CID_FOCUS_ABSOLUTE);
    if (control.id == V4L2_CID_FOCUS_AUTO && focus && value != control.value) {
        // Continuous focus starts hunting from where the lens is, and leaves it where it got to.
        lensFrom_ = lensPosition();
        focusingSince_ = std::chrono::steady_clock::now();
        focus->value = lensFrom_;
    }
    control.value = value;
    if (control.id == V4L2_CID_AUTO_FOCUS_START && focus)
        focus->value = kSharpFocus;  // the button finds the page at once
}

std::uint32_t SimControls::flagsOf(const Control& control) const {
    switch (control.type) {
        case V4L2_CTRL_TYPE_CTRL_CLASS:
            return V4L2_CTRL_FLAG_READ_ONLY | V4L2_CTRL_FLAG_WRITE_ONLY;
        case V4L2_CTRL_TYPE_BUTTON:
            return V4L2_CTRL_FLAG_WRITE_ONLY;
        default:
            break;
    }
    // The manual value of a setting that is automatic now is the camera's own business.
    const bool inactive =
        (control.id == V4L2_CID_WHITE_BALANCE_TEMPERATURE && valueOf(V4L2_CID_AUTO_WHITE_BALANCE, 0)) ||
        (control.id == V4L2_CID_EXPOSURE_ABSOLUTE && valueOf(V4L2_CID_EXPOSURE_AUTO, 0) != kManualExposure) ||
        (control.id == V4L2_CID_FOCUS_ABSOLUTE && valueOf(V4L2_CID_FOCUS_AUTO, 0));
    return inactive ? V4L2_CTRL_FLAG_INACTIVE : 0;
}

int SimControls::ioctl(unsigned long request, void* arg) {
    switch (request) {
        case VIDIOC_QUERY_EXT_CTRL:
            return query(arg);
        case VIDIOC_QUERYMENU:
            return queryMenu(arg);
        case VIDIOC_G_EXT_CTRLS:
            return get(arg);
        case VIDIOC_S_EXT_CTRLS:
            return set(arg);
        default:
            return 1;
    }
}

int SimControls::query(void* arg) {
    auto* q = static_cast<v4l2_query_ext_ctrl*>(arg);
    std::lock_guard<std::mutex> lock(mutex_);
    const Control* found = nullptr;
    if (q->id & kNextFlags) {
        const std::uint32_t after = q->id & ~kNextFlags;
        for (const Control& control : controls_)
            if (control.id > after) {
                found = &control;
                break;
            }
    } else {
        found = find(q->id);
    }
    if (!found)
        return -EINVAL;
    std::memset(q, 0, sizeof *q);
    q->id = found->id;
    q->type = found->type;
    std::strncpy(q->name, found->name, sizeof q->name - 1);
    q->minimum = found->minimum;
    q->maximum = found->maximum;
    q->step = std::uint64_t(found->step);
    q->default_value = found->defaultValue;
    q->flags = flagsOf(*found);
    q->elem_size = 4;
    q->elems = 1;
    return 0;
}

int SimControls::queryMenu(void* arg) {
    auto* q = static_cast<v4l2_querymenu*>(arg);
    std::lock_guard<std::mutex> lock(mutex_);
    const Control* control = find(q->id);
    if (!control || control->type != V4L2_CTRL_TYPE_MENU || std::int64_t(q->index) < control->minimum ||
        std::int64_t(q->index) > control->maximum)
        return -EINVAL;
    const char* name = control->menu[q->index - std::uint32_t(control->minimum)];
    if (!name)
        return -EINVAL;  // a gap: UVC exposure menus skip the modes the camera lacks
    std::memset(q->name, 0, sizeof q->name);
    std::strncpy(reinterpret_cast<char*>(q->name), name, sizeof q->name - 1);
    return 0;
}

int SimControls::get(void* arg) {
    auto* c = static_cast<v4l2_ext_controls*>(arg);
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::uint32_t i = 0; i < c->count; ++i) {
        const Control* control = find(c->controls[i].id);
        c->error_idx = i;
        if (!control)
            return -EINVAL;
        if (flagsOf(*control) & V4L2_CTRL_FLAG_WRITE_ONLY)
            return -EACCES;
        c->controls[i].value = valueOf(control->id, 0);
    }
    return 0;
}

int SimControls::set(void* arg) {
    auto* c = static_cast<v4l2_ext_controls*>(arg);
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::int32_t> values(c->count);
    // All are checked before any is set, as the kernel does.
    for (std::uint32_t i = 0; i < c->count; ++i) {
        Control* control = find(c->controls[i].id);
        c->error_idx = i;
        if (!control)
            return -EINVAL;
        const std::uint32_t flags = flagsOf(*control);
        if (flags & (V4L2_CTRL_FLAG_READ_ONLY | V4L2_CTRL_FLAG_INACTIVE))
            return -EACCES;  // as the UVC driver answers for a control an automatic one holds
        std::int32_t value = c->controls[i].value;
        if (control->type == V4L2_CTRL_TYPE_MENU) {
            if (value < control->minimum || value > control->maximum)
                return -ERANGE;
            if (!control->menu[std::size_t(value - control->minimum)])
                return -EINVAL;
        } else if (control->type == V4L2_CTRL_TYPE_BOOLEAN) {
            value = value != 0;
        } else if (control->type == V4L2_CTRL_TYPE_INTEGER) {
            value = std::clamp(value, control->minimum, control->maximum);
            value = control->minimum + (value - control->minimum) / control->step * control->step;
        }
        values[i] = value;
    }
    if (failing_)
        return -EIO;
    for (std::uint32_t i = 0; i < c->count; ++i)
        setValue(*find(c->controls[i].id), values[i]);
    return 0;
}

bool SimControls::Look::neutral() const {
    return gain == 1 && contrast == 1 && offset == 0 && gamma == 1 && saturation == 1 && warmth == 0 &&
           sharpening == 0 && blur == 1 && !bands;
}

SimControls::Look SimControls::look() const {
    std::lock_guard<std::mutex> lock(mutex_);
    Look look;
    look.offset = 2.0 * valueOf(V4L2_CID_BRIGHTNESS, 0);
    look.contrast = valueOf(V4L2_CID_CONTRAST, 32) / 32.0;
    look.saturation = valueOf(V4L2_CID_SATURATION, 64) / 64.0;
    look.gamma = valueOf(V4L2_CID_GAMMA, 100) / 100.0;
    look.gain = 1.0 + valueOf(V4L2_CID_GAIN, 0) / 50.0;
    if (valueOf(V4L2_CID_EXPOSURE_AUTO, 3) == kManualExposure)
        look.gain *= valueOf(V4L2_CID_EXPOSURE_ABSOLUTE, 250) / 250.0;
    if (!valueOf(V4L2_CID_AUTO_WHITE_BALANCE, 1))  // 24 levels of chroma from the room's light to an end
        look.warmth = 24.0 *
                      (valueOf(V4L2_CID_WHITE_BALANCE_TEMPERATURE, kRoomTemperature) - kRoomTemperature) /
                      (6500 - kRoomTemperature);
    look.sharpening = (valueOf(V4L2_CID_SHARPNESS, kDefaultSharpness) - kDefaultSharpness) / 2.0;
    const int away = std::abs(valueOf(V4L2_CID_FOCUS_ABSOLUTE, kSharpFocus) - kSharpFocus);
    look.blur = away > 10 ? 1 + away / 40 : 1;
    // The room's light flickers at 50 Hz: an exposure for 60 Hz, or none, catches it in bands.
    const std::int32_t powerLine = valueOf(V4L2_CID_POWER_LINE_FREQUENCY, V4L2_CID_POWER_LINE_FREQUENCY_50HZ);
    look.bands = powerLine == V4L2_CID_POWER_LINE_FREQUENCY_DISABLED ||
                 powerLine == V4L2_CID_POWER_LINE_FREQUENCY_60HZ;
    return look;
}

void SimControls::adjustLuma(std::uint8_t* luma, int width, int height, int stride, int step,
                             const Look& look, std::uint32_t sequence) {
    if (look.blur > 1) {
        // Out of focus: the detail of a picture blur times smaller.
        std::vector<std::uint8_t> plane(std::size_t(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                plane[std::size_t(y) * width + x] = luma[std::size_t(y) * stride + std::size_t(x) * step];
        const int smallWidth = std::max(1, width / look.blur), smallHeight = std::max(1, height / look.blur);
        small_.resize(std::size_t(smallWidth) * smallHeight);
        libyuv::ScalePlane(plane.data(), width, width, height, small_.data(), smallWidth, smallWidth,
                           smallHeight, libyuv::kFilterBox);
        libyuv::ScalePlane(small_.data(), smallWidth, smallWidth, smallHeight, plane.data(), width, width,
                           height, libyuv::kFilterBilinear);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                luma[std::size_t(y) * stride + std::size_t(x) * step] = plane[std::size_t(y) * width + x];
    }
    if (look.sharpening != 0) {
        // Unsharp mask: the difference from a slightly blurred copy, added (sharper) or taken (softer).
        cv::Mat plane(height, width, CV_8U), soft;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                plane.at<std::uint8_t>(y, x) = luma[std::size_t(y) * stride + std::size_t(x) * step];
        cv::GaussianBlur(plane, soft, cv::Size(), 1.2);
        const double amount = std::max(-1.0, look.sharpening);
        cv::addWeighted(plane, 1.0 + amount, soft, -amount, 0, plane);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                luma[std::size_t(y) * stride + std::size_t(x) * step] = plane.at<std::uint8_t>(y, x);
    }
    std::uint8_t levels[256];
    for (int v = 0; v < 256; ++v) {
        const double lit = 255.0 * std::pow(std::min(1.0, v * look.gain / 255.0), 1.0 / look.gamma);
        levels[v] = clampByte((lit - 128.0) * look.contrast + 128.0 + look.offset);
    }
    const double phase = sequence * 0.11;  // the bands drift, as 50 Hz beats against a 60 Hz exposure
    for (int y = 0; y < height; ++y) {
        const double band =
            look.bands ? 1.0 - 0.35 * (0.5 + 0.5 * std::sin(2 * M_PI * (3.0 * y / height + phase))) : 1.0;
        std::uint8_t* row = luma + std::size_t(y) * stride;
        for (int x = 0; x < width; ++x)
            row[std::size_t(x) * step] = clampByte(levels[row[std::size_t(x) * step]] * band);
    }
}

void SimControls::adjustChroma(std::uint8_t* u, std::uint8_t* v, std::size_t count, std::size_t step,
                               const Look& look) {
    if (look.saturation == 1 && look.warmth == 0)
        return;
    for (std::size_t i = 0; i < count * step; i += step) {
        u[i] = clampByte(128.0 + (u[i] - 128.0) * look.saturation - look.warmth);
        v[i] = clampByte(128.0 + (v[i] - 128.0) * look.saturation + look.warmth);
    }
}

bool SimControls::render(std::uint32_t fourcc, int width, int height, std::uint32_t sequence,
                         const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& frame) {
    const Look look = this->look();
    if (look.neutral() || in.empty())
        return false;
    frame = in;
    const std::size_t pixels = std::size_t(width) * height;
    if (fourcc == V4L2_PIX_FMT_YUYV && frame.size() >= pixels * 2) {
        adjustLuma(frame.data(), width, height, width * 2, 2, look, sequence);
        adjustChroma(frame.data() + 1, frame.data() + 3, pixels / 2, 4, look);
    } else if (fourcc == V4L2_PIX_FMT_NV12 && frame.size() >= pixels * 3 / 2) {
        adjustLuma(frame.data(), width, height, width, 1, look, sequence);
        adjustChroma(frame.data() + pixels, frame.data() + pixels + 1, pixels / 4, 2, look);
    } else if (fourcc == V4L2_PIX_FMT_MJPEG) {
        tjhandle decoder = tjInitDecompress(), encoder = tjInitCompress();
        int w = 0, h = 0, subsampling = 0, colourspace = 0;
        if (decoder && encoder &&
            tjDecompressHeader3(decoder, frame.data(), frame.size(), &w, &h, &subsampling, &colourspace) ==
                0) {
            planes_.resize(tjBufSizeYUV2(w, 1, h, subsampling));
            if (tjDecompressToYUV2(decoder, frame.data(), frame.size(), planes_.data(), w, 1, h, 0) == 0) {
                adjustLuma(planes_.data(), w, h, w, 1, look, sequence);
                const std::size_t lumaSize = std::size_t(w) * h, chromaSize = (planes_.size() - lumaSize) / 2;
                adjustChroma(planes_.data() + lumaSize, planes_.data() + lumaSize + chromaSize, chromaSize, 1,
                             look);
                unsigned char* jpeg = nullptr;
                unsigned long size = 0;
                if (tjCompressFromYUV(encoder, planes_.data(), w, 1, h, subsampling, &jpeg, &size, 85, 0) ==
                    0)
                    frame.assign(jpeg, jpeg + size);
                tjFree(jpeg);
            }
        }
        if (decoder)
            tjDestroy(decoder);
        if (encoder)
            tjDestroy(encoder);
    }
    return true;
}

}  // namespace optigrab::sim
