// SPDX-License-Identifier: GPL-3.0-or-later
// The looks the settings panel's pages share: row labels, combo boxes, groups and their controls.
#pragma once

#include <QFont>
#include <QWidget>

namespace PanelStyle {

inline const char* const kRowLabel = "QLabel { color: #666666; padding-top: 3px;border:none; }";
// The list rule keeps the chosen entry readable: the page's white background reaches the list too.
inline const char* const kCombo =
    "QComboBox {   border: 1px solid gray;   border-radius: 3px;}"
    "QComboBox QAbstractItemView { selection-background-color: #0099FF; selection-color: #FFFFFF; }";
inline const char* const kGroup =
    "QGroupBox {   border: 1px solid #CCCCCC;   border-radius: 3px;   margin-top: 6px;   padding: 10px;}"
    "QGroupBox::title {   subcontrol-origin: margin;   subcontrol-position: top left;   left: 7px;   "
    "color: #666666;   font-size: 11px;}";
inline const char* const kControl =
    "QRadioButton {   color: #333333;   border: none;   background: transparent;}QRadioButton:focus {   "
    "border:none;   outline:none;}QLineEdit {   border: 0.6px solid #CCCCCC;   border-radius: 2.59px;}"
    "QToolButton {   border: 1px solid #CCCCCC;   border-radius: 3px;   background: white;}"
    "QToolButton:hover {   background: #f0f0f0;}QToolButton:pressed {   background-color: #0099FF;}"
    // Without a drawn ring the transparent radio button shows nothing while it is unchecked.
    "QRadioButton::indicator { width: 12px; height: 12px; border: 1px solid #999999; border-radius: 7px; "
    "background: #FFFFFF; }"
    "QRadioButton::indicator:checked { border-color: #0099FF; background: qradialgradient(cx: 0.5, cy: 0.5, "
    "radius: 0.5, fx: 0.5, fy: 0.5, stop: 0 #0099FF, stop: 0.5 #0099FF, stop: 0.6 #FFFFFF, stop: 1 #FFFFFF); "
    "}"
    // The same for check boxes: a ring of a box when unchecked, a white mark on blue when checked.
    "QCheckBox {   color: #333333;   border: none;   background: transparent;}"
    "QCheckBox::indicator { width: 12px; height: 12px; border: 1px solid #999999; border-radius: 2px; "
    "background: #FFFFFF; }"
    "QCheckBox::indicator:checked { border-color: #0099FF; background: #0099FF; "
    "image: url(:/image/svg/checkmark_press.svg); }";

inline void setPixelSize(QWidget* widget, int pixels) {
    QFont font = widget->font();
    font.setPixelSize(pixels);
    widget->setFont(font);
}

}  // namespace PanelStyle
