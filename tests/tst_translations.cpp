// SPDX-License-Identifier: GPL-3.0-or-later
// The translation files against the program's sources: every text that the sources pass to tr() has a
// finished translation in each language file, so no text shows untranslated in that language.
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QVector>
#include <QXmlStreamReader>
#include <QtTest>

#include "editdistance.h"

namespace {

struct Entry {
    QString translation;  // all numerus forms joined by '\n' where there are several
    QString type;         // "unfinished", "vanished", "obsolete" or empty for a finished entry
};

// A message is known by its context, source text and disambiguating comment.
QString keyOf(const QString& context, const QString& source, const QString& comment) {
    return context + QChar(0) + source + QChar(0) + comment;
}

QString describe(const QString& key) {
    const QStringList parts = key.split(QChar(0));
    return QString("%1: \"%2\"%3")
        .arg(parts[0], parts[1], parts[2].isEmpty() ? QString() : " (" + parts[2] + ")");
}

// The messages of a .ts file, by key; false when the file cannot be read as a .ts file.
bool readTs(const QString& path, QHash<QString, Entry>& entries, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot open " + path;
        return false;
    }
    QXmlStreamReader xml(&file);
    QString context, source, comment;
    Entry entry;
    bool numerus = false;
    bool sawTs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringRef name = xml.name();
            if (name == QLatin1String("TS")) {
                sawTs = true;
            } else if (name == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (name == QLatin1String("message")) {
                source.clear();
                comment.clear();
                entry = Entry();
                numerus = xml.attributes().value("numerus") == QLatin1String("yes");
            } else if (name == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (name == QLatin1String("comment")) {
                comment = xml.readElementText();
            } else if (name == QLatin1String("translation")) {
                entry.type = xml.attributes().value("type").toString();
                if (!numerus)
                    entry.translation = xml.readElementText();
            } else if (name == QLatin1String("numerusform")) {
                const QString form = xml.readElementText();
                entry.translation += entry.translation.isEmpty() ? form : "\n" + form;
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            entries.insert(keyOf(context, source, comment), entry);
        }
    }
    if (xml.hasError() || !sawTs) {
        error = path + ": " + (xml.hasError() ? xml.errorString() : "no <TS> element");
        return false;
    }
    return true;
}

}  // namespace

class TestTranslations : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QHash<QString, Entry> m_sourceTexts;  // what lupdate finds in the sources

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        const QString scanned = m_dir.filePath("sources.ts");
        QProcess lupdate;
        lupdate.start(PAGELUX_LUPDATE,
                      {"-silent", "-locations", "none", "-no-obsolete", PAGELUX_SOURCE_DIR, "-ts", scanned});
        QVERIFY2(lupdate.waitForFinished(120000), "lupdate did not finish");
        QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
                 lupdate.readAllStandardError().constData());
        QString error;
        QVERIFY2(readTs(scanned, m_sourceTexts, error), qPrintable(error));
        QVERIFY2(!m_sourceTexts.isEmpty(), "lupdate found no texts in the sources");
    }

    void everySourceTextIsTranslated_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("mayKeepSourceText");
        // An empty English entry falls back to the source text, which is English already.
        QTest::newRow("English") << "en.ts" << true;
        QTest::newRow("Simplified Chinese") << "zh_CN.ts" << false;
        QTest::newRow("Russian") << "ru.ts" << false;
    }

    void everySourceTextIsTranslated() {
        QFETCH(QString, file);
        QFETCH(bool, mayKeepSourceText);
        QHash<QString, Entry> translated;
        QString error;
        QVERIFY2(readTs(QString(PAGELUX_TS_DIR) + "/" + file, translated, error), qPrintable(error));
        QStringList faults;
        for (auto it = m_sourceTexts.constBegin(); it != m_sourceTexts.constEnd(); ++it) {
            const auto found = translated.constFind(it.key());
            if (found == translated.constEnd())
                faults << "missing " + describe(it.key());
            else if (!found->type.isEmpty())
                faults << found->type + " " + describe(it.key());
            else if (!mayKeepSourceText && found->translation.trimmed().isEmpty())
                faults << "empty " + describe(it.key());
        }
        faults.sort();
        // One line each: a failure message alone would be cut short.
        for (const QString& fault : faults)
            qWarning().noquote() << file << fault;
        QVERIFY2(faults.isEmpty(),
                 qPrintable(QString("%1 entries of %2 to complete").arg(faults.size()).arg(file)));
    }

    // The buttons the bars show side by side are told apart at a glance in every language: no two
    // labels are a letter apart, as a word and its other ending would be.
    void barLabelsAreToldApart_data() { everySourceTextIsTranslated_data(); }

    void barLabelsAreToldApart() {
        QFETCH(QString, file);
        QHash<QString, Entry> translated;
        QString error;
        QVERIFY2(readTs(QString(PAGELUX_TS_DIR) + "/" + file, translated, error), qPrintable(error));
        const QList<QPair<QString, QStringList>> bars = {
            {"ToolWidget_Left", {"Menu", "Min", "Setting"}},
            {"ToolsWidget",
             {"Move", "Select", "Annotation", "Eraser", "Text Tool", "Undo", "Video Fliters", "Masking",
              "Adjustment", "Freeze", "AF", "Capture", "Record"}},
            {"ToolWidget_Right", {"Split Screen", "Show Folder"}}};
        QStringList labels;
        for (const auto& [context, sources] : bars)
            for (const QString& source : sources) {
                const QString translation = translated.value(keyOf(context, source, {})).translation;
                labels << (translation.isEmpty() ? source : translation).toLower();
            }
        QStringList faults;
        for (int i = 0; i < labels.size(); ++i)
            for (int j = i + 1; j < labels.size(); ++j) {
                // Short labels, a Chinese word of two characters say, differ in all they have.
                const int needed = qMin(labels[i].size(), labels[j].size()) <= 4 ? 2 : 3;
                if (editDistance(labels[i], labels[j]) < needed)
                    faults << labels[i] + " / " + labels[j];
            }
        QVERIFY2(faults.isEmpty(), qPrintable(file + ": " + faults.join(", ")));
    }

    // A counted notice takes the form its number asks for in each language: one word, two words.
    void countedNoticesAgreeWithTheirNumber_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("shown");
        QTest::newRow("English, one") << "en" << 1 << "Text copied: 1 word";
        QTest::newRow("English, many") << "en" << 12 << "Text copied: 12 words";
        QTest::newRow("Russian, one") << "ru" << 21 << "Текст скопирован: 21 слово";
        QTest::newRow("Russian, a few") << "ru" << 3 << "Текст скопирован: 3 слова";
        QTest::newRow("Russian, many") << "ru" << 11 << "Текст скопирован: 11 слов";
        QTest::newRow("Chinese") << "zh_CN" << 1 << "已复制文字：1 个词";
    }
    void countedNoticesAgreeWithTheirNumber() {
        QFETCH(QString, language);
        QFETCH(int, count);
        QFETCH(QString, shown);
        QTranslator translator;
        QVERIFY(
            translator.load(QCoreApplication::applicationDirPath() + "/translations/" + language + ".qm"));
        QCoreApplication::installTranslator(&translator);
        const QString text =
            QCoreApplication::translate("TextController", "Text copied: %n words", nullptr, count);
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(text, shown);
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
