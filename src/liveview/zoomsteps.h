// SPDX-License-Identifier: GPL-3.0-or-later
// The steps of digital zoom that the live picture and the compared picture share.
#pragma once

#include <QtGlobal>
#include <cmath>

namespace ZoomSteps {

constexpr double kStep = 1.25;
constexpr double kMin = 1.0;
constexpr double kMax = 8.0;
constexpr int kWheelNotch = 120;  // angle delta of one wheel notch, in eighths of a degree

// The zoom after a wheel turn of angleDelta from scale: each whole notch is one step; the small deltas
// of touch pads add up in remainder until they make a notch. Not bounded.
inline double afterWheel(double scale, int angleDelta, int& remainder) {
    remainder += angleDelta;
    const int notches = remainder / kWheelNotch;
    remainder -= notches * kWheelNotch;
    return scale * std::pow(kStep, notches);
}

}  // namespace ZoomSteps
