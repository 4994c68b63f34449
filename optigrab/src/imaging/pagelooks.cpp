// SPDX-License-Identifier: GPL-3.0-or-later
// Document and black-and-white looks. Runs on a capture lane (preview) or the caller's thread (stills);
// one instance per thread.
#include "pagelooks.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

namespace optigrab {

namespace {

// The reduced copies are about this many pixels on their shorter side: enough to follow lighting and
// local contrast, small enough to cost little next to the full picture.
const int kReducedSide = 180;
// Paper after the division sits near 255 with some noise; everything above this is paper.
const int kPaperLevel = 225;
// Sauvola's constants for 8-bit pictures.
const double kSauvolaK = 0.2;
const double kSauvolaR = 128.0;
// Sauvola's threshold sits a fifth below a plain area's level, so on a dark plain area (a printed
// band) it cuts through the sensor's noise and speckles it, worst where a window barely reaches past
// the area's edge. Whatever is darker than this share of the paper's level around it is ink anyway;
// a shadow on the paper is lighter than that and stays white.
const double kInkShareOfPaper = 0.5;

double reductionOf(const cv::Mat& grey) {
    return std::min(1.0, double(kReducedSide) / std::min(grey.cols, grey.rows));
}

void reduce(const cv::Mat& grey, cv::Mat& reduced) {
    const double scale = reductionOf(grey);
    cv::resize(grey, reduced, cv::Size(), scale, scale, cv::INTER_AREA);
}

}  // namespace

void PageLooks::document(cv::Mat& grey) {
    reduce(grey, reduced_);
    // A closing wider than a line of text leaves only the paper and its lighting.
    const int size = std::max(5, std::min(reduced_.cols, reduced_.rows) / 12) | 1;
    const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(size, size));
    cv::morphologyEx(reduced_, background_, cv::MORPH_CLOSE, kernel);
    cv::GaussianBlur(background_, background_, cv::Size(size, size), 0);
    cv::resize(background_, fullSize_, grey.size(), 0, 0, cv::INTER_LINEAR);
    cv::max(fullSize_, 1, fullSize_);
    cv::divide(grey, fullSize_, grey, 255.0);

    // Black point: the darkest percent of the page (ink), never above mid-grey.
    int histogramSize = 256;
    float range[] = {0, 256};
    const float* ranges = range;
    cv::Mat histogram;
    cv::resize(grey, reduced_, reduced_.size(), 0, 0, cv::INTER_AREA);
    cv::calcHist(&reduced_, 1, nullptr, cv::Mat(), histogram, 1, &histogramSize, &ranges);
    const double darkest = 0.01 * double(reduced_.total());
    double seen = 0;
    int black = 0;
    while (black < 128 && (seen += histogram.at<float>(black)) < darkest)
        ++black;
    cv::Mat table(1, 256, CV_8U);
    for (int level = 0; level < 256; ++level)
        table.at<std::uint8_t>(level) =
            cv::saturate_cast<std::uint8_t>(255.0 * (level - black) / double(kPaperLevel - black));
    cv::LUT(grey, table, grey);
}

void PageLooks::blackWhite(cv::Mat& grey) {
    reduce(grey, reduced_);
    // A window of about a twelfth of the picture's shorter side: larger than a letter, smaller than
    // the changes of the lighting.
    const int window = std::max(7, std::min(reduced_.cols, reduced_.rows) / 12) | 1;
    const int half = window / 2;
    cv::Mat padded;
    cv::copyMakeBorder(reduced_, padded, half, half, half, half, cv::BORDER_REFLECT);
    cv::integral(padded, sum_, squares_, CV_64F, CV_64F);
    const cv::Size size = reduced_.size();
    // Sums over the windows from the integral images, into buffers kept from frame to frame.
    const double area = double(window) * window;
    const auto windowMean = [&](const cv::Mat& integral, cv::Mat& mean) {
        cv::subtract(integral(cv::Rect(cv::Point(window, window), size)),
                     integral(cv::Rect(cv::Point(0, window), size)), mean);
        cv::subtract(mean, integral(cv::Rect(cv::Point(window, 0), size)), mean);
        cv::add(mean, integral(cv::Rect(cv::Point(0, 0), size)), mean);
        mean.convertTo(mean, CV_64F, 1.0 / area);
    };
    windowMean(sum_, mean_);
    windowMean(squares_, deviation_);
    cv::multiply(mean_, mean_, work_);
    cv::subtract(deviation_, work_, deviation_);
    cv::max(deviation_, 0.0, deviation_);
    cv::sqrt(deviation_, deviation_);
    // Sauvola: m (1 + k (s / R - 1)).
    deviation_.convertTo(work_, CV_64F, kSauvolaK / kSauvolaR, 1.0 - kSauvolaK);
    cv::multiply(mean_, work_, work_);

    // The paper's level: a closing wider than any band or letter, of a copy reduced further.
    cv::resize(reduced_, background_, cv::Size(), 0.25, 0.25, cv::INTER_AREA);
    const int paperSize = std::max(3, std::min(background_.cols, background_.rows) / 3) | 1;
    cv::morphologyEx(background_, background_, cv::MORPH_CLOSE,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(paperSize, paperSize)));
    cv::resize(background_, fullSize_, size, 0, 0, cv::INTER_LINEAR);
    fullSize_.convertTo(mean_, CV_64F, kInkShareOfPaper);
    cv::max(work_, mean_, work_);
    work_.convertTo(threshold_, CV_8U);
    cv::resize(threshold_, fullThreshold_, grey.size(), 0, 0, cv::INTER_LINEAR);
    cv::compare(grey, fullThreshold_, grey, cv::CMP_GT);
}

}  // namespace optigrab
