// SPDX-License-Identifier: GPL-3.0-or-later
// Test helper: one open node of a simulated camera, driven through the Platform like the library does.
#pragma once

#include "platform.h"

#include <linux/videodev2.h>
#include <sys/mman.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

// Opens a node on construction and closes it (unmapping its buffers) on destruction, so a failing
// test cannot leak a streaming camera into the next one.
class SimNode {
public:
    explicit SimNode(const std::string& path) : platform_(optigrab::simulatedPlatform()) {
        fd_ = platform_.open(path);
    }
    ~SimNode() {
        unmap();
        if (fd_ >= 0)
            platform_.close(fd_);
    }
    SimNode(const SimNode&) = delete;
    SimNode& operator=(const SimNode&) = delete;

    int fd() const { return fd_; }
    optigrab::Platform& platform() { return platform_; }

    // The ioctl's errno, or 0 on success.
    int call(unsigned long request, void* arg) {
        errno = 0;
        return platform_.ioctl(fd_, request, arg) == 0 ? 0 : errno;
    }

    int setFormat(std::uint32_t fourcc, std::uint32_t width, std::uint32_t height, v4l2_format* out = nullptr,
                  unsigned long request = VIDIOC_S_FMT) {
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        format.fmt.pix.pixelformat = fourcc;
        format.fmt.pix.width = width;
        format.fmt.pix.height = height;
        const int error = call(request, &format);
        if (out)
            *out = format;
        return error;
    }

    int setFps(std::uint32_t fps, v4l2_streamparm* out = nullptr) {
        v4l2_streamparm parm{};
        parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        parm.parm.capture.timeperframe = {1, fps};
        const int error = call(VIDIOC_S_PARM, &parm);
        if (out)
            *out = parm;
        return error;
    }

    int requestBuffers(std::uint32_t count, std::uint32_t* granted = nullptr) {
        v4l2_requestbuffers request{};
        request.count = count;
        request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        request.memory = V4L2_MEMORY_MMAP;
        const int error = call(VIDIOC_REQBUFS, &request);
        if (granted)
            *granted = request.count;
        return error;
    }

    // REQBUFS, QUERYBUF and mmap of every buffer, QBUF of all: ready for STREAMON.
    bool prepare(std::uint32_t count) {
        std::uint32_t granted = 0;
        if (requestBuffers(count, &granted) != 0)
            return false;
        for (std::uint32_t i = 0; i < granted; ++i) {
            v4l2_buffer buffer = blank(i);
            if (call(VIDIOC_QUERYBUF, &buffer) != 0)
                return false;
            void* memory = platform_.mmap(buffer.length, fd_, buffer.m.offset);
            if (memory == MAP_FAILED)
                return false;
            maps_.push_back({static_cast<std::uint8_t*>(memory), buffer.length});
            if (call(VIDIOC_QBUF, &buffer) != 0)
                return false;
        }
        return true;
    }

    int stream(bool on) {
        int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        return call(on ? VIDIOC_STREAMON : VIDIOC_STREAMOFF, &type);
    }

    // Polls and dequeues one frame; false on timeout or error.
    bool nextFrame(v4l2_buffer* buffer, int timeoutMs = 5000) {
        pollfd fd{fd_, POLLIN, 0};
        if (platform_.poll(&fd, 1, timeoutMs) != 1 || !(fd.revents & POLLIN))
            return false;
        *buffer = blank(0);
        return call(VIDIOC_DQBUF, buffer) == 0;
    }

    int requeue(v4l2_buffer* buffer) { return call(VIDIOC_QBUF, buffer); }

    // A dequeued frame's bytes.
    std::vector<std::uint8_t> bytes(const v4l2_buffer& buffer) const {
        const std::uint8_t* data = maps_.at(buffer.index).address;
        return {data, data + buffer.bytesused};
    }
    const std::uint8_t* mapped(std::uint32_t index) const { return maps_.at(index).address; }

    static v4l2_buffer blank(std::uint32_t index) {
        v4l2_buffer buffer{};
        buffer.index = index;
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        return buffer;
    }

    void unmap() {
        for (const auto& map : maps_)
            platform_.munmap(map.address, map.length);
        maps_.clear();
    }

private:
    struct Mapping {
        std::uint8_t* address;
        std::size_t length;
    };
    optigrab::Platform& platform_;
    int fd_ = -1;
    std::vector<Mapping> maps_;
};
