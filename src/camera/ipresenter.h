// SPDX-License-Identifier: GPL-3.0-or-later
// The presenter interface through which the view drives camera access.
#pragma once

#include <QPolygonF>
#include <QString>
#include <vector>

#include "camerarecords.h"

class IPresenter {
public:
    virtual ~IPresenter() = default;

    virtual long init() = 0;
    virtual long uninit() = 0;
    virtual long stopCameraLib() = 0;
    virtual long getCameraList() = 0;
    virtual long getMediaNameList(long devIndex) = 0;
    virtual long getResolution(long subTypeIndex) = 0;
    virtual long getFPS(long index) = 0;
    virtual long setFPS(long index) = 0;
    virtual long getAutoCropList() = 0;
    virtual long getRotateList() = 0;
    virtual QString getDevsn(long index) = 0;
    virtual long getDevPID(long devIndex, QString& strpid) = 0;
    virtual long getDevVID(long devIndex, QString& strvid) = 0;
    virtual long openDev(int devIndex, int mediaType, int fps, int width, int height) = 0;
    virtual long closeDev(long devIndex) = 0;
    virtual long pause(long lstyle) = 0;
    virtual long zoomIn() = 0;
    virtual long zoomOut() = 0;
    virtual long originalPreview() = 0;
    virtual long startUVCRecord(long devIndex, char* path) = 0;
    // The same with the sound of the desktop's default input (withSound) or none.
    virtual long startUVCRecord(long devIndex, bool withSound, char* path) = 0;
    virtual long stopUVCRecord(long devIndex) = 0;
    virtual long setLight(long devIndex, long lightIndex, long lightModel) = 0;
    virtual long setAutoCropType(long devIndex, int type) = 0;
    virtual long setRotateMode(long devIndex, int rotate) = 0;
    virtual long captureImage(char* file) = 0;
    virtual long getSupportLight(long devIndex, long& IsSupportLight) = 0;
    virtual long setImageJPGQuanlity(long quanlity) = 0;
    virtual long getImageJPGQuanlity(long& quanlity) = 0;
    virtual long getImageDPI(long& xDPI, long& yDPI) = 0;
    virtual long setImageDPI(long xDPI, long yDPI) = 0;
    virtual long setColorStyle(long type) = 0;
    virtual long setImageAdjust(long type) = 0;
    virtual long setImageOffsetCorrection(long type) = 0;
    virtual long setImageFillBorder(long type) = 0;
    virtual long setImageDenoise(bool IsAvailabel) = 0;
    virtual long setImageFileSign(bool IsAvailabel) = 0;
    virtual long setImageWaterMark(char* msg, long type, long font_size, char* color) = 0;
    virtual long startAutoCapture(QString fileType, QString filePath) = 0;
    virtual long pauseAutoCapture(long pause) = 0;
    virtual long stopAutoCapture() = 0;
    virtual long captureBookEx(char* filepath1, char* filepath2, int& pageMask) = 0;
    virtual long getIsSupportBook(long devIndex, long& isBook) = 0;
    // The largest picture the view can show; preview frames of that camera need not be larger. The
    // camera is named: an enumeration moves the presenter's own choice to the last camera listed.
    virtual long setPreviewSizeHint(long devIndex, long width, long height) = 0;
    // The look (CamLook) of the named camera's pictures; setColorStyle acts on the presenter's choice.
    virtual long setLook(long devIndex, long look) = 0;
    // The camera's own controls (brightness, exposure, focus ...), with menu entries.
    virtual long getControls(long devIndex, std::vector<CameraControl>& controls) = 0;
    virtual long setControl(long devIndex, unsigned id, long value) = 0;
    // supported = 1 when the camera can focus by itself.
    virtual long getAutoFocusSupport(long devIndex, long& supported) = 0;
    // Blocks for up to about 1.5 s on cameras without a focus-start control.
    virtual long autoFocusOnce(long devIndex) = 0;
    // The part of the picture a zoomed view shows, in millionths of its width and height: preview
    // frames then show only that part, at up to the camera's resolution.
    virtual long setPreviewPart(long devIndex, long x, long y, long width, long height) = 0;
    // The page found in the current camera's live picture, corners in shares (0 to 1) of its width
    // and height; empty when none is found or cropping is off.
    virtual long getPageOutline(QPolygonF& outline) = 0;
    // Automatic capture of the current camera that calls the view's autoCaptureTriggered, after the
    // page has lain still for holdMs.
    virtual long startAutoCaptureForView(long holdMs) = 0;
    // One of AutoCaptureState: the camera library's codes.
    enum AutoCaptureState {
        AutoOff = 0,
        AutoWaiting,
        AutoMoving,
        AutoHoldingStill,
        AutoCaptured,
        AutoPaused
    };
    virtual long getAutoCaptureState(long& state) = 0;
};
