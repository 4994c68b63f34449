// SPDX-License-Identifier: GPL-3.0-or-later
// The library's one global object: the platforms, the device list, the open streams, the registered
// callbacks and the event thread. The exported cam* functions (api.cpp) are thin wrappers around it.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "device.h"
#include "eventqueue.h"
#include "optigrab.h"
#include "platform.h"

namespace optigrab {

class Context {
public:
    // The only instance. It is created on first use, after the platforms it refers to, so that it is
    // destroyed before them; its destructor shuts down a library the program forgot to shut down.
    static Context& instance();

    long init();
    long uninit();
    long closeAll();
    long rescan(long* count);
    long open(long devIndex, long code, long width, long height, long fps);
    long close(long devIndex);
    long capture(long devIndex, const std::string& path);
    long captureBook(long devIndex, const std::string& left, const std::string& right, int* pageMask);
    long isBook(long devIndex, long* isBook);
    long setDeviceChangeCallback(callBackDevChange callback);
    long startRecording(long devIndex, bool withSound, const std::string& path);
    long stopRecording(long devIndex);

    // Runs fn on the device under the state lock after checking initialisation and index (gone
    // devices answer CAM_ERR_DEVICE_GONE). fn must be quick and must not call back into the Context.
    long withDevice(long devIndex, const std::function<long(Device&)>& fn);
    // The same for the device's open stream: CAM_ERR_NOT_OPEN when it has none.
    long withStream(long devIndex, const std::function<long(Device&, CaptureStream&)>& fn);

private:
    Context();
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    long lookup(long devIndex, Device** device);  // state lock held
    // What a still is written with, as the device's settings were when it was asked for.
    struct StillSettings {
        int quality = 0, xDpi = 0, yDpi = 0;
        PageOptions page;
        PictureSettings picture;
    };
    // Copies the latest good frame of an open device and its still settings at that moment.
    long latestFrame(long devIndex, std::vector<std::uint8_t>& bytes, FrameView* frame,
                     StillSettings* settings);
    void handleNodeEvent(NodeEvent event, const std::string& path);  // event thread
    void report(UsbDeviceChangeType change, long devIndex);          // event thread
    void reportDenied(const std::vector<NodeInfo>& denied);
    // The nodes the platforms list at path now. Called with controlMutex_ held.
    std::vector<NodeInfo> nodesAt(const std::string& path);
    // Whether a listed, not yet gone device at path is one of present; takes the state lock.
    bool listedDeviceAmong(const std::string& path, const std::vector<NodeInfo>& present);
    std::shared_ptr<CaptureStream> makeStream(const Device& device, long devIndex);

    std::vector<Platform*> platforms_;  // kernel first, then simulated; fixed at construction

    std::mutex lifeMutex_;     // serialises init and uninit
    std::mutex controlMutex_;  // serialises open, close, rescans and hot-plug handling; held while a
                               // capture thread is joined (capture threads never take it)
    std::mutex stateMutex_;    // guards initialised_, devices_, deviceChange_, deniedReported_; held only
                               // briefly, never while joining a thread or running a callback
    bool initialised_ = false;
    std::vector<Device> devices_;
    callBackDevChange deviceChange_ = nullptr;
    std::set<std::string> deniedReported_;  // devices said to be inaccessible (vendor:product:serial)
    EventQueue events_;
};

}  // namespace optigrab
