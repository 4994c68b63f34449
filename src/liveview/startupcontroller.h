// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and language beside the view: the settings file read and settled at start, and the
// translations installed then and on every switch of the language.
#pragma once

#include <QObject>
#include <QString>
#include <QTranslator>

// GUI thread only.
class StartupController : public QObject {
    Q_OBJECT

public:
    // translator: the program's own translation, kept by the view; configPath: the settings file.
    StartupController(QTranslator* translator, const QString& configPath, QObject* parent = nullptr);

    // Reads the settings file, settles the language and the save folder, writes the file back, and
    // installs the settled language's translations. Returns the language code.
    QString start();
    // Saves the code, then swaps the installed translations for its own (English texts when it has
    // none).
    void switchLanguage(const QString& code);

private:
    void settleSaveFolder();
    void installTranslation(const QString& code);
    // Qt's own dialogs (folder and colour) speak the chosen language where Qt ships their texts.
    void installQtTranslation(const QString& code);

    QTranslator* m_translator;
    QTranslator m_qtTranslator;  // Qt's own texts: the folder and colour dialogs
    QString m_configPath;
};
