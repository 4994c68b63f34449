// SPDX-License-Identifier: GPL-3.0-or-later
// Live analysis: page finding on every third frame, automatic capture on every frame.
#include "frameanalyser.h"

#include <chrono>

#include <opencv2/imgproc.hpp>

namespace optigrab {

namespace {

// Page finding costs a few milliseconds a frame; a page does not move faster than this follows.
const long kFindEvery = 3;
// Motion is told on 160-pixel thumbnails: a picture this wide, reduced the same way at every frame
// (so that successive thumbnails differ only where the picture does), costs a quarter of the
// picture page finding needs.
const int kMotionWidth = 320;

long long nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void FrameAnalyser::setPageFinding(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    finding_ = on;
    if (!on) {
        tracker_.reset();
        tracked_ = false;
    }
}

bool FrameAnalyser::page(long width, long height, Quad* page) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!finding_ || !tracked_)
        return false;
    for (int i = 0; i < 4; ++i)
        (*page)[i] = cv::Point2f(page_[i].x * float(width), page_[i].y * float(height));
    return true;
}

long FrameAnalyser::startAutoCapture(int holdMs, bool needPage, callBackAutoCapture callback) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto_ = std::make_unique<AutoCapture>(holdMs, needPage);
    callback_ = callback;
    paused_ = false;
    return CAM_OK;
}

void FrameAnalyser::waitForCallback(std::unique_lock<std::mutex>& lock, bool fromCallback) {
    if (!fromCallback)
        callbackDone_.wait(lock, [&] { return !inCallback_; });
}

long FrameAnalyser::pauseAutoCapture(bool pause, bool fromCallback) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!auto_)
        return CAM_ERR_NOT_OPEN;
    paused_ = pause;
    waitForCallback(lock, fromCallback);
    return CAM_OK;
}

long FrameAnalyser::stopAutoCapture(bool fromCallback) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!auto_)
        return CAM_ERR_NOT_OPEN;
    auto_.reset();
    callback_ = nullptr;
    waitForCallback(lock, fromCallback);
    return CAM_OK;
}

long FrameAnalyser::autoCaptureState() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!auto_)
        return CAM_AUTO_OFF;
    return paused_ ? long(CAM_AUTO_PAUSED) : long(auto_->state());
}

bool FrameAnalyser::wantsFrames() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (finding_ || (auto_ && !paused_))
        return true;
    frame_ = 0;
    return false;
}

void FrameAnalyser::analyse(const std::uint8_t* rgb, long width, long height) {
    std::unique_lock<std::mutex> lock(mutex_);
    const bool capturing = auto_ && !paused_;
    if (!finding_ && !capturing) {
        frame_ = 0;
        return;
    }
    const bool findNow = frame_++ % kFindEvery == 0;
    if (!findNow && !capturing)
        return;
    lock.unlock();

    // The reductions and the search run without the lock: asking for the page never waits for them.
    double scale = 1.0;
    cv::Mat grey;
    Quad found{};
    bool pageFound = false;
    if (findNow) {
        grey = PageFinder::reduce(rgb, width, height, PageFinder::kMaxWidth, &scale);
        pageFound = PageFinder::find(grey, &found);
    }
    const cv::Mat motion =
        capturing ? PageFinder::reduce(rgb, width, height, kMotionWidth, &scale) : cv::Mat();

    lock.lock();
    if (findNow) {
        Quad tracked{};
        tracked_ = tracker_.update(pageFound, found, &tracked);
        for (int i = 0; i < 4; ++i)
            page_[i] = cv::Point2f(tracked[i].x / float(grey.cols), tracked[i].y / float(grey.rows));
    }
    if (!auto_ || paused_ || motion.empty())
        return;
    Quad page;
    for (int i = 0; i < 4; ++i)
        page[i] = cv::Point2f(page_[i].x * float(motion.cols), page_[i].y * float(motion.rows));
    if (!auto_->feed(motion, nowMs(), tracked_ ? &page : nullptr))
        return;
    callBackAutoCapture callback = callback_;
    if (!callback)
        return;
    inCallback_ = true;
    lock.unlock();
    callback(CAM_AUTO_CAPTURED);
    lock.lock();
    inCallback_ = false;
    callbackDone_.notify_all();
}

}  // namespace optigrab
