// SPDX-License-Identifier: GPL-3.0-or-later
// Interface language codes: which code a start settles on, and where its translation file lies.
#include "languagecode.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include "settingslog.h"

namespace LanguageCode {

bool isPlain(const QString& code) {
    // \z, not $: "$" would also accept a code that ends in a line break.
    static const QRegularExpression plain("\\A[A-Za-z0-9_-]+\\z");
    return plain.match(code).hasMatch();
}

QString settle(const QString& stored, const QString& systemLocaleName) {
    if (isPlain(stored))
        return stored;
    if (!stored.isEmpty())
        qCWarning(lcSettings)
            << "Stored language code is not a language code, settled again from the system locale:" << stored;
    if (systemLocaleName.contains("zh_CN", Qt::CaseInsensitive))
        return "zh_CN";
    if (systemLocaleName.contains("ru_RU", Qt::CaseInsensitive))
        return "ru";
    return "en";
}

QString translationFile(const QString& code) {
    return QFileInfo(QCoreApplication::applicationFilePath()).absolutePath() + "/translations/" + code +
           ".qm";
}

}  // namespace LanguageCode
