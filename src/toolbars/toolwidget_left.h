// SPDX-License-Identifier: GPL-3.0-or-later
// The left tool bar: side swap, Menu, Setting and Min; it keeps the camera list for the settings panel
// and relays the panel's camera choice and the menu's language and quit requests to the view.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <vector>

#include "camera/camerarecords.h"

class CSelectMenu;
class ExtraSettings;
class QToolButton;
class settingDevWidget;

namespace Ui {
class ToolWidget_Left;
}

class ToolWidget_Left : public QWidget {
    Q_OBJECT

public:
    explicit ToolWidget_Left(QWidget* parent = nullptr);
    ~ToolWidget_Left() override;

    // The store that the settings panels show and change "Show all tools" and the Capture page in.
    void setExtraSettings(ExtraSettings* settings);
    // Replaces the camera list that the next settings panel starts from.
    void sendDevMessages(std::vector<devMessage> vecDevMessage);
    // Puts the swap button at the other end, the screen edge after the bars have changed sides.
    void swapUI();
    // Texts and tool tips of the buttons in the language now installed.
    void retranslateUi();

signals:
    void singalChangeCamera(int devIndex, int mediaType, int fps, int width, int height);
    void exChangeRight(bool bIsExChangeRight);
    void showMinUI();
    void CloseUI();
    void signalSwitchLanguage(QString type);
    // "Show all tools" switched in a settings panel, for whoever keeps the extra settings to store.
    void showAllToolsChosen(bool on);

public slots:
    void changeCamera(int devIndex, int mediaType, int fps, int width, int height);
    // Closes an open settings panel: its camera list is out of date after a plug or unplug.
    void hideUI();

private slots:
    void on_toolButton_min_clicked();
    void on_toolButton_menu_clicked();
    void on_toolButton_set_clicked();
    void on_toolButton_right_clicked();

private:
    friend class TestSideBars;
    friend class TestLanguage;

    struct ButtonInfo {
        QToolButton* button;
        const char* textKey;  // the untranslated text, also the translation source
    };

    void initUI();

    Ui::ToolWidget_Left* ui;
    CSelectMenu* m_selectMenu = nullptr;
    settingDevWidget* m_deviceSetting = nullptr;
    std::vector<devMessage> m_vecDevMessage;
    ExtraSettings* m_extraSettings = nullptr;
    bool m_buttonsSwapped = false;
    // One list per bar: a class-wide one would point at the buttons of whichever bar was made last.
    QList<ButtonInfo> m_buttonInfos;
};
