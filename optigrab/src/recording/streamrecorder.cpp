// SPDX-License-Identifier: GPL-3.0-or-later
// Records a camera's own stream on a writing thread; the capture stream only copies frames into it.
#include "streamrecorder.h"

#include <chrono>
#include <cstdio>
#include <utility>

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
    std::string soundProblem;
    const bool sound = withSound && sound_.start(
                                        [this](const float* samples, int count, std::int64_t captureUs) {
                                            {
                                                std::lock_guard<std::mutex> lock(mutex_);
                                                sounds_.push_back({{samples, samples + count}, captureUs});
                                            }
                                            wake_.notify_one();
                                        },
                                        &soundProblem);
    if (withSound && !sound)
        logLine("recording %s without sound: %s", path.c_str(), soundProblem.c_str());
    if (!writer_.open(temporary_, mode.code, mode.width, mode.height, mode.fps, sound)) {
        sound_.stop();
        logLine("cannot record to %s: %s", path.c_str(), writer_.error().c_str());
        std::remove(temporary_.c_str());
        return CAM_ERR_FILE;
    }
    startUs_ = nowUs();
    thread_ = std::thread(&StreamRecorder::run, this);
    return withSound && !sound ? CAM_ERR_NO_SOUND : CAM_OK;
}

void StreamRecorder::addFrame(const FrameView& frame, long long captureUs) {
    if (captureUs < startUs_)
        return;  // taken before the recording started
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_ || failed_)
            return;
        if (frames_.size() >= kMaxQueuedFrames || queuedBytes_ + frame.size > kMaxQueuedBytes) {
            ++dropped_;
            return;
        }
        Frame queued{{}, frame, captureUs - startUs_};
        if (!spare_.empty()) {
            queued.bytes = std::move(spare_.back());
            spare_.pop_back();
        }
        queued.bytes.assign(frame.data, frame.data + frame.size);
        queued.view.data = nullptr;
        queuedBytes_ += frame.size;
        frames_.push_back(std::move(queued));
    }
    wake_.notify_one();
}

void StreamRecorder::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !frames_.empty() || !sounds_.empty(); });
        if (frames_.empty() && sounds_.empty())
            return;  // stopping, and everything handed over is written
        std::deque<Sound> sounds;
        sounds.swap(sounds_);
        Frame frame;
        const bool hasFrame = !frames_.empty();
        if (hasFrame) {
            frame = std::move(frames_.front());
            frames_.pop_front();
        }
        lock.unlock();
        bool ok = true;
        for (const Sound& sound : sounds)
            ok = ok &&
                 writer_.writeSound(sound.samples.data(), int(sound.samples.size()), sound.timeUs - startUs_);
        if (ok && hasFrame) {
            frame.view.data = frame.bytes.data();
            ok = writer_.writeFrame(frame.view, frame.timeUs);
        }
        lock.lock();
        if (hasFrame) {
            queuedBytes_ -= frame.view.size;
            spare_.push_back(std::move(frame.bytes));
        }
        if (!ok && !failed_) {
            // Nothing more is written after a failure; what the file holds stays playable.
            failed_ = true;
            logLine("recording %s stopped: %s", path_.c_str(), writer_.error().c_str());
        }
        if (failed_) {
            frames_.clear();
            sounds_.clear();
            queuedBytes_ = 0;
        }
    }
}

long StreamRecorder::finish() {
    if (!thread_.joinable())
        return CAM_OK;
    sound_.stop();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
    bool ok = writer_.finish() && !failed_;
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        logLine("recording kept as %s: it cannot be renamed to %s", temporary_.c_str(), path_.c_str());
        ok = false;
    }
    logLine("recording %s: %lld frames written, %lld dropped", path_.c_str(),
            static_cast<long long>(writer_.framesWritten()), static_cast<long long>(dropped_));
    return ok ? CAM_OK : CAM_ERR_FILE;
}

}  // namespace optigrab
