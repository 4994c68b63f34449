// SPDX-License-Identifier: GPL-3.0-or-later
// Records a camera's own stream while it streams: the frames the capture stream hands over are copied
// into a queue and written by a thread of the recorder's (MatroskaWriter), with the default sound
// input when asked. Handing a frame over never waits; when the writer falls behind, frames are
// dropped, counted and logged at the end.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "capturestream.h"
#include "recording/matroskawriter.h"
#include "recording/soundinput.h"

namespace optigrab {

class StreamRecorder : public FrameSink {
public:
    StreamRecorder() = default;
    ~StreamRecorder() override;  // finishes the file
    StreamRecorder(const StreamRecorder&) = delete;
    StreamRecorder& operator=(const StreamRecorder&) = delete;

    // Starts writing frames of mode to a temporary file beside path, with sound when withSound.
    // Returns CAM_OK, CAM_ERR_NO_SOUND (recording, without sound), or CAM_ERR_FILE (nothing runs).
    long start(const std::string& path, const CaptureStream::Mode& mode, bool withSound);
    // Capture thread: a good frame as the camera sent it.
    void addFrame(const FrameView& frame, long long captureUs) override;
    // Writes what is queued, closes the file and renames it to its path. CAM_OK, or CAM_ERR_FILE when
    // writing failed (what was written stays playable at path).
    long finish();

private:
    struct Frame {
        std::vector<std::uint8_t> bytes;
        FrameView view;  // data unused
        std::int64_t timeUs;
    };
    struct Sound {
        std::vector<float> samples;
        std::int64_t timeUs;
    };

    void run();  // the writing thread

    MatroskaWriter writer_;  // the writing thread's while it runs
    SoundInput sound_;
    std::string path_, temporary_;
    std::int64_t startUs_ = 0;
    std::thread thread_;
    std::mutex mutex_;  // guards everything below
    std::condition_variable wake_;
    std::deque<Frame> frames_;
    std::deque<Sound> sounds_;
    std::vector<std::vector<std::uint8_t>> spare_;  // buffers of written frames, for the next ones
    std::size_t queuedBytes_ = 0;
    std::int64_t dropped_ = 0;
    bool stopping_ = false;
    bool failed_ = false;
};

}  // namespace optigrab
