// SPDX-License-Identifier: GPL-3.0-or-later
// A style that answers one pixel metric, the pressed button's horizontal content shift, with a fixed
// value and leaves every other question to its base style.
#pragma once

#include <QProxyStyle>

class SpacingProxyStyle : public QProxyStyle {
public:
    // With a null style the base is a new style of the application style's kind, owned by this proxy:
    // handing the application's own style object to a proxy would make the proxy its owner.
    SpacingProxyStyle(int iconTextSpacing, QStyle* style = nullptr);
    ~SpacingProxyStyle() override;

    int pixelMetric(QStyle::PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

private:
    int m_iconTextSpacing;
};
