// SPDX-License-Identifier: GPL-3.0-or-later
// The right tool bar: Split Screen (enabled with "Show all tools"), the folder button that shows and hides
// the file panel, and its side-swap button.
#include "toolwidget_right.h"

#include "controls/custombutton.h"
#include "ui_toolwidget_right.h"

namespace {

const char* const kShowFolder = QT_TRANSLATE_NOOP("ToolWidget_Right", "Show Folder");
const char* const kHideFolder = QT_TRANSLATE_NOOP("ToolWidget_Right", "Hide Folder");
const char* const kBarStyle = "ToolWidget_Right { background-color: #EFEFF0; border:1px solid #CACACA }";
// The rounded corners sit on the bar's end that faces the bottom bar.
const char* const kCompareCorners =
    "VToolButton#toolButton_compare { border-top-left-radius: 5px; border-bottom-left-radius: 5px }";
const char* const kFolderCorners =
    "VToolButton#toolButton_filelist { border-top-right-radius: 5px; border-bottom-right-radius: 5px }";

}  // namespace

ToolWidget_Right::ToolWidget_Right(QWidget* parent) : QWidget(parent), ui(new Ui::ToolWidget_Right) {
    ui->setupUi(this);
    setFixedSize(228, 66);
    setStyleSheet(QString(kBarStyle) + kCompareCorners);
    ui->verticalLayout->setContentsMargins(0, 0, 0, 0);
    ui->verticalLayout->setSpacing(0);
    ui->horizontalLayout->setContentsMargins(0, 0, 0, 0);
    ui->horizontalLayout->setSpacing(0);
    ui->toolButton_compare->setEnabled(false);
    initUI();
    setShowAllTools(false);
}

void ToolWidget_Right::setShowAllTools(bool on) {
    if (!on && ui->toolButton_compare->isChecked()) {
        ui->toolButton_compare->setChecked(false);
        emit splitScreenToggled(false);
    }
    ui->toolButton_compare->setEnabled(on);
}

void ToolWidget_Right::on_toolButton_compare_clicked() {
    emit splitScreenToggled(ui->toolButton_compare->isChecked());
}

ToolWidget_Right::~ToolWidget_Right() {
    delete ui;
}

void ToolWidget_Right::initUI() {
    m_buttonInfos = {{ui->toolButton_compare, QT_TRANSLATE_NOOP("ToolWidget_Right", "Split Screen")},
                     {ui->toolButton_filelist, kShowFolder}};
    CustomButton::setToolButton(ui->toolButton_compare, ":/image/svg/splitscreen",
                                ":/image/svg/splitscreen_press", "", tr("Split Screen"), 99, 66, 30, 30, 3,
                                0);
    CustomButton::setToolButton(ui->toolButton_filelist, ":/image/svg/expand", ":/image/svg/expand_press", "",
                                tr(kShowFolder), 99, 66, 30, 30, 3, 0);
    CustomButton::setToolButton(ui->toolButton_left, ":/image/svg/exchange", ":/image/svg/exchange_press", "",
                                "", 30, 66, 30, 30, 0, 3);
}

void ToolWidget_Right::retranslateUi() {
    ui->retranslateUi(this);
    for (const ButtonInfo& info : m_buttonInfos) {
        const QString text = QCoreApplication::translate("ToolWidget_Right", info.textKey);
        info.button->setText(text);
        info.button->setToolTip(text);
    }
}

void ToolWidget_Right::dressFolderButton(const char* textKey, const QString& icon,
                                         const QString& pressedIcon) {
    // Dressing connects the button's toggled signal to its icon swap: the previous look's swap goes
    // first, so that only the current look's icons show.
    disconnect(ui->toolButton_filelist, &QToolButton::toggled, nullptr, nullptr);
    CustomButton::setToolButton(ui->toolButton_filelist, icon, pressedIcon, "", tr(textKey), 99, 66, 30, 30,
                                3, 0);
}

void ToolWidget_Right::showFileListIcon() {
    dressFolderButton(kShowFolder, ":/image/svg/expand", ":/image/svg/expand_press");
    isFileListVisible = true;
}

int ToolWidget_Right::getButtonsTotalWidth() const {
    return ui->toolButton_compare->width() + ui->toolButton_filelist->width() + ui->toolButton_left->width();
}

void ToolWidget_Right::on_toolButton_filelist_clicked() {
    if (isFileListVisible) {
        emit ShowListWidget();
        dressFolderButton(kHideFolder, ":/image/svg/hidefolder", ":/image/svg/hidefolder_press");
        isFileListVisible = false;
    } else {
        emit HideListWidget();
        showFileListIcon();
    }
    ui->toolButton_filelist->setChecked(false);
}

void ToolWidget_Right::on_toolButton_left_clicked() {
    ui->toolButton_left->setChecked(false);
    emit HideListWidget();
    showFileListIcon();
    swapUI();
    emit exChangeLeft(m_buttonsSwapped);
}

void ToolWidget_Right::swapUI() {
    QToolButton* const unswapped[] = {ui->toolButton_compare, ui->toolButton_filelist, ui->toolButton_left};
    QToolButton* const swapped[] = {ui->toolButton_left, ui->toolButton_compare, ui->toolButton_filelist};
    for (QToolButton* button : unswapped)
        ui->horizontalLayout->removeWidget(button);
    for (QToolButton* button : m_buttonsSwapped ? unswapped : swapped)
        ui->horizontalLayout->addWidget(button);
    setStyleSheet(QString(kBarStyle) + (m_buttonsSwapped ? kCompareCorners : kFolderCorners));
    m_buttonsSwapped = !m_buttonsSwapped;
}
