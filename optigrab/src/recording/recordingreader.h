// SPDX-License-Identifier: GPL-3.0-or-later
// The first picture and the length of a recording, read with libavformat and libavcodec.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace optigrab {

struct RecordingPreview {
    std::vector<std::uint8_t> pixels;  // 32-bit blue, green, red, unused; packed rows
    long width = 0, height = 0;
    double seconds = 0;  // 0 when the file does not say
};

// Decodes the first picture of the video file at path, scaled into maxWidth x maxHeight with its shape
// kept. False when the file holds no picture that decodes.
bool readRecordingPreview(const std::string& path, long maxWidth, long maxHeight, RecordingPreview* preview);

}  // namespace optigrab
