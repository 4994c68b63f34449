// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's default sound input for camera recordings: 48 kHz mono samples, stamped with the
// monotonic clock, read through PulseAudio (PipeWire desktops serve it too) by a main loop on a thread
// of its own that stopping interrupts at once, also when the input has gone quiet.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "soundtimeline.h"

struct pa_context;
struct pa_mainloop;
struct pa_stream;

namespace optigrab {

class SoundInput {
public:
    // Runs on the sound thread: count samples, the first heard at captureUs (monotonic clock).
    using Consumer = std::function<void(const float* samples, int count, std::int64_t captureUs)>;

    SoundInput() = default;
    ~SoundInput();
    SoundInput(const SoundInput&) = delete;
    SoundInput& operator=(const SoundInput&) = delete;

    // Connects to the default input and starts reading. False with a reason when there is no sound
    // server or no input; nothing runs then.
    bool start(Consumer consumer, std::string* reason);
    // Returns at once, having handed over what the input kept; no consumer call runs afterwards.
    void stop();

private:
    // Turns the loop until ready() holds: false when the server failed or did not answer in time.
    template <typename Ready>
    bool turnUntil(Ready ready);
    static void onReadable(pa_stream* stream, std::size_t bytes, void* self);

    pa_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    Consumer consumer_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    SoundTimeline timeline_{48000};
    std::vector<float> silence_;  // handed over where the server left a hole in the stream
};

}  // namespace optigrab
