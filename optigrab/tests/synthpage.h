// SPDX-License-Identifier: GPL-3.0-or-later
// Synthetic pictures of pages on desks for the page tests: a printed page with a full-width heading
// rule and lines of words, laid on a dark or wood-grain desk through a known perspective.
#pragma once

#include <array>
#include <cmath>
#include <random>

#include <opencv2/imgproc.hpp>

namespace synth {

enum class Desk { Dark, Wood };

// A page of width x height (RGB); seed varies the words, so two seeds give two different pages.
inline cv::Mat page(int width, int height, unsigned seed) {
    cv::Mat p(height, width, CV_8UC3, cv::Scalar(245, 245, 240));
    const int margin = width / 10;
    cv::rectangle(p, cv::Rect(margin, height / 12, width - 2 * margin, height / 90 + 2),
                  cv::Scalar(20, 20, 20), cv::FILLED);
    std::mt19937 random(seed);
    const int lineHeight = height / 60, pitch = height / 22;
    for (int y = height / 6; y < height - height / 10; y += pitch) {
        for (int x = margin; x < width - margin;) {
            const int word = int(random() % unsigned(width / 8)) + width / 40;
            cv::rectangle(p, cv::Rect(x, y, std::min(word, width - margin - x), lineHeight),
                          cv::Scalar(30, 30, 30), cv::FILLED);
            x += word + width / 40;
        }
    }
    return p;
}

inline cv::Mat desk(int width, int height, Desk kind) {
    cv::Mat d(height, width, CV_8UC3);
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 4.0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double grain =
                kind == Desk::Wood
                    ? 40 * std::sin(0.09 * y + 2.5 * std::sin(0.013 * x + 0.002 * y * y / height)) +
                          15 * std::sin(0.5 * y + 0.03 * x)
                    : 0.0;
            double base = (kind == Desk::Wood ? 125 : 40) + grain + noise(random);
            d.at<cv::Vec3b>(y, x) =
                cv::Vec3b(cv::saturate_cast<uchar>(base * 1.15), cv::saturate_cast<uchar>(base * 0.85),
                          cv::saturate_cast<uchar>(base * 0.6));
        }
    return d;
}

// The page laid on the desk with its corners (top-left, top-right, bottom-right, bottom-left) at to.
inline cv::Mat onDesk(const cv::Mat& pageImage, cv::Mat deskImage, const std::array<cv::Point2f, 4>& to) {
    const cv::Point2f from[4] = {{0, 0},
                                 {float(pageImage.cols), 0},
                                 {float(pageImage.cols), float(pageImage.rows)},
                                 {0, float(pageImage.rows)}};
    cv::warpPerspective(pageImage, deskImage, cv::getPerspectiveTransform(from, to.data()), deskImage.size(),
                        cv::INTER_LINEAR, cv::BORDER_TRANSPARENT);
    return deskImage;
}

// An open book: two pages side by side with a shaded gutter between them, gutter at column gutterX.
inline cv::Mat spread(int width, int height, int gutterX, Desk kind) {
    cv::Mat d = desk(width, height, kind);
    const int top = height / 10, bottom = height - height / 10, pageWidth = int(0.4 * width);
    cv::Mat left = page(pageWidth, bottom - top, 3), right = page(pageWidth, bottom - top, 4);
    left.copyTo(d(cv::Rect(gutterX - pageWidth, top, pageWidth, bottom - top)));
    right.copyTo(d(cv::Rect(gutterX, top, pageWidth, bottom - top)));
    const int band = width / 25;
    for (int x = gutterX - band; x < gutterX + band; ++x) {
        const double shade = 0.35 + 0.65 * std::abs(double(x - gutterX)) / band;
        for (int y = top; y < bottom; ++y)
            d.at<cv::Vec3b>(y, x) *= shade;
    }
    return d;
}

}  // namespace synth
