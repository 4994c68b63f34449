// SPDX-License-Identifier: GPL-3.0-or-later
// One simulated UVC camera, its streaming half: mmap buffers, queues, faults and the frame clock.
#include "simcamera.h"

#include "framecycle.h"
#include "optigrab_sim.h"

#include <linux/videodev2.h>
#include <poll.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace optigrab::sim {

namespace {

constexpr std::uint32_t kMaxBuffers = 32;  // the UVC driver's limit
constexpr std::uint32_t kMinBuffers = 2;

std::size_t pageRounded(std::size_t size) {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return (size + page - 1) / page * page;
}

// Copies an MJPEG frame into out the way some cameras send it: with stray bytes before its first
// quantisation table and before EOI (decoders skip them with a warning), and/or without Huffman
// tables. Returns the bytes written, at most capacity.
std::size_t copyMjpeg(const std::vector<std::uint8_t>& frame, std::uint8_t* out, std::size_t capacity,
                      unsigned quirks) {
    static const std::uint8_t kStray[32] = {0x00, 0x00, 0x5A};
    std::size_t used = 0;
    const auto put = [&](const std::uint8_t* data, std::size_t size) {
        size = std::min(size, capacity - used);
        std::memcpy(out + used, data, size);
        used += size;
    };
    const bool stray = quirks & OPTIGRAB_SIM_QUIRK_STRAY_BYTES;
    bool tablesSeen = false;
    std::size_t i = 2;
    put(frame.data(), std::min<std::size_t>(2, frame.size()));
    // The segments before the scan, each with its length; the scan and what follows are copied whole.
    while (i + 4 <= frame.size() && frame[i] == 0xFF && frame[i + 1] != 0xDA) {
        const std::size_t length =
            std::min(frame.size() - i, 2 + (std::size_t(frame[i + 2]) << 8 | frame[i + 3]));
        if (stray && frame[i + 1] == 0xDB && !tablesSeen) {
            put(kStray, sizeof kStray);
            tablesSeen = true;
        }
        if (!(quirks & OPTIGRAB_SIM_QUIRK_NO_HUFFMAN) || frame[i + 1] != 0xC4)
            put(frame.data() + i, length);
        i += length;
    }
    const std::size_t tail = frame.size() >= i + 2 && stray ? frame.size() - 2 : frame.size();
    put(frame.data() + i, tail - i);
    if (tail != frame.size()) {
        put(kStray, sizeof kStray);
        put(frame.data() + tail, 2);
    }
    return used;
}

}  // namespace

int SimCamera::requestBuffers(OpenNode& node, void* arg) {
    auto* request = static_cast<v4l2_requestbuffers*>(arg);
    if (request->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || request->memory != V4L2_MEMORY_MMAP)
        return -EINVAL;
    request->capabilities = V4L2_BUF_CAP_SUPPORTS_MMAP | V4L2_BUF_CAP_SUPPORTS_ORPHANED_BUFS;
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        if ((owner_ && owner_ != &node) || streaming_ || (busy_ && request->count > 0))
            return -EBUSY;
    }
    freeBuffers();
    owner_ = nullptr;
    if (request->count == 0)
        return 0;
    const int result = allocateBuffers(std::clamp(request->count, kMinBuffers, kMaxBuffers));
    if (result < 0)
        return result;
    request->count = static_cast<std::uint32_t>(buffers_.size());
    owner_ = &node;
    return 0;
}

int SimCamera::allocateBuffers(std::uint32_t count) {
    // Each buffer is its own memfd: a caller's mapping is a real shared mapping that outlives the
    // buffer, as with the kernel's orphaned buffers.
    const std::size_t length = pageRounded(current_->imageSize(config_.quirks));
    std::vector<Buffer> buffers(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        Buffer& buffer = buffers[i];
        buffer.length = length;
        buffer.offset = static_cast<std::uint32_t>(i * length);
        buffer.memfd = memfd_create("optigrab-sim-buffer", MFD_CLOEXEC);
        void* memory = MAP_FAILED;
        if (buffer.memfd >= 0 && ftruncate(buffer.memfd, static_cast<off_t>(length)) == 0)
            memory = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, buffer.memfd, 0);
        if (memory == MAP_FAILED) {
            const int error = errno;
            for (auto& b : buffers) {
                if (b.memory)
                    ::munmap(b.memory, b.length);
                if (b.memfd >= 0)
                    ::close(b.memfd);
            }
            return -error;
        }
        buffer.memory = static_cast<std::uint8_t*>(memory);
    }
    std::lock_guard<std::mutex> state(stateMutex_);
    buffers_ = std::move(buffers);
    return 0;
}

