// SPDX-License-Identifier: GPL-3.0-or-later
// One open V4L2 capture node reached through a Platform: capability and mode queries, format and
// rate setting, and mmap streaming. Used by the scanner (queries) and by a capture stream (streaming).
// Opening, queries, format setting and starting or stopping the stream run on one thread at a time.
// While streaming, dequeue, requeue and the buffer accessors also run at once on the capture thread
// and the decode lanes: they only read fd_ and buffers_, which change only while no lane runs (in
// startStreaming and stopStreaming), and the driver (or the simulated node's lock) serialises the
// DQBUF and QBUF calls on the one descriptor.
#pragma once

#include <linux/videodev2.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "deviceinfo.h"
#include "platform.h"

namespace optigrab {

class V4l2Device {
public:
    explicit V4l2Device(Platform& platform);
    ~V4l2Device();
    V4l2Device(const V4l2Device&) = delete;
    V4l2Device& operator=(const V4l2Device&) = delete;

    // Returns 0 or an errno value.
    int open(const std::string& path);
    // Stops streaming, unmaps the buffers and closes the node; safe to call twice.
    void close();
    int fd() const { return fd_; }

    // The ioctl with EINTR retried, and EAGAIN retried a few times (a driver may be briefly busy).
    // Returns 0 or an errno value.
    int xioctl(unsigned long request, void* arg);

    // True for a video capture node (metadata and output nodes answer false); fills the card name.
    bool isCapture(std::string* card);
    // The media types the library can convert, in the public order, with sizes and rates sorted.
    std::vector<MediaFormat> enumerateFormats();

    // Sets the pixel format and size; the driver may adjust the size. Returns 0 or an errno value.
    int setFormat(std::uint32_t fourcc, long width, long height, v4l2_pix_format* actual);
    // Asks for fps frames per second; *actual gets what the driver chose (0 when unknown).
    int setFrameRate(long fps, long* actual);

    // REQBUFS (mmap), QUERYBUF + mmap, QBUF of every buffer, STREAMON. Returns 0 or an errno value;
    // on failure everything set up so far is released.
    int startStreaming(unsigned count);
    // STREAMOFF and release of the buffers; errors (an unplugged node) are ignored.
    void stopStreaming();
    // DQBUF: 0, EAGAIN when no buffer is ready, or another errno value.
    int dequeue(v4l2_buffer* buffer);
    int requeue(const v4l2_buffer& buffer);

    const std::uint8_t* bufferData(unsigned index) const;
    std::size_t bufferLength(unsigned index) const;

private:
    struct Mapping {
        void* address = nullptr;
        std::size_t length = 0;
    };
    std::vector<FrameSize> enumerateSizes(std::uint32_t fourcc);
    std::vector<long> enumerateRates(std::uint32_t fourcc, long width, long height);
    void releaseBuffers();

    Platform& platform_;
    int fd_ = -1;
    bool streaming_ = false;
    std::vector<Mapping> buffers_;
};

}  // namespace optigrab
