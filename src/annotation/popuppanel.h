// What the pen and eraser popups share: the white panel with rounded corners and its separator lines.
#pragma once

#include <QRegion>

class QFrame;
class QLineEdit;
class QWidget;

namespace PopupPanel {

// A thin grey horizontal line between the sections of a popup.
QFrame* separator(const char* objectName, QWidget* parent);
// The read-only box that shows a size beside its slider.
QLineEdit* sizeBox(int value, QWidget* parent);
// Paints the white rounded panel over a transparent fill.
void paint(QWidget* popup);
// The panel's outline; the corners outside it are cut off the window.
QRegion mask(const QRect& rect);

}  // namespace PopupPanel
