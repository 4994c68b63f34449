// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop sound input for recordings: 48 kHz mono samples stamped with the monotonic clock, read
// through PulseAudio (PipeWire desktops serve the same interface) on PulseAudio's own event thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace optigrab {

class SoundTimeline;

class SoundInput {
public:
    static constexpr int kRate = 48000;

    // Runs on the sound thread: count samples, the first of them heard at captureUs (monotonic clock).
    using Consumer = std::function<void(const float* samples, int count, std::int64_t captureUs)>;

    struct Source {
        std::string name;         // what start() takes
        std::string description;  // what the user reads
    };
    // The inputs of the desktop's sound server (monitors of outputs left out); empty without a
    // server. Waits for the server's answer, a few milliseconds.
    static std::vector<Source> sources();

    SoundInput();
    ~SoundInput();
    SoundInput(const SoundInput&) = delete;
    SoundInput& operator=(const SoundInput&) = delete;

    // Connects to the input named sourceName (empty: the default input). False with a reason when
    // there is no sound server or no such input; nothing runs then.
    bool start(const std::string& sourceName, Consumer consumer, std::string* reason);
    // Returns at once, also when the input has gone quiet, having handed over what the input kept;
    // no consumer call runs afterwards.
    void stop();

private:
    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onReadable(pa_stream* stream, std::size_t bytes, void* self);
    void deliver();  // the sound thread, with the loop locked
    bool fail(std::string* reason, const char* what);

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    Consumer consumer_;
    std::unique_ptr<SoundTimeline> timeline_;
    std::vector<float> silence_;  // handed over where the server left a hole in the stream
};

}  // namespace optigrab
