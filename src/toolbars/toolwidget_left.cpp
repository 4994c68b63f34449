// SPDX-License-Identifier: GPL-3.0-or-later
// The left tool bar: side swap, Menu, Setting and Min; it keeps the camera list for the settings panel
// and relays the panel's camera choice and the menu's language and quit requests to the view.
#include "toolwidget_left.h"

#include <QScreen>
#include <cstdio>

#include "controls/custombutton.h"
#include "controls/popuptoggle.h"
#include "cselectmenu.h"
#include "settings/settingdevwidget.h"
#include "ui_toolwidget_left.h"

ToolWidget_Left::ToolWidget_Left(QWidget* parent) : QWidget(parent), ui(new Ui::ToolWidget_Left) {
    ui->setupUi(this);
    m_vecDevMessage.clear();
    // The four buttons are 228 px wide together: the layout packs them into 208 px, each later
    // button drawn slightly over the one before, the last one cut at the bar's edge.
    setFixedSize(208, 66);
    setStyleSheet(
        "ToolWidget_Left { background-color: #EFEFF0; border:1px solid #CACACA }"
        "VToolButton#toolButton_menu { border-top-right-radius: 5px; border-bottom-right-radius: 5px }");
    ui->verticalLayout->setContentsMargins(0, 0, 0, 0);
    ui->verticalLayout->setSpacing(0);
    ui->horizontalLayout->setContentsMargins(0, 0, 0, 0);
    ui->horizontalLayout->setSpacing(0);
    initUI();
}

void ToolWidget_Left::setExtraSettings(ExtraSettings* settings) {
    m_extraSettings = settings;
}

ToolWidget_Left::~ToolWidget_Left() {
    // Popups go first, while the buttons their destroyed handlers uncheck still exist; also those
    // already closed and waiting for deletion.
    qDeleteAll(findChildren<CSelectMenu*>(QString(), Qt::FindDirectChildrenOnly));
    qDeleteAll(findChildren<settingDevWidget*>(QString(), Qt::FindDirectChildrenOnly));
    delete ui;
}

void ToolWidget_Left::initUI() {
    m_buttonInfos = {{ui->toolButton_menu, QT_TRANSLATE_NOOP("ToolWidget_Left", "Menu")},
                     {ui->toolButton_min, QT_TRANSLATE_NOOP("ToolWidget_Left", "Min")},
                     {ui->toolButton_set, QT_TRANSLATE_NOOP("ToolWidget_Left", "Setting")}};
    CustomButton::setToolButton(ui->toolButton_right, ":/image/svg/exchange", ":/image/svg/exchange_press",
                                "", "", 30, 66, 30, 30, 0, 3);
    CustomButton::setToolButton(ui->toolButton_menu, ":/image/svg/selectmenu", ":/image/svg/selectmenu_press",
                                "", tr("Menu"), 66, 66, 30, 30, 3, 0);
    CustomButton::setToolButton(ui->toolButton_min, ":/image/svg/min", ":/image/svg/min_press", "", tr("Min"),
                                66, 66, 30, 30, 3, 0);
    CustomButton::setToolButton(ui->toolButton_set, ":/image/svg/settings", ":/image/svg/settings_press", "",
                                tr("Setting"), 66, 66, 30, 30, 3, 0);
}

void ToolWidget_Left::retranslateUi() {
    for (const ButtonInfo& info : m_buttonInfos) {
        const QString text = QCoreApplication::translate("ToolWidget_Left", info.textKey);
        info.button->setText(text);
        info.button->setToolTip(text);
    }
}

void ToolWidget_Left::sendDevMessages(std::vector<devMessage> vecDevMessage) {
    m_vecDevMessage = std::move(vecDevMessage);
}

void ToolWidget_Left::changeCamera(int devIndex, int mediaType, int fps, int width, int height) {
    printf("**********************切换摄像头\n");
    emit singalChangeCamera(devIndex, mediaType, fps, width, height);
}

void ToolWidget_Left::hideUI() {
    PopupToggle::close(m_deviceSetting, ui->toolButton_set);
}

void ToolWidget_Left::on_toolButton_min_clicked() {
    // Checkable like its neighbours, but nothing stays on: the restored window shows it unchecked.
    ui->toolButton_min->setChecked(false);
    emit showMinUI();
}

void ToolWidget_Left::on_toolButton_menu_clicked() {
    CSelectMenu* menu = PopupToggle::toggle(this, m_selectMenu, ui->toolButton_menu,
                                            [this] { return new CSelectMenu(this); });
    if (menu == nullptr)
        return;
    connect(menu, &CSelectMenu::closeAll, this, [this] { emit CloseUI(); });
    connect(menu, &CSelectMenu::signalSwitchLanguage, this, [this](const QString& type) {
        printf("m_selectMenu Language changed: %s\n", type.toUtf8().constData());
        emit signalSwitchLanguage(type);
    });
    menu->adjustSize();
    const QPoint corner = ui->toolButton_menu->mapToGlobal(QPoint(0, 0));
    PopupToggle::show(menu, QPoint(corner.x(), corner.y() - menu->height() - 2));
}

void ToolWidget_Left::on_toolButton_set_clicked() {
    settingDevWidget* panel = PopupToggle::toggle(this, m_deviceSetting, ui->toolButton_set, [this] {
        auto* made = new settingDevWidget(this);
        if (m_extraSettings != nullptr)
            made->setExtraSettings(m_extraSettings);
        connect(made, &settingDevWidget::showAllToolsChosen, this, &ToolWidget_Left::showAllToolsChosen);
        return made;
    });
    if (panel == nullptr)
        return;
    connect(panel, &settingDevWidget::singalChangeCamera, this, &ToolWidget_Left::changeCamera);
    printf("****************m_vecDevMessage : %d\n", static_cast<int>(m_vecDevMessage.size()));
    panel->getDevMessages(m_vecDevMessage);
    panel->adjustSize();
    // Above the button, its left edges aligned; near the right screen edge its right edges aligned.
    const QPoint corner = ui->toolButton_set->mapToGlobal(QPoint(0, 0));
    const QRect available = ui->toolButton_set->screen()->availableGeometry();
    int x = corner.x();
    if (corner.x() + panel->width() > available.right())
        x = corner.x() + ui->toolButton_set->width() - panel->width();
    if (x < available.left())
        x = available.left();
    PopupToggle::show(panel, QPoint(x, corner.y() - panel->height()));
}

void ToolWidget_Left::on_toolButton_right_clicked() {
    ui->toolButton_right->setChecked(false);
    swapUI();
    ui->horizontalLayout->invalidate();
    emit exChangeRight(m_buttonsSwapped);
}

void ToolWidget_Left::swapUI() {
    QToolButton* const unswapped[] = {ui->toolButton_right, ui->toolButton_menu, ui->toolButton_set,
                                      ui->toolButton_min};
    QToolButton* const swapped[] = {ui->toolButton_min, ui->toolButton_menu, ui->toolButton_set,
                                    ui->toolButton_right};
    for (QToolButton* button : unswapped)
        ui->horizontalLayout->removeWidget(button);
    for (QToolButton* button : m_buttonsSwapped ? unswapped : swapped)
        ui->horizontalLayout->addWidget(button);
    m_buttonsSwapped = !m_buttonsSwapped;
}
