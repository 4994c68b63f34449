// The frames of one simulated camera mode: a short cycle of pages, each rendered and encoded once.
#include "framecycle.h"

#include "pagerenderer.h"

#include <libyuv.h>
#include <linux/videodev2.h>
#include <turbojpeg.h>

namespace optigrab::sim {

namespace {

constexpr int kJpegQuality = 85;  // what UVC document cameras typically use

int cycleLength(int width, int height) {
    // 8 frames of a 4K mode take ~9 MB encoded; smaller modes get a smoother 16-frame motion.
    return static_cast<long>(width) * height > 2L * 1920 * 1080 ? 8 : 16;
}

}  // namespace

FrameCycle::FrameCycle(std::uint32_t fourcc, int width, int height)
    : fourcc_(fourcc),
      width_(width),
      height_(height),
      count_(cycleLength(width, height)),
      frames_(new Slot[static_cast<std::size_t>(count_)]) {}

const std::vector<std::uint8_t>& FrameCycle::frame(long index) {
    Slot& slot = frames_[static_cast<std::size_t>(index % count_)];
    std::call_once(slot.encoded, [&] { slot.bytes = encode(static_cast<int>(index % count_)); });
    return slot.bytes;
}

std::vector<std::uint8_t> FrameCycle::encode(int index) const {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width_) * height_ * 3);
    PageRenderer(width_, height_).render(rgb.data(), index, count_);

    if (fourcc_ == V4L2_PIX_FMT_MJPEG) {
        tjhandle handle = tjInitCompress();
        if (!handle)
            return {};  // the camera then reports the frame as failed
        unsigned char* jpeg = nullptr;
        unsigned long size = 0;
        // 4:2:2 like the MJPEG of UVC cameras.
        const int result = tjCompress2(handle, rgb.data(), width_, 0, height_, TJPF_RGB, &jpeg, &size,
                                       TJSAMP_422, kJpegQuality, 0);
        std::vector<std::uint8_t> bytes;
        if (result == 0)
            bytes.assign(jpeg, jpeg + size);
        tjFree(jpeg);
        tjDestroy(handle);
        return bytes;  // empty on failure: delivered as a failed frame
    }

    // No H.264 encoder here: such a stream's frames go out as failed frames.
    if (fourcc_ != V4L2_PIX_FMT_YUYV && fourcc_ != V4L2_PIX_FMT_NV12)
        return {};

    // YUY2 and NV12 go through ARGB: libyuv's converters from packed RGB end there.
    std::vector<std::uint8_t> argb(static_cast<std::size_t>(width_) * height_ * 4);
    libyuv::RAWToARGB(rgb.data(), width_ * 3, argb.data(), width_ * 4, width_, height_);
    if (fourcc_ == V4L2_PIX_FMT_YUYV) {
        std::vector<std::uint8_t> yuy2(static_cast<std::size_t>(width_) * height_ * 2);
        libyuv::ARGBToYUY2(argb.data(), width_ * 4, yuy2.data(), width_ * 2, width_, height_);
        return yuy2;
    }
    std::vector<std::uint8_t> nv12(static_cast<std::size_t>(width_) * height_ * 3 / 2);
    std::uint8_t* uv = nv12.data() + static_cast<std::size_t>(width_) * height_;
    libyuv::ARGBToNV12(argb.data(), width_ * 4, nv12.data(), width_, uv, width_, width_, height_);
    return nv12;
}

}  // namespace optigrab::sim
