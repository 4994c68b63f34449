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

// One camera; its position in the view's list is the device index.
struct devMessage {
    QString devName;
    QString pidvid;  // vendor id, "&", product id
    std::vector<mediaMessage> vecMediaType;
};
