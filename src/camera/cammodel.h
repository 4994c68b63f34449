// SPDX-License-Identifier: GPL-3.0-or-later
// The camera model: a stateless translation of each operation into one camera-library call.
#pragma once

#include "imodel.h"

class CamModel : public IModel {
public:
    long init() override;
    long uninit() override;
    long stopCameraLib() override;
    long getCameraCount(long& count) override;
    QString getCameraName(long devIndex) override;
    long getDevPID(long devIndex, QString& strpid) override;
    long getDevVID(long devIndex, QString& strvid) override;
    QString getDevSN(long devIndex) override;
    long getSupportLight(long devIndex, long& IsSupportLight) override;
    long getMediaCount(long devIndex, long& count) override;
    long getMediaType(long devIndex, long index, long& type) override;
    QString getMediaName(long devIndex, long index) override;
    long setLight(long devIndex, long lightIndex, long lightModel) override;
    long getResolutionCount(long devIndex, long subType, long& count) override;
    long getResolution(long devIndex, long subType, long index, long& width, long& height) override;
    long getFPSCount(long devIndex, long subType, long width, long height, long& count) override;
    long getFPS(long devIndex, long subType, long width, long height, long index, long& fps) override;
    long regPreviewCallback(long devIndex, callBackPreviewImage fun) override;
    long openDev(long devIndex, long subType, long width, long height, long fps) override;
    long closeDev(long devIndex) override;
    long getCurPreviewResolution(long devIndex, long& subtype, long& width, long& height, long& fps) override;
    long pause(long devIndex, long lstyle) override;
    long zoomIn(long devIndex) override;
    long zoomOut(long devIndex) override;
    long originalPreview(long devIndex) override;
    long startUVCRecord(long devIndex, int audioIndex, int isRecordSubDev, char* path) override;
    long stopUVCRecord(long devIndex) override;
    long setAutoCropType(long devIndex, int type) override;
    long setRotateMode(long devIndex, int rotate) override;
    long setCallBackDeviceChange(long devIndex, callBackDevChange fun) override;
    long captureImage(long devIndex, char* file) override;
    long setImageJPGQuanlity(long devIndex, long quanlity) override;
    long getImageJPGQuanlity(long devIndex, long& quanlity) override;
    long getImageDPI(long devIndex, long& xDPI, long& yDPI) override;
    long setImageDPI(long devIndex, long xDPI, long yDPI) override;
    long setColorStyle(long devIndex, long type) override;
    long setImageAdjust(long devIndex, long type) override;
    long setImageOffsetCorrection(long devIndex, long type) override;
    long setImageFillBorder(long devIndex, long type) override;
    long setImageDenoise(long devIndex, bool IsAvailabel) override;
    long setImageFileSign(long devIndex, bool IsAvailabel) override;
    long setImageWaterMark(long devIndex, char* msg, long type, long font_size, char* color) override;
    long startAutoCapture(long devIndex, long type, long param, callBackAutoCapture fun,
                          bool detection) override;
    long pauseAutoCapture(long devIndex, long pause) override;
    long stopAutoCapture(long devIndex) override;
    long getIsSupportBook(long devIndex, long& isBook) override;
    long captureBookEx(long devIndex, char* filepath1, char* filepath2, int& pageMask) override;
    long setPreviewSizeHint(long devIndex, long width, long height) override;
    long getControls(long devIndex, std::vector<CameraControl>& controls) override;
    long setControl(long devIndex, unsigned id, long value) override;
    long getAutoFocusSupport(long devIndex, long& supported) override;
    long autoFocusOnce(long devIndex) override;
    long setPreviewPart(long devIndex, long x, long y, long width, long height) override;
    long getPageCorners(long devIndex, long* corners, long& found) override;
    long getAutoCaptureState(long devIndex, long& state) override;
};
