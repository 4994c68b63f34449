// SPDX-License-Identifier: GPL-3.0-or-later
// What the library learns from a device's live frames: the page lying under the camera (for the
// outline a viewer draws) and the automatic capture's decisions. One per device; it outlives the
// device's streams. Thread-safe: the capture lanes feed it one frame at a time in frame order, any
// thread sets it up or asks it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "autocapture.h"
#include "optigrab.h"
#include "pagetracker.h"

namespace optigrab {

class FrameAnalyser {
public:
    void setPageFinding(bool on);
    // The tracked page in coordinates of a width x height picture; false when none is tracked.
    bool page(long width, long height, Quad* page) const;

    long startAutoCapture(int holdMs, bool needPage, callBackAutoCapture callback);
    // Both return at once, unless the callback runs on another thread: then when it has returned
    // (from the callback itself they return at once all the same).
    long pauseAutoCapture(bool pause, bool fromCallback);
    long stopAutoCapture(bool fromCallback);
    long autoCaptureState() const;  // a CamAutoCaptureState

    // Whether page finding or a running automatic capture wants the next live frame (without either,
    // the count of frames analysed starts again).
    bool wantsFrames();
    // Runs on a capture lane, in frame order: one preview frame, packed RGB888.
    void analyse(const std::uint8_t* rgb, long width, long height);

private:
    void waitForCallback(std::unique_lock<std::mutex>& lock, bool fromCallback);

    mutable std::mutex mutex_;  // guards every field below
    std::condition_variable callbackDone_;
    bool finding_ = false;
    PageTracker tracker_;
    bool tracked_ = false;
    Quad page_{};     // tracked page, in shares (0-1) of the picture's width and height
    long frame_ = 0;  // frames analysed since page finding or automatic capture started
    std::unique_ptr<AutoCapture> auto_;
    bool paused_ = false;
    callBackAutoCapture callback_ = nullptr;
    bool inCallback_ = false;
};

}  // namespace optigrab
