// SPDX-License-Identifier: GPL-3.0-or-later
// Recognises the text of a picture through Tesseract, in the languages the user chose.
#pragma once

#include <QImage>
#include <QStringList>

#include "pagetext.h"

// Never on the GUI thread: a 4K page takes seconds, and the caller waits for it. All recognition runs
// on one thread of its own at the lowest priority, one page after the other, with one engine made
// again only when the languages change, so a run of pages loads the language data once.
class TextRecognizer {
public:
    struct Result {
        PageText text;
        QStringList missing;  // chosen languages (interface codes) whose data is not installed
    };

    // The words of picture in the languages (interface codes) whose data is installed; the others
    // are named in the result and left out. No language left, or a picture Tesseract cannot take:
    // no words.
    static Result recognize(const QImage& picture, const QStringList& languages);
};
