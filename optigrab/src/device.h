// SPDX-License-Identifier: GPL-3.0-or-later
// One entry of the device list: what the scan found, whether the camera has since gone, and the
// caller's settings and open stream for it. Owned by the Context, read and changed under its state lock.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "capturestream.h"
#include "deviceinfo.h"
#include "imaging/frameanalyser.h"
#include "imaging/pagestill.h"
#include "imaging/picturesettings.h"
#include "optigrab.h"
#include "recording/streamrecorder.h"

namespace optigrab {

struct Device {
    explicit Device(DeviceInfo scanned) : info(std::move(scanned)) {}

    DeviceInfo info;
    bool gone = false;  // unplugged since the scan: calls answer CAM_ERR_DEVICE_GONE
    callBackPreviewImage callback = nullptr;
    std::shared_ptr<CaptureStream> stream;     // set while open
    std::shared_ptr<StreamRecorder> recorder;  // set while its stream is recorded (also once gone)
    long jpegQuality = 90;
    long xDpi = 96;
    long yDpi = 96;
    long hintWidth = 0;  // largest useful preview size; 0, 0 = full size
    long hintHeight = 0;
    PictureSettings picture;               // orientation and look of previews and stills
    std::vector<CamControlInfo> controls;  // the camera's controls as camGetControlCount last read them
    FramePart previewPart;                 // the part of the camera's picture the preview shows
    PageOptions page;                      // cropping of stills
    // Page finding and automatic capture on the live frames; shared with each stream of the device.
    std::shared_ptr<FrameAnalyser> analyser = std::make_shared<FrameAnalyser>();
};

}  // namespace optigrab
