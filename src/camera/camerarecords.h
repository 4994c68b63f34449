// SPDX-License-Identifier: GPL-3.0-or-later
// The records in which the view keeps what it learned about the cameras.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// One resolution of a media type.
class CResolution {
public:
    CResolution(long width, long height) : width(width), height(height) {}
    long width;
    long height;
};

// One media type of a camera; its position in devMessage::vecMediaType is the media-type index.
struct mediaMessage {
    QString mediaName;
    int mediaType = 0;        // the media-type code, not the index
    QStringList resolutions;  // width, " x ", height, in library order
};

// One control of a camera (brightness, exposure, focus ...), as the camera reports it.
struct CameraControl {
    enum Type { Integer = 1, Boolean = 2, Menu = 3 };
    unsigned id = 0;  // the V4L2 control id
    QString name;     // the driver's English name
    Type type = Integer;
    long minimum = 0, maximum = 0, step = 1, defaultValue = 0, value = 0;
    bool inactive = false;  // another control is in charge of it now (or it is read-only)
    std::vector<std::pair<long, QString>> menu;  // value and the driver's name of each menu entry
};

// One camera; its position in the view's list is the device index.
struct devMessage {
    QString devName;
    QString pidvid;  // vendor id, "&", product id
    std::vector<mediaMessage> vecMediaType;
};
