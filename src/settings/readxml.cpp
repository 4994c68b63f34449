// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store: the last choices of the user, loaded from and saved to lastsetting.xml.
#include "readxml.h"

#include <tinyxml2.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QString>
#include <cctype>
#include <climits>
#include <cstdio>

#include "settingslog.h"

namespace {

// The elements in the order in which the file holds them.
enum class Kind { Text, Integer, Boolean };
struct Field {
    const char* element;
    Kind kind;
    void* value;  // std::string*, int* or bool* according to kind
};

template <typename Visit>
void forEachField(ReadXML& s, Visit visit) {
    const Field fields[] = {
        {"SavePath", Kind::Text, &s.savePath},
        {"CustomPrefix", Kind::Text, &s.customPrefix},
        {"devName", Kind::Text, &s.devName},
        {"PIDVID", Kind::Text, &s.devPIDVID},
        {"Resolution", Kind::Text, &s.resolution},
        {"Language", Kind::Text, &s.language},
        {"SaveType", Kind::Boolean, &s.bsaveType},
        {"FormatType", Kind::Boolean, &s.bformatType},
        {"videoFormat", Kind::Integer, &s.videoFormat},
        {"FrequencyType", Kind::Boolean, &s.bfrequencyType},
        {"EnablePTZ", Kind::Boolean, &s.bEnablePTZ},
        {"EnableMic", Kind::Boolean, &s.bEnableMic},
        {"CompressionType", Kind::Integer, &s.compressionType},
        {"AutoHideBar", Kind::Boolean, &s.bAutoHideBar},
    };
    for (const Field& field : fields)
        visit(field);
}

// A save cut off by a crash or a kill leaves its temporary file, the settings file's name with six
// more letters, beside the file. One untouched for a minute belongs to no save still running (a save
// takes milliseconds, also of another instance of the program), so it goes.
void removeStaleTemporaries(const QString& settingsPath) {
    const QFileInfo settings(settingsPath);
    const QRegularExpression temporary("\\A" + QRegularExpression::escape(settings.fileName()) +
                                       "\\.[A-Za-z0-9]{6}\\z");
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QFileInfoList candidates =
        settings.dir().entryInfoList({settings.fileName() + ".*"}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& candidate : candidates) {
        if (!temporary.match(candidate.fileName()).hasMatch() || candidate.lastModified().toUTC() > stale)
            continue;
        if (QFile::remove(candidate.filePath()))
            qCInfo(lcSettings, "Removed a temporary settings file left by an interrupted save: %s",
                   qPrintable(candidate.filePath()));
    }
}

}  // namespace

ReadXML* ReadXML::instance() {
    // Never destroyed: callers may still use it while static objects go away at exit.
    static ReadXML* store = new ReadXML;
    return store;
}

int ReadXML::leadingInteger(const char* text) {
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = (*p++ == '-');
    long long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            break;  // saturated either way
    }
    if (negative)
        return value > static_cast<long long>(INT_MAX) ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

bool ReadXML::readData(const char* filePath) {
    tinyxml2::XMLDocument doc;
    if (filePath == nullptr || doc.LoadFile(filePath) != tinyxml2::XML_SUCCESS) {
        printf("***************** Load Failed: %s\n", filePath ? filePath : "(null)");
        return false;
    }
    const tinyxml2::XMLElement* root = doc.RootElement();
    if (root == nullptr) {
        printf("***************** Root element not found\n");
        return false;
    }
    forEachField(*this, [root](const Field& field) {
        const tinyxml2::XMLElement* element = root->FirstChildElement(field.element);
        const char* text = element ? element->GetText() : nullptr;
        if (text == nullptr)
            return;
        switch (field.kind) {
            case Kind::Text:
                *static_cast<std::string*>(field.value) = text;
                break;
            case Kind::Integer:
                *static_cast<int*>(field.value) = leadingInteger(text);
                break;
            case Kind::Boolean:
                *static_cast<bool*>(field.value) = leadingInteger(text) != 0;
                break;
        }
    });
    printf("Loaded SavePath: %s\n", savePath.c_str());
    printf("Loaded devName: %s\n", devName.c_str());
    return true;
}

bool ReadXML::writeData(const char* filePath) {
    if (filePath == nullptr) {
        printf("Error: Invalid file path in writeData.\n");
        return false;
    }
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLElement* root = doc.NewElement("Config");
    doc.InsertEndChild(root);
    forEachField(*this, [&doc, root](const Field& field) {
        tinyxml2::XMLElement* element = doc.NewElement(field.element);
        std::string text;
        switch (field.kind) {
            case Kind::Text:
                text = *static_cast<std::string*>(field.value);
                break;
            case Kind::Integer:
                text = std::to_string(*static_cast<int*>(field.value));
                break;
            case Kind::Boolean:
                text = *static_cast<bool*>(field.value) ? "1" : "0";
                break;
        }
        // A text node even for an empty value, so the element is written as a start and an end tag.
        element->InsertEndChild(doc.NewText(text.c_str()));
        root->InsertEndChild(element);
    });
    tinyxml2::XMLPrinter printer;
    doc.Print(&printer);

    // Written beside the target and renamed over it, so a crash or a full disk never leaves a
    // truncated settings file.
    // Unbuffered, so that a failing write is seen here: a buffered one fails only in commit's
    // flush, which still renames the cut-off file into place.
    QSaveFile file(QString::fromUtf8(filePath));
    const qint64 size = printer.CStrSize() - 1;  // without the terminator
    const bool saved = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                       file.write(printer.CStr(), size) == size && file.commit();
    if (saved) {
        printf("Successfully saved config to: %s\n", filePath);
        removeStaleTemporaries(file.fileName());
    } else {
        printf("Failed to save config to: %s\n", filePath);
    }
    return saved;
}
