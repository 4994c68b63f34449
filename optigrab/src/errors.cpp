// SPDX-License-Identifier: GPL-3.0-or-later
// Result codes: the texts of camErrorText, and the mapping of errno values onto the codes.
#include "optigrab.h"

extern "C" OPTIGRAB_API const char* camErrorText(long code) {
    switch (code) {
        case CAM_OK:
            return "success";
        case CAM_ERR_NOT_INITIALISED:
            return "camera library not initialised";
        case CAM_ERR_BAD_INDEX:
            return "index out of range";
        case CAM_ERR_BAD_ARGUMENT:
            return "invalid argument";
        case CAM_ERR_NOT_SUPPORTED:
            return "not supported";
        case CAM_ERR_BUSY:
            return "device busy";
        case CAM_ERR_DEVICE_GONE:
            return "device unplugged";
        case CAM_ERR_NOT_OPEN:
            return "device not open";
        case CAM_ERR_IO:
            return "device input/output error";
        case CAM_ERR_NO_FRAME:
            return "no frame received yet";
        case CAM_ERR_FILE:
            return "file cannot be written";
        case CAM_ERR_NO_MEMORY:
            return "out of memory";
        case CAM_ERR_INACTIVE:
            return "control inactive or read-only";
        case CAM_ERR_NO_PAGE:
            return "no page found: the picture was written whole";
        case CAM_ERR_NO_SOUND:
            return "no sound input: recording without sound";
        default:
            return "unknown error";
    }
}

#include <cerrno>

#include "errors.h"

namespace optigrab {

long resultFromErrno(int error) {
    switch (error) {
        case 0:
            return CAM_OK;
        case EBUSY:
            return CAM_ERR_BUSY;
        case ENODEV:
        case ENXIO:
        case ENOENT:
            return CAM_ERR_DEVICE_GONE;
        case ENOMEM:
            return CAM_ERR_NO_MEMORY;
        case ENOSPC:
            return CAM_ERR_BUSY;  // USB bandwidth taken (by another camera on the bus)
        default:
            return CAM_ERR_IO;
    }
}

}  // namespace optigrab