void SimCamera::freeBuffers() {
    std::lock_guard<std::mutex> state(stateMutex_);
    for (auto& buffer : buffers_) {
        ::munmap(buffer.memory, buffer.length);
        ::close(buffer.memfd);
    }
    buffers_.clear();
    queued_.clear();
    done_.clear();
}

void SimCamera::describeBuffer(std::uint32_t index, void* arg) const {
    const Buffer& buffer = buffers_[index];
    auto* out = static_cast<v4l2_buffer*>(arg);
    std::memset(out, 0, sizeof *out);
    out->index = index;
    out->type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    out->memory = V4L2_MEMORY_MMAP;
    out->m.offset = buffer.offset;
    out->length = static_cast<std::uint32_t>(buffer.length);
    out->field = V4L2_FIELD_NONE;
    out->bytesused = buffer.bytesused;
    out->sequence = buffer.sequence;
    out->timestamp = buffer.timestamp;
    out->flags = V4L2_BUF_FLAG_MAPPED | V4L2_BUF_FLAG_TIMESTAMP_MONOTONIC | V4L2_BUF_FLAG_TSTAMP_SRC_SOE;
    if (buffer.state == BufferState::Queued || buffer.state == BufferState::Filling)
        out->flags |= V4L2_BUF_FLAG_QUEUED;
    if (buffer.state == BufferState::Done)
        out->flags |= V4L2_BUF_FLAG_DONE;
    out->flags |= buffer.flags;
}

int SimCamera::queryBuffer(void* arg) {
    const auto* in = static_cast<v4l2_buffer*>(arg);
    std::lock_guard<std::mutex> state(stateMutex_);
    if (in->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || in->index >= buffers_.size())
        return -EINVAL;
    describeBuffer(in->index, arg);
    return 0;
}

int SimCamera::queueBuffer(const OpenNode& node, void* arg) {
    const auto* in = static_cast<v4l2_buffer*>(arg);
    std::lock_guard<std::mutex> state(stateMutex_);
    if (owner_ && owner_ != &node)
        return -EBUSY;
    if (in->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || in->memory != V4L2_MEMORY_MMAP ||
        in->index >= buffers_.size() || buffers_[in->index].state != BufferState::Dequeued)
        return -EINVAL;
    const std::uint32_t index = in->index;
    Buffer& buffer = buffers_[index];
    buffer.state = BufferState::Queued;
    buffer.flags = 0;
    queued_.push_back(index);
    describeBuffer(index, arg);
    clockWake_.notify_all();
    return 0;
}

int SimCamera::dequeueBuffer(const OpenNode& node, void* arg) {
    const auto* in = static_cast<v4l2_buffer*>(arg);
    std::lock_guard<std::mutex> state(stateMutex_);
    if (owner_ && owner_ != &node)
        return -EBUSY;
    if (in->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || in->memory != V4L2_MEMORY_MMAP || !streaming_)
        return -EINVAL;
    if (queueError_)
        return -EIO;
    if (done_.empty())
        return -EAGAIN;  // every node is opened non-blocking
    const std::uint32_t index = done_.front();
    done_.pop_front();
    buffers_[index].state = BufferState::Dequeued;
    describeBuffer(index, arg);
    if (done_.empty())
        signalNodes(false);
    return 0;
}

