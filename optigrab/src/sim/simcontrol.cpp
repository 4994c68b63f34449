// SPDX-License-Identifier: GPL-3.0-or-later
// The command FIFO of the simulated cameras, so a running program can be driven from a shell.
#include "simcontrol.h"

#include "optigrab_sim.h"
#include "simulator.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace optigrab::sim {

SimControl::SimControl(Simulator& simulator, std::string path)
    : simulator_(simulator), path_(std::move(path)) {}

SimControl::~SimControl() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t written = ::write(wake_, &one, sizeof one);
        thread_.join();
    }
    for (int fd : {fifo_, keepOpen_, wake_})
        if (fd >= 0)
            ::close(fd);
    if (created_)
        ::unlink(path_.c_str());
}

bool SimControl::start() {
    if (::mkfifo(path_.c_str(), 0600) == 0) {
        created_ = true;
    } else {
        struct stat info {};
        if (errno != EEXIST || ::stat(path_.c_str(), &info) != 0 || !S_ISFIFO(info.st_mode)) {
            std::fprintf(stderr, "optigrab: cannot make the simulated camera control FIFO %s\n",
                         path_.c_str());
            return false;
        }
    }
    fifo_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    keepOpen_ = fifo_ >= 0 ? ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC) : -1;
    wake_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fifo_ < 0 || keepOpen_ < 0 || wake_ < 0)
        return false;
    thread_ = std::thread(&SimControl::run, this);
    return true;
}

