// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the picture of a simulated document camera: a printed page seen from above, in packed RGB.
#include "pagerenderer.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace optigrab::sim {

namespace {

constexpr std::uint8_t kInk[3] = {34, 34, 40};
constexpr std::uint8_t kTitleBar[3] = {38, 44, 60};
constexpr std::uint8_t kCounter[3] = {250, 250, 250};
constexpr std::uint8_t kMarginRule[3] = {232, 170, 170};
constexpr std::uint8_t kDisc[3] = {205, 36, 36};

// 5x7 digits, one byte a row, bit 4 the leftmost column.
constexpr std::uint8_t kDigits[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

// Small deterministic generator: the same page every run, different noise every frame.
struct XorShift {
    std::uint64_t state;
    std::uint64_t next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 0x2545F4914F6CDD1DULL;
    }
    int below(int n) { return static_cast<int>((next() >> 33) % static_cast<std::uint64_t>(n)); }
};

// Maps a random byte to a roughly Gaussian offset (sigma about 3.8 levels): sensor noise at the
// strength that makes a 4K page about 1.1 MB at JPEG quality 85, like the cameras we measured.
std::array<int, 256> makeNoiseTable() {
    std::array<int, 256> table{};
    constexpr double sigma = 3.8;
    for (int i = 0; i < 256; ++i) {
        const double p = (i + 0.5) / 256.0;
        // Inverse of the normal distribution, rational approximation (Abramowitz-Stegun 26.2.23).
        const double q = p < 0.5 ? p : 1.0 - p;
        const double t = std::sqrt(-2.0 * std::log(q));
        double z = t - (2.515517 + 0.802853 * t + 0.010328 * t * t) /
                           (1.0 + 1.432788 * t + 0.189269 * t * t + 0.001308 * t * t * t);
        if (p < 0.5)
            z = -z;
        table[i] = static_cast<int>(std::lround(z * sigma));
    }
    return table;
}

}  // namespace

PageRenderer::PageRenderer(int width, int height) : width_(width), height_(height) {}

void PageRenderer::render(std::uint8_t* rgb, int index, int count) const {
    const double w = width_;
    const double h = height_;

    // Paper, a little darker towards the corners as under a desk lamp.
    for (int y = 0; y < height_; ++y) {
        const double dy = (y - h / 2) / h;
        std::uint8_t* row = rgb + static_cast<std::size_t>(y) * width_ * 3;
        for (int x = 0; x < width_; ++x) {
            const double dx = (x - w / 2) / w;
            const double light = 1.0 - 0.06 * (dx * dx + dy * dy);
            row[3 * x] = static_cast<std::uint8_t>(246 * light);
            row[3 * x + 1] = static_cast<std::uint8_t>(244 * light);
            row[3 * x + 2] = static_cast<std::uint8_t>(236 * light);
        }
    }

    const int rule = std::max(1, static_cast<int>(0.002 * h));
    fillRect(rgb, static_cast<int>(0.07 * w), static_cast<int>(0.20 * h), static_cast<int>(0.07 * w) + rule,
             static_cast<int>(0.95 * h), kMarginRule);
    fillRect(rgb, static_cast<int>(0.10 * w), static_cast<int>(0.10 * h), static_cast<int>(0.90 * w),
             static_cast<int>(0.16 * h), kTitleBar);
    drawText(rgb);

    const double phase = count > 0 ? 2.0 * M_PI * index / count : 0.0;
    drawDisc(rgb, 0.5 * w + 0.3 * w * std::sin(phase), 0.88 * h, 0.05 * h);

    const int pixel = std::max(1, static_cast<int>(0.035 * h / 7));
    drawNumber(rgb, index, 2, static_cast<int>(0.88 * w), static_cast<int>(0.13 * h) - 7 * pixel / 2, pixel);

    addNoise(rgb, 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(index + 1));
}

void PageRenderer::fillRect(std::uint8_t* rgb, int x0, int y0, int x1, int y1,
                            const std::uint8_t colour[3]) const {
    x0 = std::clamp(x0, 0, width_);
    x1 = std::clamp(x1, 0, width_);
    y0 = std::clamp(y0, 0, height_);
    y1 = std::clamp(y1, 0, height_);
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* p = rgb + (static_cast<std::size_t>(y) * width_ + x0) * 3;
        for (int x = x0; x < x1; ++x, p += 3) {
            p[0] = colour[0];
            p[1] = colour[1];
            p[2] = colour[2];
        }
    }
}

