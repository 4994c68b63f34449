// SPDX-License-Identifier: GPL-3.0-or-later
// Shared helpers of the library tests: frame and device-change recorders behind the library's plain C
// callbacks, and a few waits. Only the public headers are used.
#pragma once

#include <QElapsedTimer>
#include <QThread>

#include <time.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

#include "optigrab.h"
#include "optigrab_sim.h"

// What the frame callback saw. The callbacks are plain functions, so the recorder is a single object.
struct FrameRecorder {
    std::mutex mutex;  // guards the fields below
    long frames = 0;
    long width = 0;
    long height = 0;
    long size = 0;
    long devIndex = -1;
    long long ageUs = -1;  // of the latest frame when it reached the callback, by its capture time
    long framesAfterRemove = 0;
    std::vector<unsigned char> last;   // copy of the latest frame
    std::atomic<bool> inside{false};   // true while a callback runs
    std::atomic<bool> removed{false};  // set by the device-change recorder on REMOVE

    void reset() {
        std::lock_guard<std::mutex> lock(mutex);
        frames = width = height = size = framesAfterRemove = 0;
        devIndex = -1;
        ageUs = -1;
        last.clear();
        removed = false;
    }
    long count() {
        std::lock_guard<std::mutex> lock(mutex);
        return frames;
    }
    static FrameRecorder& instance() {
        static FrameRecorder recorder;
        return recorder;
    }
    static bool callback(unsigned char* frame, long width, long height, long size, void* param) {
        FrameRecorder& r = instance();
        r.inside = true;
        {
            std::lock_guard<std::mutex> lock(r.mutex);
            ++r.frames;
            r.width = width;
            r.height = height;
            r.size = size;
            r.devIndex = static_cast<PreviewParam*>(param)->devIndex;
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            r.ageUs = now.tv_sec * 1000000LL + now.tv_nsec / 1000 -
                      static_cast<PreviewParam*>(param)->captureTimeUs;
            r.last.assign(frame, frame + size);
            if (r.removed)
                ++r.framesAfterRemove;
        }
        QThread::usleep(200);  // widens the window in which a close could overlap a running callback
        r.inside = false;
        return true;
    }
};

struct ChangeRecorder {
    std::mutex mutex;  // guards events
    std::vector<std::pair<UsbDeviceChangeType, long>> events;

    static ChangeRecorder& instance() {
        static ChangeRecorder recorder;
        return recorder;
    }
    static void callback(UsbDeviceChangeType change, long devId) {
        if (change == USB_DEVICE_CHANGE_REMOVE)
            FrameRecorder::instance().removed = true;
        std::lock_guard<std::mutex> lock(instance().mutex);
        instance().events.emplace_back(change, devId);
    }
    std::vector<std::pair<UsbDeviceChangeType, long>> take() {
        std::lock_guard<std::mutex> lock(mutex);
        auto copy = events;
        events.clear();
        return copy;
    }
    std::size_t size() {
        std::lock_guard<std::mutex> lock(mutex);
        return events.size();
    }
};

// Polls condition until it holds or timeoutMs passes. The default is generous: on a busy machine
// threads may wait seconds for a core, and a passing wait costs only the time it takes.
template <typename Condition>
bool waitFor(Condition condition, int timeoutMs = 15000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(5);
    }
    return true;
}

// Waits until every hot-plug event so far has been handled and its callback has returned: what a
// test caused has had all its effects, and nothing of an earlier test is still on its way.
inline bool settled() {
    return optigrabSimSettle(30000) == 0;
}

// Share of pixels of an RGB888 frame that are light (paper) and dark (ink).
inline void lightAndDark(const std::vector<unsigned char>& rgb, double* light, double* dark) {
    std::size_t pixels = rgb.size() / 3, lightCount = 0, darkCount = 0;
    for (std::size_t i = 0; i < pixels; ++i) {
        int luma = (rgb[3 * i] * 299 + rgb[3 * i + 1] * 587 + rgb[3 * i + 2] * 114) / 1000;
        if (luma > 170)
            ++lightCount;
        if (luma < 90)
            ++darkCount;
    }
    *light = pixels ? double(lightCount) / pixels : 0;
    *dark = pixels ? double(darkCount) / pixels : 0;
}

// A simulated camera with the given modes; returns its id.
inline int plugCamera(const char* name, const char* vid, const char* pid, const char* serial,
                      const OptigrabSimMode* modes = nullptr, int modeCount = 0, double frameClock = 0) {
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    config.name = name;
    config.vendorId = vid;
    config.productId = pid;
    config.serial = serial;
    config.modes = modes;
    config.modeCount = modeCount;
    config.frameClock = frameClock;
    return optigrabSimPlug(&config);
}
