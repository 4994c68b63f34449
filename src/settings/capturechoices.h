// SPDX-License-Identifier: GPL-3.0-or-later
// The choices for scanning pages (cropping, automatic capture, spreads, quality and resolution of the
// files), kept in the extra settings under capture/: one place for their keys, defaults and bounds.
#pragma once

#include <QString>

namespace CaptureChoices {

// The keys; ExtraSettings::valueChanged names them when they change.
extern const char kCropKey[];
extern const char kAutoCaptureKey[];
extern const char kHoldKey[];
extern const char kSplitKey[];
extern const char kQualityKey[];
extern const char kDpiKey[];

constexpr double kHoldMin = 0.5, kHoldMax = 5.0, kHoldStep = 0.5;
constexpr int kQualityMin = 50, kQualityMax = 100;
constexpr int kDpiMin = 72, kDpiMax = 1200;

bool cropping();
void setCropping(bool on);
bool autoCapture();
void setAutoCapture(bool on);
// Seconds a new page must lie still before it is captured, within the bounds, in half seconds.
double holdSeconds();
void setHoldSeconds(double seconds);
bool splitSpreads();
void setSplitSpreads(bool on);
// JPEG quality of captured files; the camera library's own default until one is chosen.
int jpegQuality();
void setJpegQuality(int quality);
// Dots per inch written in captured files, which also sizes their pages in a PDF.
int dpi();
void setDpi(int dotsPerInch);
// Every choice back to its default, as the settings' Default button does.
void restoreDefaults();

}  // namespace CaptureChoices
