// SPDX-License-Identifier: GPL-3.0-or-later
// The library context: life cycle, device list, opening and closing, still capture and hot-plug
// handling. Threads: API calls on the caller's threads, hot-plug handling on the event thread.
#include "context.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "devicelist.h"
#include "log.h"
#include "stillwriter.h"

namespace {

// How long a removal waits for its node to leave sysfs: 10 looks, 50 ms apart.
const int kRemovalSettleLooks = 10;
const std::chrono::milliseconds kRemovalSettleStep(50);

}  // namespace

namespace optigrab {

Context& Context::instance() {
    static Context context;
    return context;
}

Context::Context()
    : platforms_{&kernelPlatform(), &simulatedPlatform()},
      events_([this](NodeEvent event, const std::string& path) { handleNodeEvent(event, path); }) {}

Context::~Context() {
    uninit();
}

long Context::init() {
    std::lock_guard<std::mutex> life(lifeMutex_);
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        if (initialised_)
            return CAM_OK;
    }
    // Hot-plug first, so that a camera plugged during the scan is not missed (at worst it is both
    // listed and reported).
    events_.start();
    for (Platform* platform : platforms_)
        platform->startHotplug(&events_);
    std::lock_guard<std::mutex> control(controlMutex_);
    std::vector<NodeInfo> denied;
    std::vector<DeviceInfo> infos = DeviceList::scan(platforms_, {}, &denied);
    reportDenied(denied);
    std::lock_guard<std::mutex> state(stateMutex_);
    devices_.clear();
    for (DeviceInfo& info : infos)
        devices_.emplace_back(std::move(info));
    initialised_ = true;
    return CAM_OK;
}

long Context::uninit() {
    if (CaptureStream::onAnyCaptureThread() || events_.onEventThread())
        return CAM_ERR_BUSY;
    std::lock_guard<std::mutex> life(lifeMutex_);
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        if (!initialised_)
            return CAM_ERR_NOT_INITIALISED;
    }
    // Order matters: no new events, then no event handling (and so no device-change callback), then
    // no capture threads.
    for (Platform* platform : platforms_)
        platform->stopHotplug();
    events_.stop();
    std::lock_guard<std::mutex> control(controlMutex_);
    std::vector<Device> devices;
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        devices.swap(devices_);
        deviceChange_ = nullptr;
        initialised_ = false;
    }
    for (Device& device : devices)
        if (device.stream)
            device.stream->stop();
    devices.clear();  // recordings still running finish their files
    return CAM_OK;
}

long Context::closeAll() {
    if (CaptureStream::onAnyCaptureThread())
        return CAM_ERR_BUSY;
    std::lock_guard<std::mutex> control(controlMutex_);
    std::vector<std::shared_ptr<CaptureStream>> streams;
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        if (!initialised_)
            return CAM_ERR_NOT_INITIALISED;
        for (Device& device : devices_)
            if (device.stream)
                streams.push_back(std::move(device.stream));
    }
    for (auto& stream : streams)
        stream->stop();
    return CAM_OK;
}

long Context::rescan(long* count) {
    if (!count)
        return CAM_ERR_BAD_ARGUMENT;
    if (CaptureStream::onAnyCaptureThread())
        return CAM_ERR_BUSY;
    std::lock_guard<std::mutex> control(controlMutex_);
    std::vector<DeviceInfo> known;
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        if (!initialised_)
            return CAM_ERR_NOT_INITIALISED;
        for (const Device& device : devices_)
            if (!device.gone)
                known.push_back(device.info);
    }
    // The scan opens nodes and may take a while: only the control lock is held meanwhile.
    std::vector<NodeInfo> denied;
    std::vector<DeviceInfo> infos = DeviceList::scan(platforms_, known, &denied);
    reportDenied(denied);

    std::vector<std::shared_ptr<CaptureStream>> orphans;
    std::vector<std::shared_ptr<StreamRecorder>> unfinished;
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        std::vector<Device> fresh;
        for (DeviceInfo& info : infos) {
            Device device(std::move(info));
            auto old = std::find_if(devices_.begin(), devices_.end(), [&](const Device& d) {
                return !d.gone && d.info.platform == device.info.platform &&
                       d.info.node.sameDevice(device.info.node);
            });
            if (old != devices_.end()) {
                // A camera that stays keeps its stream and settings under its new index.
                device.callback = old->callback;
                device.stream = std::move(old->stream);
                device.jpegQuality = old->jpegQuality;
                device.xDpi = old->xDpi;
                device.yDpi = old->yDpi;
                device.hintWidth = old->hintWidth;
                device.hintHeight = old->hintHeight;
                device.previewPart = old->previewPart;
                device.recorder = std::move(old->recorder);
                if (device.stream)
                    device.stream->setDevIndex(long(fresh.size()));
            }
            fresh.push_back(std::move(device));
        }
        for (Device& device : devices_) {
            if (device.stream)
                orphans.push_back(std::move(device.stream));
            if (device.recorder)
                unfinished.push_back(std::move(device.recorder));
        }
        devices_.swap(fresh);
        *count = long(devices_.size());
    }
    for (auto& stream : orphans)
        stream->stop();
    // Recordings of cameras that left the list end here, each file finished.
    unfinished.clear();
    return CAM_OK;
}

