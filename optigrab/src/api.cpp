// SPDX-License-Identifier: GPL-3.0-or-later
// The exported cam* functions: argument checks and text output, everything else is the Context's.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "context.h"
#include "optigrab.h"

using optigrab::CaptureStream;
using optigrab::Context;
using optigrab::Device;
using optigrab::MediaFormat;

namespace {

// Buffer sizes the callers use, terminator included.
const std::size_t kNameBytes = 512;
const std::size_t kIdBytes = 10;
const std::size_t kSerialBytes = 256;
const std::size_t kMediaNameBytes = 256;

// Length of the longest prefix of text that fits in maxBytes and ends on a complete UTF-8 character
// (driver names cut at a fixed field width may end in half a character).
std::size_t utf8Prefix(const std::string& text, std::size_t maxBytes) {
    auto continuation = [&](std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
    std::size_t n = std::min(text.size(), maxBytes);
    while (n > 0 && n < text.size() && continuation(n))
        --n;
    std::size_t lead = n;
    while (lead > 0 && continuation(lead - 1))
        --lead;
    if (lead == 0)
        return n;
    unsigned char byte = static_cast<unsigned char>(text[lead - 1]);
    std::size_t need = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return n - (lead - 1) < need ? lead - 1 : n;
}

long writeText(char* out, std::size_t capacity, const std::string& text) {
    if (!out)
        return CAM_ERR_BAD_ARGUMENT;
    std::size_t n = utf8Prefix(text, capacity - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return CAM_OK;
}

Context& context() {
    return Context::instance();
}

const MediaFormat* formatByCode(const Device& device, long code) {
    for (const MediaFormat& format : device.info.formats)
        if (format.code == code)
            return &format;
    return nullptr;
}

const optigrab::FrameSize* sizeOf(const Device& device, long code, long width, long height) {
    const MediaFormat* format = formatByCode(device, code);
    if (!format)
        return nullptr;
    for (const auto& size : format->sizes)
        if (size.width == width && size.height == height)
            return &size;
    return nullptr;
}

// For the functions this library has no implementation of: the device is checked, then refused.
long unsupported(long devIndex) {
    return context().withDevice(devIndex, [](Device&) -> long { return CAM_ERR_NOT_SUPPORTED; });
}

// The analyser is shared with the streams, so it is used after the state lock is released: pausing
// and stopping may wait for a callback that is capturing, which takes that lock.
std::shared_ptr<optigrab::FrameAnalyser> analyserOf(long devIndex, long* result) {
    std::shared_ptr<optigrab::FrameAnalyser> analyser;
    *result = context().withDevice(devIndex, [&](Device& d) -> long {
        analyser = d.analyser;
        return CAM_OK;
    });
    return analyser;
}

}  // namespace

extern "C" {

OPTIGRAB_API long camInitCameraLib(void) {
    return context().init();
}
OPTIGRAB_API long camUnInitCameraLib(void) {
    return context().uninit();
}
OPTIGRAB_API long camStopCameraLib(void) {
    return context().closeAll();
}
OPTIGRAB_API long camGetDevCount(long* count) {
    return context().rescan(count);
}

OPTIGRAB_API long camGetDevName(long devIndex, char* name) {
    return context().withDevice(devIndex,
                                [&](Device& d) { return writeText(name, kNameBytes, d.info.card); });
}

OPTIGRAB_API long camGetDevPid(long devIndex, char* pid) {
    return context().withDevice(devIndex, [&](Device& d) -> long {
        if (long result = writeText(pid, kIdBytes, d.info.node.productId))
            return result;
        return d.info.node.productId.empty() ? CAM_ERR_NOT_SUPPORTED : CAM_OK;
    });
}

OPTIGRAB_API long camGetDevVid(long devIndex, char* vid) {
    return context().withDevice(devIndex, [&](Device& d) -> long {
        if (long result = writeText(vid, kIdBytes, d.info.node.vendorId))
            return result;
        return d.info.node.vendorId.empty() ? CAM_ERR_NOT_SUPPORTED : CAM_OK;
    });
}

OPTIGRAB_API long camGetDevSN(long devIndex, char* sn) {
    return context().withDevice(devIndex, [&](Device& d) -> long {
        if (long result = writeText(sn, kSerialBytes, d.info.node.serial))
            return result;
        return d.info.node.serial.empty() ? CAM_ERR_NOT_SUPPORTED : CAM_OK;
    });
}

OPTIGRAB_API long camLightSupport(long devIndex, long* IsSupportLight) {
    if (!IsSupportLight)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device&) -> long {
        *IsSupportLight = 0;
        return CAM_OK;
    });
}

OPTIGRAB_API long camSetLightCtrl(long devIndex, long, long) {
    return unsupported(devIndex);
}

OPTIGRAB_API long camGetMediaTypeCount(long devIndex, long* count) {
    if (!count)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        *count = long(d.info.formats.size());
        return CAM_OK;
    });
}

