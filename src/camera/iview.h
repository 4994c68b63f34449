// SPDX-License-Identifier: GPL-3.0-or-later
// What the presenter reports to the view: enumeration results, plug/unplug notifications, frames.
#pragma once

#include <QImage>
#include <QStringList>

class QRectF;

class IView {
public:
    virtual void initCameraList(QStringList& list) = 0;
    virtual void initMediaTypeList(int devIndex, QStringList& list) = 0;
    virtual void initReslutionList(int devIndex, int mediaIndex, int mediaType, QStringList& list) = 0;
    virtual void initFPSList(QStringList& list) = 0;
    virtual void initAutoCrop(QStringList& list) = 0;
    virtual void initRotate(QStringList& list) = 0;
    // Runs on the camera library's hot-plug thread.
    virtual void getDevChangeType(long changeType, long dev_id) = 0;
    // Runs on the camera library's capture thread just before the drawQImage or drawQImagePart call
    // of the same frame: when the camera took it (microseconds of the monotonic clock; 0 when the
    // camera's clock is another one).
    virtual void frameCaptured(long devIndex, long long captureTimeUs) {
        Q_UNUSED(devIndex);
        Q_UNUSED(captureTimeUs);
    }
    // Runs on the camera library's capture thread; image is valid only during the call.
    virtual void drawQImage(long devIndex, QImage* image, long width, long height) = 0;
    // The same for a frame that shows only part of the camera's picture (in fractions of its width
    // and height), after the view asked for that part. A view that never asks shows it whole.
    virtual void drawQImagePart(long devIndex, QImage* image, const QRectF& part) {
        Q_UNUSED(part);
        drawQImage(devIndex, image, image->width(), image->height());
    }
    // Runs on a camera library thread: automatic capture found a new page lying still.
    virtual void autoCaptureTriggered() = 0;

protected:
    ~IView() = default;
};
