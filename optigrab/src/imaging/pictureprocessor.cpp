// SPDX-License-Identifier: GPL-3.0-or-later
// Orientation and looks of preview frames (on a capture lane) and stills (on the caller's thread).
#include "imaging/pictureprocessor.h"

#include <libyuv.h>
#include <libyuv/scale_rgb.h>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace optigrab {

namespace {

// A picture within this share above the size it must cover is not worth scaling down.
const double kScaleSlack = 1.1;

// The size at which a width x height picture just covers fitWidth x fitHeight, keeping its shape;
// the picture's own when it is not much larger or there is no limit.
cv::Size fittedSize(int width, int height, long fitWidth, long fitHeight) {
    if (fitWidth <= 0 || fitHeight <= 0)
        return {width, height};
    const double byWidth = double(fitWidth) / width, byHeight = double(fitHeight) / height;
    if (std::max(byWidth, byHeight) * kScaleSlack >= 1.0)
        return {width, height};
    // The side that must match exactly is given, the other follows the shape.
    if (byWidth >= byHeight)
        return {int(fitWidth), std::max(1, int(std::lround(height * byWidth)))};
    return {std::max(1, int(std::lround(width * byHeight))), int(fitHeight)};
}

}  // namespace

void PictureProcessor::turn(const PictureSettings& settings, const cv::Mat& src, cv::Mat& spare,
                            cv::Mat& dst) {
    static const cv::RotateFlags rotations[] = {cv::ROTATE_90_CLOCKWISE, cv::ROTATE_180,
                                                cv::ROTATE_90_COUNTERCLOCKWISE};
    if (settings.quarterTurns == 0) {
        cv::flip(src, dst, 1);  // a mirror alone
        return;
    }
    const cv::Mat* source = &src;
    if (settings.mirrored) {
        cv::flip(src, spare, 1);
        source = &spare;
    }
    if (src.type() != CV_8UC3) {
        cv::rotate(*source, dst, rotations[settings.quarterTurns - 1]);
        return;
    }
    // Three bytes a pixel turn faster as four in libyuv's blocks than in OpenCV's transpose.
    static const libyuv::RotationMode modes[] = {libyuv::kRotate90, libyuv::kRotate180, libyuv::kRotate270};
    const int w = source->cols, h = source->rows;
    const bool sideways = settings.quarterTurns % 2 == 1;
    argb_.create(h, w, CV_8UC4);
    argbTurned_.create(sideways ? w : h, sideways ? h : w, CV_8UC4);
    dst.create(argbTurned_.size(), CV_8UC3);
    libyuv::RAWToARGB(source->data, int(source->step), argb_.data, int(argb_.step), w, h);
    libyuv::ARGBRotate(argb_.data, int(argb_.step), argbTurned_.data, int(argbTurned_.step), w, h,
                       modes[settings.quarterTurns - 1]);
    libyuv::ARGBToRAW(argbTurned_.data, int(argbTurned_.step), dst.data, int(dst.step), argbTurned_.cols,
                      argbTurned_.rows);
}

bool PictureProcessor::apply(const PictureSettings& settings, std::vector<std::uint8_t>& rgb, long* width,
                             long* height, long fitWidth, long fitHeight) {
    if (settings.plain())
        return true;
    const int w = int(*width), h = int(*height);
    const cv::Size fitted = fittedSize(w, h, fitWidth, fitHeight);
    const int outWidth = settings.turnedSideways() ? fitted.height : fitted.width;
    const int outHeight = settings.turnedSideways() ? fitted.width : fitted.height;
    try {
        const cv::Mat in(h, w, CV_8UC3, rgb.data());
        // The result goes into rgb, which is never smaller than the picture taken from it.
        cv::Mat out(outHeight, outWidth, CV_8UC3, rgb.data());
        if (settings.look == Look::Colour) {
            if (fitted != in.size()) {
                // libyuv scales three bytes a pixel faster than OpenCV does.
                scaled_.create(fitted, CV_8UC3);
                if (libyuv::RGBScale(in.data, int(in.step), w, h, scaled_.data, int(scaled_.step),
                                     fitted.width, fitted.height, libyuv::kFilterBilinear) != 0)
                    return false;
                turn(settings, scaled_, mirrored_, out);
            } else {
                turn(settings, in, mirrored_, turned_);
                std::memcpy(rgb.data(), turned_.data, turned_.total() * 3);
            }
        } else {
            // Grey first: the scaling, the turn and the look then move one byte a pixel instead of three.
            // Each step has a buffer of its own, which keeps its size from frame to frame.
            cv::cvtColor(in, grey_, cv::COLOR_RGB2GRAY);
            cv::Mat* picture = &grey_;
            if (fitted != in.size()) {
                cv::resize(grey_, scaled_, fitted, 0, 0, cv::INTER_LINEAR);
                picture = &scaled_;
            }
            if (settings.quarterTurns != 0 || settings.mirrored) {
                turn(settings, *picture, mirrored_, turned_);
                picture = &turned_;
            }
            if (settings.look == Look::Document)
                looks_.document(*picture);
            else if (settings.look == Look::BlackWhite)
                looks_.blackWhite(*picture);
            cv::cvtColor(*picture, out, cv::COLOR_GRAY2RGB);
        }
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const cv::Exception&) {
        return false;
    }
    *width = outWidth;
    *height = outHeight;
    return true;
}

}  // namespace optigrab
