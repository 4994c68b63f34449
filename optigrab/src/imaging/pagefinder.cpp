// SPDX-License-Identifier: GPL-3.0-or-later
// Page finding: edge and brightness candidates, convex four-cornered outlines, plausibility checks.
#include "pagefinder.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

namespace optigrab {

namespace {

// A page covers at least this share of the picture; more than the upper share is the desk's edge
// or the whole picture, not a page on it.
const double kMinArea = 0.08;
const double kMaxArea = 0.97;
// Corners closer than this share of the picture's size to its edge mean the page goes on beyond it.
const double kEdgeMargin = 0.012;
// Interior angles a rectangle shows under the tilt of a document camera or a hand-held shot.
const double kMinAngle = 55.0;
const double kMaxAngle = 125.0;
const double kMaxElongation = 4.0;

double angleAt(const cv::Point2f& prev, const cv::Point2f& at, const cv::Point2f& next) {
    cv::Point2f a = prev - at, b = next - at;
    double cosine = (a.x * b.x + a.y * b.y) / (std::hypot(a.x, a.y) * std::hypot(b.x, b.y) + 1e-9);
    return std::acos(std::max(-1.0, std::min(1.0, cosine))) * 180.0 / CV_PI;
}

bool plausible(const Quad& q, const cv::Size& size) {
    const double area = cv::contourArea(std::vector<cv::Point2f>(q.begin(), q.end()));
    const double total = double(size.area());
    if (area < kMinArea * total || area > kMaxArea * total)
        return false;
    const float mx = float(kEdgeMargin * size.width), my = float(kEdgeMargin * size.height);
    for (const cv::Point2f& p : q)
        if (p.x < mx || p.y < my || p.x > size.width - 1 - mx || p.y > size.height - 1 - my)
            return false;
    for (int i = 0; i < 4; ++i) {
        double angle = angleAt(q[(i + 3) % 4], q[i], q[(i + 1) % 4]);
        if (angle < kMinAngle || angle > kMaxAngle)
            return false;
    }
    // Opposite sides of a page seen from above differ by the keystone only, never by a factor of two.
    auto length = [&](int i) { return double(cv::norm(q[i] - q[(i + 1) % 4])); };
    for (int i = 0; i < 2; ++i) {
        double a = length(i), b = length(i + 2);
        if (std::min(a, b) < 0.55 * std::max(a, b))
            return false;
    }
    // Nor is a page a strip: a banner or a line of print is, even a long receipt is not.
    const double across = length(0) + length(2), down = length(1) + length(3);
    return std::max(across, down) <= kMaxElongation * std::min(across, down);
}

// The best page among the outlines of a binary picture: the largest plausible convex quadrangle.
void consider(const cv::Mat& binary, const cv::Size& size, Quad* best, double* bestArea) {
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(binary, contours, cv::RETR_LIST, cv::CHAIN_APPROX_SIMPLE);
    const double minArea = kMinArea * double(size.area());
    for (const auto& contour : contours) {
        if (cv::contourArea(contour) < minArea * 0.8)
            continue;
        std::vector<cv::Point> hull, corners;
        cv::convexHull(contour, hull);
        const double perimeter = cv::arcLength(hull, true);
        // Rounded or dog-eared corners need a looser fit before four corners remain.
        for (double tolerance : {0.02, 0.035, 0.05}) {
            cv::approxPolyDP(hull, corners, tolerance * perimeter, true);
            if (corners.size() <= 4)
                break;
        }
        if (corners.size() != 4 || !cv::isContourConvex(corners))
            continue;
        std::array<cv::Point2f, 4> points;
        for (int i = 0; i < 4; ++i)
            points[i] = cv::Point2f(corners[i]);
        Quad quad = PageFinder::ordered(points);
        if (!plausible(quad, size))
            continue;
        const double area = cv::contourArea(corners);
        if (area > *bestArea) {
            *bestArea = area;
            *best = quad;
        }
    }
}

}  // namespace

cv::Mat PageFinder::reduce(const std::uint8_t* rgb, long width, long height, int maxWidth, double* scale) {
    cv::Mat full(int(height), int(width), CV_8UC3, const_cast<std::uint8_t*>(rgb));
    cv::Mat small;
    if (width > maxWidth) {
        const double factor = double(maxWidth) / double(width);
        const cv::Size size(maxWidth, std::max(1, int(std::lround(height * factor))));
        // Averaging every pixel of a 4K frame costs more than the search itself: a picture sampled
        // at twice the size first, then averaged, is as good for edges and motion.
        if (width > 2 * maxWidth) {
            cv::Mat sampled;
            cv::resize(full, sampled, size * 2, 0, 0, cv::INTER_NEAREST);
            cv::resize(sampled, small, size, 0, 0, cv::INTER_AREA);
        } else {
            cv::resize(full, small, size, 0, 0, cv::INTER_AREA);
        }
    } else {
        small = full;
    }
    cv::Mat grey;
    cv::cvtColor(small, grey, cv::COLOR_RGB2GRAY);
    *scale = double(width) / double(grey.cols);
    return grey;
}

bool PageFinder::find(const cv::Mat& grey, Quad* page) {
    cv::Mat blurred, edges, bright;
    cv::GaussianBlur(grey, blurred, cv::Size(5, 5), 0);
    Quad best{};
    double bestArea = 0;

    // Outlines from edges: a page against a desk of any colour. Closing joins an edge broken by a
    // finger or a shadow.
    const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3));
    cv::Canny(blurred, edges, 40, 120);
    cv::morphologyEx(edges, edges, cv::MORPH_CLOSE, kernel, cv::Point(-1, -1), 2);
    consider(edges, grey.size(), &best, &bestArea);

    // Outlines from brightness: a light page on a busy desk whose grain breaks the edges up.
    cv::threshold(blurred, bright, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    cv::morphologyEx(bright, bright, cv::MORPH_OPEN, kernel, cv::Point(-1, -1), 2);
    consider(bright, grey.size(), &best, &bestArea);

    if (bestArea <= 0)
        return false;
    *page = best;
    return true;
}

Quad PageFinder::ordered(const std::array<cv::Point2f, 4>& corners) {
    // Clockwise around the centre (y grows downwards), starting at the corner nearest the top left:
    // unlike sorting by x + y alone this holds for a page turned by up to 45 degrees either way.
    cv::Point2f centre = (corners[0] + corners[1] + corners[2] + corners[3]) * 0.25f;
    Quad q = corners;
    std::sort(q.begin(), q.end(), [&](const cv::Point2f& a, const cv::Point2f& b) {
        return std::atan2(a.y - centre.y, a.x - centre.x) < std::atan2(b.y - centre.y, b.x - centre.x);
    });
    auto first = std::min_element(
        q.begin(), q.end(), [](const cv::Point2f& a, const cv::Point2f& b) { return a.x + a.y < b.x + b.y; });
    std::rotate(q.begin(), first, q.end());
    return q;
}

double PageFinder::overlap(const Quad& a, const Quad& b) {
    const std::vector<cv::Point2f> first(a.begin(), a.end()), second(b.begin(), b.end());
    std::vector<cv::Point2f> shared;
    const double common = cv::intersectConvexConvex(first, second, shared, true);
    const double either = cv::contourArea(first) + cv::contourArea(second) - std::max(0.0, common);
    return either > 0 && common > 0 ? common / either : 0.0;
}

}  // namespace optigrab
