// SPDX-License-Identifier: GPL-3.0-or-later
// The exported C functions of optigrab_sim.h: control of the simulated cameras for tests and demos.
#include "optigrab_sim.h"

#include "simulator.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <functional>

#define OPTIGRAB_SIM_EXPORT __attribute__((visibility("default")))

using optigrab::sim::CameraConfig;
using optigrab::sim::Simulator;

namespace {

// Translates public modes; false for an empty list.
bool toModes(const OptigrabSimMode* modes, int count, std::vector<CameraConfig::Mode>* out) {
    if (count <= 0)
        return false;
    out->clear();
    for (int i = 0; i < count; ++i) {
        const OptigrabSimMode& mode = modes[i];
        const std::uint32_t fourcc = mode.mediaType == 1   ? V4L2_PIX_FMT_YUYV
                                     : mode.mediaType == 2 ? V4L2_PIX_FMT_MJPEG
                                     : mode.mediaType == 3 ? V4L2_PIX_FMT_NV12
                                     : mode.mediaType == 4 ? V4L2_PIX_FMT_GREY
                                     : mode.mediaType == 5 ? V4L2_PIX_FMT_H264
                                                           : 0;
        CameraConfig::Mode converted{fourcc, static_cast<int>(mode.width), static_cast<int>(mode.height), {}};
        for (long fps : mode.fps) {
            if (fps == 0)
                break;
            converted.fps.push_back(fps < 0 || fps > 1000 ? -1 : static_cast<int>(fps));
        }
        std::sort(converted.fps.begin(), converted.fps.end(), std::greater<int>());
        out->push_back(converted);
    }
    return true;
}

// Translates the public configuration; false when it describes no camera a V4L2 device could be.
bool toCameraConfig(const OptigrabSimConfig& in, CameraConfig* out) {
    *out = CameraConfig::documentCamera();
    if (in.name)
        out->name = in.name;
    if (in.vendorId)
        out->vendorId = in.vendorId;
    if (in.productId)
        out->productId = in.productId;
    if (in.serial)
        out->serial = in.serial;
    out->frameClock = in.frameClock;
    out->quirks = in.quirks;
    out->usbBandwidth = in.usbBandwidth;
    if (in.modes && !toModes(in.modes, in.modeCount, &out->modes))
        return false;
    if (in.secondNodeModes && !toModes(in.secondNodeModes, in.secondNodeModeCount, &out->secondModes))
        return false;
    return out->valid();
}

}  // namespace

extern "C" {

OPTIGRAB_SIM_EXPORT void optigrabSimDefaultConfig(OptigrabSimConfig* config) {
    if (!config)
        return;
    *config = OptigrabSimConfig{};
    config->frameClock = 0;
}

OPTIGRAB_SIM_EXPORT int optigrabSimPlug(const OptigrabSimConfig* config) {
    CameraConfig converted = CameraConfig::documentCamera();
    if (config && !toCameraConfig(*config, &converted))
        return -1;
    return Simulator::instance().plug(std::move(converted));
}

OPTIGRAB_SIM_EXPORT int optigrabSimPlugFrames(const char* folder, long fps) {
    if (!folder || fps < 0 || fps > 1000)
        return -1;
    return Simulator::instance().plugFrames(folder,
                                            fps == 0 ? Simulator::kRecordedFps : static_cast<int>(fps));
}

OPTIGRAB_SIM_EXPORT int optigrabSimReplug(int id, const OptigrabSimConfig* config, int removalDelayMs) {
    CameraConfig converted = CameraConfig::documentCamera();
    if ((config && !toCameraConfig(*config, &converted)) || removalDelayMs < 0 || removalDelayMs > 60000)
        return -1;
    return Simulator::instance().replug(id, std::move(converted), removalDelayMs);
}

OPTIGRAB_SIM_EXPORT int optigrabSimUnplug(int id) {
    return Simulator::instance().unplug(id) ? 0 : -1;
}

OPTIGRAB_SIM_EXPORT void optigrabSimUnplugAll(void) {
    Simulator::instance().unplugAll();
}

OPTIGRAB_SIM_EXPORT int optigrabSimSettle(int timeoutMs) {
    return timeoutMs >= 0 && Simulator::instance().settle(timeoutMs) ? 0 : -1;
}

OPTIGRAB_SIM_EXPORT int optigrabSimCount(void) {
    return Simulator::instance().count();
}

OPTIGRAB_SIM_EXPORT int optigrabSimOpenStreams(void) {
    return Simulator::instance().openStreams();
}

OPTIGRAB_SIM_EXPORT int optigrabSimInjectFault(int id, int kind, int count) {
    const auto camera = Simulator::instance().camera(id);
    return camera && camera->setFault(kind, count) ? 0 : -1;
}

OPTIGRAB_SIM_EXPORT long optigrabSimFramesDelivered(int id) {
    const auto camera = Simulator::instance().camera(id);
    return camera ? camera->framesDelivered() : -1;
}

OPTIGRAB_SIM_EXPORT int optigrabSimGrantAccess(int id) {
    return Simulator::instance().grantAccess(id) ? 0 : -1;
}

OPTIGRAB_SIM_EXPORT int optigrabSimSetBusy(int id, int busy) {
    const auto camera = Simulator::instance().camera(id);
    if (!camera)
        return -1;
    camera->setBusy(busy != 0);
    return 0;
}

}  // extern "C"