long Context::lookup(long devIndex, Device** device) {
    if (!initialised_)
        return CAM_ERR_NOT_INITIALISED;
    if (devIndex < 0 || devIndex >= long(devices_.size()))
        return CAM_ERR_BAD_INDEX;
    Device& found = devices_[std::size_t(devIndex)];
    if (found.gone)
        return CAM_ERR_DEVICE_GONE;
    *device = &found;
    return CAM_OK;
}

long Context::withDevice(long devIndex, const std::function<long(Device&)>& fn) {
    std::lock_guard<std::mutex> state(stateMutex_);
    Device* device = nullptr;
    if (long result = lookup(devIndex, &device))
        return result;
    return fn(*device);
}

long Context::withStream(long devIndex, const std::function<long(Device&, CaptureStream&)>& fn) {
    return withDevice(devIndex, [&](Device& device) -> long {
        if (!device.stream)
            return CAM_ERR_NOT_OPEN;
        return fn(device, *device.stream);
    });
}

std::shared_ptr<CaptureStream> Context::makeStream(const Device& device, long devIndex) {
    // The capture thread reports a vanished camera through the event queue, like a hot-plug event, so
    // that the removal is handled (and reported once) in one place.
    auto stream = std::make_shared<CaptureStream>(device.info, devIndex, [this](const std::string& path) {
        events_.nodeEvent(NodeEvent::Failed, path);
    });
    stream->setCallback(device.callback);
    stream->setSizeHint(device.hintWidth, device.hintHeight);
    stream->setPreviewPart(device.previewPart);
    stream->setAnalyser(device.analyser);
    stream->setSink(device.recorder);
    return stream;
}

long Context::startRecording(long devIndex, bool withSound, const std::string& path) {
    std::lock_guard<std::mutex> control(controlMutex_);
    CaptureStream::Mode mode;
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        Device* device = nullptr;
        if (long result = lookup(devIndex, &device))
            return result;
        if (!device->stream)
            return CAM_ERR_NOT_OPEN;
        if (device->recorder)
            return CAM_ERR_BUSY;
        mode = device->stream->mode();
    }
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !StillWriter::makeFolders(path.substr(0, slash)))
        return CAM_ERR_FILE;
    auto recorder = std::make_shared<StreamRecorder>();
    const long result = recorder->start(path, mode, withSound);
    if (result != CAM_OK && result != CAM_ERR_NO_SOUND)
        return result;
    // The control lock kept rescans and removals out, so the index still names the same device.
    std::lock_guard<std::mutex> state(stateMutex_);
    Device& device = devices_[std::size_t(devIndex)];
    device.recorder = recorder;
    if (device.stream)
        device.stream->setSink(recorder);
    return result;
}

long Context::stopRecording(long devIndex) {
    std::lock_guard<std::mutex> control(controlMutex_);
    std::shared_ptr<StreamRecorder> recorder;
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        if (!initialised_)
            return CAM_ERR_NOT_INITIALISED;
        if (devIndex < 0 || devIndex >= long(devices_.size()))
            return CAM_ERR_BAD_INDEX;
        // An unplugged camera's recording is finished all the same.
        Device& device = devices_[std::size_t(devIndex)];
        if (!device.recorder)
            return CAM_ERR_NOT_OPEN;
        recorder = std::move(device.recorder);
        if (device.stream)
            device.stream->setSink(nullptr);
    }
    return recorder->finish();
}

