// SPDX-License-Identifier: GPL-3.0-or-later
// One-call dressing of tool buttons, labels and sliders in the look shared by every bar and popup.
#pragma once

#include <QString>

class QLabel;
class QSlider;
class QToolButton;

class CustomButton {
public:
    CustomButton() = delete;

    // ButtonType: 0 icon only, 1 text only, 2 text beside icon, 3 text under icon. nStyleType picks
    // one of the style sheets 0, 1, 3, 5 or 6; other values set none. Empty pressed or hover paths
    // leave that swap out.
    static void setToolButton(QToolButton* btn, const QString& iconPath, const QString& pressedIconPath,
                              const QString& hoverIconPath, const QString& text, int width, int height,
                              int iconwidth, int iconheight, int ButtonType, int nStyleType);
    // style: a colour as the style sheet's color property takes it.
    static void setLabel(QLabel* label, QString style, bool bIsBold);
    static void setSlider(QSlider* slider, int min, int max, int step, int width);

    static QString sliderStyleSheet();
    static QString toolButtonStyleSheet(int nStyleType);
};
