// SPDX-License-Identifier: GPL-3.0-or-later
// The camera model: a stateless translation of each operation into one camera-library call.
#include "cammodel.h"

#include <cstdio>
#include <cstring>

namespace {

// Zero-filled buffer for a string the library writes; decoded as UTF-8.
template <size_t N>
struct TextBuffer {
    char bytes[N] = {};
    QString text() const { return QString::fromUtf8(bytes, static_cast<int>(strnlen(bytes, N))); }
};

}  // namespace

long CamModel::init() {
    return camInitCameraLib();
}
long CamModel::uninit() {
    return camUnInitCameraLib();
}
long CamModel::stopCameraLib() {
    return camStopCameraLib();
}
long CamModel::getCameraCount(long& count) {
    return camGetDevCount(&count);
}

QString CamModel::getCameraName(long devIndex) {
    TextBuffer<512> name;
    TextBuffer<40> pid;
    TextBuffer<40> vid;
    camGetDevName(devIndex, name.bytes);
    camGetDevPid(devIndex, pid.bytes);
    camGetDevVid(devIndex, vid.bytes);
    return QString("%1(%2&%3)").arg(name.text(), vid.text(), pid.text());
}

long CamModel::getDevPID(long devIndex, QString& strpid) {
    TextBuffer<10> pid;
    const long result = camGetDevPid(devIndex, pid.bytes);
    strpid = pid.text();
    return result;
}

long CamModel::getDevVID(long devIndex, QString& strvid) {
    TextBuffer<10> vid;
    const long result = camGetDevVid(devIndex, vid.bytes);
    strvid = vid.text();
    return result;
}

QString CamModel::getDevSN(long devIndex) {
    TextBuffer<256> serial;
    camGetDevSN(devIndex, serial.bytes);
    return serial.text();
}

long CamModel::getSupportLight(long devIndex, long& IsSupportLight) {
    return camLightSupport(devIndex, &IsSupportLight);
}
long CamModel::getMediaCount(long devIndex, long& count) {
    return camGetMediaTypeCount(devIndex, &count);
}
long CamModel::getMediaType(long devIndex, long index, long& type) {
    return camGetMediaType(devIndex, index, &type);
}

QString CamModel::getMediaName(long devIndex, long index) {
    TextBuffer<256> name;
    camGetMediaTypeName(devIndex, index, name.bytes);
    return name.text();
}

long CamModel::setLight(long devIndex, long lightIndex, long lightModel) {
    return camSetLightCtrl(devIndex, lightIndex, lightModel);
}
long CamModel::getResolutionCount(long devIndex, long subType, long& count) {
    return camGetResolutionCount(devIndex, subType, &count);
}
long CamModel::getResolution(long devIndex, long subType, long index, long& width, long& height) {
    return camGetResolution(devIndex, subType, index, &width, &height);
}
long CamModel::getFPSCount(long devIndex, long subType, long width, long height, long& count) {
    return camGetFPSCount(devIndex, subType, width, height, &count);
}
long CamModel::getFPS(long devIndex, long subType, long width, long height, long index, long& fps) {
    return camGetFPS(devIndex, subType, width, height, index, &fps);
}
long CamModel::regPreviewCallback(long devIndex, callBackPreviewImage fun) {
    return camRegCallBackPreviewImage(devIndex, fun);
}
long CamModel::openDev(long devIndex, long subType, long width, long height, long fps) {
    return camOpenDev(devIndex, subType, width, height, fps);
}
long CamModel::closeDev(long devIndex) {
    return camCloseDev(devIndex);
}
long CamModel::getCurPreviewResolution(long devIndex, long& subtype, long& width, long& height, long& fps) {
    return camGetCurPreviewResolution(devIndex, &subtype, &width, &height, &fps);
}
long CamModel::pause(long devIndex, long lstyle) {
    return camPause(devIndex, lstyle);
}
long CamModel::zoomIn(long devIndex) {
    return camZooIn(devIndex);
}
long CamModel::zoomOut(long devIndex) {
    return camZoomOut(devIndex);
}
long CamModel::originalPreview(long devIndex) {
    return camOriginalPreview(devIndex);
}
long CamModel::startUVCRecord(long devIndex, int audioIndex, int isRecordSubDev, char* path) {
    return camStartUVCRecord(static_cast<int>(devIndex), audioIndex, isRecordSubDev, path);
}
long CamModel::stopUVCRecord(long devIndex) {
    return camStopUVCRecord(static_cast<int>(devIndex));
}
long CamModel::setAutoCropType(long devIndex, int type) {
    return camSetImageAutoCrop(devIndex, type);
}
long CamModel::setRotateMode(long devIndex, int rotate) {
    return camSetImageRotateMode(devIndex, rotate);
}
long CamModel::setCallBackDeviceChange(long devIndex, callBackDevChange fun) {
    return camRegCallBackDeviceChange(devIndex, fun);
}
long CamModel::captureImage(long devIndex, char* file) {
    return camCaptureImageFile(devIndex, file);
}
long CamModel::setImageJPGQuanlity(long devIndex, long quanlity) {
    return camSetImageJPGQuanlity(devIndex, quanlity);
}
long CamModel::getImageJPGQuanlity(long devIndex, long& quanlity) {
    return camGetImageJPGQuanlity(devIndex, &quanlity);
}
long CamModel::getImageDPI(long devIndex, long& xDPI, long& yDPI) {
    return camGetImageDPI(devIndex, &xDPI, &yDPI);
}
long CamModel::setImageDPI(long devIndex, long xDPI, long yDPI) {
    return camSetImageDPI(devIndex, xDPI, yDPI);
}
long CamModel::setColorStyle(long devIndex, long type) {
    return camSetImageColorStyle(devIndex, type);
}
long CamModel::setImageAdjust(long devIndex, long type) {
    return camSetImageAdjust(devIndex, type);
}
long CamModel::setImageOffsetCorrection(long devIndex, long type) {
    return camSetImageOffsetCorrection(devIndex, type);
}
long CamModel::setImageFillBorder(long devIndex, long type) {
    return camSetImageFillBorder(devIndex, type);
}
long CamModel::setImageDenoise(long devIndex, bool IsAvailabel) {
    return camSetImageDenoise(devIndex, IsAvailabel);
}
long CamModel::setImageFileSign(long devIndex, bool IsAvailabel) {
    return camSetImageFileSign(devIndex, IsAvailabel);
}

