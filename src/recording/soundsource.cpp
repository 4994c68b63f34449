// SPDX-License-Identifier: GPL-3.0-or-later
// Captures the desktop's sound input through PulseAudio's threaded main loop: reads never block
// anyone, and stopping works also when the source has stopped delivering.
#include "soundsource.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>

#include "recordingclock.h"
#include "soundtimeline.h"

namespace {

// What the server keeps for us when the sound thread is held up (a busy machine): samples wait
// there, nothing is lost.
constexpr uint32_t kServerBufferSeconds = 4;

}  // namespace

QVector<SoundSource::Input> SoundSource::inputs() {
    struct Listing {
        QVector<Input> inputs;
        bool done = false;
    } listing;
    pa_mainloop* loop = pa_mainloop_new();
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Pagelux");
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
                            l->inputs.append(
                                {QString::fromUtf8(info->name), QString::fromUtf8(info->description)});
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
    return listing.inputs;
}

SoundSource::SoundSource() = default;

SoundSource::~SoundSource() {
    stop();
}

bool SoundSource::fail(QString* reason, const char* what) {
    if (reason != nullptr)
        *reason = QString("%1: %2").arg(what, pa_strerror(pa_context_errno(m_context)));
    pa_threaded_mainloop_unlock(m_loop);
    stop();
    return false;
}

bool SoundSource::start(const QString& sourceName, Consumer consumer, QString* reason) {
    m_consumer = std::move(consumer);
    m_timeline = std::make_unique<optigrab::SoundTimeline>(kRate);
    m_loop = pa_threaded_mainloop_new();
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Pagelux");
    pa_context_set_state_callback(m_context, &SoundSource::onContextState, this);
    pa_threaded_mainloop_lock(m_loop);
    // No server is started for us: without one the recording goes on silent.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        pa_threaded_mainloop_start(m_loop) < 0)
        return fail(reason, "no sound server");
    pa_context_state_t state;
    while ((state = pa_context_get_state(m_context)) != PA_CONTEXT_READY) {
        if (!PA_CONTEXT_IS_GOOD(state))
            return fail(reason, "no sound server");
        pa_threaded_mainloop_wait(m_loop);
    }
    const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE, kRate, 1};
    m_stream = pa_stream_new(m_context, "Lesson recording", &sampleFormat, nullptr);
    pa_stream_set_state_callback(m_stream, &SoundSource::onStreamState, this);
    pa_stream_set_read_callback(m_stream, &SoundSource::onReadable, this);
    pa_buffer_attr attributes{};
    attributes.maxlength = kServerBufferSeconds * kRate * sizeof(float);
    attributes.fragsize = uint32_t(kRate / 50 * sizeof(float));  // 20 ms
    const QByteArray name = sourceName.toUtf8();
    if (pa_stream_connect_record(m_stream, sourceName.isEmpty() ? nullptr : name.constData(), &attributes,
                                 pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING |
                                                   PA_STREAM_AUTO_TIMING_UPDATE)) < 0)
        return fail(reason, "the sound input cannot be opened");
    pa_stream_state_t streamState;
    while ((streamState = pa_stream_get_state(m_stream)) != PA_STREAM_READY) {
        if (!PA_STREAM_IS_GOOD(streamState))
            return fail(reason, "the sound input cannot be opened");
        pa_threaded_mainloop_wait(m_loop);
    }
    pa_threaded_mainloop_unlock(m_loop);
    return true;
}

void SoundSource::stop() {
    if (m_loop == nullptr)
        return;
    pa_threaded_mainloop_lock(m_loop);
    if (m_stream != nullptr) {
        if (m_timeline != nullptr)
            m_timeline->flush(m_consumer);
        pa_stream_set_read_callback(m_stream, nullptr, nullptr);
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
    }
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
    pa_threaded_mainloop_unlock(m_loop);
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
}

void SoundSource::onContextState(pa_context*, void* self) {
    pa_threaded_mainloop_signal(static_cast<SoundSource*>(self)->m_loop, 0);
}

void SoundSource::onStreamState(pa_stream*, void* self) {
    pa_threaded_mainloop_signal(static_cast<SoundSource*>(self)->m_loop, 0);
}

void SoundSource::onReadable(pa_stream*, size_t, void* self) {
    static_cast<SoundSource*>(self)->deliver();
}

void SoundSource::deliver() {
    for (;;) {
        const size_t readable = pa_stream_readable_size(m_stream);
        const int64_t readUs = RecordingClock::nowUs();
        const void* data = nullptr;
        size_t bytes = 0;
        if (readable == 0 || readable == size_t(-1) || pa_stream_peek(m_stream, &data, &bytes) != 0 ||
            bytes == 0)
            return;
        const int count = int(bytes / sizeof(float));
        if (data == nullptr) {
            // A hole the server left: silence in its place keeps the samples after it at theirs.
            m_silence.assign(size_t(count), 0.0f);
            data = m_silence.data();
        }
        m_timeline->add(static_cast<const float*>(data), count,
                        int64_t(std::max(readable, bytes) - bytes) / int64_t(sizeof(float)), readUs,
                        m_consumer);
        pa_stream_drop(m_stream);
    }
}
