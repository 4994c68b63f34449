// Simulated camera controls. Ioctls come on any thread under the camera's control lock; render runs on
// the frame clock thread. The values are shared, under mutex_.
#include "sim/simcontrols.h"

#include <linux/videodev2.h>
#include <turbojpeg.h>

#include <libyuv.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace optigrab::sim {

namespace {

// Where the page lies for the lens: the focus value that is sharp, where autofocus settles.
const std::int32_t kSharpFocus = 300;
const std::int32_t kManualExposure = 1;  // V4L2_EXPOSURE_MANUAL; 3 is aperture priority (automatic)
const std::uint32_t kNextFlags = V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND;

std::uint8_t clampByte(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

SimControls::SimControls(bool present, bool failing) : failing_(failing) {
    if (!present)
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
         4600,
         4600,
         {}},
        {V4L2_CID_SHARPNESS, "Sharpness", integer, 0, 7, 1, 3, 3, {}},
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
}

SimControls::Control* SimControls::find(std::uint32_t id) {
    for (Control& control : controls_)
        if (control.id == id)
            return &control;
    return nullptr;
}

std::uint32_t SimControls::flagsOf(const Control& control) const {
    const auto valueOf = [&](std::uint32_t id) {
        for (const Control& c : controls_)
            if (c.id == id)
                return c.value;
        return 0;
    };
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
        (control.id == V4L2_CID_WHITE_BALANCE_TEMPERATURE && valueOf(V4L2_CID_AUTO_WHITE_BALANCE)) ||
        (control.id == V4L2_CID_EXPOSURE_ABSOLUTE && valueOf(V4L2_CID_EXPOSURE_AUTO) != kManualExposure) ||
        (control.id == V4L2_CID_FOCUS_ABSOLUTE && valueOf(V4L2_CID_FOCUS_AUTO));
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
        c->controls[i].value = control->value;
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
    for (std::uint32_t i = 0; i < c->count; ++i) {
        Control* control = find(c->controls[i].id);
        control->value = values[i];
        Control* focus = find(V4L2_CID_FOCUS_ABSOLUTE);
        // Autofocus, started or switched on, finds the page.
        if ((control->id == V4L2_CID_AUTO_FOCUS_START || (control->id == V4L2_CID_FOCUS_AUTO && values[i])) &&
            focus)
            focus->value = kSharpFocus;
    }
    return 0;
}

bool SimControls::Look::neutral() const {
    return gain == 1 && contrast == 1 && offset == 0 && gamma == 1 && saturation == 1 && blur == 1 && !bands;
}

SimControls::Look SimControls::look() const {
    std::lock_guard<std::mutex> lock(mutex_);
    Look look;
    const auto value = [&](std::uint32_t id, std::int32_t fallback) {
        for (const Control& c : controls_)
            if (c.id == id)
                return c.value;
        return fallback;
    };
    look.offset = 2.0 * value(V4L2_CID_BRIGHTNESS, 0);
    look.contrast = value(V4L2_CID_CONTRAST, 32) / 32.0;
    look.saturation = value(V4L2_CID_SATURATION, 64) / 64.0;
    look.gamma = value(V4L2_CID_GAMMA, 100) / 100.0;
    look.gain = 1.0 + value(V4L2_CID_GAIN, 0) / 50.0;
    if (value(V4L2_CID_EXPOSURE_AUTO, 3) == kManualExposure)
        look.gain *= value(V4L2_CID_EXPOSURE_ABSOLUTE, 250) / 250.0;
    if (!value(V4L2_CID_FOCUS_AUTO, 1)) {
        const int away = std::abs(value(V4L2_CID_FOCUS_ABSOLUTE, kSharpFocus) - kSharpFocus);
        look.blur = away > 10 ? 1 + away / 40 : 1;
    }
    // The room's light flickers at 50 Hz: an exposure for 60 Hz, or none, catches it in bands.
    const std::int32_t powerLine = value(V4L2_CID_POWER_LINE_FREQUENCY, V4L2_CID_POWER_LINE_FREQUENCY_50HZ);
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

bool SimControls::render(std::uint32_t fourcc, int width, int height, std::uint32_t sequence,
                         const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& frame) {
    const Look look = this->look();
    if (look.neutral() || in.empty())
        return false;
    frame = in;
    const auto saturate = [&](std::uint8_t* chroma, std::size_t count, std::size_t step) {
        if (look.saturation != 1)
            for (std::size_t i = 0; i < count; ++i)
                chroma[i * step] = clampByte(128.0 + (chroma[i * step] - 128.0) * look.saturation);
    };
    if (fourcc == V4L2_PIX_FMT_YUYV && frame.size() >= std::size_t(width) * height * 2) {
        adjustLuma(frame.data(), width, height, width * 2, 2, look, sequence);
        saturate(frame.data() + 1, std::size_t(width) * height, 2);
    } else if (fourcc == V4L2_PIX_FMT_NV12 && frame.size() >= std::size_t(width) * height * 3 / 2) {
        adjustLuma(frame.data(), width, height, width, 1, look, sequence);
        saturate(frame.data() + std::size_t(width) * height, std::size_t(width) * height / 2, 1);
    } else if (fourcc == V4L2_PIX_FMT_MJPEG) {
        tjhandle decoder = tjInitDecompress(), encoder = tjInitCompress();
        int w = 0, h = 0, subsampling = 0, colourspace = 0;
        if (decoder && encoder &&
            tjDecompressHeader3(decoder, frame.data(), frame.size(), &w, &h, &subsampling, &colourspace) ==
                0) {
            planes_.resize(tjBufSizeYUV2(w, 1, h, subsampling));
            if (tjDecompressToYUV2(decoder, frame.data(), frame.size(), planes_.data(), w, 1, h, 0) == 0) {
                adjustLuma(planes_.data(), w, h, w, 1, look, sequence);
                const std::size_t lumaSize = std::size_t(w) * h;
                saturate(planes_.data() + lumaSize, planes_.size() - lumaSize, 1);
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
