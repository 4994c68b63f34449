// SPDX-License-Identifier: GPL-3.0-or-later
// Interface language codes: which code a start settles on, and where its translation file lies.
#pragma once

#include <QString>

namespace LanguageCode {

// True for a code that can name a translation file: one or more letters, digits, "_" or "-".
// Anything else, a path above all, must never reach translationFile().
bool isPlain(const QString& code);

// The stored code when it is a plain code, else the code for the system locale's name: "zh_CN" for a
// name containing zh_CN, "ru" for one containing ru_RU, otherwise "en". A stored code that is not
// plain is logged and taken as absent.
QString settle(const QString& stored, const QString& systemLocaleName);

// translations/<code>.qm in the folder of the executable.
QString translationFile(const QString& code);

}  // namespace LanguageCode
