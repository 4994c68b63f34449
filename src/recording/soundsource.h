// SPDX-License-Identifier: GPL-3.0-or-later
// Captures the desktop's sound input (a PulseAudio source; PipeWire desktops serve the same API) as
// 48 kHz mono samples stamped with the monotonic clock, on PulseAudio's own event thread.
#pragma once

#include <QString>
#include <QVector>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;
namespace optigrab {
class SoundTimeline;
}

class SoundSource {
public:
    static constexpr int kRate = 48000;

    // Runs on the sound thread: count samples, the first of them heard at captureUs (RecordingClock).
    using Consumer = std::function<void(const float* samples, int count, int64_t captureUs)>;

    struct Input {
        QString name;         // what start() takes
        QString description;  // what the user reads
    };
    // The sound inputs of the desktop's sound server (monitors of outputs left out); empty without
    // a server. Waits for the server's answer, a few milliseconds.
    static QVector<Input> inputs();

    SoundSource();
    ~SoundSource();
    SoundSource(const SoundSource&) = delete;
    SoundSource& operator=(const SoundSource&) = delete;

    // Connects to the source named sourceName (empty: the default input). False with a reason
    // when there is no sound server or no such source; nothing runs then.
    bool start(const QString& sourceName, Consumer consumer, QString* reason);
    // Returns at once, also when the source has gone quiet, having handed over what the source
    // kept; no consumer call runs afterwards.
    void stop();

private:
    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onReadable(pa_stream* stream, size_t bytes, void* self);
    void deliver();  // the sound thread, with the loop locked
    bool fail(QString* reason, const char* what);

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    Consumer m_consumer;
    std::unique_ptr<optigrab::SoundTimeline> m_timeline;
    std::vector<float> m_silence;  // handed over where the server left a hole in the stream
};
