// SPDX-License-Identifier: GPL-3.0-or-later
// A line edit for a file system path, its middle elided while it has no focus.
#include "pathfield.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// What QLineEdit leaves between its contents rectangle and its text on either side.
constexpr int kHorizontalMargin = 2;

}  // namespace

PathField::PathField(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { setToolTip(text); });
}

QRect PathField::textArea() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    return contents.marginsRemoved(textMargins()).adjusted(kHorizontalMargin, 0, -kHorizontalMargin, 0);
}

QString PathField::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, textArea().width());
}

void PathField::paintEvent(QPaintEvent* event) {
    if (hasFocus() || text().isEmpty()) {
        QLineEdit::paintEvent(event);
        return;
    }
    // The frame as the style draws it, and the elided text where the line edit puts its own.
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(textArea(), int(Qt::AlignLeft | Qt::AlignVCenter), shownText());
}
