// SPDX-License-Identifier: GPL-3.0-or-later
// The text choices in the extra settings, read back as known language codes only.
#include "textchoices.h"

#include <QString>

#include "extrasettings.h"
#include "readxml.h"
#include "text/textlanguages.h"

TextChoices::TextChoices(ExtraSettings* store) : m_store(store) {}

QStringList TextChoices::languages() const {
    const QVariant stored = m_store->value(kLanguagesKey);
    if (!stored.isValid())
        return TextLanguages::defaultChoice(QString::fromStdString(ReadXML::instance()->language));
    QStringList codes;
    // Kept in the order offered, whatever order the file holds them in.
    const QStringList chosen = stored.toStringList();
    for (const QString& code : TextLanguages::all())
        if (chosen.contains(code))
            codes << code;
    return codes;
}

void TextChoices::setLanguages(const QStringList& codes) const {
    // Stored even when empty: no language is a choice too, unlike no value at all.
    m_store->setValue(kLanguagesKey, codes.isEmpty() ? QVariant(QString()) : QVariant(codes));
}

bool TextChoices::searchablePdf() const {
    const QVariant stored = m_store->value(kSearchablePdfKey);
    if (stored.isValid())
        return stored.toBool();
    for (const QString& code : languages())
        if (TextLanguages::installed(code))
            return true;
    return false;
}

void TextChoices::setSearchablePdf(bool on) const {
    m_store->setValue(kSearchablePdfKey, on);
}

void TextChoices::restoreDefaults() const {
    m_store->remove(kLanguagesKey);
    m_store->remove(kSearchablePdfKey);
}