OPTIGRAB_API long camGetMediaType(long devIndex, long index, long* type) {
    if (!type)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        if (index < 0 || index >= long(d.info.formats.size()))
            return CAM_ERR_BAD_INDEX;
        *type = d.info.formats[std::size_t(index)].code;
        return CAM_OK;
    });
}

OPTIGRAB_API long camGetMediaTypeName(long devIndex, long index, char* name) {
    return context().withDevice(devIndex, [&](Device& d) -> long {
        if (index < 0 || index >= long(d.info.formats.size()))
            return CAM_ERR_BAD_INDEX;
        return writeText(name, kMediaNameBytes, optigrab::mediaName(d.info.formats[std::size_t(index)].code));
    });
}

OPTIGRAB_API long camGetResolutionCount(long devIndex, long subType, long* count) {
    if (!count)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        const MediaFormat* format = formatByCode(d, subType);
        if (!format)
            return CAM_ERR_BAD_ARGUMENT;
        *count = long(format->sizes.size());
        return CAM_OK;
    });
}

OPTIGRAB_API long camGetResolution(long devIndex, long subType, long index, long* width, long* height) {
    if (!width || !height)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        const MediaFormat* format = formatByCode(d, subType);
        if (!format)
            return CAM_ERR_BAD_ARGUMENT;
        if (index < 0 || index >= long(format->sizes.size()))
            return CAM_ERR_BAD_INDEX;
        *width = format->sizes[std::size_t(index)].width;
        *height = format->sizes[std::size_t(index)].height;
        return CAM_OK;
    });
}

OPTIGRAB_API long camGetFPSCount(long devIndex, long subType, long width, long height, long* count) {
    if (!count)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        const optigrab::FrameSize* size = sizeOf(d, subType, width, height);
        if (!size)
            return CAM_ERR_BAD_ARGUMENT;
        *count = long(size->fps.size());
        return CAM_OK;
    });
}

OPTIGRAB_API long camGetFPS(long devIndex, long subType, long width, long height, long index, long* fps) {
    if (!fps)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        const optigrab::FrameSize* size = sizeOf(d, subType, width, height);
        if (!size)
            return CAM_ERR_BAD_ARGUMENT;
        if (index < 0 || index >= long(size->fps.size()))
            return CAM_ERR_BAD_INDEX;
        *fps = size->fps[std::size_t(index)];
        return CAM_OK;
    });
}

OPTIGRAB_API long camRegCallBackPreviewImage(long devIndex, callBackPreviewImage fun) {
    return context().withDevice(devIndex, [&](Device& d) -> long {
        d.callback = fun;
        if (d.stream)
            d.stream->setCallback(fun);
        return CAM_OK;
    });
}

OPTIGRAB_API long camOpenDev(long devIndex, long subType, long width, long height, long fps) {
    if (width < 0 || height < 0 || fps < 0)
        return CAM_ERR_BAD_ARGUMENT;
    return context().open(devIndex, subType, width, height, fps);
}

OPTIGRAB_API long camCloseDev(long devIndex) {
    return context().close(devIndex);
}

