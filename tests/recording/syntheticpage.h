// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures for the recording suites: a light page with a moving dark bar, and a thick red stroke
// across its middle once drawn.
#pragma once

#include <QImage>
#include <QPainter>

inline QImage syntheticPage(const QSize& size, int number, bool stroke) {
    QImage page(size, QImage::Format_RGB32);
    page.fill(QColor(235, 235, 225));
    QPainter painter(&page);
    const int bar = size.width() / 20;
    painter.fillRect((number * 7) % std::max(1, size.width() - bar), size.height() / 8, bar,
                     size.height() / 10, Qt::darkGray);
    if (stroke)
        painter.fillRect(0, size.height() / 2 - size.height() / 20, size.width(), size.height() / 10,
                         Qt::red);
    return page;
}
