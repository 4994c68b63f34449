// SPDX-License-Identifier: GPL-3.0-or-later
// Writes captured JPEG pictures into one PDF, a page per picture, each page sized from the picture's
// resolution (DPI) and its JPEG data embedded as it is, not encoded again; the page's recognised text
// over it, invisible, when asked for. Any thread.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "text/textrecognizer.h"

class PdfExporter {
public:
    struct Outcome {
        bool written = false;  // the PDF is in place, whole
        int pages = 0;
        QStringList leftOut;           // pictures that could not be read, in the order given
        QStringList missingLanguages;  // chosen languages without data, when text was asked for
    };
    // The recognised text of a picture file.
    using TextSource = std::function<TextRecognizer::Result(const QString& picture)>;

    // Pictures that cannot be read as JPEG files are left out and named in the outcome. Nothing is
    // written when none can be read, or when the file cannot be written (an earlier file at pdfPath
    // then stays as it was): the PDF goes to a temporary file in its folder and is renamed into place.
    // With textOf, each page gets a text layer of its picture's words (the searchable PDF).
    static Outcome write(const QStringList& pictures, const QString& pdfPath, const TextSource& textOf = {});
};
