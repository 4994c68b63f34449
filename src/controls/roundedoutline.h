// SPDX-License-Identifier: GPL-3.0-or-later
// The white rounded outline (radius 5) of the frameless popups: its path, its mask and its painting.
#pragma once

#include <QPainterPath>
#include <QRect>
#include <QRegion>

class QWidget;

namespace RoundedOutline {

QPainterPath path(const QRect& rect);
// The outline's fill polygon, as the window's mask: corners outside it take no clicks.
QRegion mask(const QRect& rect);
// Clears the widget to transparent and fills the outline white, antialiased.
void paint(QWidget* widget);

}  // namespace RoundedOutline
