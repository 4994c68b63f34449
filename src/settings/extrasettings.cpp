// SPDX-License-Identifier: GPL-3.0-or-later
// The extra settings: an ini file beside the settings file, written through QSettings.
#include "extrasettings.h"

#include <QDir>
#include <QSettings>

#include "settingslog.h"
#include "storagefolders.h"

namespace {
const char kShowAllTools[] = "tools/showAll";
}

ExtraSettings::ExtraSettings(QObject* parent) : QObject(parent) {}

ExtraSettings::~ExtraSettings() = default;

QString ExtraSettings::defaultFilePath() {
    return QDir(StorageFolders::configurationFolder()).filePath("extrasettings.ini");
}

void ExtraSettings::open(const QString& path) {
    if (m_file != nullptr && m_file->fileName() == path)
        return;
    m_file = std::make_unique<QSettings>(path, QSettings::IniFormat);
    m_reportedWriteFailure = false;
    if (m_file->status() == QSettings::FormatError)
        qCWarning(lcSettings).noquote()
            << "The extra settings file cannot be read, defaults are used:" << path;
    // What was set before the file was known is kept.
    for (auto it = m_memory.cbegin(); it != m_memory.cend(); ++it)
        m_file->setValue(it.key(), it.value());
    m_memory.clear();
}

QString ExtraSettings::filePath() const {
    return m_file != nullptr ? m_file->fileName() : QString();
}

QVariant ExtraSettings::value(const QString& key, const QVariant& fallback) const {
    if (m_file == nullptr)
        return m_memory.value(key, fallback);
    return m_file->value(key, fallback);
}

void ExtraSettings::setValue(const QString& key, const QVariant& value) {
    if (m_file == nullptr) {
        m_memory.insert(key, value);
    } else {
        m_file->setValue(key, value);
        save();
    }
    emit valueChanged(key);
}

void ExtraSettings::remove(const QString& key) {
    if (m_file == nullptr) {
        for (auto it = m_memory.begin(); it != m_memory.end();)
            it = (it.key() == key || it.key().startsWith(key + '/')) ? m_memory.erase(it) : std::next(it);
    } else {
        m_file->remove(key);
        save();
    }
    emit valueChanged(key);
}

void ExtraSettings::save() {
    m_file->sync();
    // A folder that cannot be written keeps the values for this run; said once, not at every change.
    if (m_file->status() == QSettings::AccessError && !m_reportedWriteFailure) {
        m_reportedWriteFailure = true;
        qCWarning(lcSettings).noquote() << "The extra settings cannot be saved:" << m_file->fileName();
    }
}

bool ExtraSettings::showAllTools() const {
    return value(kShowAllTools, false).toBool();
}

void ExtraSettings::setShowAllTools(bool on) {
    if (on == showAllTools())
        return;
    setValue(kShowAllTools, on);
    emit showAllToolsChanged(on);
}
