// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of one simulated UVC document camera (brightness, exposure, focus, power-line
// frequency ...), answering the kernel's control ioctls, and what they do to the camera's picture.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

namespace optigrab::sim {

class SimControls {
public:
    // The controls a camera with these OPTIGRAB_SIM_QUIRK_* flags has: none, failing ones (EIO), or
    // no one-shot focus button.
    explicit SimControls(unsigned quirks);

    // VIDIOC_QUERY_EXT_CTRL, _QUERYMENU, _G_EXT_CTRLS, _S_EXT_CTRLS: 0 or a negative errno.
    // Other requests answer 1 (not a control request).
    int ioctl(unsigned long request, void* arg);

    // Changes a frame (MJPEG, YUYV or NV12, packed) as the controls' values make the picture look:
    // levels from brightness, contrast, gamma, exposure and gain, colour from saturation and a white
    // balance set by hand (a higher temperature gives a warmer picture), softer or crisper edges from
    // sharpness, blur from a lens out of focus, moving bands from a power-line frequency that does
    // not match the room's 50 Hz light. False, with out untouched, when all of them are neutral: the frame is
    // shown as it is. Called on the frame clock thread.
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
        double warmth = 0;      // added to red chroma, taken from blue chroma
        double sharpening = 0;  // unsharp-mask amount; negative softens
        int blur = 1;           // downscale factor of the focus blur; 1 = sharp
        bool bands = false;
        bool neutral() const;
    };

    Control* find(std::uint32_t id);
    std::int32_t valueOf(std::uint32_t id, std::int32_t fallback) const;  // guarded by mutex_
    std::uint32_t flagsOf(const Control& control) const;                  // guarded by mutex_
    // Where the lens is: while continuous focus is on it moves from where it was to the page over
    // a while, as real cameras hunt; else it stays where it was set. Guarded by mutex_.
    std::int32_t lensPosition() const;
    void setValue(Control& control, std::int32_t value);  // guarded by mutex_
    int query(void* arg);
    int queryMenu(void* arg);
    int get(void* arg);
    int set(void* arg);
    Look look() const;
    void adjustLuma(std::uint8_t* luma, int width, int height, int stride, int step, const Look& look,
                    std::uint32_t sequence);
    static void adjustChroma(std::uint8_t* u, std::uint8_t* v, std::size_t count, std::size_t step,
                             const Look& look);

    const bool failing_;
    mutable std::mutex mutex_;       // guards controls_' values
    std::vector<Control> controls_;  // ordered by id, as NEXT_CTRL walks them
    std::int32_t lensFrom_;          // where continuous focus started from, and when
    std::chrono::steady_clock::time_point focusingSince_;
    std::vector<std::uint8_t> planes_, small_;  // frame clock thread: decoded planes, blur buffer
};

}  // namespace optigrab::sim