// Lines of words made of blocky letter shapes (stems, bowls, ascenders, descenders), grouped in
// paragraphs with a ragged right edge; the same page for every frame.
void PageRenderer::drawText(std::uint8_t* rgb) const {
    const double h = height_;
    const int left = static_cast<int>(0.10 * width_);
    const int right = static_cast<int>(0.90 * width_);
    const int pitch = std::max(4, static_cast<int>(0.036 * h));
    const int xHeight = std::max(3, static_cast<int>(0.013 * h));
    const int ascender = std::max(xHeight + 1, static_cast<int>(0.019 * h));
    const int descender = std::max(1, static_cast<int>(0.006 * h));
    const int letter = std::max(2, static_cast<int>(0.0085 * h));
    const int gap = std::max(1, letter / 4);
    const int stroke = std::max(1, letter / 4);
    const int space = letter + 2 * gap;

    XorShift random{0x5EED1234ABCDULL};
    int linesInParagraph = 0;
    for (int baseline = static_cast<int>(0.22 * h) + ascender; baseline < 0.80 * h; baseline += pitch) {
        if (linesInParagraph == 5 + random.below(3)) {  // a blank line between paragraphs
            linesInParagraph = 0;
            continue;
        }
        const bool lastOfParagraph = random.below(5) == 0;
        const int lineEnd = lastOfParagraph ? left + (right - left) * (30 + random.below(50)) / 100 : right;
        int x = left + (linesInParagraph == 0 ? 3 * space : 0);  // indented first line
        ++linesInParagraph;
        while (true) {
            const int letters = 2 + random.below(8);
            if (x + letters * (letter + gap) > lineEnd)
                break;
            for (int i = 0; i < letters; ++i, x += letter + gap) {
                const int top = baseline - xHeight;
                const int x1 = x + letter;
                switch (random.below(7)) {
                    case 0:  // n
                        fillRect(rgb, x, top, x + stroke, baseline, kInk);
                        fillRect(rgb, x1 - stroke, top, x1, baseline, kInk);
                        fillRect(rgb, x, top, x1, top + stroke, kInk);
                        break;
                    case 1:  // u
                        fillRect(rgb, x, top, x + stroke, baseline, kInk);
                        fillRect(rgb, x1 - stroke, top, x1, baseline, kInk);
                        fillRect(rgb, x, baseline - stroke, x1, baseline, kInk);
                        break;
                    case 2:  // o
                    case 3:  // e
                        fillRect(rgb, x, top, x + stroke, baseline, kInk);
                        fillRect(rgb, x1 - stroke, top, x1, baseline, kInk);
                        fillRect(rgb, x, top, x1, top + stroke, kInk);
                        fillRect(rgb, x, baseline - stroke, x1, baseline, kInk);
                        if (i % 2)
                            fillRect(rgb, x, top + xHeight / 2, x1, top + xHeight / 2 + stroke, kInk);
                        break;
                    case 4:  // l
                        fillRect(rgb, x + letter / 3, baseline - ascender, x + letter / 3 + stroke, baseline,
                                 kInk);
                        break;
                    case 5:  // h
                        fillRect(rgb, x, baseline - ascender, x + stroke, baseline, kInk);
                        fillRect(rgb, x1 - stroke, top, x1, baseline, kInk);
                        fillRect(rgb, x, top, x1, top + stroke, kInk);
                        break;
                    default:  // p
                        fillRect(rgb, x, top, x + stroke, baseline + descender, kInk);
                        fillRect(rgb, x1 - stroke, top, x1, baseline, kInk);
                        fillRect(rgb, x, top, x1, top + stroke, kInk);
                        fillRect(rgb, x, baseline - stroke, x1, baseline, kInk);
                        break;
                }
            }
            x += space;
        }
    }
}

void PageRenderer::drawDisc(std::uint8_t* rgb, double cx, double cy, double radius) const {
    const int y0 = std::max(0, static_cast<int>(cy - radius));
    const int y1 = std::min(height_ - 1, static_cast<int>(cy + radius));
    for (int y = y0; y <= y1; ++y) {
        const double dy = y + 0.5 - cy;
        const double half = std::sqrt(std::max(0.0, radius * radius - dy * dy));
        fillRect(rgb, static_cast<int>(std::lround(cx - half)), y, static_cast<int>(std::lround(cx + half)),
                 y + 1, kDisc);
    }
}

void PageRenderer::drawNumber(std::uint8_t* rgb, int value, int digits, int right, int top, int pixel) const {
    int x = right;
    for (int d = 0; d < digits; ++d, value /= 10) {
        x -= 6 * pixel;
        const std::uint8_t* glyph = kDigits[value % 10];
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (glyph[row] & (0x10 >> col))
                    fillRect(rgb, x + col * pixel, top + row * pixel, x + (col + 1) * pixel,
                             top + (row + 1) * pixel, kCounter);
    }
}

void PageRenderer::addNoise(std::uint8_t* rgb, std::uint64_t seed) const {
    static const std::array<int, 256> noise = makeNoiseTable();
    XorShift random{0xD1B54A32D192ED03ULL ^ seed};
    const std::size_t size = static_cast<std::size_t>(width_) * height_ * 3;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t bits = random.next();
        for (int k = 0; k < 8; ++k, bits >>= 8) {
            const int v = rgb[i + k] + noise[bits & 0xFF];
            rgb[i + k] = static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
        }
    }
    for (; i < size; ++i) {
        const int v = rgb[i] + noise[random.next() & 0xFF];
        rgb[i] = static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
    }
}

}  // namespace optigrab::sim
