// SPDX-License-Identifier: GPL-3.0-or-later
// The first picture and the length of a recording, read by the camera library.
#include "videothumbnail.h"

#include "optigrab.h"

bool VideoThumbnail::read(const QString& path, const QSize& bounds, QImage* picture, double* seconds) {
    if (bounds.isEmpty())
        return false;
    QImage pixels(bounds, QImage::Format_RGB32);
    long width = 0, height = 0;
    if (camReadRecordingPicture(path.toUtf8().constData(), bounds.width(), bounds.height(), pixels.bits(),
                                &width, &height, seconds) != CAM_OK)
        return false;
    // The library writes packed rows of the picture's own width.
    *picture =
        QImage(pixels.constBits(), int(width), int(height), int(width) * 4, QImage::Format_RGB32).copy();
    return !picture->isNull();
}
