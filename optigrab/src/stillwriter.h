// Writes a still picture: a camera frame decoded at full resolution, encoded as a JFIF JPEG with the
// chosen quality and DPI, put in place atomically. Runs on the thread that asked for the capture.
#pragma once

#include <string>

#include "frameconverter.h"

namespace optigrab {

class StillWriter {
public:
    // Returns a CamResult: CAM_OK with the file in place, or an error with no file and no temporary
    // file left behind.
    static long write(const FrameView& frame, const std::string& path, int quality, int xDpi, int yDpi);
    // The same for a picture already in packed RGB888 rows of pitch bytes.
    static long writeRgb(const std::uint8_t* rgb, long width, long height, long pitch,
                         const std::string& path, int quality, int xDpi, int yDpi);

private:
    static bool makeFolders(const std::string& folder);
    static long writeAtomically(const std::string& path, const unsigned char* data, unsigned long size);
};

}  // namespace optigrab
