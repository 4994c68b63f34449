// SPDX-License-Identifier: GPL-3.0-or-later
// The text layer written straight into libharu's objects and content stream: its public interface
// draws text only in its own single-byte or predefined CJK encodings.
#include "pdftextlayer.h"

#include <hpdf_doc.h>
#include <hpdf_objects.h>
#include <hpdf_pages.h>

#include <QByteArray>
#include <QHash>

namespace {

const char kFontName[] = "PageluxText";  // in the page's resources
const int kGlyphWidth = 1000;            // every glyph's advance, in thousandths of the font size

// Maps each 16-bit code to the same UTF-16 unit; surrogate halves map to nothing (the layer leaves out
// characters beyond the Basic Multilingual Plane).
QByteArray toUnicodeMap() {
    QByteArray ranges;
    int count = 0;
    QByteArray map =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    const auto flush = [&] {
        map += QByteArray::number(count) + " beginbfrange\n" + ranges + "endbfrange\n";
        ranges.clear();
        count = 0;
    };
    for (int high = 0; high < 256; ++high) {
        if (high >= 0xD8 && high <= 0xDF)
            continue;
        const QByteArray h = QByteArray::number(high, 16).rightJustified(2, '0').toUpper();
        ranges += "<" + h + "00> <" + h + "FF> <" + h + "00>\n";
        if (++count == 100)  // a block holds at most 100 ranges
            flush();
    }
    flush();
    map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return map;
}

QByteArray number(double value) {
    return QByteArray::number(value, 'f', 3);
}

// The word as a hex string of UTF-16 units, characters beyond the BMP left out.
QByteArray hexCodes(const QString& text, int* glyphs) {
    QByteArray hex;
    *glyphs = 0;
    for (const QChar c : text) {
        if (c.isSurrogate())
            continue;
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
        ++*glyphs;
    }
    return "<" + hex + ">";
}

}  // namespace

PdfTextLayer::PdfTextLayer(HPDF_Doc pdf) : m_pdf(pdf) {}

HPDF_Dict PdfTextLayer::font() {
    if (m_font)
        return m_font;
    HPDF_MMgr mmgr = m_pdf->mmgr;
    HPDF_Xref xref = m_pdf->xref;
    HPDF_Dict type0 = HPDF_Dict_New(mmgr), cidFont = HPDF_Dict_New(mmgr), descriptor = HPDF_Dict_New(mmgr);
    HPDF_Dict cidInfo = HPDF_Dict_New(mmgr);
    HPDF_Dict unicodeMap = HPDF_DictStream_New(mmgr, xref);
    HPDF_Array descendants = HPDF_Array_New(mmgr), box = HPDF_Array_New(mmgr);
    if (!type0 || !cidFont || !descriptor || !cidInfo || !unicodeMap || !descendants || !box ||
        HPDF_Xref_Add(xref, type0) != HPDF_OK || HPDF_Xref_Add(xref, cidFont) != HPDF_OK ||
        HPDF_Xref_Add(xref, descriptor) != HPDF_OK)
        return nullptr;

    HPDF_STATUS status = HPDF_Dict_AddName(descriptor, "Type", "FontDescriptor");
    status += HPDF_Dict_AddName(descriptor, "FontName", kFontName);
    status += HPDF_Dict_AddNumber(descriptor, "Flags", 4);  // symbolic: no standard encoding implied
    for (int corner : {0, 0, kGlyphWidth, kGlyphWidth})
        status += HPDF_Array_AddNumber(box, corner);
    status += HPDF_Dict_Add(descriptor, "FontBBox", box);
    status += HPDF_Dict_AddNumber(descriptor, "ItalicAngle", 0);
    status += HPDF_Dict_AddNumber(descriptor, "Ascent", kGlyphWidth);
    status += HPDF_Dict_AddNumber(descriptor, "Descent", 0);
    status += HPDF_Dict_AddNumber(descriptor, "CapHeight", kGlyphWidth);
    status += HPDF_Dict_AddNumber(descriptor, "StemV", 80);

    // Registry and Ordering are strings, not names: a reader drops the font otherwise.
    status += HPDF_Dict_Add(cidInfo, "Registry", HPDF_String_New(mmgr, "Adobe", nullptr));
    status += HPDF_Dict_Add(cidInfo, "Ordering", HPDF_String_New(mmgr, "Identity", nullptr));
    status += HPDF_Dict_AddNumber(cidInfo, "Supplement", 0);
    status += HPDF_Dict_AddName(cidFont, "Type", "Font");
    status += HPDF_Dict_AddName(cidFont, "Subtype", "CIDFontType2");
    status += HPDF_Dict_AddName(cidFont, "BaseFont", kFontName);
    status += HPDF_Dict_Add(cidFont, "CIDSystemInfo", cidInfo);
    status += HPDF_Dict_Add(cidFont, "FontDescriptor", descriptor);
    status += HPDF_Dict_AddNumber(cidFont, "DW", kGlyphWidth);
    status += HPDF_Dict_AddName(cidFont, "CIDToGIDMap", "Identity");

    const QByteArray map = toUnicodeMap();
    status += HPDF_Stream_Write(unicodeMap->stream, reinterpret_cast<const HPDF_BYTE*>(map.constData()),
                                HPDF_UINT(map.size()));
    status += HPDF_Array_Add(descendants, cidFont);
    status += HPDF_Dict_AddName(type0, "Type", "Font");
    status += HPDF_Dict_AddName(type0, "Subtype", "Type0");
    status += HPDF_Dict_AddName(type0, "BaseFont", kFontName);
    status += HPDF_Dict_AddName(type0, "Encoding", "Identity-H");
    status += HPDF_Dict_Add(type0, "DescendantFonts", descendants);
    status += HPDF_Dict_Add(type0, "ToUnicode", unicodeMap);
    if (status == HPDF_OK)
        m_font = type0;
    return m_font;
}

