// SPDX-License-Identifier: GPL-3.0-or-later
// Gutter finding on the column profile of a reduced grey picture.
#include "booksplitter.h"

#include <algorithm>
#include <vector>

#include <opencv2/imgproc.hpp>

namespace optigrab {

namespace {

const double kMinLandscape = 1.15;  // width over height of a spread
const double kSearchFrom = 0.35;    // the gutter lies in this middle share of the width
const double kSearchTo = 0.65;
const double kPageReach = 0.2;  // page regions are looked for this far either side of it
const double kDepth = 18.0;     // grey levels darker than the lighter pages on both sides
const double kMaxBand = 0.15;   // a gutter is narrow, unlike the desk between two sheets
const double kMinPage = 0.25;   // each page of a spread covers this share of the width: a page
                                // ruled down its middle does not

}  // namespace

int BookSplitter::gutter(const cv::Mat& grey) {
    const int w = grey.cols;
    if (w < 40 || w < kMinLandscape * grey.rows)
        return -1;
    // Brightness of each column over the middle rows at its 35th percentile: text leaves a column of
    // a page mostly paper, whereas a gutter, or the gaps of a spiral binding, darken most rows.
    const cv::Mat rows = grey(cv::Rect(0, grey.rows / 4, w, grey.rows / 2));
    cv::Mat profile(1, w, CV_32F);
    std::vector<uchar> column(std::size_t(rows.rows));
    const std::size_t rank = column.size() * 35 / 100;
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < rows.rows; ++y)
            column[std::size_t(y)] = rows.at<uchar>(y, x);
        std::nth_element(column.begin(), column.begin() + long(rank), column.end());
        profile.at<float>(0, x) = column[rank];
    }
    cv::blur(profile, profile, cv::Size(3, 1), cv::Point(-1, -1), cv::BORDER_REPLICATE);
    const float* p = profile.ptr<float>(0);

    // The pages' typical brightness either side: the median, so that a page's light margin next to
    // its darker text does not pass for a page beside a gutter.
    const int reach = int(kPageReach * w), gap = std::max(1, w / 30);
    auto median = [&](int a, int b) {
        std::vector<float> v(p + std::max(0, a), p + std::min(w, b));
        if (v.empty())
            return 0.0f;
        std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    const int from = int(kSearchFrom * w), to = int(kSearchTo * w);
    const int at = int(std::min_element(p + from, p + to) - p);
    const float left = median(at - reach, at - gap), right = median(at + gap, at + reach);
    if (left - p[at] < kDepth || right - p[at] < kDepth)
        return -1;

    // The band's width at half its depth, and the page columns either side, lighter than that.
    const float half = p[at] + 0.5f * (std::min(left, right) - p[at]);
    int a = at, b = at;
    while (a > 0 && p[a - 1] < half)
        --a;
    while (b < w - 1 && p[b + 1] < half)
        ++b;
    if (b - a + 1 > kMaxBand * w)
        return -1;
    auto pageColumns = [&](int from, int to) {
        return std::count_if(p + std::max(0, from), p + std::min(w, to), [&](float v) { return v >= half; });
    };
    if (pageColumns(a - w / 2, a) < kMinPage * w || pageColumns(b + 1, b + 1 + w / 2) < kMinPage * w)
        return -1;
    return (a + b) / 2;
}

void BookSplitter::split(const Quad& spread, float x, Quad* left, Quad* right) {
    auto along = [x](const cv::Point2f& a, const cv::Point2f& b) {
        const float t = std::abs(b.x - a.x) < 1e-3f ? 0.5f : (x - a.x) / (b.x - a.x);
        return a + (b - a) * t;
    };
    const cv::Point2f top = along(spread[0], spread[1]), bottom = along(spread[3], spread[2]);
    *left = {spread[0], top, bottom, spread[3]};
    *right = {top, spread[1], spread[2], bottom};
}

}  // namespace optigrab
