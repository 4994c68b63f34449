// SPDX-License-Identifier: GPL-3.0-or-later
// Records a camera's own stream while it streams: the frames the capture stream hands over are copied
// into a RecordingSession, which writes them into a Matroska file, with the default sound input when
// asked. Handing a frame over never waits; when the writer falls behind, frames are dropped, counted
// and logged at the end.
#pragma once

#include <string>

#include "capturestream.h"
#include "recording/recordingsession.h"

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
    RecordingSession session_;
    std::string path_, temporary_;
    std::int64_t startUs_ = 0;
};

}  // namespace optigrab
