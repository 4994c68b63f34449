// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a still picture: a camera frame decoded at full resolution, turned and given its look, encoded
// as a JFIF JPEG with the chosen quality and DPI, put in place atomically; or the camera's own JPEG
// turned without re-encoding. Runs on the thread that asked for the capture.
#pragma once

#include <string>

#include "frameconverter.h"
#include "imaging/picturesettings.h"

namespace optigrab {

class StillWriter {
public:
    // Returns a CamResult: CAM_OK with the file in place, or an error with no file and no temporary
    // file left behind.
    // The picture is turned and given its look (PictureSettings) before it is encoded; the camera's
    // own JPEG is turned without re-encoding where it can be.
    static long write(const FrameView& frame, const PictureSettings& picture, const std::string& path,
                      int quality, int xDpi, int yDpi);
    // The same for a picture already in packed RGB888 rows of pitch bytes, as the camera sees it.
    static long writeRgb(const std::uint8_t* rgb, long width, long height, long pitch,
                         const PictureSettings& picture, const std::string& path, int quality, int xDpi,
                         int yDpi);
    // Creates folder and the folders above it that are missing; true when it exists afterwards.
    static bool makeFolders(const std::string& folder);

private:
    // The camera's JPEG turned in the DCT domain, into *jpeg (tjFree it); false when its size is not a
    // whole number of blocks, or it does not transform cleanly.
    static bool turnLosslessly(const FrameView& frame, const PictureSettings& picture, unsigned char** jpeg,
                               unsigned long* size);
    static long writeAtomically(const std::string& path, const unsigned char* data, unsigned long size);
};

}  // namespace optigrab
