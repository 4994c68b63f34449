// SPDX-License-Identifier: GPL-3.0-or-later
// Renders a PDF's first page with poppler at the resolution that fits the tile.
#include "pdfthumbnail.h"

#include <poppler-qt5.h>

#include <QPainter>
#include <algorithm>
#include <memory>

namespace PdfThumbnail {

namespace {

// A sheet with a folded corner, for a PDF whose page cannot be drawn.
QImage documentSheet(const QSize& bounds) {
    const QSize size = QSize(210, 297).scaled(bounds, Qt::KeepAspectRatio);
    QImage sheet(size, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal fold = size.width() * 0.28;
    const QRectF page(1, 1, size.width() - 2, size.height() - 2);
    const QPolygonF outline({page.topLeft(), page.topRight() - QPointF(fold, 0),
                             page.topRight() + QPointF(0, fold), page.bottomRight(), page.bottomLeft()});
    painter.setPen(QPen(QColor(0x99, 0x99, 0x99), 1.5));
    painter.setBrush(Qt::white);
    painter.drawPolygon(outline);
    painter.drawPolyline(
        QPolygonF({page.topRight() - QPointF(fold, 0), page.topRight() + QPointF(-fold, fold),
                   page.topRight() + QPointF(0, fold)}));
    return sheet;
}

// The red "PDF" label at the bottom of the thumbnail.
void markAsPdf(QImage& image) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(std::max(9, image.height() / 7));
    font.setBold(true);
    painter.setFont(font);
    const QRect text = painter.fontMetrics().boundingRect("PDF").adjusted(-4, -1, 4, 1);
    const QRect placed = text.translated((image.width() - text.width()) / 2 - text.left(),
                                         image.height() - text.height() - 4 - text.top());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xD3, 0x2F, 0x2F));
    painter.drawRoundedRect(placed, 2, 2);
    painter.setPen(Qt::white);
    painter.drawText(placed, Qt::AlignCenter, "PDF");
}

QImage renderFirstPage(const QString& path, const QSize& bounds) {
    std::unique_ptr<Poppler::Document> document(Poppler::Document::load(path));
    if (document == nullptr || document->isLocked() || document->numPages() < 1)
        return {};
    std::unique_ptr<Poppler::Page> page(document->page(0));
    if (page == nullptr)
        return {};
    const QSizeF points = page->pageSizeF();  // 72 to the inch
    if (points.width() <= 0 || points.height() <= 0)
        return {};
    const double dpi = 72.0 * std::min(bounds.width() / points.width(), bounds.height() / points.height());
    document->setRenderHint(Poppler::Document::Antialiasing);
    return page->renderToImage(dpi, dpi);
}

}  // namespace

QImage firstPage(const QString& path, const QSize& bounds) {
    QImage image = renderFirstPage(path, bounds);
    if (image.isNull())
        image = documentSheet(bounds);
    else
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    markAsPdf(image);
    return image;
}

}  // namespace PdfThumbnail
