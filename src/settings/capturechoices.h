// SPDX-License-Identifier: GPL-3.0-or-later
// The choices for scanning pages (cropping, automatic capture, spreads, quality and resolution of the
// files), kept in the extra settings under capture/: one place for their keys, defaults and bounds.
#pragma once

#include <QString>

class ExtraSettings;
class QVariant;

// A view of the store it is given, which it does not own; as cheap to copy as a pointer.
class CaptureChoices {
public:
    // The keys; ExtraSettings::valueChanged names them when they change.
    static constexpr char kCropKey[] = "capture/cropPages";
    static constexpr char kAutoCaptureKey[] = "capture/autoCapture";
    static constexpr char kHoldKey[] = "capture/holdSeconds";
    static constexpr char kSplitKey[] = "capture/splitSpreads";
    static constexpr char kQualityKey[] = "capture/jpegQuality";
    static constexpr char kDpiKey[] = "capture/dpi";

    static constexpr double kHoldMin = 0.5, kHoldMax = 5.0, kHoldStep = 0.5;
    static constexpr int kQualityMin = 50, kQualityMax = 100;
    static constexpr int kDpiMin = 72, kDpiMax = 1200;

    explicit CaptureChoices(ExtraSettings* store);

    bool cropping() const;
    void setCropping(bool on) const;
    bool autoCapture() const;
    void setAutoCapture(bool on) const;
    // Seconds a new page must lie still before it is captured, within the bounds, in half seconds.
    double holdSeconds() const;
    void setHoldSeconds(double seconds) const;
    bool splitSpreads() const;
    void setSplitSpreads(bool on) const;
    // JPEG quality of captured files; the camera library's own default until one is chosen.
    int jpegQuality() const;
    void setJpegQuality(int quality) const;
    // Dots per inch written in captured files, which also sizes their pages in a PDF.
    int dpi() const;
    void setDpi(int dotsPerInch) const;
    // Every choice back to its default, as the settings' Default button does.
    void restoreDefaults() const;

private:
    bool flag(const char* key) const;
    int bounded(const char* key, int fallback, int low, int high) const;
    void store(const char* key, const QVariant& value) const;

    ExtraSettings* m_store;
};
