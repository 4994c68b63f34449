// SPDX-License-Identifier: GPL-3.0-or-later
// The frames of one simulated camera mode: a short cycle of pages, each rendered and encoded once, or
// the JPEG files of a folder.
#include "framecycle.h"

#include "pagerenderer.h"

#include <dirent.h>
#include <libyuv.h>
#include <linux/videodev2.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

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

FrameCycle::FrameCycle(std::vector<std::vector<std::uint8_t>> recorded, int width, int height)
    : fourcc_(V4L2_PIX_FMT_MJPEG),
      width_(width),
      height_(height),
      count_(static_cast<int>(recorded.size())),
      frames_(new Slot[recorded.size()]),
      recorded_(true) {
    for (std::size_t i = 0; i < recorded.size(); ++i)
        frames_[i].bytes = std::move(recorded[i]);
}

std::shared_ptr<FrameCycle> FrameCycle::fromFolder(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name, lower = name;
            std::transform(lower.begin(), lower.end(), lower.begin(),
                           [](unsigned char c) { return std::tolower(c); });
            const auto endsWith = [&](const char* suffix) {
                const std::string end(suffix);
                return lower.size() > end.size() &&
                       lower.compare(lower.size() - end.size(), end.size(), end) == 0;
            };
            if (endsWith(".jpg") || endsWith(".jpeg"))
                names.push_back(std::move(name));
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    std::vector<std::vector<std::uint8_t>> files;
    for (const std::string& name : names) {
        std::ifstream in(folder + "/" + name, std::ios::binary);
        if (in)
            files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    tjhandle handle = tjInitDecompress();
    const bool sized = handle && !files.empty() && !files.front().empty() &&
                       tjDecompressHeader3(handle, files.front().data(), files.front().size(), &width,
                                           &height, &subsampling, &colorspace) == 0;
    if (handle)
        tjDestroy(handle);
    if (!sized) {
        std::fprintf(stderr, "optigrab: %s: no JPEG file whose size can be read comes first in this folder\n",
                     folder.c_str());
        return nullptr;
    }
    return std::shared_ptr<FrameCycle>(new FrameCycle(std::move(files), width, height));
}

const std::vector<std::uint8_t>& FrameCycle::frame(long index) {
    Slot& slot = frames_[static_cast<std::size_t>(index % count_)];
    if (recorded_)
        return slot.bytes;
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

    if (fourcc_ == V4L2_PIX_FMT_H264)
        return {};  // no H.264 encoder here: such a node delivers failed buffers

    // YUY2, NV12 and greyscale go through ARGB: libyuv's converters from packed RGB end there.
    std::vector<std::uint8_t> argb(static_cast<std::size_t>(width_) * height_ * 4);
    libyuv::RAWToARGB(rgb.data(), width_ * 3, argb.data(), width_ * 4, width_, height_);
    if (fourcc_ == V4L2_PIX_FMT_GREY) {
        std::vector<std::uint8_t> grey(static_cast<std::size_t>(width_) * height_);
        libyuv::ARGBToI400(argb.data(), width_ * 4, grey.data(), width_, width_, height_);
        return grey;
    }
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
