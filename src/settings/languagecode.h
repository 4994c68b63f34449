// Interface language codes: which code a start settles on, and where its translation file lies.
#pragma once

#include <QString>

namespace LanguageCode {

// The stored code when there is one, else the code for the system locale's name: "zh_CN" for a
// name containing zh_CN, "ru" for one containing ru_RU, otherwise "en".
QString settle(const QString& stored, const QString& systemLocaleName);

// translations/<code>.qm in the folder of the executable.
QString translationFile(const QString& code);

}  // namespace LanguageCode
