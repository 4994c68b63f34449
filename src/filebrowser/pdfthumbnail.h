// SPDX-License-Identifier: GPL-3.0-or-later
// The first page of a PDF drawn small, for its tile in the file panel, with a "PDF" mark so that it
// is told from a picture; a drawn document with the mark when the file cannot be read.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace PdfThumbnail {

// Any thread. The page fits bounds; a file that is no readable PDF gives the drawn document.
QImage firstPage(const QString& path, const QSize& bounds);

}  // namespace PdfThumbnail