OPTIGRAB_API long camGetCurPreviewResolution(long devIndex, long* subtype, long* width, long* height,
                                             long* fps) {
    if (!subtype || !width || !height || !fps)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withStream(devIndex, [&](Device&, CaptureStream& stream) -> long {
        CaptureStream::Mode mode = stream.mode();
        *subtype = mode.code;
        *width = mode.width;
        *height = mode.height;
        *fps = mode.fps;
        return CAM_OK;
    });
}

OPTIGRAB_API long camPause(long devIndex, long lstyle) {
    return context().withStream(devIndex, [&](Device&, CaptureStream& stream) -> long {
        stream.setPaused(lstyle != 0);
        return CAM_OK;
    });
}

OPTIGRAB_API long camZooIn(long devIndex) {
    return unsupported(devIndex);
}
OPTIGRAB_API long camZoomOut(long devIndex) {
    return unsupported(devIndex);
}
OPTIGRAB_API long camOriginalPreview(long devIndex) {
    return unsupported(devIndex);
}

OPTIGRAB_API long camSetPreviewSizeHint(long devIndex, long width, long height) {
    if (width < 0 || height < 0)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        d.hintWidth = width;
        d.hintHeight = height;
        if (d.stream)
            d.stream->setSizeHint(width, height);
        return CAM_OK;
    });
}

OPTIGRAB_API long camSetPreviewPart(long devIndex, long x, long y, long width, long height) {
    if (x < 0 || y < 0 || width < 0 || height < 0 || x > optigrab::FramePart::kWhole ||
        y > optigrab::FramePart::kWhole)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        d.previewPart = optigrab::FramePart{x, y, width, height};
        if (d.stream)
            d.stream->setPreviewPart(d.previewPart);
        return CAM_OK;
    });
}

OPTIGRAB_API long camStartUVCRecord(int devIndex, int audioIndex, int isRecordSubDev, const char* path) {
    if (!path || !*path || audioIndex < -1)
        return CAM_ERR_BAD_ARGUMENT;
    if (audioIndex > 0 || isRecordSubDev != 0)
        return unsupported(devIndex);
    return context().startRecording(devIndex, audioIndex == 0, path);
}
OPTIGRAB_API long camStopUVCRecord(int devIndex) {
    return context().stopRecording(devIndex);
}

OPTIGRAB_API long camSetImageRotateMode(long devIndex, long rotate) {
    optigrab::PictureSettings parsed;
    if (!parsed.setRotateMode(rotate))
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        d.picture.setRotateMode(rotate);
        if (d.stream)
            d.stream->setPicture(d.picture);
        return CAM_OK;
    });
}

OPTIGRAB_API long camSetImageColorStyle(long devIndex, long type) {
    optigrab::PictureSettings parsed;
    if (!parsed.setLook(type))
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        d.picture.setLook(type);
        if (d.stream)
            d.stream->setPicture(d.picture);
        return CAM_OK;
    });
}
OPTIGRAB_API long camSetImageAdjust(long devIndex, long) {
    return unsupported(devIndex);
}
OPTIGRAB_API long camSetImageDenoise(long devIndex, bool) {
    return unsupported(devIndex);
}
OPTIGRAB_API long camSetImageFileSign(long devIndex, bool) {
    return unsupported(devIndex);
}

OPTIGRAB_API long camSetImageWaterMark(long devIndex, const char*, long, long, const char*, long, long, long,
                                       long, long, long, long, double, double) {
    return unsupported(devIndex);
}

OPTIGRAB_API long camRegCallBackDeviceChange(long, callBackDevChange fun) {
    return context().setDeviceChangeCallback(fun);
}

OPTIGRAB_API long camCaptureImageFile(long devIndex, const char* file) {
    if (!file || !*file)
        return CAM_ERR_BAD_ARGUMENT;
    return context().capture(devIndex, file);
}

OPTIGRAB_API long camSetImageJPGQuanlity(long devIndex, long quanlity) {
    if (quanlity < 1 || quanlity > 100)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        d.jpegQuality = quanlity;
        return CAM_OK;
    });
}

