// SPDX-License-Identifier: GPL-3.0-or-later
// Writes captured JPEG pictures into one PDF, a page per picture, each page sized from the picture's
// resolution (DPI) and its JPEG data embedded as it is, not encoded again. Any thread.
#pragma once

#include <QString>
#include <QStringList>

class PdfExporter {
public:
    struct Outcome {
        bool written = false;  // the PDF is in place, whole
        int pages = 0;
        QStringList leftOut;  // pictures that could not be read, in the order given
    };

    // Pictures that cannot be read as JPEG files are left out and named in the outcome. Nothing is
    // written when none can be read, or when the file cannot be written (an earlier file at pdfPath
    // then stays as it was): the PDF goes to a temporary file in its folder and is renamed into place.
    static Outcome write(const QStringList& pictures, const QString& pdfPath);
};
