// SPDX-License-Identifier: GPL-3.0-or-later
// Records a camera's own stream through a RecordingSession; the capture stream only copies frames into it.
#include "streamrecorder.h"

#include <chrono>
#include <cstdio>

#include "log.h"

namespace optigrab {

namespace {

// Frames waiting for the writer beyond these are dropped: a few frames of slack absorb a slow write
// without letting memory grow.
constexpr std::size_t kMaxQueuedFrames = 30;
constexpr std::size_t kMaxQueuedBytes = std::size_t(96) << 20;

std::int64_t nowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// "folder/name.recording.ext" for "folder/name.ext".
std::string temporaryPathOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + ".recording";
    return path.substr(0, dot) + ".recording" + path.substr(dot);
}

}  // namespace

StreamRecorder::~StreamRecorder() {
    finish();
}

long StreamRecorder::start(const std::string& path, const CaptureStream::Mode& mode, bool withSound) {
    path_ = path;
    temporary_ = temporaryPathOf(path);
    RecordingSession::Plan plan;
    plan.path = temporary_;
    plan.format = {
        RecordingWriter::Container::Matroska, mode.code, mode.width, mode.height, mode.fps, withSound};
    plan.maxWaitingPictures = kMaxQueuedFrames;
    plan.maxWaitingBytes = kMaxQueuedBytes;
    plan.keepNewest = false;
    plan.onFailed = [this](const std::string& reason) {
        logLine("recording %s stopped: %s", path_.c_str(), reason.c_str());
    };
    std::string soundProblem, error;
    startUs_ = nowUs();
    if (!session_.start(plan, startUs_, &soundProblem, &error)) {
        logLine("cannot record to %s: %s", path.c_str(), error.c_str());
        return CAM_ERR_FILE;
    }
    if (withSound && !soundProblem.empty()) {
        logLine("recording %s without sound: %s", path.c_str(), soundProblem.c_str());
        return CAM_ERR_NO_SOUND;
    }
    return CAM_OK;
}

void StreamRecorder::addFrame(const FrameView& frame, long long captureUs) {
    if (captureUs >= startUs_)  // not taken before the recording started
        session_.addPicture(frame, captureUs);
}

long StreamRecorder::finish() {
    if (!session_.isRunning())
        return CAM_OK;
    const RecordingSession::Outcome outcome = session_.stop(false);
    bool ok = outcome.problem.empty();
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        logLine("recording kept as %s: it cannot be renamed to %s", temporary_.c_str(), path_.c_str());
        ok = false;
    }
    logLine("recording %s: %lld frames written, %lld dropped", path_.c_str(),
            static_cast<long long>(outcome.pictures), static_cast<long long>(outcome.dropped));
    return ok ? CAM_OK : CAM_ERR_FILE;
}

}  // namespace optigrab
