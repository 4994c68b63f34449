// SPDX-License-Identifier: GPL-3.0-or-later
// A proxy style with a fixed horizontal shift for pressed buttons.
#include "spacingproxystyle.h"

#include <QApplication>
#include <QStyleFactory>

namespace {

QStyle* baseOrApplicationKind(QStyle* style) {
    if (style != nullptr)
        return style;
    return QStyleFactory::create(QApplication::style()->objectName());
}

}  // namespace

SpacingProxyStyle::SpacingProxyStyle(int iconTextSpacing, QStyle* style)
    : QProxyStyle(baseOrApplicationKind(style)), m_iconTextSpacing(iconTextSpacing) {}

SpacingProxyStyle::~SpacingProxyStyle() = default;

int SpacingProxyStyle::pixelMetric(QStyle::PixelMetric metric, const QStyleOption* option,
                                   const QWidget* widget) const {
    if (metric == QStyle::PM_ButtonShiftHorizontal)
        return m_iconTextSpacing;
    return QProxyStyle::pixelMetric(metric, option, widget);
}
