// SPDX-License-Identifier: GPL-3.0-or-later
// The tool button of every bar and popup.
#include "vtoolbutton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

VToolButton::VToolButton(QWidget* parent) : QToolButton(parent) {}

VToolButton::~VToolButton() = default;

void VToolButton::setText(const QString& text, int spaceNum) {
    QString spaced = text;
    for (int i = 0; i < spaceNum; ++i)
        spaced.prepend(QLatin1Char(' '));
    QFont small = font();
    small.setPixelSize(6);
    setFont(small);
    QToolButton::setText(spaced);
}

void VToolButton::setData(int role, const QVariant& value) {
    mDataMap.insert(role, value);
}

QVariant VToolButton::data(int role) const {
    return mDataMap.value(role);
}

void VToolButton::initStyleOption(QStyleOptionToolButton* pOption) const {
    if (pOption == nullptr)
        return;
    QToolButton::initStyleOption(pOption);
    if (pOption->icon.isNull())
        return;

    const QStyle::State state = pOption->state;
    const bool enabled = state & QStyle::State_Enabled;
    QIcon::Mode mode;
    if (enabled && (state & QStyle::State_Sunken)) {
        mode = QIcon::Selected;
    } else if (enabled && (state & QStyle::State_MouseOver)) {
        mode = isChecked() ? QIcon::Selected : QIcon::Active;
    } else if (!enabled) {
        mode = QIcon::Disabled;
    } else {
        mode = isChecked() ? QIcon::Selected : QIcon::Normal;
    }
    // A one-pixmap icon leaves the style nothing to restyle: it draws the pixmap as chosen here.
    pOption->icon = QIcon(pOption->icon.pixmap(pOption->iconSize, mode, QIcon::Off));
}

void VToolButton::paintEvent(QPaintEvent* /*pPaintEvent*/) {
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
}
