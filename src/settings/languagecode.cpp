// Interface language codes: which code a start settles on, and where its translation file lies.
#include "languagecode.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace LanguageCode {

QString settle(const QString& stored, const QString& systemLocaleName) {
    if (!stored.isEmpty()) return stored;
    if (systemLocaleName.contains("zh_CN", Qt::CaseInsensitive)) return "zh_CN";
    if (systemLocaleName.contains("ru_RU", Qt::CaseInsensitive)) return "ru";
    return "en";
}

QString translationFile(const QString& code) {
    return QFileInfo(QCoreApplication::applicationFilePath()).absolutePath() + "/translations/" + code + ".qm";
}

}  // namespace LanguageCode
