// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the picture of a simulated document camera: a printed page seen from above, in packed RGB.
#pragma once

#include <cstddef>
#include <cstdint>

namespace optigrab::sim {

// The page fills the whole frame; every position scales with the frame size, so the picture looks
// the same at 640x480 and at 3840x2160. Tests rely on this layout (W, H = frame width, height):
//  - x < 0.10 W and y < 0.10 H is blank paper (off-white, light after noise and compression);
//  - the title bar, x in [0.10 W, 0.90 W) and y in [0.10 H, 0.16 H), is solid dark blue-grey; its left
//    half, x in [0.10 W, 0.50 W), carries nothing else; the frame counter is drawn in white digits in
//    its right part;
//  - lines of dark text marks run between y = 0.22 H and 0.80 H, x in [0.10 W, 0.90 W);
//  - a red disc (radius 0.05 H) moves on y = 0.88 H across the cycle of frames;
//  - every pixel carries mild sensor noise, so an MJPEG frame compresses like a real camera's.
// Runs on whatever thread asks for a frame; the class holds no state besides its settings.
class PageRenderer {
public:
    PageRenderer(int width, int height);

    // Draws frame `index` of a cycle of `count` frames into rgb (3 * width * height bytes).
    void render(std::uint8_t* rgb, int index, int count) const;

    int width() const { return width_; }
    int height() const { return height_; }

private:
    void fillRect(std::uint8_t* rgb, int x0, int y0, int x1, int y1, const std::uint8_t colour[3]) const;
    void drawText(std::uint8_t* rgb) const;
    void drawDisc(std::uint8_t* rgb, double cx, double cy, double radius) const;
    void drawNumber(std::uint8_t* rgb, int value, int digits, int right, int top, int pixel) const;
    void addNoise(std::uint8_t* rgb, std::uint64_t seed) const;

    int width_;
    int height_;
};

}  // namespace optigrab::sim
