// SPDX-License-Identifier: GPL-3.0-or-later
// Perspective warp, skew by projection profiles, and border painting on full-resolution pictures.
#include "pagestraightener.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

namespace optigrab {

namespace {

const double kMaxSkew = 5.0;
const double kSkewStep = 0.1;
const int kSkewWidth = 800;          // the skew is measured on a copy at most this wide
const std::size_t kMaxDots = 30000;  // dark pixels sampled for the profiles

}  // namespace

double PageStraightener::aspectRatio(const Quad& page, const cv::Size& picture) {
    // The page is a rectangle seen through a pinhole camera whose axis meets the picture's centre:
    // its four corners fix the focal length and with it the rectangle's true width over height.
    const cv::Point2f centre(picture.width / 2.0f, picture.height / 2.0f);
    auto homogeneous = [&](int i) { return cv::Vec3d(page[i].x - centre.x, page[i].y - centre.y, 1.0); };
    const cv::Vec3d m1 = homogeneous(0), m2 = homogeneous(1), m4 = homogeneous(2), m3 = homogeneous(3);
    const double k2 = m1.cross(m4).dot(m3) / m2.cross(m4).dot(m3);
    const double k3 = m1.cross(m4).dot(m2) / m3.cross(m4).dot(m2);
    const cv::Vec3d n2 = k2 * m2 - m1, n3 = k3 * m3 - m1;
    // A page square to one of the picture's axes leaves the focal length open (a vanishing point at
    // infinity), and a nearly square one leaves it uncertain: then a usual camera's, whose field of
    // view is about 65 degrees across the picture's longer side.
    const double longer = std::max(picture.width, picture.height);
    double f2 = -(n2[0] * n3[0] + n2[1] * n3[1]) / (n2[2] * n3[2]);
    if (!std::isfinite(f2) || f2 < 0.09 * longer * longer || f2 > 9 * longer * longer)
        f2 = 0.6 * longer * longer;
    auto squared = [&](const cv::Vec3d& n) { return (n[0] * n[0] + n[1] * n[1]) / f2 + n[2] * n[2]; };
    const double ratio = std::sqrt(squared(n2) / squared(n3));
    return std::isfinite(ratio) && ratio > 0 ? ratio : 1.0;
}

cv::Mat PageStraightener::straighten(const cv::Mat& rgb, const Quad& page) {
    auto length = [&](int a, int b) { return double(cv::norm(page[a] - page[b])); };
    const double ratio = aspectRatio(page, rgb.size());
    // As large as the page's nearer sides show it, so no detail is lost.
    double width = std::max(length(0, 1), length(3, 2)), height = std::max(length(0, 3), length(1, 2));
    if (width / height > ratio)
        height = width / ratio;
    else
        width = height * ratio;
    const int w = std::max(1, int(std::lround(width))), h = std::max(1, int(std::lround(height)));
    const cv::Point2f target[4] = {{0, 0}, {float(w), 0}, {float(w), float(h)}, {0, float(h)}};
    const cv::Mat transform = cv::getPerspectiveTransform(page.data(), target);
    cv::Mat out;
    cv::warpPerspective(rgb, out, transform, cv::Size(w, h), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    return out;
}

double PageStraightener::residualSkew(const cv::Mat& rgb) {
    double scale = 1.0;
    cv::Mat grey = PageFinder::reduce(rgb.data, rgb.cols, rgb.rows, kSkewWidth, &scale);
    // Ink: clearly darker than its surroundings, so shading across the page does not count.
    cv::Mat ink;
    cv::adaptiveThreshold(grey, ink, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV, 31, 20);
    // The outer strip may still hold desk or the page's edge, whose lines are not text lines.
    const int mx = grey.cols / 20, my = grey.rows / 20;
    std::vector<cv::Point> dots;
    cv::findNonZero(ink(cv::Rect(mx, my, grey.cols - 2 * mx, grey.rows - 2 * my)), dots);
    if (dots.size() < 50)
        return 0.0;
    const std::size_t step = std::max<std::size_t>(1, dots.size() / kMaxDots);

    const int rows = grey.rows + grey.cols;  // room for every rotated row index
    std::vector<int> histogram(std::size_t(rows) * 2);
    double bestScore = -1, best = 0;
    for (double angle = -kMaxSkew; angle <= kMaxSkew + 1e-9; angle += kSkewStep) {
        const double s = std::sin(angle * CV_PI / 180.0), c = std::cos(angle * CV_PI / 180.0);
        std::fill(histogram.begin(), histogram.end(), 0);
        for (std::size_t i = 0; i < dots.size(); i += step) {
            int row = int(std::lround(dots[i].y * c - dots[i].x * s)) + rows;
            ++histogram[std::size_t(std::clamp(row, 0, 2 * rows - 1))];
        }
        // Level lines pile their ink into few rows: the sum of squares peaks.
        double score = 0;
        for (int n : histogram)
            score += double(n) * n;
        if (score > bestScore) {
            bestScore = score;
            best = angle;
        }
    }
    return best;
}

cv::Mat PageStraightener::levelled(const cv::Mat& rgb, double skewDegrees) {
    const cv::Point2f centre(rgb.cols / 2.0f, rgb.rows / 2.0f);
    const cv::Mat rotation = cv::getRotationMatrix2D(centre, skewDegrees, 1.0);
    cv::Mat out;
    cv::warpAffine(rgb, out, rotation, rgb.size(), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    return out;
}

void PageStraightener::whitenBorder(cv::Mat& rgb) {
    const int strip = std::max(1, std::min(rgb.cols, rgb.rows) / 100);
    const cv::Scalar white(255, 255, 255);
    cv::rectangle(rgb, cv::Rect(0, 0, rgb.cols, rgb.rows), white, 2 * strip);
}

}  // namespace optigrab
