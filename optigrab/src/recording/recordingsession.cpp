// SPDX-License-Identifier: GPL-3.0-or-later
// One recording while it runs: the queues, the encoding thread and the end of the file.
#include "recordingsession.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

namespace optigrab {

namespace {

// At the end, the sound heard until the stop is waited for this long at most: the server hands it
// over a fragment late, or later on a busy machine; an input that went quiet costs this wait.
constexpr auto kSoundTailWait = std::chrono::milliseconds(1000);

std::int64_t nowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

RecordingSession::~RecordingSession() {
    stop(false);
}

bool RecordingSession::start(const Plan& plan, std::int64_t startUs, std::string* soundProblem,
                             std::string* error) {
    plan_ = plan;
    startUs_ = startUs;
    // Sound first: the track exists only when there is sound to put in it.
    withSound_ =
        plan.format.withSound && sound_.start(
                                     plan.soundSource,
                                     [this](const float* samples, int count, std::int64_t captureUs) {
                                         hear(samples, count, captureUs);
                                     },
                                     soundProblem);
    RecordingWriter::Format format = plan.format;
    format.withSound = withSound_;
    if (!writer_.open(plan.path, format)) {
        sound_.stop();
        if (error != nullptr)
            *error = writer_.error();
        std::remove(plan.path.c_str());
        return false;
    }
    thread_ = std::thread(&RecordingSession::run, this);
    return true;
}

void RecordingSession::hear(const float* samples, int count, std::int64_t captureUs) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const std::int64_t timeUs = captureUs - startUs_;
        heardUntilUs_ = timeUs + std::int64_t(count) * 1000000 / SoundInput::kRate;
        if (endUs_ >= 0)  // heard after the end
            count = int(std::clamp<std::int64_t>((endUs_ - timeUs) * SoundInput::kRate / 1000000, 0, count));
        sounds_.push_back({std::vector<float>(samples, samples + count), timeUs});
    }
    wake_.notify_one();
    soundArrived_.notify_one();
}

void RecordingSession::letGo(Waiting& picture) {
    waitingBytes_ -= picture.view.size;
    if (picture.release)
        picture.release();
    else
        spare_.push_back(std::move(picture.bytes));
}

void RecordingSession::letGoAll() {
    for (Waiting& picture : pictures_)
        letGo(picture);
    pictures_.clear();
}

void RecordingSession::addPicture(const FrameView& picture, std::int64_t captureUs, Release release) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const bool full = pictures_.size() >= plan_.maxWaitingPictures ||
                          waitingBytes_ + picture.size > plan_.maxWaitingBytes;
        if (stopping_ || endUs_ >= 0 || !problem_.empty()) {
            if (release)
                release();
            return;
        }
        if (full) {
            ++dropped_;
            if (!plan_.keepNewest || pictures_.empty()) {
                if (release)
                    release();
                return;
            }
            letGo(pictures_.back());
            pictures_.pop_back();
        }
        Waiting waiting{picture, {}, std::move(release), captureUs - startUs_};
        if (!waiting.release) {
            if (!spare_.empty()) {
                waiting.bytes = std::move(spare_.back());
                spare_.pop_back();
            }
            waiting.bytes.assign(picture.data, picture.data + picture.size);
            waiting.view.data = nullptr;
        }
        waitingBytes_ += picture.size;
        pictures_.push_back(std::move(waiting));
    }
    wake_.notify_one();
}

void RecordingSession::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !pictures_.empty() || !sounds_.empty(); });
        if (pictures_.empty() && sounds_.empty())
            break;  // stopping, and everything handed over is written
        // Sound goes first and whole: it is never dropped.
        std::deque<Sound> sounds;
        sounds.swap(sounds_);
        Waiting picture{};
        const bool hasPicture = !pictures_.empty();
        if (hasPicture) {
            picture = std::move(pictures_.front());
            pictures_.pop_front();
        }
        const bool failedBefore = !problem_.empty();
        lock.unlock();
        bool ok = true;
        for (const Sound& sound : sounds)
            ok = ok && writer_.writeSound(sound.samples.data(), int(sound.samples.size()), sound.timeUs);
        if (ok && hasPicture) {
            if (!picture.release)
                picture.view.data = picture.bytes.data();
            ok = writer_.writePicture(picture.view, picture.timeUs);
        }
        lock.lock();
        if (hasPicture)
            letGo(picture);
        if (!ok && !failedBefore) {
            problem_ = writer_.error();
            letGoAll();
            if (plan_.onFailed) {
                lock.unlock();
                plan_.onFailed(problem_);
                lock.lock();
            }
        }
        if (!problem_.empty()) {
            // Nothing more is written after a failure; what the file holds stays playable.
            letGoAll();
            sounds_.clear();
            if (stopping_)
                break;
        }
    }
}

RecordingSession::Outcome RecordingSession::stop(bool endNow) {
    Outcome outcome;
    if (!isRunning())
        return outcome;
    std::int64_t endUs = -1;
    if (endNow) {
        // The file ends now: the sound heard until now is waited for, the rest left out.
        std::unique_lock<std::mutex> lock(mutex_);
        endUs = endUs_ = nowUs() - startUs_;
        soundArrived_.wait_for(lock, kSoundTailWait,
                               [this] { return heardUntilUs_ >= endUs_ || !withSound_; });
    }
    sound_.stop();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
    const bool finished = writer_.finish(endUs);
    std::lock_guard<std::mutex> lock(mutex_);
    outcome.pictures = writer_.picturesWritten();
    outcome.dropped = dropped_;
    outcome.problem = problem_;
    if (!finished && outcome.problem.empty())
        outcome.problem = writer_.error();
    return outcome;
}

}  // namespace optigrab
