// SPDX-License-Identifier: GPL-3.0-or-later
// The scanning choices in the extra settings, each read back within its bounds: a value edited by
// hand in the file cannot reach the camera library out of range.
#include "capturechoices.h"

#include <QtGlobal>
#include <cmath>

#include "extrasettings.h"

namespace CaptureChoices {

const char kCropKey[] = "capture/cropPages";
const char kAutoCaptureKey[] = "capture/autoCapture";
const char kHoldKey[] = "capture/holdSeconds";
const char kSplitKey[] = "capture/splitSpreads";
const char kQualityKey[] = "capture/jpegQuality";
const char kDpiKey[] = "capture/dpi";

namespace {

// The camera library's defaults.
const int kDefaultQuality = 90;
const int kDefaultDpi = 96;
const double kDefaultHold = 1.0;

bool flag(const char* key) {
    return ExtraSettings::instance()->value(key, false).toBool();
}

int bounded(const char* key, int fallback, int low, int high) {
    bool ok = false;
    const int value = ExtraSettings::instance()->value(key, fallback).toInt(&ok);
    return ok ? qBound(low, value, high) : fallback;
}

void store(const char* key, const QVariant& value) {
    // The file gives back text: "true", "1.5", "90".
    if (ExtraSettings::instance()->value(key).toString() != value.toString())
        ExtraSettings::instance()->setValue(key, value);
}

}  // namespace

bool cropping() {
    return flag(kCropKey);
}
void setCropping(bool on) {
    store(kCropKey, on);
}
bool autoCapture() {
    return flag(kAutoCaptureKey);
}
void setAutoCapture(bool on) {
    store(kAutoCaptureKey, on);
}
double holdSeconds() {
    bool ok = false;
    const double value = ExtraSettings::instance()->value(kHoldKey, kDefaultHold).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return kDefaultHold;
    return qBound(kHoldMin, std::round(value / kHoldStep) * kHoldStep, kHoldMax);
}
void setHoldSeconds(double seconds) {
    store(kHoldKey, qBound(kHoldMin, std::round(seconds / kHoldStep) * kHoldStep, kHoldMax));
}
bool splitSpreads() {
    return flag(kSplitKey);
}
void setSplitSpreads(bool on) {
    store(kSplitKey, on);
}
int jpegQuality() {
    return bounded(kQualityKey, kDefaultQuality, kQualityMin, kQualityMax);
}
void setJpegQuality(int quality) {
    store(kQualityKey, qBound(kQualityMin, quality, kQualityMax));
}
int dpi() {
    return bounded(kDpiKey, kDefaultDpi, kDpiMin, kDpiMax);
}
void setDpi(int dotsPerInch) {
    store(kDpiKey, qBound(kDpiMin, dotsPerInch, kDpiMax));
}

void restoreDefaults() {
    setCropping(false);
    setAutoCapture(false);
    setHoldSeconds(kDefaultHold);
    setSplitSpreads(false);
    setJpegQuality(kDefaultQuality);
    setDpi(kDefaultDpi);
}

}  // namespace CaptureChoices