long Context::open(long devIndex, long code, long width, long height, long fps) {
    if (CaptureStream::onAnyCaptureThread())
        return CAM_ERR_BUSY;
    std::lock_guard<std::mutex> control(controlMutex_);
    std::shared_ptr<CaptureStream> previous, stream;
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        Device* device = nullptr;
        if (long result = lookup(devIndex, &device))
            return result;
        previous = std::move(device->stream);
        stream = makeStream(*device, devIndex);
    }
    if (previous)
        previous->stop();  // reopening: the node must be free before the new mode is set
    if (long result = stream->start(code, width, height, fps))
        return result;

    // The control lock kept rescans and removals out, so the index still names the same device.
    std::lock_guard<std::mutex> state(stateMutex_);
    Device& device = devices_[std::size_t(devIndex)];
    device.stream = stream;
    // A callback or hint registered while the stream started must not be lost.
    stream->setCallback(device.callback);
    stream->setSizeHint(device.hintWidth, device.hintHeight);
    stream->setPicture(device.picture);
    stream->setPreviewPart(device.previewPart);
    return CAM_OK;
}

long Context::close(long devIndex) {
    if (CaptureStream::onAnyCaptureThread())
        return CAM_ERR_BUSY;
    std::lock_guard<std::mutex> control(controlMutex_);
    std::shared_ptr<CaptureStream> stream;
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        Device* device = nullptr;
        if (long result = lookup(devIndex, &device))
            return result;
        stream = std::move(device->stream);
    }
    if (!stream)
        return CAM_ERR_NOT_OPEN;
    stream->stop();
    return CAM_OK;
}

long Context::latestFrame(long devIndex, std::vector<std::uint8_t>& bytes, FrameView* frame,
                          StillSettings* settings) {
    std::shared_ptr<CaptureStream> stream;
    long result = withDevice(devIndex, [&](Device& device) -> long {
        if (!device.stream)
            return CAM_ERR_NOT_OPEN;
        stream = device.stream;
        *settings = {int(device.jpegQuality), int(device.xDpi), int(device.yDpi), device.page,
                     device.picture};
        return CAM_OK;
    });
    // No lock is held while the frame is copied, encoded and written: a frame callback may capture.
    return result ? result : stream->copyLatestFrame(bytes, frame);
}

long Context::capture(long devIndex, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    FrameView frame;
    StillSettings settings;
    if (long result = latestFrame(devIndex, bytes, &frame, &settings))
        return result;
    const int quality = settings.quality, xDpi = settings.xDpi, yDpi = settings.yDpi;
    if (!settings.page.crop)
        return StillWriter::write(frame, settings.picture, path, quality, xDpi, yDpi);
    cv::Mat page;
    bool found = false;
    if (long result = PageStill::page(frame, settings.page, &page, &found))
        return result;
    // The page is cut out of the picture as the camera sees it (where it was found), then turned.
    long result = StillWriter::writeRgb(page.data, page.cols, page.rows, long(page.step), settings.picture,
                                        path, quality, xDpi, yDpi);
    return result == CAM_OK && !found ? long(CAM_ERR_NO_PAGE) : result;
}

long Context::captureBook(long devIndex, const std::string& left, const std::string& right, int* pageMask) {
    std::vector<std::uint8_t> bytes;
    FrameView frame;
    StillSettings settings;
    if (long result = latestFrame(devIndex, bytes, &frame, &settings))
        return result;
    const int quality = settings.quality, xDpi = settings.xDpi, yDpi = settings.yDpi;
    cv::Mat pages[2];
    bool spread = false;
    if (long result = PageStill::spread(frame, settings.page, &pages[0], &pages[1], &spread))
        return result;
    *pageMask = 0;
    const std::string* paths[2] = {&left, &right};
    for (int i = 0; i < (spread ? 2 : 1); ++i) {
        const cv::Mat& p = pages[i];
        if (long result = StillWriter::writeRgb(p.data, p.cols, p.rows, long(p.step), settings.picture,
                                                *paths[i], quality, xDpi, yDpi))
            return result;
        *pageMask |= 1 << i;
    }
    return CAM_OK;
}

long Context::isBook(long devIndex, long* isBook) {
    std::vector<std::uint8_t> bytes;
    FrameView frame;
    StillSettings settings;
    if (long result = latestFrame(devIndex, bytes, &frame, &settings))
        return result;
    *isBook = PageStill::isSpread(frame) ? 1 : 0;
    return CAM_OK;
}

long Context::setDeviceChangeCallback(callBackDevChange callback) {
    std::lock_guard<std::mutex> state(stateMutex_);
    if (!initialised_)
        return CAM_ERR_NOT_INITIALISED;
    deviceChange_ = callback;
    return CAM_OK;
}

