// SPDX-License-Identifier: GPL-3.0-or-later
// The exported camera-control functions of optigrab.h. Each opens the device's node for the call,
// without holding the library's locks (opening a camera may take a while).
#include <cstring>
#include <vector>

#include "cameracontrols.h"
#include "context.h"
#include "optigrab.h"

using namespace optigrab;

namespace {

// Runs fn with the controls of the device at devIndex, opened.
template <typename Fn>
long withControls(long devIndex, Fn fn) {
    DeviceInfo info;
    if (long result = Context::instance().withDevice(devIndex, [&](Device& d) -> long {
            info = d.info;
            return CAM_OK;
        }))
        return result;
    CameraControls controls(info);
    if (long result = controls.open())
        return result;
    return fn(controls);
}

}  // namespace

extern "C" {

OPTIGRAB_API long camGetControlCount(long devIndex, long* count) {
    if (!count)
        return CAM_ERR_BAD_ARGUMENT;
    std::vector<CamControlInfo> list;
    if (long result = withControls(devIndex, [&](CameraControls& c) { return c.list(&list); }))
        return result;
    return Context::instance().withDevice(devIndex, [&](Device& d) -> long {
        d.controls = list;
        *count = long(list.size());
        return CAM_OK;
    });
}

OPTIGRAB_API long camGetControlInfo(long devIndex, long index, CamControlInfo* info) {
    if (!info)
        return CAM_ERR_BAD_ARGUMENT;
    return Context::instance().withDevice(devIndex, [&](Device& d) -> long {
        if (index < 0 || index >= long(d.controls.size()))
            return CAM_ERR_BAD_INDEX;
        *info = d.controls[std::size_t(index)];
        return CAM_OK;
    });
}

OPTIGRAB_API long camGetControlMenuName(long devIndex, unsigned int id, long value, char* name) {
    if (!name)
        return CAM_ERR_BAD_ARGUMENT;
    return withControls(devIndex, [&](CameraControls& c) { return c.menuName(id, value, name); });
}

OPTIGRAB_API long camGetControl(long devIndex, unsigned int id, long* value) {
    if (!value)
        return CAM_ERR_BAD_ARGUMENT;
    return withControls(devIndex, [&](CameraControls& c) { return c.get(id, value); });
}

OPTIGRAB_API long camSetControl(long devIndex, unsigned int id, long value) {
    return withControls(devIndex, [&](CameraControls& c) { return c.set(id, value); });
}

OPTIGRAB_API long camAutoFocusSupport(long devIndex, long* supported) {
    if (!supported)
        return CAM_ERR_BAD_ARGUMENT;
    return withControls(devIndex, [&](CameraControls& c) -> long {
        *supported = c.canAutoFocus() ? 1 : 0;
        return CAM_OK;
    });
}

OPTIGRAB_API long camAutoFocusOnce(long devIndex) {
    return withControls(devIndex, [&](CameraControls& c) { return c.autoFocusOnce(); });
}

}  // extern "C"
