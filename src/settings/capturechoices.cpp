// SPDX-License-Identifier: GPL-3.0-or-later
// The scanning choices in the extra settings, each read back within its bounds: a value edited by
// hand in the file cannot reach the camera library out of range.
#include "capturechoices.h"

#include <QVariant>
#include <QtGlobal>
#include <cmath>

#include "extrasettings.h"

namespace {

// The camera library's defaults.
const int kDefaultQuality = 90;
const int kDefaultDpi = 96;
const double kDefaultHold = 1.0;

}  // namespace

CaptureChoices::CaptureChoices(ExtraSettings* store) : m_store(store) {}

bool CaptureChoices::flag(const char* key) const {
    return m_store->value(key, false).toBool();
}

int CaptureChoices::bounded(const char* key, int fallback, int low, int high) const {
    bool ok = false;
    const int value = m_store->value(key, fallback).toInt(&ok);
    return ok ? qBound(low, value, high) : fallback;
}

void CaptureChoices::store(const char* key, const QVariant& value) const {
    // The file gives back text: "true", "1.5", "90".
    if (m_store->value(key).toString() != value.toString())
        m_store->setValue(key, value);
}

bool CaptureChoices::cropping() const {
    return flag(kCropKey);
}
void CaptureChoices::setCropping(bool on) const {
    store(kCropKey, on);
}
bool CaptureChoices::autoCapture() const {
    return flag(kAutoCaptureKey);
}
void CaptureChoices::setAutoCapture(bool on) const {
    store(kAutoCaptureKey, on);
}
double CaptureChoices::holdSeconds() const {
    bool ok = false;
    const double value = m_store->value(kHoldKey, kDefaultHold).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return kDefaultHold;
    return qBound(kHoldMin, std::round(value / kHoldStep) * kHoldStep, kHoldMax);
}
void CaptureChoices::setHoldSeconds(double seconds) const {
    store(kHoldKey, qBound(kHoldMin, std::round(seconds / kHoldStep) * kHoldStep, kHoldMax));
}
bool CaptureChoices::splitSpreads() const {
    return flag(kSplitKey);
}
void CaptureChoices::setSplitSpreads(bool on) const {
    store(kSplitKey, on);
}
int CaptureChoices::jpegQuality() const {
    return bounded(kQualityKey, kDefaultQuality, kQualityMin, kQualityMax);
}
void CaptureChoices::setJpegQuality(int quality) const {
    store(kQualityKey, qBound(kQualityMin, quality, kQualityMax));
}
int CaptureChoices::dpi() const {
    return bounded(kDpiKey, kDefaultDpi, kDpiMin, kDpiMax);
}
void CaptureChoices::setDpi(int dotsPerInch) const {
    store(kDpiKey, qBound(kDpiMin, dotsPerInch, kDpiMax));
}

void CaptureChoices::restoreDefaults() const {
    setCropping(false);
    setAutoCapture(false);
    setHoldSeconds(kDefaultHold);
    setSplitSpreads(false);
    setJpegQuality(kDefaultQuality);
    setDpi(kDefaultDpi);
}
