// SPDX-License-Identifier: GPL-3.0-or-later
// The invisible text over a PDF page's picture that makes the page searchable and copyable.
#pragma once

#include <hpdf.h>

#include "text/pagetext.h"

// One per document, on the thread that writes it. libharu 2.3 has no font that maps any Unicode text,
// so the layer brings its own: a Type0 font whose codes are UTF-16 units (Identity-H) and whose
// ToUnicode map gives them back as they are. Its glyphs are never drawn (render mode 3), so it
// embeds no outlines.
class PdfTextLayer {
public:
    explicit PdfTextLayer(HPDF_Doc pdf);

    // Writes text's words over page, the picture having filled the page (pageWidth x pageHeight
    // points): each word stretched over its box, a line's words joined by spaces where the script
    // writes them and by nothing where it does not (Chinese). False when libharu ran out of memory.
    bool addTo(HPDF_Page page, const PageText& text, double pageWidth, double pageHeight);

private:
    // The font's dictionary, made with the first page that has words.
    HPDF_Dict font();

    HPDF_Doc m_pdf;
    HPDF_Dict m_font = nullptr;
};
