// SPDX-License-Identifier: GPL-3.0-or-later
// What the program remembers beyond the settings file (tool switch, per-camera picture settings …),
// in an ini file of its own beside it, so that lastsetting.xml keeps its exact layout.
#pragma once

#include <QObject>
#include <QVariant>
#include <memory>

class QSettings;

// Made by main and handed to what reads or keeps these values. GUI thread only.
class ExtraSettings : public QObject {
    Q_OBJECT

public:
    explicit ExtraSettings(QObject* parent = nullptr);
    ~ExtraSettings() override;

    // extrasettings.ini in the configuration folder, where the program keeps these values.
    static QString defaultFilePath();

    // Reads the file at path and keeps every later change there. Until a file is opened, values live
    // in memory only.
    void open(const QString& path);
    QString filePath() const;

    QVariant value(const QString& key, const QVariant& fallback = {}) const;
    // Saves at once; the file is replaced whole (temporary file and rename), never cut off.
    void setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);

    // "Show all tools": off by default, the bars then hold only the basic tools.
    bool showAllTools() const;
    void setShowAllTools(bool on);

signals:
    void showAllToolsChanged(bool on);
    // After every setValue and remove, so that what shows or applies a value follows whoever changed it.
    void valueChanged(const QString& key);

private:
    void save();

    std::unique_ptr<QSettings> m_file;
    QVariantMap m_memory;  // used until a file is opened
    bool m_reportedWriteFailure = false;
};
