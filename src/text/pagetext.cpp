// SPDX-License-Identifier: GPL-3.0-or-later
// Joining recognised words into text in the way each script writes it.
#include "pagetext.h"

#include <QHash>

namespace {

// Han ideographs and the punctuation written with them take no space around them.
bool isCjk(uint c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x3000 && c <= 0x303F) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x2FFFF);
}

uint firstCodePoint(const QString& text) {
    const QVector<uint> points = text.left(2).toUcs4();
    return points.isEmpty() ? 0 : points.first();
}

uint lastCodePoint(const QString& text) {
    const QVector<uint> points = text.right(2).toUcs4();
    return points.isEmpty() ? 0 : points.last();
}

}  // namespace

bool PageText::spaceBetween(const QString& left, const QString& right) {
    return !(isCjk(lastCodePoint(left)) && isCjk(firstCodePoint(right)));
}

QString PageText::plainText(QVector<int>* starts) const {
    QString text;
    if (starts)
        starts->clear();
    for (int i = 0; i < words.size(); ++i) {
        if (i > 0)
            text += words[i].line != words[i - 1].line               ? QStringLiteral("\n")
                    : spaceBetween(words[i - 1].text, words[i].text) ? QStringLiteral(" ")
                                                                     : QString();
        if (starts)
            starts->append(text.size());
        text += words[i].text;
    }
    return text;
}

QString PageText::mainLanguage() const {
    QHash<QString, int> counts;
    QString most;
    for (const Word& word : words)
        if (++counts[word.language] > counts.value(most))
            most = word.language;
    return most;
}
