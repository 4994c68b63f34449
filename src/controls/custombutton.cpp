// SPDX-License-Identifier: GPL-3.0-or-later
// Dressing of tool buttons, labels and sliders.
#include "custombutton.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QSlider>
#include <QToolButton>

#include "buttoneventfilter.h"
#include "spacingproxystyle.h"

namespace {

// Every kind-5 button renders the same with one proxy; it lives as long as the application.
QStyle* menuEntryStyle() {
    static QPointer<SpacingProxyStyle> shared;
    if (shared.isNull()) {
        shared = new SpacingProxyStyle(20);
        shared->setParent(QCoreApplication::instance());
    }
    return shared.data();
}

Qt::ToolButtonStyle toolButtonStyle(int buttonType) {
    switch (buttonType) {
        case 1:
            return Qt::ToolButtonTextOnly;
        case 2:
            return Qt::ToolButtonTextBesideIcon;
        case 3:
            return Qt::ToolButtonTextUnderIcon;
        default:
            return Qt::ToolButtonIconOnly;
    }
}

}  // namespace

QString CustomButton::toolButtonStyleSheet(int nStyleType) {
    switch (nStyleType) {
        case 0:
            return QString(
                       "QToolButton { background-color: #EFEFF0; border: none; padding-top: %1px; "
                       "padding-bottom: %2px; spacing: %3px; font-size:%4px; }"
                       "QToolButton:hover { background-color: #CCCCCC; }"
                       "QToolButton:pressed,QToolButton:checked { background-color: #0099FF; }")
                .arg(13)
                .arg(0)
                .arg(8)
                .arg(9);
        case 1:
            return "QToolButton { background-color: #FFFFFF; border: none; border-radius: 2px; padding: 0px; "
                   "text-align: center; color: white; }"
                   "QToolButton:pressed,QToolButton:checked { background-color: #0099FF; color: white; }";
        case 3:
            return "QToolButton { background-color: #CCCCCC; border: none; padding: 0px; text-align: center; "
                   "}"
                   "QToolButton:pressed,QToolButton:checked { background-color: #999999; }";
        case 5:
            return "QToolButton { background: #FFFFFF; border: none; border-radius: 4px; padding-left: 12px; "
                   "text-align: left center; font-size: 12px; color: #000000; spacing: 20px; }"
                   "QToolButton:hover { background: #0099FF; color: #FFFFFF; }"
                   "QToolButton:pressed { background: #0099FF; color: #FFFFFF; }";
        case 6:
            return "QToolButton { background-color: #FFFFFF; border: none; padding: 0px; text-align: center; "
                   "}"
                   "QToolButton:hover { background-color: #999999; }"
                   "QToolButton:pressed { background-color: #0099FF; }";
        default:
            return QString();
    }
}

QString CustomButton::sliderStyleSheet() {
    return "QSlider { border: none !important; }"
           "QSlider::groove:horizontal { height: 5px; background: transparent; }"
           "QSlider::sub-page:horizontal { background: #0099FF; height: 5px; border-radius: 2px; }"
           "QSlider::add-page:horizontal { background: #C4C4C4; height: 5px; border-radius: 2px; }"
           "QSlider::handle:horizontal { background: transparent; image: url(:/image/svg/bar.svg); "
           "width: 15px; height: 15px; margin: -13px 0; }";
}

void CustomButton::setToolButton(QToolButton* btn, const QString& iconPath, const QString& pressedIconPath,
                                 const QString& hoverIconPath, const QString& text, int width, int height,
                                 int iconwidth, int iconheight, int ButtonType, int nStyleType) {
    btn->setToolButtonStyle(toolButtonStyle(ButtonType));
    if (ButtonType != 1) {
        btn->setIcon(QIcon(iconPath));
        btn->setIconSize(QSize(iconwidth, iconheight));
    }
    if (ButtonType != 0) {
        btn->setText(text);
        QFont font = btn->font();
        font.setPixelSize(12);
        btn->setFont(font);
    }
    btn->setFixedSize(width, height);
    btn->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    if (!pressedIconPath.isEmpty()) {
        QObject::connect(btn, &QToolButton::toggled, [btn, iconPath, pressedIconPath](bool checked) {
            btn->setIcon(QIcon(checked ? pressedIconPath : iconPath));
        });
        btn->setIcon(QIcon(btn->isChecked() ? pressedIconPath : iconPath));
    }
    if (!hoverIconPath.isEmpty())
        btn->installEventFilter(new ButtonEventFilter(iconPath, hoverIconPath, btn));

    const QString sheet = toolButtonStyleSheet(nStyleType);
    if (!sheet.isEmpty())
        btn->setStyleSheet(sheet);
    if (nStyleType == 5)
        btn->setStyle(menuEntryStyle());
}

void CustomButton::setLabel(QLabel* label, QString style, bool bIsBold) {
    QFont font = label->font();
    font.setPixelSize(11);
    if (bIsBold)
        font.setWeight(QFont::Bold);
    label->setFont(font);
    label->setStyleSheet("QLabel { color: " + style + "; border: none; padding-top: 3px; }");
}

void CustomButton::setSlider(QSlider* slider, int min, int max, int step, int width) {
    slider->setMinimum(min);
    slider->setMaximum(max);
    slider->setSingleStep(step);
    slider->setFixedWidth(width);
    slider->setStyleSheet(sliderStyleSheet());
}