bool PdfTextLayer::addTo(HPDF_Page page, const PageText& text, double pageWidth, double pageHeight) {
    if (text.words.isEmpty() || text.pictureSize.isEmpty())
        return true;
    HPDF_Dict type0 = font();
    auto resources =
        static_cast<HPDF_Dict>(HPDF_Page_GetInheritableItem(page, "Resources", HPDF_OCLASS_DICT));
    if (!type0 || !resources)
        return false;
    auto fonts = static_cast<HPDF_Dict>(HPDF_Dict_GetItem(resources, "Font", HPDF_OCLASS_DICT));
    if (!fonts) {
        fonts = HPDF_Dict_New(m_pdf->mmgr);
        if (!fonts || HPDF_Dict_Add(resources, "Font", fonts) != HPDF_OK)
            return false;
    }
    if (HPDF_Dict_Add(fonts, kFontName, type0) != HPDF_OK)
        return false;

    const double xScale = pageWidth / text.pictureSize.width(),
                 yScale = pageHeight / text.pictureSize.height();
    // A line's words share one size and baseline: words of their own heights (with or without
    // descenders) would read as pieces of several lines.
    QHash<int, QRect> lines;
    for (const PageText::Word& word : text.words)
        lines[word.line] |= word.box;
    QByteArray content = "\nBT\n3 Tr\n";  // 3: neither filled nor stroked
    for (int i = 0; i < text.words.size(); ++i) {
        const PageText::Word& word = text.words[i];
        const bool lineGoesOn = i + 1 < text.words.size() && text.words[i + 1].line == word.line;
        QString shown = word.text;
        // The word spans up to where the next one starts, so that a reader finds a space only where
        // one is written, never in a gap between two Chinese words.
        double span = word.box.width();
        if (lineGoesOn) {
            const PageText::Word& next = text.words[i + 1];
            if (PageText::spaceBetween(word.text, next.text))
                shown += ' ';
            if (next.box.left() > word.box.left())
                span = next.box.left() - word.box.left();
        }
        int glyphs = 0;
        const QByteArray codes = hexCodes(shown, &glyphs);
        if (glyphs == 0)
            continue;
        const QRect line = lines.value(word.line);
        const double size = line.height() * yScale;
        const double stretch = span * xScale / (glyphs * size * kGlyphWidth / 1000.0);
        content += "/" + QByteArray(kFontName) + " " + number(size) + " Tf\n" + number(stretch) + " 0 0 1 " +
                   number(word.box.left() * xScale) + " " +
                   number(pageHeight - (line.bottom() + 1) * yScale) + " Tm\n" + codes + " Tj\n";
    }
    content += "ET\n";
    auto attr = static_cast<HPDF_PageAttr>(page->attr);
    return HPDF_Stream_Write(attr->stream, reinterpret_cast<const HPDF_BYTE*>(content.constData()),
                             HPDF_UINT(content.size())) == HPDF_OK;
}
