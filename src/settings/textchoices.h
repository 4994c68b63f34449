// SPDX-License-Identifier: GPL-3.0-or-later
// The choices for the page's text (the languages it is read in, searchable PDFs), kept in the extra
// settings under text/.
#pragma once

#include <QStringList>

class ExtraSettings;

// A view of the store it is given, which it does not own; as cheap to copy as a pointer.
class TextChoices {
public:
    static constexpr char kLanguagesKey[] = "text/languages";
    static constexpr char kSearchablePdfKey[] = "text/searchablePdf";

    explicit TextChoices(ExtraSettings* store);

    // Interface codes in the order offered; until the user chooses, the interface language and
    // English. Codes the program does not know are dropped.
    QStringList languages() const;
    void setLanguages(const QStringList& codes) const;
    // PDFs get a text layer: on by default when the data of a chosen language is installed.
    bool searchablePdf() const;
    void setSearchablePdf(bool on) const;
    // Both back to their defaults, as the settings' Default button does: the stored choices are
    // forgotten, so the languages follow the interface language again.
    void restoreDefaults() const;

private:
    ExtraSettings* m_store;
};
