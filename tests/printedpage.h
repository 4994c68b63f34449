// SPDX-License-Identifier: GPL-3.0-or-later
// A page of known text, drawn as a printer would: black lines on white, for the text recognition's
// tests and the bench.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStringList>

namespace printedpage {

// Lines of text in family at pixelSize from the top-left margin of a white page of size, stating dpi
// dots per inch.
inline QImage draw(const QStringList& lines, const QString& family, int pixelSize, QSize size,
                   int dpi = 300) {
    QImage page(size, QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(qRound(dpi / 0.0254));
    page.setDotsPerMeterY(qRound(dpi / 0.0254));
    QPainter painter(&page);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(family);
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int margin = size.width() / 12;
    int baseline = margin + pixelSize;
    for (const QString& line : lines) {
        painter.drawText(margin, baseline, line);
        baseline += pixelSize * 8 / 5;
    }
    return page;
}

}  // namespace printedpage