OPTIGRAB_API long camGetImageJPGQuanlity(long devIndex, long* quanlity) {
    if (!quanlity)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        *quanlity = d.jpegQuality;
        return CAM_OK;
    });
}

OPTIGRAB_API long camGetImageDPI(long devIndex, long* xDPI, long* yDPI) {
    if (!xDPI || !yDPI)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        *xDPI = d.xDpi;
        *yDPI = d.yDpi;
        return CAM_OK;
    });
}

OPTIGRAB_API long camSetImageDPI(long devIndex, long xDPI, long yDPI) {
    if (xDPI < 1 || xDPI > 65535 || yDPI < 1 || yDPI > 65535)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        d.xDpi = xDPI;
        d.yDpi = yDPI;
        return CAM_OK;
    });
}

OPTIGRAB_API long camCaptureIsBook(long devIndex, long* isBook) {
    if (!isBook)
        return CAM_ERR_BAD_ARGUMENT;
    return context().isBook(devIndex, isBook);
}

OPTIGRAB_API long camCaptureBookEx(long devIndex, const char* filepath1, const char* filepath2,
                                   int* pageMask) {
    if (!filepath1 || !*filepath1 || !filepath2 || !*filepath2 || !pageMask)
        return CAM_ERR_BAD_ARGUMENT;
    *pageMask = 0;
    return context().captureBook(devIndex, filepath1, filepath2, pageMask);
}

OPTIGRAB_API long camSetImageAutoCrop(long devIndex, long type) {
    if (type == 2 || type == 3)
        return unsupported(devIndex);
    if (type != 0 && type != 1)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        d.page.crop = type == 1;
        d.analyser->setPageFinding(type == 1);
        return CAM_OK;
    });
}

OPTIGRAB_API long camSetImageOffsetCorrection(long devIndex, long type) {
    if (type != 0 && type != 1)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        d.page.levelText = type == 1;
        return CAM_OK;
    });
}

OPTIGRAB_API long camSetImageFillBorder(long devIndex, long type) {
    if (type != 0 && type != 1)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        d.page.whiteBorder = type == 1;
        return CAM_OK;
    });
}

OPTIGRAB_API long camGetPageCorners(long devIndex, long* corners, long* found) {
    if (!corners || !found)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withStream(devIndex, [&](Device& d, CaptureStream& stream) -> long {
        optigrab::Quad page;
        *found = d.analyser->page(stream.mode().width, stream.mode().height, &page) ? 1 : 0;
        for (int i = 0; i < 4 && *found; ++i) {
            corners[2 * i] = std::lround(page[i].x);
            corners[2 * i + 1] = std::lround(page[i].y);
        }
        return CAM_OK;
    });
}

OPTIGRAB_API long camStartAutoCapture(long devIndex, long type, long param, callBackAutoCapture fun,
                                      bool detection) {
    const long holdMs = type == 1 ? param * 1000 : type == 2 ? param : -1;
    if (!fun || holdMs < 100 || holdMs > 60000)
        return CAM_ERR_BAD_ARGUMENT;
    long result = CAM_OK;
    auto analyser = analyserOf(devIndex, &result);
    return result ? result : analyser->startAutoCapture(int(holdMs), detection, fun);
}

OPTIGRAB_API long camPauseAutoCapture(long devIndex, long pause) {
    long result = CAM_OK;
    auto analyser = analyserOf(devIndex, &result);
    return result ? result : analyser->pauseAutoCapture(pause != 0, CaptureStream::onAnyCaptureThread());
}

OPTIGRAB_API long camStopAutoCapture(long devIndex) {
    long result = CAM_OK;
    auto analyser = analyserOf(devIndex, &result);
    return result ? result : analyser->stopAutoCapture(CaptureStream::onAnyCaptureThread());
}

OPTIGRAB_API long camGetAutoCaptureState(long devIndex, long* state) {
    if (!state)
        return CAM_ERR_BAD_ARGUMENT;
    return context().withDevice(devIndex, [&](Device& d) -> long {
        *state = d.analyser->autoCaptureState();
        return CAM_OK;
    });
}

}  // extern "C"
