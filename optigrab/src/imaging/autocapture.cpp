// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic-capture state machine on 160-pixel-wide thumbnails.
#include "autocapture.h"

#include <opencv2/imgproc.hpp>

namespace optigrab {

namespace {

const int kThumbWidth = 160;
// Mean grey-level change between successive thumbnails that means something moves: well above a
// camera's noise once averaged down, well below a hand or a page sliding in.
const double kMotion = 2.5;
// Largest local change (mean over an 8 x 8 neighbourhood) against the page captured last below which
// a page counts as the same sheet put back: straightened first, it differs by blur and light only,
// while another page's lines and words fall elsewhere.
const double kSamePage = 22.0;
const cv::Size kLikeness(96, 128);

cv::Mat thumbnail(const cv::Mat& grey) {
    cv::Mat small;
    const int height = std::max(1, grey.rows * kThumbWidth / std::max(1, grey.cols));
    cv::resize(grey, small, cv::Size(kThumbWidth, height), 0, 0, cv::INTER_AREA);
    return small;
}

}  // namespace

AutoCapture::AutoCapture(int holdMs, bool needPage) : holdMs_(holdMs), needPage_(needPage) {}

double AutoCapture::difference(const cv::Mat& a, const cv::Mat& b) {
    if (a.empty() || b.empty() || a.size() != b.size())
        return 255.0;
    cv::Mat delta;
    cv::absdiff(a, b, delta);
    return cv::mean(delta)[0];
}

cv::Mat AutoCapture::likeness(const cv::Mat& grey, const Quad* page) {
    cv::Mat out;
    if (page) {
        const cv::Point2f target[4] = {{0, 0},
                                       {float(kLikeness.width), 0},
                                       {float(kLikeness.width), float(kLikeness.height)},
                                       {0, float(kLikeness.height)}};
        cv::warpPerspective(grey, out, cv::getPerspectiveTransform(page->data(), target), kLikeness,
                            cv::INTER_AREA);
    } else {
        cv::resize(grey, out, kLikeness, 0, 0, cv::INTER_AREA);
    }
    cv::GaussianBlur(out, out, cv::Size(3, 3), 0);
    return out;
}

double AutoCapture::largestLocalChange(const cv::Mat& a, const cv::Mat& b) {
    if (a.empty() || b.empty())
        return 255.0;
    cv::Mat delta;
    cv::absdiff(a, b, delta);
    cv::blur(delta, delta, cv::Size(8, 8));
    double largest = 0;
    cv::minMaxLoc(delta, nullptr, &largest);
    return largest;
}

bool AutoCapture::feed(const cv::Mat& grey, long long timeMs, const Quad* page) {
    cv::Mat thumb = thumbnail(grey);
    const bool moving = !previous_.empty() && difference(thumb, previous_) > kMotion;
    previous_ = thumb;
    if (moving || stillSince_ < 0) {
        if (moving)
            state_ = Moving;
        stillSince_ = timeMs;
        return false;
    }
    if (state_ == Moving)
        state_ = HoldingStill;
    if (state_ != HoldingStill || timeMs - stillSince_ < holdMs_)
        return false;

    if (needPage_ && !page) {
        state_ = Waiting;  // an empty desk
        return false;
    }
    cv::Mat like = likeness(grey, page);
    if (largestLocalChange(like, lastCaptured_) < kSamePage) {
        state_ = Waiting;  // the page captured last, put back
        return false;
    }
    lastCaptured_ = like;
    state_ = Captured;
    return true;
}

}  // namespace optigrab