long CamModel::setImageWaterMark(long devIndex, char* msg, long type, long font_size, char* color) {
    struct NamedColour {
        const char* name;
        long r, g, b;
    };
    static const NamedColour colours[] = {
        {"红色", 255, 0, 0},     {"绿色", 0, 255, 0}, {"蓝色", 0, 0, 255},
        {"白色", 255, 255, 255}, {"黑色", 0, 0, 0},
    };
    long r = 255, g = 0, b = 0;
    for (const NamedColour& colour : colours) {
        if (color != nullptr && std::strcmp(color, colour.name) == 0) {
            printf("CamModel::setImageWaterMark %s\n", colour.name);
            r = colour.r;
            g = colour.g;
            b = colour.b;
            break;
        }
    }
    char noFont[] = "";
    return camSetImageWaterMark(devIndex, msg, type, font_size, noFont, 0, 0, 0, r, g, b, 1, 0.0, 1.0);
}

long CamModel::startAutoCapture(long devIndex, long type, long param, callBackAutoCapture fun,
                                bool detection) {
    return camStartAutoCapture(devIndex, type, param, fun, detection);
}
long CamModel::pauseAutoCapture(long devIndex, long pause) {
    return camPauseAutoCapture(devIndex, pause);
}
long CamModel::stopAutoCapture(long devIndex) {
    return camStopAutoCapture(devIndex);
}
long CamModel::getIsSupportBook(long devIndex, long& isBook) {
    return camCaptureIsBook(devIndex, &isBook);
}
long CamModel::captureBookEx(long devIndex, char* filepath1, char* filepath2, int& pageMask) {
    return camCaptureBookEx(devIndex, filepath1, filepath2, &pageMask);
}
long CamModel::setPreviewSizeHint(long devIndex, long width, long height) {
    return camSetPreviewSizeHint(devIndex, width, height);
}

long CamModel::setPreviewPart(long devIndex, long x, long y, long width, long height) {
    return camSetPreviewPart(devIndex, x, y, width, height);
}

long CamModel::getControls(long devIndex, std::vector<CameraControl>& controls) {
    controls.clear();
    long count = 0;
    if (long result = camGetControlCount(devIndex, &count))
        return result;
    for (long i = 0; i < count; ++i) {
        CamControlInfo info{};
        if (long result = camGetControlInfo(devIndex, i, &info))
            return result;
        CameraControl control;
        control.id = info.id;
        control.name = QString::fromUtf8(info.name);
        control.type = CameraControl::Type(info.type);
        control.minimum = info.minimum;
        control.maximum = info.maximum;
        control.step = info.step;
        control.defaultValue = info.defaultValue;
        control.value = info.value;
        control.inactive = info.flags != 0;
        for (long value = info.minimum; control.type == CameraControl::Menu && value <= info.maximum;
             ++value) {
            char name[32] = {};
            if (camGetControlMenuName(devIndex, info.id, value, name) == CAM_OK)
                control.menu.emplace_back(value, QString::fromUtf8(name));
        }
        controls.push_back(control);
    }
    return CAM_OK;
}

long CamModel::setControl(long devIndex, unsigned id, long value) {
    return camSetControl(devIndex, id, value);
}

long CamModel::getAutoFocusSupport(long devIndex, long& supported) {
    return camAutoFocusSupport(devIndex, &supported);
}

long CamModel::autoFocusOnce(long devIndex) {
    return camAutoFocusOnce(devIndex);
}
long CamModel::getPageCorners(long devIndex, long* corners, long& found) {
    return camGetPageCorners(devIndex, corners, &found);
}
long CamModel::getAutoCaptureState(long devIndex, long& state) {
    return camGetAutoCaptureState(devIndex, &state);
}