int SimCamera::streamOn(const OpenNode& node, void* arg) {
    if (*static_cast<int*>(arg) != V4L2_BUF_TYPE_VIDEO_CAPTURE)
        return -EINVAL;
    double fps = config_.frameClock > 0 ? config_.frameClock : (config_.frameClock < 0 ? -1.0 : rate());
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        if ((owner_ && owner_ != &node) || busy_)
            return -EBUSY;
        if (buffers_.empty())
            return -EINVAL;
        if (streaming_)
            return 0;
        if (transientFailures_ > 0) {
            --transientFailures_;
            return -EIO;
        }
        if (config_.usbBandwidth > 0 && bandwidth(*current_, rate()) > double(config_.usbBandwidth))
            return -ENOSPC;  // the bus cannot reserve the isochronous bandwidth the mode needs
        if (stallRestarts_ > 0)
            --stallRestarts_;
        if (queueErrorRestarts_ > 1) {
            --queueErrorRestarts_;
            queueError_ = true;
        } else {
            queueErrorRestarts_ = 0;
        }
        streaming_ = true;
        stopClock_ = false;
        sequence_ = 0;
    }
    clock_ = std::thread(
        &SimCamera::clockLoop, this,
        config_.recorded ? config_.recorded : cycles_(current_->fourcc, current_->width, current_->height),
        fps);
    return 0;
}

int SimCamera::streamOff(const OpenNode& node, void* arg) {
    if (*static_cast<int*>(arg) != V4L2_BUF_TYPE_VIDEO_CAPTURE)
        return -EINVAL;
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        if (owner_ && owner_ != &node)
            return -EBUSY;
    }
    stopStreaming();
    return 0;
}

// Called with controlMutex_ held. Joins the frame clock thread, which never takes controlMutex_.
void SimCamera::stopStreaming() {
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        stopClock_ = true;
        clockWake_.notify_all();
    }
    if (clock_.joinable())
        clock_.join();
    std::lock_guard<std::mutex> state(stateMutex_);
    streaming_ = false;
    queueError_ = false;
    for (auto& buffer : buffers_)
        buffer.state = BufferState::Dequeued;
    queued_.clear();
    done_.clear();
    signalNodes(false);
}

void* SimCamera::mmap(OpenNode& node, std::size_t length, off_t offset, int* error) {
    std::lock_guard<std::mutex> control(controlMutex_);
    std::lock_guard<std::mutex> state(stateMutex_);
    *error = gone_ ? ENODEV : EINVAL;
    if (gone_ || node.metadata)
        return MAP_FAILED;
    for (const auto& buffer : buffers_) {
        if (static_cast<off_t>(buffer.offset) != offset)
            continue;
        if (length == 0 || length > buffer.length)
            return MAP_FAILED;
        void* address = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, buffer.memfd, 0);
        if (address == MAP_FAILED)
            *error = errno;
        return address;
    }
    return MAP_FAILED;
}

short SimCamera::pollEvents(const OpenNode& node) {
    std::lock_guard<std::mutex> state(stateMutex_);
    if (gone_)
        return POLLERR | POLLHUP;
    // Like the kernel: nothing to wait for on a queue that does not stream.
    if (node.metadata || !streaming_ || queueError_)
        return POLLERR;
    if (!done_.empty())
        return POLLIN | POLLRDNORM;
    if (signalled_)
        signalNodes(false);
    else {
        // A wake-up that raced with a DQBUF on another thread: reset the count so poll can sleep.
        std::uint64_t count;
        [[maybe_unused]] ssize_t got = ::read(node.fd, &count, sizeof count);
    }
    return 0;
}

// Called with stateMutex_ held: makes every node's eventfd readable, or not.
void SimCamera::signalNodes(bool readable) {
    for (const OpenNode* node : nodes_) {
        std::uint64_t count = 1;
        if (readable) {
            [[maybe_unused]] ssize_t written = ::write(node->fd, &count, sizeof count);
        } else {
            [[maybe_unused]] ssize_t got = ::read(node->fd, &count, sizeof count);  // non-blocking
        }
    }
    signalled_ = readable;
}

void SimCamera::unplug() {
    std::lock_guard<std::mutex> control(controlMutex_);
    stopStreaming();
    std::lock_guard<std::mutex> state(stateMutex_);
    gone_ = true;
    signalNodes(true);  // wakes pollers; they then see POLLERR | POLLHUP
}

