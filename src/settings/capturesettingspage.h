// SPDX-License-Identifier: GPL-3.0-or-later
// The settings panel's Capture page: cropping and straightening, automatic capture and its hold time,
// splitting of spreads, the JPEG quality and resolution of captured files, and the languages the page's
// text is read in. Each change is stored
// at once in the extra settings it is given, where the view takes it from; a change made elsewhere (the K and
// A keys) shows here at once. GUI thread only.
#pragma once

#include <QWidget>

#include "capturechoices.h"
#include "textchoices.h"

class ExtraSettings;
class QCheckBox;
class QComboBox;

class CaptureSettingsPage : public QWidget {
    Q_OBJECT

public:
    explicit CaptureSettingsPage(ExtraSettings* store, QWidget* parent = nullptr);

private:
    QWidget* buildPagesGroup();
    QWidget* buildFilesGroup();
    QWidget* buildTextGroup();
    // The languages whose boxes are ticked, stored.
    void storeLanguages();
    QString holdText(double seconds) const;
    // Shows the stored choices without storing them again.
    void showStoredChoices();

    CaptureChoices m_choices;
    QCheckBox* m_crop = nullptr;
    QCheckBox* m_autoCapture = nullptr;
    QComboBox* m_hold = nullptr;  // entries carry the seconds, the others their numbers
    QCheckBox* m_split = nullptr;
    QComboBox* m_quality = nullptr;
    QComboBox* m_dpi = nullptr;
    TextChoices m_text;
    QList<QCheckBox*> m_languages;  // in TextLanguages::all()'s order, each named by its code
};
