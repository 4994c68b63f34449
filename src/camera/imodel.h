// SPDX-License-Identifier: GPL-3.0-or-later
// The camera model interface: one operation per camera-library call, results passed on unchanged.
#pragma once

#include <QString>
#include <vector>

#include "camerarecords.h"

#include "optigrab.h"

class IModel {
public:
    virtual ~IModel() = default;

    virtual long init() = 0;
    virtual long uninit() = 0;
    virtual long stopCameraLib() = 0;
    virtual long getCameraCount(long& count) = 0;
    virtual QString getCameraName(long devIndex) = 0;
    virtual long getDevPID(long devIndex, QString& strpid) = 0;
    virtual long getDevVID(long devIndex, QString& strvid) = 0;
    virtual QString getDevSN(long devIndex) = 0;
    virtual long getSupportLight(long devIndex, long& IsSupportLight) = 0;
    virtual long getMediaCount(long devIndex, long& count) = 0;
    virtual long getMediaType(long devIndex, long index, long& type) = 0;
    virtual QString getMediaName(long devIndex, long index) = 0;
    virtual long setLight(long devIndex, long lightIndex, long lightModel) = 0;
    virtual long getResolutionCount(long devIndex, long subType, long& count) = 0;
    virtual long getResolution(long devIndex, long subType, long index, long& width, long& height) = 0;
    virtual long getFPSCount(long devIndex, long subType, long width, long height, long& count) = 0;
    virtual long getFPS(long devIndex, long subType, long width, long height, long index, long& fps) = 0;
    virtual long regPreviewCallback(long devIndex, callBackPreviewImage fun) = 0;
    virtual long openDev(long devIndex, long subType, long width, long height, long fps) = 0;
    virtual long closeDev(long devIndex) = 0;
    virtual long getCurPreviewResolution(long devIndex, long& subtype, long& width, long& height,
                                         long& fps) = 0;
    virtual long pause(long devIndex, long lstyle) = 0;
    virtual long zoomIn(long devIndex) = 0;
    virtual long zoomOut(long devIndex) = 0;
    virtual long originalPreview(long devIndex) = 0;
    virtual long startUVCRecord(long devIndex, int audioIndex, int isRecordSubDev, char* path) = 0;
    virtual long stopUVCRecord(long devIndex) = 0;
    virtual long setAutoCropType(long devIndex, int type) = 0;
    virtual long setRotateMode(long devIndex, int rotate) = 0;
    virtual long setCallBackDeviceChange(long devIndex, callBackDevChange fun) = 0;
    virtual long captureImage(long devIndex, char* file) = 0;
    virtual long setImageJPGQuanlity(long devIndex, long quanlity) = 0;
    virtual long getImageJPGQuanlity(long devIndex, long& quanlity) = 0;
    virtual long getImageDPI(long devIndex, long& xDPI, long& yDPI) = 0;
    virtual long setImageDPI(long devIndex, long xDPI, long yDPI) = 0;
    virtual long setColorStyle(long devIndex, long type) = 0;
    virtual long setImageAdjust(long devIndex, long type) = 0;
    virtual long setImageOffsetCorrection(long devIndex, long type) = 0;
    virtual long setImageFillBorder(long devIndex, long type) = 0;
    virtual long setImageDenoise(long devIndex, bool IsAvailabel) = 0;
    virtual long setImageFileSign(long devIndex, bool IsAvailabel) = 0;
    virtual long setImageWaterMark(long devIndex, char* msg, long type, long font_size, char* color) = 0;
    virtual long startAutoCapture(long devIndex, long type, long param, callBackAutoCapture fun,
                                  bool detection) = 0;
    virtual long pauseAutoCapture(long devIndex, long pause) = 0;
    virtual long stopAutoCapture(long devIndex) = 0;
    virtual long getIsSupportBook(long devIndex, long& isBook) = 0;
    virtual long captureBookEx(long devIndex, char* filepath1, char* filepath2, int& pageMask) = 0;
    // The largest picture the viewer can show: preview frames need not be decoded larger.
    virtual long setPreviewSizeHint(long devIndex, long width, long height) = 0;
    // The camera's own controls (brightness, exposure, focus ...), with menu entries.
    virtual long getControls(long devIndex, std::vector<CameraControl>& controls) = 0;
    virtual long setControl(long devIndex, unsigned id, long value) = 0;
    // supported = 1 when the camera can focus by itself.
    virtual long getAutoFocusSupport(long devIndex, long& supported) = 0;
    // Blocks for up to about 1.5 s on cameras without a focus-start control.
    virtual long autoFocusOnce(long devIndex) = 0;
    // The part of the picture a zoomed view shows, in millionths of its width and height.
    virtual long setPreviewPart(long devIndex, long x, long y, long width, long height) = 0;
    // The page found in the live picture: corners (x, y four times) in pixels of the running mode.
    virtual long getPageCorners(long devIndex, long* corners, long& found) = 0;
    virtual long getAutoCaptureState(long devIndex, long& state) = 0;
};

// Vendor, product and serial of a listed camera: what finds it again after a rescan.
inline QString cameraIdentity(IModel& model, long devIndex) {
    QString vid;
    QString pid;
    model.getDevVID(devIndex, vid);
    model.getDevPID(devIndex, pid);
    return vid + "&" + pid + "&" + model.getDevSN(devIndex);
}
