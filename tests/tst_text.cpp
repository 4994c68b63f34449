// SPDX-License-Identifier: GPL-3.0-or-later
// The page's text: printed lines in English, Russian and Chinese come back as their words, in reading
// order and with boxes where the words are; a language without data is named and the others still read.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "printedpage.h"
#include "text/pagetext.h"
#include "text/textlanguages.h"
#include "text/textrecognizer.h"

class TestText : public QObject {
    Q_OBJECT

private slots:
    void wordsOfAPrintedPage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QStringList>("lines");
        QTest::addRow("English") << "en"
                                 << "DejaVu Sans"
                                 << QStringList{"The quick brown fox jumps", "over the lazy dog"};
        QTest::addRow("Russian") << "ru"
                                 << "DejaVu Sans"
                                 << QStringList{"Съешь же ещё этих мягких", "французских булок"};
        QTest::addRow("Chinese") << "zh_CN"
                                 << "WenQuanYi Micro Hei"
                                 << QStringList{"我们今天学习中文", "老师在教室里上课"};
    }
    void wordsOfAPrintedPage() {
        QFETCH(QString, language);
        QFETCH(QString, family);
        QFETCH(QStringList, lines);
        const QImage page = printedpage::draw(lines, family, 48, QSize(1400, 500));
        const TextRecognizer::Result result = TextRecognizer::recognize(page, {language, "en"});
        QVERIFY(result.missing.isEmpty());
        QCOMPARE(result.text.plainText(), lines.join('\n'));
        for (const PageText::Word& word : result.text.words) {
            QVERIFY2(QRect(QPoint(0, 0), page.size()).contains(word.box), qPrintable(word.text));
            QVERIFY(word.box.height() >= 24 && word.box.height() <= 96);  // the 48 px letters' box
        }
        QCOMPARE(result.text.words.first().language, language);
    }

    void aLanguageWithoutDataIsNamedAndTheOthersRead() {
        QTemporaryDir data;
        QVERIFY(QFile::link(QDir(TextLanguages::dataFolder()).filePath("eng.traineddata"),
                            data.filePath("eng.traineddata")));
        qputenv("PAGELUX_TESSDATA", data.path().toUtf8());
        const QImage page = printedpage::draw({"Reading still works"}, "DejaVu Sans", 48, QSize(1000, 200));
        const TextRecognizer::Result result = TextRecognizer::recognize(page, {"ru", "en"});
        qunsetenv("PAGELUX_TESSDATA");
        QCOMPARE(result.missing, QStringList{"ru"});
        QCOMPARE(result.text.plainText(), QString("Reading still works"));
    }
};

QTEST_MAIN(TestText)
#include "tst_text.moc"
