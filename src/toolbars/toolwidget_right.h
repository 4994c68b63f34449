// SPDX-License-Identifier: GPL-3.0-or-later
// The right tool bar: Split Screen (enabled with "Show all tools"), the folder button that shows and hides
// the file panel, and its side-swap button.
#pragma once

#include <QList>
#include <QWidget>

class QToolButton;

namespace Ui {
class ToolWidget_Right;
}

class ToolWidget_Right : public QWidget {
    Q_OBJECT

public:
    explicit ToolWidget_Right(QWidget* parent = nullptr);
    ~ToolWidget_Right() override;

    // Gives the folder button its "Show Folder" look: the file panel was hidden from outside it.
    void showFileListIcon();
    // Puts the swap button at the other end and the rounded corners on the end facing the bottom bar.
    void swapUI();
    int getButtonsTotalWidth() const;
    void retranslateUi();

public slots:
    // Split Screen is enabled with all tools shown; turned off, a split view goes back to one picture.
    void setShowAllTools(bool on);

signals:
    void ShowListWidget();
    void HideListWidget();
    void exChangeLeft(bool bIsExChangeLeft);
    void splitScreenToggled(bool on);

private slots:
    void on_toolButton_filelist_clicked();
    void on_toolButton_left_clicked();
    void on_toolButton_compare_clicked();

private:
    friend class TestSideBars;

    struct ButtonInfo {
        QToolButton* button;
        const char* textKey;  // the untranslated text, also the translation source
    };

    void initUI();
    // Re-dresses the folder button in one of its two looks.
    void dressFolderButton(const char* textKey, const QString& icon, const QString& pressedIcon);

    Ui::ToolWidget_Right* ui;
    bool isFileListVisible = true;  // true while the folder button offers "Show Folder"
    bool m_buttonsSwapped = false;
    // One list per bar: a class-wide one would point at the buttons of whichever bar was made last.
    QList<ButtonInfo> m_buttonInfos;
};
