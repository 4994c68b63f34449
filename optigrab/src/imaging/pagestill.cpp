// SPDX-License-Identifier: GPL-3.0-or-later
// Page stills: decode, find, warp, level and border, or split a spread at its gutter.
#include "pagestill.h"

#include "booksplitter.h"
#include "optigrab.h"
#include "pagestraightener.h"

namespace optigrab {

namespace {

Quad scaled(const Quad& q, double scale) {
    Quad out;
    for (int i = 0; i < 4; ++i)
        out[i] = q[i] * float(scale);
    return out;
}

}  // namespace

bool PageStill::decode(const FrameView& frame, cv::Mat* rgb) {
    std::vector<std::uint8_t> bytes;
    long width = 0, height = 0;
    FrameConverter converter;
    if (!converter.toRgb(frame, 0, 0, FrameConverter::Quality::Still, bytes, &width, &height))
        return false;
    *rgb = cv::Mat(int(height), int(width), CV_8UC3, bytes.data()).clone();
    return true;
}

cv::Mat PageStill::finish(const cv::Mat& rgb, const Quad* page, const PageOptions& options) {
    cv::Mat out = page ? PageStraightener::straighten(rgb, *page) : rgb.clone();
    if (page && options.levelText)
        out = PageStraightener::levelled(out, PageStraightener::residualSkew(out));
    if (page && options.whiteBorder)
        PageStraightener::whitenBorder(out);
    return out;
}

long PageStill::page(const FrameView& frame, const PageOptions& options, cv::Mat* out, bool* pageFound) {
    cv::Mat rgb;
    if (!decode(frame, &rgb))
        return CAM_ERR_NO_FRAME;
    *pageFound = false;
    if (!options.crop) {
        *out = rgb;
        return CAM_OK;
    }
    double scale = 1.0;
    Quad page{};
    *pageFound = PageFinder::find(
        PageFinder::reduce(rgb.data, rgb.cols, rgb.rows, PageFinder::kMaxWidth, &scale), &page);
    const Quad full = scaled(page, scale);
    *out = finish(rgb, *pageFound ? &full : nullptr, options);
    return CAM_OK;
}

bool PageStill::isSpread(const FrameView& frame) {
    cv::Mat rgb;
    if (!decode(frame, &rgb))
        return false;
    double scale = 1.0;
    return BookSplitter::gutter(
               PageFinder::reduce(rgb.data, rgb.cols, rgb.rows, PageFinder::kMaxWidth, &scale)) >= 0;
}

long PageStill::spread(const FrameView& frame, const PageOptions& options, cv::Mat* left, cv::Mat* right,
                       bool* spread) {
    cv::Mat rgb;
    if (!decode(frame, &rgb))
        return CAM_ERR_NO_FRAME;
    double scale = 1.0;
    const cv::Mat grey = PageFinder::reduce(rgb.data, rgb.cols, rgb.rows, PageFinder::kMaxWidth, &scale);
    const int gutter = BookSplitter::gutter(grey);
    *spread = gutter >= 0;
    if (!*spread) {
        *left = rgb;
        return CAM_OK;
    }
    const float column = float(gutter * scale);
    Quad outline{};
    if (PageFinder::find(grey, &outline)) {
        Quad l, r;
        BookSplitter::split(scaled(outline, scale), column, &l, &r);
        *left = finish(rgb, &l, options);
        *right = finish(rgb, &r, options);
    } else {
        // No outline of the whole spread: each page keeps its share of the desk, split at the gutter.
        const int at = int(column);
        *left = rgb(cv::Rect(0, 0, at, rgb.rows)).clone();
        *right = rgb(cv::Rect(at, 0, rgb.cols - at, rgb.rows)).clone();
    }
    return CAM_OK;
}

}  // namespace optigrab
