// SPDX-License-Identifier: GPL-3.0-or-later
// The separator lines and size boxes of the annotation popups.
#include "popuppanel.h"

#include <QFrame>
#include <QLineEdit>

namespace PopupPanel {

QFrame* separator(const char* objectName, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setObjectName(objectName);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setStyleSheet("border:1px solid #C0C0C0");
    line->setFixedHeight(1);
    return line;
}

QLineEdit* sizeBox(int value, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setFixedWidth(30);
    box->setAlignment(Qt::AlignCenter);
    box->setStyleSheet("QLineEdit {border: 1px solid #CCCCCC; }");
    box->setText(QString::number(value));
    return box;
}

}  // namespace PopupPanel
