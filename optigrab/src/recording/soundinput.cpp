// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the default sound input; each block's time is counted in samples (SoundTimeline).
#include "soundinput.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>

#include <algorithm>
#include <chrono>

namespace optigrab {

namespace {

constexpr int kRate = 48000;
constexpr int kSetUpTurns = 200;  // of at most 10 ms each

std::int64_t nowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

SoundInput::~SoundInput() {
    stop();
}

template <typename Ready>
bool SoundInput::turnUntil(Ready ready) {
    for (int turn = 0; turn < kSetUpTurns; ++turn) {
        if (ready())
            return true;
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)) ||
            (stream_ != nullptr && !PA_STREAM_IS_GOOD(pa_stream_get_state(stream_))))
            return false;
        if (pa_mainloop_prepare(loop_, 10000) < 0 || pa_mainloop_poll(loop_) < 0 ||
            pa_mainloop_dispatch(loop_) < 0)
            return false;
    }
    return false;
}

bool SoundInput::start(Consumer consumer, std::string* reason) {
    consumer_ = std::move(consumer);
    timeline_ = SoundTimeline(kRate);
    loop_ = pa_mainloop_new();
    context_ = pa_context_new(pa_mainloop_get_api(loop_), "Optigrab");
    bool ok = pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 &&
              turnUntil([this] { return pa_context_get_state(context_) == PA_CONTEXT_READY; });
    if (ok) {
        const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE, kRate, 1};
        pa_buffer_attr attributes{};
        attributes.maxlength = attributes.tlength = attributes.prebuf = attributes.minreq = std::uint32_t(-1);
        attributes.fragsize = kRate / 50 * sizeof(float);  // 20 ms
        stream_ = pa_stream_new(context_, "camera recording", &sampleFormat, nullptr);
        pa_stream_set_read_callback(stream_, &SoundInput::onReadable, this);
        ok = pa_stream_connect_record(
                 stream_, nullptr, &attributes,
                 pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_AUTO_TIMING_UPDATE |
                                   PA_STREAM_INTERPOLATE_TIMING)) >= 0 &&
             turnUntil([this] { return pa_stream_get_state(stream_) == PA_STREAM_READY; });
    }
    if (!ok) {
        if (reason != nullptr)
            *reason = pa_strerror(pa_context_errno(context_));
        stop();
        return false;
    }
    stopping_ = false;
    thread_ = std::thread([this] {
        while (!stopping_.load() && pa_mainloop_iterate(loop_, 1, nullptr) >= 0) {
        }
    });
    return true;
}

void SoundInput::stop() {
    stopping_ = true;
    if (loop_ != nullptr)
        pa_mainloop_wakeup(loop_);
    if (thread_.joinable()) {
        thread_.join();
        timeline_.flush(consumer_);  // a recording shorter than the timeline's settling
    }
    if (stream_ != nullptr) {
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }
    if (context_ != nullptr) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
    if (loop_ != nullptr)
        pa_mainloop_free(loop_);
    loop_ = nullptr;
}

// The sound thread: hands every block the server has read over, with the time its first sample was
// heard.
void SoundInput::onReadable(pa_stream* stream, std::size_t, void* self) {
    auto* input = static_cast<SoundInput*>(self);
    const void* data = nullptr;
    std::size_t bytes = 0;
    for (;;) {
        const std::size_t readable = pa_stream_readable_size(stream);
        const std::int64_t readUs = nowUs();
        if (readable == 0 || readable == std::size_t(-1) || pa_stream_peek(stream, &data, &bytes) < 0 ||
            bytes == 0)
            return;
        const int count = int(bytes / sizeof(float));
        if (data == nullptr) {
            // A hole the server left: silence in its place keeps the samples after it at theirs.
            input->silence_.assign(std::size_t(count), 0.0f);
            data = input->silence_.data();
        }
        if (!input->stopping_.load())
            input->timeline_.add(
                static_cast<const float*>(data), count,
                std::int64_t(std::max(readable, bytes) - bytes) / std::int64_t(sizeof(float)), readUs,
                input->consumer_);
        pa_stream_drop(stream);
    }
}

}  // namespace optigrab
