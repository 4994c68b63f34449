// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and language: the settings read at start, and the translations installed and swapped.
#include "startupcontroller.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <cstdio>

#include "liveviewlog.h"
#include "settings/languagecode.h"
#include "settings/readxml.h"
#include "settings/storagefolders.h"

StartupController::StartupController(QTranslator* translator, const QString& configPath, QObject* parent)
    : QObject(parent), m_translator(translator), m_configPath(configPath) {}

QString StartupController::start() {
    ReadXML* settings = ReadXML::instance();
    if (!settings->readData(m_configPath.toUtf8().constData())) {
        printf("Failed to load config, using defaults.\n");
        // The two lines above also come on every first start, where nothing is wrong.
        if (!QFileInfo::exists(m_configPath))
            printf("(A first start: there are no settings yet. They are written now.)\n");
    }

    const QString storedLanguage = QString::fromStdString(settings->language);
    if (!LanguageCode::isPlain(storedLanguage))
        printf("System locale:%s\n", QLocale::system().name().toUtf8().constData());
    const QString language = LanguageCode::settle(storedLanguage, QLocale::system().name());

    settleSaveFolder();
    settings->language = language.toStdString();
    settings->writeData(m_configPath.toUtf8().constData());

    installTranslation(language);
    return language;
}

void StartupController::settleSaveFolder() {
    ReadXML* settings = ReadXML::instance();
    if (!settings->savePath.empty())
        return;
    // With neither a documents nor a home folder the save folder stays empty and capturing is refused
    // until one is chosen.
    settings->savePath = StorageFolders::defaultSaveFolder().toStdString();
}

// English needs no file.
void StartupController::installQtTranslation(const QString& code) {
    QCoreApplication::removeTranslator(&m_qtTranslator);
    if (code == "en" || !LanguageCode::isPlain(code))
        return;
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    // The exact file only (load alone would fall back from "ru_RU" to "ru"): a code whose own
    // translation is missing leaves Qt's texts English, too.
    const QString path = QDir(folder).filePath("qtbase_" + code + ".qm");
    if (QFileInfo::exists(path) && m_qtTranslator.load(path))
        QCoreApplication::installTranslator(&m_qtTranslator);
    else
        qCDebug(lcLiveView) << "Qt's own dialogs stay in English, no translation:" << path;
}

void StartupController::installTranslation(const QString& code) {
    installQtTranslation(code);
    const QString path = LanguageCode::translationFile(code);
    qDebug() << "Trying to load translation:" << path;
    if (!QFileInfo::exists(path)) {
        qDebug() << "❌ Translation file not found:" << path;
        return;
    }
    if (m_translator->load(path)) {
        QCoreApplication::installTranslator(m_translator);
        qDebug() << "✅ Successfully loaded translation:" << path;
    } else {
        qDebug() << "❌ Exists but failed to load (corrupted?):" << path;
    }
}

void StartupController::switchLanguage(const QString& code) {
    printf("m_leftToolWidget Language changed: %s\n", code.toUtf8().constData());
    // Saved before the translation is tried: a code whose file is missing is still remembered.
    ReadXML::instance()->language = code.toStdString();
    ReadXML::instance()->writeData(m_configPath.toUtf8().constData());
    QCoreApplication::removeTranslator(m_translator);
    installQtTranslation(code);
    const QString path = LanguageCode::translationFile(code);
    if (LanguageCode::isPlain(code) && m_translator->load(path)) {
        QCoreApplication::installTranslator(m_translator);
        qDebug() << "✅ Language switched and loaded:" << path;
    } else {
        qDebug() << "❌ Failed to load translation:" << path;
    }
}
