// SPDX-License-Identifier: GPL-3.0-or-later
// How a device's pictures are shown and kept: orientation (camSetImageRotateMode) and look
// (camSetImageColorStyle), packed into one word so that capture threads read a pair that never tears.
#pragma once

#include <cstdint>

namespace optigrab {

enum class Look { Colour = 0, Grey = 1, Document = 2, BlackWhite = 3 };

struct PictureSettings {
    int quarterTurns = 0;   // clockwise, 0-3, applied after the mirror
    bool mirrored = false;  // left and right exchanged
    Look look = Look::Colour;

    // Parses a CamRotateMode value into orientation (the look is kept); false for an unknown value.
    bool setRotateMode(long mode);
    // False for an unknown CamLook value.
    bool setLook(long look);

    bool plain() const { return quarterTurns == 0 && !mirrored && look == Look::Colour; }
    bool turnedSideways() const { return quarterTurns % 2 == 1; }

    std::uint32_t pack() const;
    static PictureSettings unpack(std::uint32_t packed);
};

}  // namespace optigrab
