// SPDX-License-Identifier: GPL-3.0-or-later
// What the pen and eraser popups share besides their rounded outline: separator lines and size boxes.
#pragma once

class QFrame;
class QLineEdit;
class QWidget;

namespace PopupPanel {

// A thin grey horizontal line between the sections of a popup.
QFrame* separator(const char* objectName, QWidget* parent);
// The read-only box that shows a size beside its slider.
QLineEdit* sizeBox(int value, QWidget* parent);

}  // namespace PopupPanel
