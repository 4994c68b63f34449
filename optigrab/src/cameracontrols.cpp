// SPDX-License-Identifier: GPL-3.0-or-later
// Camera controls through the V4L2 extended-control calls.
#include "cameracontrols.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "errors.h"
#include "log.h"

namespace optigrab {

namespace {

// How long continuous focus stays on for a one-shot focus of a camera without a focus-start button:
// UVC cameras settle on a page in about a second.
const std::chrono::milliseconds kFocusPulse(1500);

long controlResult(int error) {
    switch (error) {
        case EINVAL:
        case ERANGE:
            return CAM_ERR_BAD_ARGUMENT;
        case EACCES:
        case EPERM:
            return CAM_ERR_INACTIVE;
        default:
            return resultFromErrno(error);
    }
}

bool listed(const v4l2_query_ext_ctrl& control) {
    return (control.type == V4L2_CTRL_TYPE_INTEGER || control.type == V4L2_CTRL_TYPE_BOOLEAN ||
            control.type == V4L2_CTRL_TYPE_MENU) &&
           !(control.flags & V4L2_CTRL_FLAG_DISABLED);
}

}  // namespace

CameraControls::CameraControls(const DeviceInfo& device) : device_(device), v4l2_(*device.platform) {}

long CameraControls::open() {
    const int error = v4l2_.open(device_.node.path);
    return error ? resultFromErrno(error) : long(CAM_OK);
}

int CameraControls::query(unsigned id, v4l2_query_ext_ctrl* control) {
    std::memset(control, 0, sizeof *control);
    control->id = id;
    return v4l2_.xioctl(VIDIOC_QUERY_EXT_CTRL, control);
}

int CameraControls::write(unsigned id, long value) {
    v4l2_ext_control control{};
    control.id = id;
    control.value = std::int32_t(value);
    v4l2_ext_controls controls{};
    controls.which = V4L2_CTRL_WHICH_CUR_VAL;
    controls.count = 1;
    controls.controls = &control;
    return v4l2_.xioctl(VIDIOC_S_EXT_CTRLS, &controls);
}

long CameraControls::failure(const char* action, const char* control, long value, int error) {
    logLine("%s (%s): cannot %s %s (%ld): %s", device_.card.c_str(), device_.node.path.c_str(), action,
            control, value, std::strerror(error));
    return controlResult(error);
}

long CameraControls::list(std::vector<CamControlInfo>* controls) {
    controls->clear();
    v4l2_query_ext_ctrl control{};
    unsigned id = 0;
    for (;;) {
        const int error = query(id | V4L2_CTRL_FLAG_NEXT_CTRL, &control);
        if (error == EINVAL || error == ENOTTY)
            return CAM_OK;  // the end of the list, or a camera without controls
        if (error)
            return failure("list", "controls", 0, error);
        id = control.id;
        if (!listed(control))
            continue;
        CamControlInfo info{};
        info.id = control.id;
        std::memcpy(info.name, control.name, sizeof info.name - 1);  // info is zeroed: terminated
        info.type = control.type == V4L2_CTRL_TYPE_INTEGER
                        ? CAM_CONTROL_INTEGER
                        : (control.type == V4L2_CTRL_TYPE_BOOLEAN ? CAM_CONTROL_BOOLEAN : CAM_CONTROL_MENU);
        info.minimum = long(control.minimum);
        info.maximum = long(control.maximum);
        info.step = long(control.step);
        info.defaultValue = long(control.default_value);
        info.value = info.defaultValue;
        get(control.id, &info.value);  // a write-only control keeps its default
        info.flags = (control.flags & V4L2_CTRL_FLAG_INACTIVE ? CAM_CONTROL_FLAG_INACTIVE : 0) |
                     (control.flags & V4L2_CTRL_FLAG_READ_ONLY ? CAM_CONTROL_FLAG_READ_ONLY : 0);
        controls->push_back(info);
    }
}

long CameraControls::menuName(unsigned id, long value, char* name) {
    v4l2_querymenu entry{};
    entry.id = id;
    entry.index = std::uint32_t(value);
    if (value < 0)
        return CAM_ERR_BAD_ARGUMENT;
    if (const int error = v4l2_.xioctl(VIDIOC_QUERYMENU, &entry))
        return controlResult(error);
    std::memcpy(name, entry.name, sizeof entry.name);
    name[sizeof entry.name - 1] = '\0';
    return CAM_OK;
}

long CameraControls::get(unsigned id, long* value) {
    v4l2_ext_control control{};
    control.id = id;
    v4l2_ext_controls controls{};
    controls.which = V4L2_CTRL_WHICH_CUR_VAL;
    controls.count = 1;
    controls.controls = &control;
    if (const int error = v4l2_.xioctl(VIDIOC_G_EXT_CTRLS, &controls))
        return controlResult(error);
    *value = control.value;
    return CAM_OK;
}

long CameraControls::set(unsigned id, long value) {
    v4l2_query_ext_ctrl control{};
    if (const int error = query(id, &control))
        return controlResult(error);
    if (!listed(control))
        return CAM_ERR_BAD_ARGUMENT;
    // The driver would take an inactive control's value and do nothing with it, or clamp a value out of
    // range: neither is what the caller asked for.
    if (control.flags & (V4L2_CTRL_FLAG_INACTIVE | V4L2_CTRL_FLAG_READ_ONLY))
        return CAM_ERR_INACTIVE;
    if (value < control.minimum || value > control.maximum)
        return CAM_ERR_BAD_ARGUMENT;
    if (const int error = write(id, value))
        return failure("set", control.name, value, error);
    return CAM_OK;
}

bool CameraControls::canAutoFocus() {
    v4l2_query_ext_ctrl control{};
    for (unsigned id : {unsigned(V4L2_CID_AUTO_FOCUS_START), unsigned(V4L2_CID_FOCUS_AUTO)})
        if (query(id, &control) == 0 && !(control.flags & V4L2_CTRL_FLAG_DISABLED))
            return true;
    return false;
}

long CameraControls::autoFocusOnce() {
    v4l2_query_ext_ctrl control{};
    if (query(V4L2_CID_AUTO_FOCUS_START, &control) == 0 && !(control.flags & V4L2_CTRL_FLAG_DISABLED)) {
        if (const int error = write(V4L2_CID_AUTO_FOCUS_START, 1))
            return failure("start", "autofocus", 1, error);
        return CAM_OK;
    }
    long continuous = 0;
    if (query(V4L2_CID_FOCUS_AUTO, &control) != 0 || get(V4L2_CID_FOCUS_AUTO, &continuous) != CAM_OK)
        return CAM_ERR_NOT_SUPPORTED;
    if (continuous)
        return CAM_OK;  // it focuses all the time already
    if (const int error = write(V4L2_CID_FOCUS_AUTO, 1))
        return failure("set", control.name, 1, error);
    std::this_thread::sleep_for(kFocusPulse);
    if (const int error = write(V4L2_CID_FOCUS_AUTO, 0))
        return failure("set", control.name, 0, error);
    return CAM_OK;
}

}  // namespace optigrab