// Runs on the control thread until the destructor signals wake_.
void SimControl::run() {
    std::string pending;
    char chunk[512];
    for (;;) {
        struct pollfd fds[2] = {{fifo_, POLLIN, 0}, {wake_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        const ssize_t got = ::read(fifo_, chunk, sizeof chunk);
        if (got <= 0)
            continue;
        pending.append(chunk, static_cast<std::size_t>(got));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
            const std::string line = pending.substr(0, end);
            if (line.find_first_not_of(" \t\r") == std::string::npos)
                continue;
            const std::string problem = execute(line);
            if (!problem.empty())
                std::fprintf(stderr, "optigrab: simulated camera control: \"%s\": %s\n",
                             printable(line).c_str(), problem.c_str());
        }
        if (pending.size() > 4096)
            pending.clear();  // no line ending in sight: not a command
    }
}

namespace {

// The camera behaviours a plug command may name after the ids.
struct QuirkName {
    const char* name;
    unsigned flag;
};
const QuirkName kQuirks[] = {
    {"stray-bytes", OPTIGRAB_SIM_QUIRK_STRAY_BYTES},
    {"no-huffman", OPTIGRAB_SIM_QUIRK_NO_HUFFMAN},
    {"padded-lines", OPTIGRAB_SIM_QUIRK_PADDED_LINES},
    {"other-size", OPTIGRAB_SIM_QUIRK_OTHER_SIZE},
    {"stepwise-rates", OPTIGRAB_SIM_QUIRK_STEPWISE_RATES},
    {"garbage-start", OPTIGRAB_SIM_QUIRK_GARBAGE_START},
    {"no-access", OPTIGRAB_SIM_QUIRK_NO_ACCESS},
    {"no-controls", OPTIGRAB_SIM_QUIRK_NO_CONTROLS},
    {"controls-fail", OPTIGRAB_SIM_QUIRK_CONTROLS_FAIL},
    {"no-focus-start", OPTIGRAB_SIM_QUIRK_NO_FOCUS_START},
};

// Node kinds a plug command may give the camera: its only modes ("-only") or a second capture node.
struct NodeKind {
    const char* name;
    CameraConfig::Mode mode;
};
const NodeKind kNodeKinds[] = {
    {"ir", {V4L2_PIX_FMT_GREY, 640, 360, {30, 15}}},
    {"h264", {V4L2_PIX_FMT_H264, 1920, 1080, {30, 15}}},
    {"yuy2", {V4L2_PIX_FMT_YUYV, 640, 480, {30, 15}}},
};

// Applies one "plug" option to config; false when it names nothing known.
bool applyOption(const std::string& option, CameraConfig& config) {
    if (option.rfind("bandwidth=", 0) == 0) {
        char* end = nullptr;
        const long bytes = std::strtol(option.c_str() + 10, &end, 10);
        config.usbBandwidth = bytes;
        return end != option.c_str() + 10 && *end == '\0' && bytes > 0;
    }
    if (option.rfind("serial=", 0) == 0) {  // the same camera plugged in again keeps its serial
        config.serial = option.substr(7);
        return !config.serial.empty();
    }
    for (const QuirkName& quirk : kQuirks)
        if (option == quirk.name) {
            config.quirks |= quirk.flag;
            return true;
        }
    for (const NodeKind& kind : kNodeKinds) {
        if (option == std::string(kind.name) + "-only") {
            config.modes = {kind.mode};
            return true;
        }
        if (option == std::string(kind.name) + "-node") {
            config.secondModes = {kind.mode};
            return true;
        }
    }
    return false;
}

}  // namespace

std::string SimControl::execute(const std::string& line) {
    static const char* const kUnknown =
        "not a command (plug, plug NAME VID PID [OPTION...], plug-frames DIR, unplug ID, replug ID DELAY_MS, "
        "fault ID KIND COUNT, busy ID 1|0, grant ID)";
    std::istringstream in(line);
    std::string command;
    in >> command;
    std::string extra;
    if (command == "plug") {
        CameraConfig config = CameraConfig::documentCamera();
        std::string name, vendor, product;
        if (in >> name) {
            if (!(in >> vendor >> product))
                return "plug takes no arguments or NAME VID PID";
            config.name = name;
            config.vendorId = vendor;
            config.productId = product;
        }
        while (in >> extra)
            if (!applyOption(extra, config))
                return "unknown plug option " + extra;
        if (!config.valid())
            return "VID and PID must be four lower-case hexadecimal digits each";
        simulator_.plug(config);
        return {};
    }
    if (command == "plug-frames") {
        std::string folder;
        std::getline(in >> std::ws, folder);
        while (!folder.empty() && (folder.back() == ' ' || folder.back() == '\t' || folder.back() == '\r'))
            folder.pop_back();
        if (folder.empty())
            return "plug-frames takes a folder";
        return simulator_.plugFrames(folder, Simulator::kRecordedFps) >= 0
                   ? std::string()
                   : "no camera can be made from the JPEG files of " + folder;
    }
    int id = -1;
    if (command == "unplug") {
        if (!(in >> id) || in >> extra)
            return "unplug takes one camera id";
        return simulator_.unplug(id) ? std::string() : noSuchCamera(id);
    }
    if (command == "fault") {
        int count = 0;
        std::string kind;
        if (!(in >> id >> kind >> count) || in >> extra)
            return "fault takes ID KIND COUNT";
        const int code = kind == "corrupt"       ? OPTIGRAB_SIM_FAULT_CORRUPT
                         : kind == "truncated"   ? OPTIGRAB_SIM_FAULT_TRUNCATED
                         : kind == "error"       ? OPTIGRAB_SIM_FAULT_ERROR
                         : kind == "stall"       ? OPTIGRAB_SIM_FAULT_STALL
                         : kind == "empty"       ? OPTIGRAB_SIM_FAULT_EMPTY
                         : kind == "usb-stall"   ? OPTIGRAB_SIM_FAULT_USB_STALL
                         : kind == "queue-error" ? OPTIGRAB_SIM_FAULT_QUEUE_ERROR
                         : kind == "transient"   ? OPTIGRAB_SIM_FAULT_TRANSIENT
                                                 : 0;
        if (code == 0)
            return "fault KIND must be corrupt, truncated, error, stall, empty, usb-stall, queue-error or "
                   "transient";
        const auto camera = simulator_.camera(id);
        if (!camera)
            return noSuchCamera(id);
        return camera->setFault(code, count) ? std::string() : "fault COUNT must not be negative";
    }
    if (command == "replug") {
        int delay = -1;
        if (!(in >> id >> delay) || in >> extra || delay < 0 || delay > 60000)
            return "replug takes ID DELAY_MS (0 to 60000)";
        return simulator_.replug(id, CameraConfig::documentCamera(), delay) >= 0 ? std::string()
                                                                                 : noSuchCamera(id);
    }
    if (command == "grant") {
        if (!(in >> id) || in >> extra)
            return "grant takes one camera id";
        return simulator_.grantAccess(id) ? std::string() : noSuchCamera(id);
    }
    if (command == "busy") {
        int busy = 0;
        if (!(in >> id >> busy) || in >> extra)
            return "busy takes ID 1|0";
        const auto camera = simulator_.camera(id);
        if (!camera)
            return noSuchCamera(id);
        camera->setBusy(busy != 0);
        return {};
    }
    return kUnknown;
}

std::string SimControl::noSuchCamera(int id) const {
    return "no simulated camera has id " + std::to_string(id) + " (" + std::to_string(simulator_.count()) +
           " plugged)";
}

std::string printable(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c >= 0x7f) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            out += escape;
        } else {
            out += char(c);
        }
    }
    return out;
}

}  // namespace optigrab::sim