// Runs on the event thread.
void Context::handleNodeEvent(NodeEvent event, const std::string& path) {
    if (event == NodeEvent::Added || event == NodeEvent::Changed) {
        // A change (new permissions) announces a camera that could not be opened when it came and
        // is not listed yet.
        if (event == NodeEvent::Changed) {
            std::lock_guard<std::mutex> state(stateMutex_);
            for (const Device& device : devices_)
                if (!device.gone && device.info.node.path == path)
                    return;
        }
        // The index the camera gets in a fresh scan; the caller's list stays as it is until it rescans.
        std::vector<NodeInfo> denied;
        std::vector<std::string> paths = DeviceList::capturePaths(platforms_, &denied);
        reportDenied(denied);
        auto found = std::find(paths.begin(), paths.end(), path);
        if (found != paths.end())
            report(USB_DEVICE_CHANGE_ADD, long(found - paths.begin()));
        return;
    }
    long index = -1;
    std::shared_ptr<CaptureStream> stream;
    {
        std::lock_guard<std::mutex> control(controlMutex_);
        // The kernel reuses node paths: a removal that arrives late may be about an older camera,
        // while the device listed at the path now is still there. The kernel announces a removal
        // before it takes the node out of sysfs, so a listed device that still shows is looked at
        // again for a short while before the event is taken for a late one.
        std::vector<NodeInfo> present;
        if (event == NodeEvent::Removed) {
            for (int look = 0; look < kRemovalSettleLooks; ++look) {
                if (look > 0)
                    std::this_thread::sleep_for(kRemovalSettleStep);
                present = nodesAt(path);
                if (!listedDeviceAmong(path, present))
                    break;
            }
        }
        {
            std::lock_guard<std::mutex> state(stateMutex_);
            for (std::size_t i = 0; i < devices_.size(); ++i) {
                Device& device = devices_[i];
                if (device.gone || device.info.node.path != path)
                    continue;
                // A stream's failure is about the device that has it, not a newer one at the path.
                if (event == NodeEvent::Failed && !device.stream)
                    continue;
                const bool stillThere =
                    std::any_of(present.begin(), present.end(),
                                [&](const NodeInfo& node) { return device.info.node.sameDevice(node); });
                if (stillThere)
                    continue;
                device.gone = true;  // once: a second event for the node finds nothing
                stream = std::move(device.stream);
                index = long(i);
                break;
            }
        }
        // Its thread has ended or ends now: no frame callback follows the report below.
        if (stream)
            stream->stop();
    }
    if (index >= 0)
        report(USB_DEVICE_CHANGE_REMOVE, index);
}

std::vector<NodeInfo> Context::nodesAt(const std::string& path) {
    std::vector<NodeInfo> present;
    for (Platform* platform : platforms_)
        for (NodeInfo& node : platform->nodes())
            if (node.path == path)
                present.push_back(std::move(node));
    return present;
}

bool Context::listedDeviceAmong(const std::string& path, const std::vector<NodeInfo>& present) {
    std::lock_guard<std::mutex> state(stateMutex_);
    for (const Device& device : devices_) {
        if (device.gone || device.info.node.path != path)
            continue;
        for (const NodeInfo& node : present)
            if (device.info.node.sameDevice(node))
                return true;
    }
    return false;
}

// Says once per device (not per node, not per scan) that a camera is there but this user may not
// open it, and how to get access. Any thread; takes the state lock briefly.
void Context::reportDenied(const std::vector<NodeInfo>& denied) {
    for (const NodeInfo& node : denied) {
        const std::string key = node.vendorId + ":" + node.productId + ":" + node.serial + ":" +
                                (node.serial.empty() ? node.path : std::string());
        {
            std::lock_guard<std::mutex> state(stateMutex_);
            if (!deniedReported_.insert(key).second)
                continue;
        }
        logLine(
            "%s: a camera is plugged in, but this user may not open it (permission denied). Add the user "
            "to the \"video\" group (sudo usermod -aG video $USER) and log in again.",
            node.path.c_str());
    }
}

// Runs on the event thread, without locks held, so the callback may call into the library.
void Context::report(UsbDeviceChangeType change, long devIndex) {
    callBackDevChange callback = nullptr;
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        if (!initialised_)
            return;
        callback = deviceChange_;
    }
    if (callback)
        callback(change, devIndex);
}

}  // namespace optigrab
