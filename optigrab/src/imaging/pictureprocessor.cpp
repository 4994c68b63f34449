// Orientation and looks of preview frames (on a capture lane) and stills (on the caller's thread).
#include "imaging/pictureprocessor.h"

#include <libyuv.h>
#include <opencv2/imgproc.hpp>

#include <new>

namespace optigrab {

namespace {

libyuv::RotationMode rotationOf(int quarterTurns) {
    static const libyuv::RotationMode modes[] = {libyuv::kRotate0, libyuv::kRotate90, libyuv::kRotate180,
                                                 libyuv::kRotate270};
    return modes[quarterTurns & 3];
}

void ensureSize(std::vector<std::uint8_t>& buffer, std::size_t size) {
    if (buffer.size() < size)
        buffer.resize(size);
}

}  // namespace

bool PictureProcessor::apply(const PictureSettings& settings, std::vector<std::uint8_t>& rgb, long* width,
                             long* height) {
    if (settings.plain())
        return true;
    const int w = int(*width), h = int(*height);
    const int outWidth = settings.turnedSideways() ? h : w;
    const int outHeight = settings.turnedSideways() ? w : h;
    try {
        if (settings.look == Look::Colour) {
            if (!turnColour(settings, rgb, w, h))
                return false;
        } else {
            // Grey first: the turn then moves one byte a pixel instead of four.
            ensureSize(grey_, std::size_t(w) * h);
            libyuv::RAWToJ400(rgb.data(), w * 3, grey_.data(), w, w, h);
            if (!turnGrey(settings, w, h))
                return false;
            cv::Mat grey(outHeight, outWidth, CV_8UC1, grey_.data());
            if (settings.look == Look::Document)
                looks_.document(grey);
            else if (settings.look == Look::BlackWhite)
                looks_.blackWhite(grey);
            cv::Mat out(outHeight, outWidth, CV_8UC3, rgb.data());
            cv::cvtColor(grey, out, cv::COLOR_GRAY2RGB);
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

bool PictureProcessor::turnColour(const PictureSettings& settings, std::vector<std::uint8_t>& rgb, int w,
                                  int h) {
    const std::size_t bytes = std::size_t(w) * h * 4;
    ensureSize(argb_, bytes);
    libyuv::RAWToARGB(rgb.data(), w * 3, argb_.data(), w * 4, w, h);
    const std::uint8_t* source = argb_.data();
    if (settings.mirrored) {
        ensureSize(mirrored_, bytes);
        libyuv::ARGBMirror(source, w * 4, mirrored_.data(), w * 4, w, h);
        source = mirrored_.data();
    }
    if (settings.quarterTurns != 0) {
        ensureSize(turned_, bytes);
        const int outWidth = settings.turnedSideways() ? h : w;
        if (libyuv::ARGBRotate(source, w * 4, turned_.data(), outWidth * 4, w, h,
                               rotationOf(settings.quarterTurns)) != 0)
            return false;
        source = turned_.data();
    }
    const int outWidth = settings.turnedSideways() ? h : w;
    const int outHeight = settings.turnedSideways() ? w : h;
    return libyuv::ARGBToRAW(source, outWidth * 4, rgb.data(), outWidth * 3, outWidth, outHeight) == 0;
}

// Turns grey_ in place (through the spare buffers).
bool PictureProcessor::turnGrey(const PictureSettings& settings, int w, int h) {
    const std::size_t bytes = std::size_t(w) * h;
    if (settings.mirrored) {
        ensureSize(greyMirrored_, bytes);
        libyuv::MirrorPlane(grey_.data(), w, greyMirrored_.data(), w, w, h);
        grey_.swap(greyMirrored_);
    }
    if (settings.quarterTurns != 0) {
        ensureSize(greyTurned_, bytes);
        const int outWidth = settings.turnedSideways() ? h : w;
        if (libyuv::RotatePlane(grey_.data(), w, greyTurned_.data(), outWidth, w, h,
                                rotationOf(settings.quarterTurns)) != 0)
            return false;
        grey_.swap(greyTurned_);
    }
    return true;
}

}  // namespace optigrab