bool SimCamera::setFault(int kind, int count) {
    if (kind < OPTIGRAB_SIM_FAULT_CORRUPT || kind > OPTIGRAB_SIM_FAULT_TRANSIENT || count < 0)
        return false;
    std::lock_guard<std::mutex> state(stateMutex_);
    switch (kind) {
        case OPTIGRAB_SIM_FAULT_STALL:
            stalled_ = true;
            break;
        case OPTIGRAB_SIM_FAULT_USB_STALL:
            stallRestarts_ = std::max(1, count);
            break;
        case OPTIGRAB_SIM_FAULT_QUEUE_ERROR:
            queueErrorRestarts_ = std::max(1, count);
            queueError_ = streaming_;
            if (queueError_)
                signalNodes(true);  // pollers wake up to the error
            break;
        case OPTIGRAB_SIM_FAULT_TRANSIENT:
            transientFailures_ = count;
            break;
        case OPTIGRAB_SIM_FAULT_CORRUPT:
        case OPTIGRAB_SIM_FAULT_TRUNCATED:
        case OPTIGRAB_SIM_FAULT_ERROR:
        case OPTIGRAB_SIM_FAULT_EMPTY:
            faults_[kind - 1] = count;
            break;
        default:
            return false;
    }
    return true;
}

double SimCamera::bandwidth(const CameraConfig::Mode& mode, double fps) {
    const double perPixel = mode.fourcc == V4L2_PIX_FMT_YUYV   ? 2.0
                            : mode.fourcc == V4L2_PIX_FMT_NV12 ? 1.5
                                                               : 0.25;
    return perPixel * mode.width * mode.height * std::max(fps, 1.0);
}

void SimCamera::grantAccess() {
    std::lock_guard<std::mutex> state(stateMutex_);
    locked_ = false;
}

void SimCamera::setBusy(bool busy) {
    std::lock_guard<std::mutex> state(stateMutex_);
    busy_ = busy;
}

// Runs on the camera's frame clock thread, from STREAMON to STREAMOFF (or unplug). fps <= 0: a
// frame as soon as a buffer is queued.
void SimCamera::clockLoop(std::shared_ptr<FrameCycle> cycle, double fps) {
    using Clock = std::chrono::steady_clock;
    const auto period =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(fps > 0 ? 1.0 / fps : 0));
    auto next = Clock::now() + period;
    std::unique_lock<std::mutex> state(stateMutex_);
    while (!stopClock_) {
        std::uint32_t sequence = 0;
        if (fps > 0) {
            if (clockWake_.wait_until(state, next, [this] { return stopClock_; }))
                break;
            next += period;
            const auto now = Clock::now();
            if (next < now)
                next = now + period;  // fell behind (first encodes): skip frames, do not burst
            sequence = sequence_++;
            if (!delivering() || queued_.empty())
                continue;  // the camera's frame finds no buffer and is lost, as on a real device
        } else {
            clockWake_.wait(state, [this] { return stopClock_ || (delivering() && !queued_.empty()); });
            if (stopClock_)
                break;
            sequence = sequence_++;
        }
        const std::uint32_t index = queued_.front();
        queued_.pop_front();
        Buffer& buffer = buffers_[index];
        buffer.state = BufferState::Filling;
        int fault = 0;
        for (const int kind : {OPTIGRAB_SIM_FAULT_EMPTY, OPTIGRAB_SIM_FAULT_ERROR,
                               OPTIGRAB_SIM_FAULT_TRUNCATED, OPTIGRAB_SIM_FAULT_CORRUPT})
            if (!fault && faults_[kind - 1] > 0) {
                --faults_[kind - 1];
                fault = kind;
            }

        // The buffer is ours while Filling: STREAMOFF and REQBUFS wait for this thread first.
        state.unlock();
        const auto& cycled = cycle->frame(sequence);
        if (cycled.empty())
            fault = OPTIGRAB_SIM_FAULT_ERROR;
        const bool adjusted =
            controls_.render(cycle->fourcc(), cycle->width(), cycle->height(), sequence, cycled, shown_);
        const std::uint32_t used = fill(buffer, adjusted ? shown_ : cycled, fault, sequence);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        state.lock();

        buffer.bytesused = used;
        buffer.flags = fault == OPTIGRAB_SIM_FAULT_ERROR ? V4L2_BUF_FLAG_ERROR : 0;
        buffer.sequence = sequence;
        buffer.timestamp.tv_sec = now.tv_sec;
        buffer.timestamp.tv_usec = now.tv_nsec / 1000;
        buffer.state = BufferState::Done;
        done_.push_back(index);
        ++delivered_;
        if (!signalled_)
            signalNodes(true);
    }
}

