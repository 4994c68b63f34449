// SPDX-License-Identifier: GPL-3.0-or-later
// Which camera, media type and resolution are opened: what was chosen before where the cameras still
// offer it, else the nearest that they do.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "camerarecords.h"

class CameraChoice {
public:
    int devIndex = 0;
    int mediaType = 0;   // the media-type code
    QString resolution;  // "W x H"
    int width = 0;
    int height = 0;

    // The camera at devIndex in the media type with the code mediaType, at the wanted resolution
    // (none: the media type's first). A camera that does not offer the media type (or lists no
    // resolution for it) opens in its first usable one, and a camera with none (a second node of a
    // camera may offer only formats that cannot be shown) gives way to the next camera that has one;
    // a resolution the media type does not offer gives way to its largest. False when no camera
    // lists a media type with a resolution. devIndex is below the number of cameras.
    static bool choose(const std::vector<devMessage>& cameras, int devIndex, int mediaType,
                       const std::optional<QString>& wanted, CameraChoice* choice);
};
