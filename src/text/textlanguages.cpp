// SPDX-License-Identifier: GPL-3.0-or-later
// Interface codes to Tesseract's data names, and the data folder of Debian's tesseract-ocr packages.
#include "textlanguages.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct Language {
    const char* code;
    const char* dataName;
};
const Language kLanguages[] = {{"en", "eng"}, {"zh_CN", "chi_sim"}, {"ru", "rus"}};

// Where tesseract-ocr-eng and its siblings install their data, newest Tesseract first.
const char* const kDebianFolders[] = {"/usr/share/tesseract-ocr/5/tessdata",
                                      "/usr/share/tesseract-ocr/4.00/tessdata"};

}  // namespace

QStringList TextLanguages::all() {
    QStringList codes;
    for (const Language& language : kLanguages)
        codes << language.code;
    return codes;
}

QString TextLanguages::dataName(const QString& code) {
    for (const Language& language : kLanguages)
        if (code == QLatin1String(language.code))
            return language.dataName;
    return {};
}

QString TextLanguages::displayName(const QString& code) {
    if (code == "zh_CN")
        return tr("Chinese");
    if (code == "ru")
        return tr("Russian");
    return tr("English");
}

QString TextLanguages::missingNotice(const QStringList& codes) {
    QStringList names, packages;
    for (const QString& code : codes) {
        names << displayName(code);
        packages << "tesseract-ocr-" + dataName(code).replace('_', '-');
    }
    return tr("No text data for %1: install %2. Other languages were read.")
        .arg(names.join(", "), packages.join(" "));
}

QString TextLanguages::dataFolder() {
    const QString chosen = qEnvironmentVariable("PAGELUX_TESSDATA");
    if (!chosen.isEmpty())
        return chosen;
    for (const char* folder : kDebianFolders)
        if (QFileInfo(folder).isDir())
            return folder;
    return kDebianFolders[0];
}

bool TextLanguages::installed(const QString& code) {
    const QString name = dataName(code);
    return !name.isEmpty() && QFileInfo(QDir(dataFolder()).filePath(name + ".traineddata")).isFile();
}

QStringList TextLanguages::defaultChoice(const QString& interfaceCode) {
    QStringList codes;
    if (!dataName(interfaceCode).isEmpty())
        codes << interfaceCode;
    if (!codes.contains("en"))
        codes << "en";
    return codes;
}
