// SPDX-License-Identifier: GPL-3.0-or-later
// The settings panel: camera, video format and resolution (switched at once), and the save folder and
// file-name prefix of captures (stored when the panel is destroyed).
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

#include "camera/camerarecords.h"

class ExtraSettings;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QLineEdit;
class QRadioButton;
class QStackedLayout;
class QToolButton;
class QVBoxLayout;

namespace Ui {
class settingDevWidget;
}

class settingDevWidget : public QWidget {
    Q_OBJECT

public:
    explicit settingDevWidget(QWidget* parent = nullptr);
    // Stores every choice of the panel in the settings and writes the settings file.
    ~settingDevWidget() override;

    // The store of "Show all tools", which the panel shows and follows, and of the Capture page's
    // choices; called once, before the panel is shown. Without it the panel has no Capture page.
    void setExtraSettings(ExtraSettings* settings);
    // Fills the panel from the camera list and the settings; called once, before the panel is shown.
    void getDevMessages(std::vector<devMessage> vecDevMessage);

signals:
    // mediaType is a media-type code, not an index; fps is always 0.
    void singalChangeCamera(int devIndex, int mediaType, int fps, int width, int height);
    // The user switched "Show all tools"; whoever keeps the extra settings stores it.
    void showAllToolsChosen(bool on);

private slots:
    // Each reacts only to a user's change on the visible panel and emits one camera change.
    void onDeviceChanged(int index);
    void onFormatChanged(int index);
    void onResolutionChanged(int index);

protected:
    // A deletion asked for while the folder dialog runs waits until the dialog has returned.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TestSettingsPanel;

    void initUI();
    QWidget* buildVideoPage();
    QWidget* buildGeneralPage();
    void setLastSettingData();
    void refreshFormatList();
    void refreshResolutionList();
    // The code, width and height of the chosen format and resolution; false when there is none.
    bool selectedMode(int& mediaIndex, int& mediaType, int& width, int& height, QString& resolution) const;
    void emitSelectedMode();
    bool createDefaultSaveFolder();
    void onBrowseClicked();
    void onDefaultClicked();
    void adjustComboBoxPopup();
    void applyRoundedMask();
    void showCaptureTab(bool on);

    Ui::settingDevWidget* ui;
    QStackedLayout* stackedLayout = nullptr;
    QToolButton* m_generalTab = nullptr;
    QToolButton* m_captureTab = nullptr;  // shows with all tools
    QCheckBox* m_showAllToolsBox = nullptr;
    ExtraSettings* m_extraSettings = nullptr;  // given by the opener; none until then
    QWidget* generalPage = nullptr;
    QWidget* videoPage = nullptr;
    QVBoxLayout* generalMessageLayout = nullptr;
    QVBoxLayout* videoMessageLayout = nullptr;
    QComboBox* comboBox_device = nullptr;
    QComboBox* comboBox_format = nullptr;
    QComboBox* comboBox_resolution = nullptr;
    QLineEdit* locationEdit = nullptr;
    QLineEdit* prefixEdit = nullptr;
    QRadioButton* radio_data = nullptr;
    QRadioButton* radio_prefix = nullptr;
    std::vector<devMessage> m_devList;
    int m_currentDevIndex = -1;    // the camera whose formats are listed
    int m_currentMediaIndex = -1;  // the format whose resolutions are listed
    QString currentSavePath;       // the save folder that will be stored
    // The folder dialog while its event loop runs inside onBrowseClicked, on this panel's stack.
    QPointer<QFileDialog> m_browseDialog;
    bool m_deleteAfterBrowse = false;  // the panel was closed while the dialog ran
};