// Runs on the frame clock thread: copies a frame into a buffer, damaged as the fault asks.
std::uint32_t SimCamera::fill(Buffer& buffer, const std::vector<std::uint8_t>& frame, int fault,
                              std::uint32_t sequence) const {
    const CameraConfig::Mode& mode = *current_;
    const std::uint32_t stride = mode.bytesPerLine(config_.quirks);
    std::size_t size = std::min(frame.size(), buffer.length);
    if (mode.fourcc == V4L2_PIX_FMT_MJPEG && config_.quirks) {
        size = copyMjpeg(frame, buffer.memory, buffer.length, config_.quirks);
    } else if (stride != 0 && (config_.quirks & OPTIGRAB_SIM_QUIRK_GARBAGE_START) && sequence < 2) {
        // Uncompressed cameras often send a frame or two of nothing right after STREAMON.
        size = mode.imageSize(config_.quirks);
        std::memset(buffer.memory, 0, size);
    } else if (stride != 0 && (config_.quirks & OPTIGRAB_SIM_QUIRK_PADDED_LINES)) {
        // Line by line into the longer lines; the padding holds zeros (green or black if shown).
        const std::size_t packed = stride - CameraConfig::kLinePadding;
        const std::size_t lines = frame.size() / packed;
        size = std::min<std::size_t>(lines * stride, buffer.length);
        for (std::size_t line = 0; line < lines && (line + 1) * stride <= buffer.length; ++line) {
            std::memcpy(buffer.memory + line * stride, frame.data() + line * packed, packed);
            std::memset(buffer.memory + line * stride + packed, 0, CameraConfig::kLinePadding);
        }
    } else {
        std::memcpy(buffer.memory, frame.data(), size);
    }
    std::uint8_t* data = buffer.memory;
    switch (fault) {
        case OPTIGRAB_SIM_FAULT_ERROR:
            return static_cast<std::uint32_t>(size / 3);  // part of a frame, as a broken transfer leaves it
        case OPTIGRAB_SIM_FAULT_EMPTY:
            return 0;
        case OPTIGRAB_SIM_FAULT_TRUNCATED: {
            std::size_t used = size / 2;
            if (used >= 2 && data[used - 2] == 0xFF && data[used - 1] == 0xD9)
                --used;
            return static_cast<std::uint32_t>(used);
        }
        case OPTIGRAB_SIM_FAULT_CORRUPT: {
            // Garbage in the middle of the entropy-coded data, with a stray restart marker: SOI, the
            // headers and EOI stay intact, so only the decoder can tell.
            std::size_t start = size / 2;
            for (std::size_t i = 2; i + 1 < size; ++i)
                if (data[i] == 0xFF && data[i + 1] == 0xDA) {
                    start = (i + size) / 2;
                    break;
                }
            std::uint32_t noise = 0x2545F491u;
            for (std::size_t i = start; i < std::min(size - 2, start + 256); ++i) {
                noise = noise * 1664525u + 1013904223u;
                data[i] = static_cast<std::uint8_t>(noise >> 24);
            }
            if (start + 2 < size - 2) {
                data[start] = 0xFF;
                data[start + 1] = 0xD3;
            }
            return static_cast<std::uint32_t>(size);
        }
        default:
            return static_cast<std::uint32_t>(size);
    }
}

}  // namespace optigrab::sim
