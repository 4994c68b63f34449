// The controls of one simulated UVC document camera (brightness, exposure, focus, power-line
// frequency ...), answering the kernel's control ioctls, and what they do to the camera's picture.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace optigrab::sim {

class SimControls {
public:
    // present: the camera has controls; failing: setting them answers EIO.
    SimControls(bool present, bool failing);

    // VIDIOC_QUERY_EXT_CTRL, _QUERYMENU, _G_EXT_CTRLS, _S_EXT_CTRLS: 0 or a negative errno.
    // Other requests answer 1 (not a control request).
    int ioctl(unsigned long request, void* arg);

    // Changes a frame (MJPEG, YUYV or NV12, packed) as the controls' values make the picture look:
    // levels from brightness, contrast, gamma, exposure and gain, colour from saturation, blur from a
    // lens out of focus, moving bands from a power-line frequency that does not match the room's
    // 50 Hz light. False, with out untouched, when all of them are neutral: the frame is shown as it
    // is. Called on the frame clock thread.
    bool render(std::uint32_t fourcc, int width, int height, std::uint32_t sequence,
                const std::vector<std::uint8_t>& frame, std::vector<std::uint8_t>& out);

private:
    struct Control {
        std::uint32_t id;
        const char* name;
        std::uint32_t type;  // V4L2_CTRL_TYPE_*
        std::int32_t minimum, maximum, step, defaultValue;
        std::int32_t value;
        std::vector<const char*> menu;  // names from minimum on; nullptr = a gap
    };
    struct Look {  // what render needs, read under the lock
        double gain = 1, contrast = 1, offset = 0, gamma = 1, saturation = 1;
        int blur = 1;  // downscale factor of the focus blur; 1 = sharp
        bool bands = false;
        bool neutral() const;
    };

    Control* find(std::uint32_t id);
    std::uint32_t flagsOf(const Control& control) const;  // guarded by mutex_
    int query(void* arg);
    int queryMenu(void* arg);
    int get(void* arg);
    int set(void* arg);
    Look look() const;
    void adjustLuma(std::uint8_t* luma, int width, int height, int stride, int step, const Look& look,
                    std::uint32_t sequence);

    const bool failing_;
    mutable std::mutex mutex_;                  // guards controls_' values
    std::vector<Control> controls_;             // ordered by id, as NEXT_CTRL walks them
    std::vector<std::uint8_t> planes_, small_;  // frame clock thread: decoded planes, blur buffer
};

}  // namespace optigrab::sim
