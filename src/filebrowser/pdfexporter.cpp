// SPDX-License-Identifier: GPL-3.0-or-later
// PDF export through libharu, which embeds JPEG files as they are (DCT-encoded image streams).
#include "pdfexporter.h"

#include <QFile>
#include <QSaveFile>

#include <hpdf.h>

#include "pdftextlayer.h"

#include <algorithm>
#include <memory>

namespace {

// What a picture without a stated resolution is taken to have: the camera library's default.
const double kDefaultDpi = 96.0;
// The largest page side a PDF reader must accept, in points.
const double kMaxPagePoints = 14400.0;

// Dots per inch from a JFIF header's density (APP0 right after SOI); 0 when it states none.
void jfifDpi(const QByteArray& head, double* x, double* y) {
    *x = *y = 0;
    const auto* b = reinterpret_cast<const unsigned char*>(head.constData());
    if (head.size() < 18 || b[2] != 0xFF || b[3] != 0xE0 || head.mid(6, 5) != QByteArray("JFIF", 5))
        return;
    const double perInch = b[13] == 1 ? 1.0 : b[13] == 2 ? 2.54 : 0.0;
    *x = perInch * ((b[14] << 8) | b[15]);
    *y = perInch * ((b[16] << 8) | b[17]);
}

// A JPEG file that is whole as far as its markers show: SOI at the start, EOI at the end.
bool looksWhole(const QString& path, double* xDpi, double* yDpi) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 4)
        return false;
    const QByteArray head = file.read(20);
    jfifDpi(head, xDpi, yDpi);
    if (!file.seek(file.size() - 2))
        return false;
    const QByteArray tail = file.read(2);
    return head.startsWith("\xFF\xD8") && tail == QByteArray("\xFF\xD9", 2);
}

void onHaruError(HPDF_STATUS, HPDF_STATUS, void*) {}  // failures are read from the return values

}  // namespace

PdfExporter::Outcome PdfExporter::write(const QStringList& pictures, const QString& pdfPath,
                                        const TextSource& textOf) {
    Outcome outcome;
    std::unique_ptr<std::remove_pointer<HPDF_Doc>::type, void (*)(HPDF_Doc)> pdf(
        HPDF_New(onHaruError, nullptr), HPDF_Free);
    if (!pdf)
        return outcome;
    PdfTextLayer textLayer(pdf.get());
    for (const QString& picture : pictures) {
        double xDpi = 0, yDpi = 0;
        HPDF_Image image = looksWhole(picture, &xDpi, &yDpi)
                               ? HPDF_LoadJpegImageFromFile(pdf.get(), QFile::encodeName(picture).constData())
                               : nullptr;
        if (!image) {
            HPDF_ResetError(pdf.get());
            outcome.leftOut << picture;
            continue;
        }
        const double width = HPDF_Image_GetWidth(image), height = HPDF_Image_GetHeight(image);
        double pageWidth = width * 72.0 / (xDpi > 0 ? xDpi : kDefaultDpi);
        double pageHeight = height * 72.0 / (yDpi > 0 ? yDpi : kDefaultDpi);
        const double shrink = std::min(1.0, kMaxPagePoints / std::max(pageWidth, pageHeight));
        pageWidth *= shrink;
        pageHeight *= shrink;
        HPDF_Page page = HPDF_AddPage(pdf.get());
        if (!page || HPDF_Page_SetWidth(page, HPDF_REAL(pageWidth)) != HPDF_OK ||
            HPDF_Page_SetHeight(page, HPDF_REAL(pageHeight)) != HPDF_OK ||
            HPDF_Page_DrawImage(page, image, 0, 0, HPDF_REAL(pageWidth), HPDF_REAL(pageHeight)) != HPDF_OK)
            return outcome;  // out of memory: nothing written
        if (textOf) {
            const TextRecognizer::Result text = textOf(picture);
            for (const QString& language : text.missing)
                if (!outcome.missingLanguages.contains(language))
                    outcome.missingLanguages << language;
            if (!textLayer.addTo(page, text.text, pageWidth, pageHeight))
                return outcome;
        }
        ++outcome.pages;
    }
    if (outcome.pages == 0 || HPDF_SaveToStream(pdf.get()) != HPDF_OK)
        return outcome;

    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly))
        return outcome;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (;;) {
        HPDF_UINT32 size = HPDF_UINT32(chunk.size());
        const HPDF_STATUS status =
            HPDF_ReadFromStream(pdf.get(), reinterpret_cast<HPDF_BYTE*>(chunk.data()), &size);
        if (size > 0 && file.write(chunk.constData(), size) != qint64(size))
            return outcome;
        if (status == HPDF_STREAM_EOF)
            break;
        if (status != HPDF_OK)
            return outcome;
    }
    outcome.written = file.commit();
    return outcome;
}
