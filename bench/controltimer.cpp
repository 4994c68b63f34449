// SPDX-License-Identifier: GPL-3.0-or-later
// The slider is moved through the real popup and view code; the frames are watched in the library's
// callback, before the view's hand-over.
#include "controltimer.h"

#include <QSlider>
#include <QThread>

#include <linux/videodev2.h>
#include <time.h>

#include <cmath>

#include "toolbars/adjustwidget.h"
#include "toolbars/toolswidget.h"

namespace {

// Two brightness values far enough apart to tell frames apart on white paper, and the change of the
// average level that counts as shown.
const int kDarker = -40, kNeutral = 0;
const double kVisibleChange = 30.0;
const int kTimeoutMs = 3000;

long long monotonicUs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000LL + now.tv_nsec / 1000;
}

}  // namespace

void ControlTimer::notePreview(const unsigned char* rgb, long width, long height, long long captureUs) {
    if (!watching_.load() || width <= 0 || height <= 0)
        return;
    double sum = 0;
    int points = 0;
    for (long y = height / 16; y < height; y += height / 8)
        for (long x = width / 16; x < width; x += width / 8, ++points) {
            const unsigned char* p = rgb + 3 * (y * width + x);
            sum += (p[0] + p[1] + p[2]) / 3.0;
        }
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.frames += 1;
    seen_.level = sum / std::max(1, points);
    seen_.captureUs = captureUs;
    seen_.seenUs = monotonicUs();
}

ControlTimer::Seen ControlTimer::latest() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

bool ControlTimer::waitFrames(long after, int count) const {
    const long long end = monotonicUs() + kTimeoutMs * 1000LL;
    while (latest().frames < after + count)
        if (monotonicUs() > end)
            return false;
        else
            QThread::msleep(1);
    return true;
}

bool ControlTimer::run(QWidget* view, int trials) {
    AdjustWidget popup;
    // As when the user opens the Adjustment popup from the bottom bar.
    emit view->findChild<ToolsWidget*>()->adjustPopupOpened(&popup);
    auto* slider = popup.findChild<QSlider*>(QString("control_%1").arg(V4L2_CID_BRIGHTNESS, 0, 16));
    if (slider == nullptr)
        return false;
    watching_.store(true);
    for (int i = 0; i < trials; ++i) {
        // A settled picture first: a few frames since the last change.
        if (!waitFrames(latest().frames, 4))
            break;
        const Seen before = latest();
        const long long start = monotonicUs();
        slider->setValue(i % 2 == 0 ? kDarker : kNeutral);
        toCamera_.add((monotonicUs() - start) / 1e3);
        const long long end = start + kTimeoutMs * 1000LL;
        for (Seen now = latest(); monotonicUs() < end; now = latest()) {
            if (now.captureUs > before.captureUs && std::fabs(now.level - before.level) > kVisibleChange) {
                toPreview_.add((now.seenUs - start) / 1e3);
                toCaptured_.add((now.captureUs - start) / 1e3);
                break;
            }
            QThread::msleep(1);
        }
    }
    watching_.store(false);
    slider->setValue(kNeutral);
    return true;
}

void ControlTimer::print() const {
    figure("control_trials", double(toCamera_.count()));
    figure("control_shown", double(toPreview_.count()));
    figure("control_camera_median", toCamera_.median());
    figure("control_camera_p95", toCamera_.p95());
    figure("control_preview_median", toPreview_.median());
    figure("control_preview_p95", toPreview_.p95());
    figure("control_captured_median", toCaptured_.median());
}
