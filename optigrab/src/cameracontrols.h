// SPDX-License-Identifier: GPL-3.0-or-later
// The controls a camera offers through V4L2 (VIDIOC_QUERY_EXT_CTRL, _QUERYMENU, _G_EXT_CTRLS,
// _S_EXT_CTRLS): listing, reading, setting and one-shot autofocus, on a node opened for the purpose
// (controls work whether another descriptor streams or not). Runs on the caller's thread.
#pragma once

#include <linux/videodev2.h>

#include <vector>

#include "deviceinfo.h"
#include "optigrab.h"
#include "v4l2device.h"

namespace optigrab {

class CameraControls {
public:
    explicit CameraControls(const DeviceInfo& device);

    // Opens the node; a CamResult. Every call below needs it.
    long open();
    // Integer, boolean and menu controls in the driver's order (class headings and buttons left out).
    long list(std::vector<CamControlInfo>* controls);
    long menuName(unsigned id, long value, char* name);
    long get(unsigned id, long* value);
    long set(unsigned id, long value);
    bool canAutoFocus();
    long autoFocusOnce();

private:
    int query(unsigned id, v4l2_query_ext_ctrl* control);  // 0 or an errno value
    int write(unsigned id, long value);                    // S_EXT_CTRLS: 0 or an errno value
    // The library's code for a driver error, with the driver's reason on standard error.
    long failure(const char* action, const char* control, long value, int error);

    DeviceInfo device_;
    V4l2Device v4l2_;
};

}  // namespace optigrab
