// The settings panel's Capture page: cropping and straightening, automatic capture and its hold time,
// splitting of spreads, and the JPEG quality and resolution of captured files. Each change is stored
// at once in the extra settings, where the view takes it from; a change made elsewhere (the K and A
// keys) shows here at once. GUI thread only.
#pragma once

#include <QWidget>

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;

class CaptureSettingsPage : public QWidget {
    Q_OBJECT

public:
    explicit CaptureSettingsPage(QWidget* parent = nullptr);

private:
    QWidget* buildPagesGroup();
    QWidget* buildFilesGroup();
    // Shows the stored choices without storing them again.
    void showStoredChoices();

    QCheckBox* m_crop = nullptr;
    QCheckBox* m_autoCapture = nullptr;
    QDoubleSpinBox* m_hold = nullptr;
    QCheckBox* m_split = nullptr;
    QSpinBox* m_quality = nullptr;
    QSpinBox* m_dpi = nullptr;
};
