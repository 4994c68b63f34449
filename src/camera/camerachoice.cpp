// SPDX-License-Identifier: GPL-3.0-or-later
// The choice of camera, media type and resolution among those the cameras list.
#include "camerachoice.h"

#include <QStringList>

namespace {

// Width and height of "W x H"; false when the text has no two parts.
bool splitResolution(const QString& text, int& width, int& height) {
    const QStringList parts = text.split(" x ", Qt::SkipEmptyParts, Qt::CaseSensitive);
    if (parts.size() < 2)
        return false;
    width = parts[0].toInt();
    height = parts[1].toInt();
    return true;
}

// The index of the camera's media type with that code, when it lists a resolution; else -1.
int mediaWithCode(const devMessage& device, int code) {
    for (size_t j = 0; j < device.vecMediaType.size(); ++j)
        if (device.vecMediaType[j].mediaType == code && !device.vecMediaType[j].resolutions.isEmpty())
            return static_cast<int>(j);
    return -1;
}

// The resolution with the most pixels; the first of equals. The list is not empty.
QString largestResolution(const QStringList& resolutions) {
    QString largest = resolutions.front();
    long largestPixels = -1;
    for (const QString& resolution : resolutions) {
        int width = 0;
        int height = 0;
        if (!splitResolution(resolution, width, height))
            continue;
        const long pixels = long(width) * height;
        if (pixels > largestPixels) {
            largestPixels = pixels;
            largest = resolution;
        }
    }
    return largest;
}

// The first media type of the camera that lists a resolution, or -1.
int firstUsableMedia(const devMessage& device) {
    for (size_t j = 0; j < device.vecMediaType.size(); ++j)
        if (!device.vecMediaType[j].resolutions.isEmpty())
            return static_cast<int>(j);
    return -1;
}

}  // namespace

bool CameraChoice::choose(const std::vector<devMessage>& cameras, int devIndex, int mediaType,
                          const std::optional<QString>& wanted, CameraChoice* choice) {
    int media = mediaWithCode(cameras[static_cast<size_t>(devIndex)], mediaType);
    if (media < 0)
        media = firstUsableMedia(cameras[static_cast<size_t>(devIndex)]);
    const int count = static_cast<int>(cameras.size());
    for (int k = 1; k < count && media < 0; ++k) {
        const int next = (devIndex + k) % count;
        media = firstUsableMedia(cameras[static_cast<size_t>(next)]);
        if (media >= 0)
            devIndex = next;
    }
    if (media < 0)
        return false;
    const mediaMessage& chosenMedia =
        cameras[static_cast<size_t>(devIndex)].vecMediaType[static_cast<size_t>(media)];
    choice->devIndex = devIndex;
    choice->mediaType = chosenMedia.mediaType;
    // The stored resolution may have been another camera's.
    choice->resolution = wanted.value_or(chosenMedia.resolutions.front());
    if (!chosenMedia.resolutions.contains(choice->resolution))
        choice->resolution = largestResolution(chosenMedia.resolutions);
    choice->width = 0;
    choice->height = 0;
    splitResolution(choice->resolution, choice->width, choice->height);
    return true;
}
