// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a sound input through PulseAudio's threaded main loop: reads never block anyone, and stopping
// works also when the input has stopped delivering. Each block's time comes from SoundTimeline.
#include "soundinput.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>
#include <chrono>

#include "soundtimeline.h"

namespace optigrab {

namespace {

// What the server keeps for us when the sound thread is held up (a busy machine): samples wait
// there, nothing is lost.
constexpr std::uint32_t kServerBufferSeconds = 4;
constexpr const char* kClientName = "Optigrab";

std::int64_t nowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

std::vector<SoundInput::Source> SoundInput::sources() {
    struct Listing {
        std::vector<Source> sources;
        bool done = false;
    } listing;
    pa_mainloop* loop = pa_mainloop_new();
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), kClientName);
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        pa_operation* operation = nullptr;
        // Bounded: a server that stops answering leaves the list empty, never the caller waiting.
        for (int turns = 0; turns < 2000 && !listing.done; ++turns) {
            const pa_context_state_t state = pa_context_get_state(context);
            if (!PA_CONTEXT_IS_GOOD(state))
                break;
            if (state == PA_CONTEXT_READY && operation == nullptr)
                operation = pa_context_get_source_info_list(
                    context,
                    [](pa_context*, const pa_source_info* info, int last, void* data) {
                        auto* l = static_cast<Listing*>(data);
                        if (last != 0) {
                            l->done = true;
                            return;
                        }
                        if (info->monitor_of_sink == PA_INVALID_INDEX)
                            l->sources.push_back({info->name, info->description ? info->description : ""});
                    },
                    &listing);
            // One turn of the loop, waiting a millisecond at most.
            if (pa_mainloop_prepare(loop, 1000) < 0 || pa_mainloop_poll(loop) < 0 ||
                pa_mainloop_dispatch(loop) < 0)
                break;
        }
        if (operation != nullptr)
            pa_operation_unref(operation);
        pa_context_disconnect(context);
    }
    pa_context_unref(context);
    pa_mainloop_free(loop);
    return listing.sources;
}

SoundInput::SoundInput() = default;

SoundInput::~SoundInput() {
    stop();
}

bool SoundInput::fail(std::string* reason, const char* what) {
    if (reason != nullptr)
        *reason = std::string(what) + ": " + pa_strerror(pa_context_errno(context_));
    pa_threaded_mainloop_unlock(loop_);
    stop();
    return false;
}

bool SoundInput::start(const std::string& sourceName, Consumer consumer, std::string* reason) {
    consumer_ = std::move(consumer);
    timeline_ = std::make_unique<SoundTimeline>(kRate);
    loop_ = pa_threaded_mainloop_new();
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), kClientName);
    pa_context_set_state_callback(context_, &SoundInput::onContextState, this);
    pa_threaded_mainloop_lock(loop_);
    // No server is started for us: without one the recording goes on silent.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        pa_threaded_mainloop_start(loop_) < 0)
        return fail(reason, "no sound server");
    pa_context_state_t state;
    while ((state = pa_context_get_state(context_)) != PA_CONTEXT_READY) {
        if (!PA_CONTEXT_IS_GOOD(state))
            return fail(reason, "no sound server");
        pa_threaded_mainloop_wait(loop_);
    }
    const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE, kRate, 1};
    stream_ = pa_stream_new(context_, "Recording", &sampleFormat, nullptr);
    pa_stream_set_state_callback(stream_, &SoundInput::onStreamState, this);
    pa_stream_set_read_callback(stream_, &SoundInput::onReadable, this);
    pa_buffer_attr attributes{};
    attributes.maxlength = kServerBufferSeconds * kRate * sizeof(float);
    attributes.tlength = attributes.prebuf = attributes.minreq = std::uint32_t(-1);
    attributes.fragsize = std::uint32_t(kRate / 50 * sizeof(float));  // 20 ms
    if (pa_stream_connect_record(stream_, sourceName.empty() ? nullptr : sourceName.c_str(), &attributes,
                                 pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING |
                                                   PA_STREAM_AUTO_TIMING_UPDATE)) < 0)
        return fail(reason, "the sound input cannot be opened");
    pa_stream_state_t streamState;
    while ((streamState = pa_stream_get_state(stream_)) != PA_STREAM_READY) {
        if (!PA_STREAM_IS_GOOD(streamState))
            return fail(reason, "the sound input cannot be opened");
        pa_threaded_mainloop_wait(loop_);
    }
    pa_threaded_mainloop_unlock(loop_);
    return true;
}

void SoundInput::stop() {
    if (loop_ == nullptr)
        return;
    pa_threaded_mainloop_lock(loop_);
    if (stream_ != nullptr) {
        if (timeline_ != nullptr)
            timeline_->flush(consumer_);  // a recording shorter than the timeline's settling
        pa_stream_set_read_callback(stream_, nullptr, nullptr);
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
    pa_threaded_mainloop_unlock(loop_);
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
    loop_ = nullptr;
}

void SoundInput::onContextState(pa_context*, void* self) {
    pa_threaded_mainloop_signal(static_cast<SoundInput*>(self)->loop_, 0);
}

void SoundInput::onStreamState(pa_stream*, void* self) {
    pa_threaded_mainloop_signal(static_cast<SoundInput*>(self)->loop_, 0);
}

void SoundInput::onReadable(pa_stream*, std::size_t, void* self) {
    static_cast<SoundInput*>(self)->deliver();
}

// The sound thread: hands every block the server has read over, with the time its first sample was
// heard.
void SoundInput::deliver() {
    for (;;) {
        const std::size_t readable = pa_stream_readable_size(stream_);
        const std::int64_t readUs = nowUs();
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (readable == 0 || readable == std::size_t(-1) || pa_stream_peek(stream_, &data, &bytes) != 0 ||
            bytes == 0)
            return;
        const int count = int(bytes / sizeof(float));
        if (data == nullptr) {
            // A hole the server left: silence in its place keeps the samples after it at theirs.
            silence_.assign(std::size_t(count), 0.0f);
            data = silence_.data();
        }
        timeline_->add(static_cast<const float*>(data), count,
                       std::int64_t(std::max(readable, bytes) - bytes) / std::int64_t(sizeof(float)), readUs,
                       consumer_);
        pa_stream_drop(stream_);
    }
}

}  // namespace optigrab
