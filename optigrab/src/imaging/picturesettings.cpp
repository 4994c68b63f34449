// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing and packing of a device's picture settings.
#include "picturesettings.h"

#include "optigrab.h"

namespace optigrab {

bool PictureSettings::setRotateMode(long mode) {
    const long flags = CAM_ROTATE_MIRROR | CAM_ROTATE_FLIP;
    const long degrees = mode & ~flags;
    if (mode < 0 || (degrees != 0 && degrees != 90 && degrees != 180 && degrees != 270))
        return false;
    quarterTurns = int(degrees / 90);
    mirrored = (mode & CAM_ROTATE_MIRROR) != 0;
    // Upside down is a mirror and half a turn.
    if (mode & CAM_ROTATE_FLIP) {
        mirrored = !mirrored;
        quarterTurns = (quarterTurns + 2) % 4;
    }
    return true;
}

bool PictureSettings::setLook(long value) {
    if (value < CAM_LOOK_COLOUR || value > CAM_LOOK_BLACK_WHITE)
        return false;
    look = static_cast<Look>(value);
    return true;
}

std::uint32_t PictureSettings::pack() const {
    return std::uint32_t(quarterTurns) | (mirrored ? 4u : 0u) | std::uint32_t(look) << 3;
}

PictureSettings PictureSettings::unpack(std::uint32_t packed) {
    PictureSettings settings;
    settings.quarterTurns = int(packed & 3u);
    settings.mirrored = (packed & 4u) != 0;
    settings.look = static_cast<Look>((packed >> 3) & 3u);
    return settings;
}

}  // namespace optigrab
