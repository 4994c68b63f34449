// SPDX-License-Identifier: GPL-3.0-or-later
// One recording while it runs: pictures handed over from any thread and a sound input's samples go
// through queues to an encoding thread of the session's, which writes them with a RecordingWriter.
// Handing a picture over never waits; when the encoder falls behind, pictures are dropped (and
// counted), never sound: each turn of the encoding thread writes all the sound that came first.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "recording/recordingwriter.h"
#include "recording/soundinput.h"

namespace optigrab {

// One recording a session.
class RecordingSession {
public:
    struct Plan {
        std::string path;                // written as it is: callers rename the finished file
        RecordingWriter::Format format;  // withSound: when an input can be opened
        std::string soundSource;         // empty: the desktop's default input
        // Pictures waiting for the encoder beyond these are dropped: a few frames of slack absorb a
        // slow write without letting memory or latency grow.
        std::size_t maxWaitingPictures = 6;
        std::size_t maxWaitingBytes = std::numeric_limits<std::size_t>::max();
        // Full: the picture waiting last makes room for the new one (the file shows what was seen
        // last), or the new one is dropped.
        bool keepNewest = true;
        // Runs on the encoding thread at the first write error; nothing more is written after it.
        std::function<void(const std::string& reason)> onFailed;
    };
    struct Outcome {
        std::int64_t pictures = 0;
        std::int64_t dropped = 0;
        std::string problem;  // empty: the file was written to its end
    };
    // Runs once the bytes of a picture handed over are no longer needed, on any thread.
    using Release = std::function<void()>;

    RecordingSession() = default;
    ~RecordingSession();  // stops
    RecordingSession(const RecordingSession&) = delete;
    RecordingSession& operator=(const RecordingSession&) = delete;

    // Creates the file, whose start stands for startUs (monotonic clock), and starts encoding. False
    // with *error when the file cannot be created; nothing runs then. When sound was asked for and no
    // input opens, the recording runs silent and *soundProblem says why.
    bool start(const Plan& plan, std::int64_t startUs, std::string* soundProblem, std::string* error);
    // Any thread: a picture seen at captureUs (monotonic clock). Without release its bytes are copied
    // at once; with it they stay the caller's until release runs (also when the picture is dropped
    // or refused, once the recording stops or failed). Never waits for the encoder.
    void addPicture(const FrameView& picture, std::int64_t captureUs, Release release = {});
    // Writes what waits and finishes the file. endNow: the file ends at this moment (the sound heard
    // until now is waited for, a second at most; later sound is left out; the last picture stands
    // until the end); otherwise the tracks end where they end.
    Outcome stop(bool endNow);

    bool isRunning() const { return thread_.joinable(); }

private:
    struct Waiting {
        FrameView view;                   // data set when written, for copied bytes
        std::vector<std::uint8_t> bytes;  // the copy, unless release
        Release release;
        std::int64_t timeUs;
    };
    struct Sound {
        std::vector<float> samples;
        std::int64_t timeUs;
    };

    void run();                                                          // the encoding thread
    void hear(const float* samples, int count, std::int64_t captureUs);  // the sound thread
    void letGo(Waiting& picture);                                        // with mutex_ held
    void letGoAll();                                                     // with mutex_ held

    RecordingWriter writer_;  // the encoding thread's while it runs
    SoundInput sound_;
    Plan plan_;
    std::int64_t startUs_ = 0;
    bool withSound_ = false;
    std::thread thread_;
    std::mutex mutex_;  // guards everything below
    std::condition_variable wake_;
    std::condition_variable soundArrived_;
    std::deque<Waiting> pictures_;
    std::deque<Sound> sounds_;
    std::vector<std::vector<std::uint8_t>> spare_;  // buffers of written copies, for the next ones
    std::size_t waitingBytes_ = 0;
    std::int64_t heardUntilUs_ = 0;  // the end of the sound handed over, from the file's start
    std::int64_t endUs_ = -1;        // where the file ends, once stopping at a moment
    std::int64_t dropped_ = 0;
    bool stopping_ = false;
    std::string problem_;  // the first write error
};

}  // namespace optigrab
