// SPDX-License-Identifier: GPL-3.0-or-later
// PDFs of captures: a page per readable picture in the order given, each page as large as the
// picture's resolution says, the JPEG data inside byte for byte the file's; unreadable pictures left
// out and named; nothing half-written; searchable PDFs give back the printed words in reading order.
// Checked with poppler's pdfinfo, pdfimages and pdftotext.
#include <QtTest>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "filebrowser/pdfexporter.h"
#include "printedpage.h"
#include "testenvironment.h"
#include "text/pagetextcache.h"

class TestPdfExport : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // A JPEG of width x height stating dpi, or for dpi < 0 a file that is not a whole JPEG.
    QString picture(const QString& name, int width, int height, int dpi) {
        const QString path = dir_.filePath(name);
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(200, 180, 40 + width % 200));
        if (dpi > 0) {
            image.setDotsPerMeterX(qRound(dpi / 0.0254));
            image.setDotsPerMeterY(qRound(dpi / 0.0254));
            image.save(path, "JPEG", 85);
        } else {
            image.save(path, "JPEG", 85);
            QFile file(path);
            file.open(QIODevice::ReadWrite);
            file.resize(file.size() / 2);  // cut off, as by a full disk
        }
        return path;
    }
    static QString run(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void pagesHoldThePicturesAsTheyAre_data() {
        QTest::addColumn<QStringList>("names");  // "name:width:height:dpi", dpi -1: a broken file
        QTest::addColumn<int>("leftOut");
        QTest::addRow("three pictures at three resolutions")
            << QStringList{"a.jpg:960:720:96", "b.jpg:1200:1600:300", "c.jpg:800:600:150"} << 0;
        QTest::addRow("a broken picture is left out")
            << QStringList{"d.jpg:640:480:72", "e.jpg:640:480:-1"} << 1;
        QTest::addRow("nothing readable: no file") << QStringList{"f.jpg:320:240:-1"} << 1;
    }
    void pagesHoldThePicturesAsTheyAre() {
        QFETCH(QStringList, names);
        QFETCH(int, leftOut);
        QStringList paths, good;
        QList<QSizeF> sizes;  // expected page sizes in points
        for (const QString& n : names) {
            const QStringList f = n.split(':');
            paths << picture(f[0], f[1].toInt(), f[2].toInt(), f[3].toInt());
            if (f[3].toInt() > 0) {
                good << paths.last();
                sizes << QSizeF(f[1].toDouble() * 72 / f[3].toInt(), f[2].toDouble() * 72 / f[3].toInt());
            }
        }
        const QString pdf = dir_.filePath(QTest::currentDataTag() + QString(".pdf"));
        const PdfExporter::Outcome outcome = PdfExporter::write(paths, pdf);
        QCOMPARE(outcome.leftOut.size(), leftOut);
        QCOMPARE(outcome.written, !good.isEmpty());
        QCOMPARE(QFile::exists(pdf), !good.isEmpty());
        QCOMPARE(QDir(dir_.path()).entryList({"*.pdf.*", ".*pdf*"}, QDir::Files | QDir::Hidden).size(), 0);
        if (good.isEmpty())
            return;

        const QString info = run("pdfinfo", {"-f", "1", "-l", "99", pdf});
        QVERIFY2(info.contains(QRegularExpression(QString("Pages:\\s+%1\\n").arg(good.size()))),
                 qPrintable(info));
        for (int i = 0; i < sizes.size(); ++i) {
            const QRegularExpression line(
                QString("Page\\s+%1 size:\\s+([\\d.]+) x ([\\d.]+) pts").arg(i + 1));
            const auto match = line.match(info);
            QVERIFY(match.hasMatch());
            QVERIFY(qAbs(match.captured(1).toDouble() - sizes[i].width()) < 0.5);
            QVERIFY(qAbs(match.captured(2).toDouble() - sizes[i].height()) < 0.5);
        }
        const QString prefix = dir_.filePath(QString("out-%1").arg(qHash(pdf)));
        run("pdfimages", {"-j", pdf, prefix});
        for (int i = 0; i < good.size(); ++i) {
            QFile original(good[i]), embedded(prefix + QString::asprintf("-%03d.jpg", i));
            QVERIFY(original.open(QIODevice::ReadOnly) && embedded.open(QIODevice::ReadOnly));
            QVERIFY2(original.readAll() == embedded.readAll(), qPrintable(good[i]));
        }
    }

    void searchableTextReadsAsPrinted_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QStringList>("lines");
        QTest::addRow("English") << "en"
                                 << "DejaVu Serif"
                                 << QStringList{"Pupils read the worksheet", "and answer each question"};
        QTest::addRow("Russian keeps its spaces")
            << "ru"
            << "DejaVu Serif" << QStringList{"Ученики читают рабочий лист", "и отвечают на вопросы"};
        QTest::addRow("Chinese without spaces")
            << "zh_CN"
            << "WenQuanYi Micro Hei" << QStringList{"学生们阅读练习题", "然后回答每个问题"};
    }
    void searchableTextReadsAsPrinted() {
        QFETCH(QString, language);
        QFETCH(QString, family);
        QFETCH(QStringList, lines);
        const QString jpeg = dir_.filePath(QTest::currentDataTag() + QString(".jpg"));
        QVERIFY(printedpage::draw(lines, family, 50, QSize(1700, 600)).save(jpeg, "JPEG", 90));
        PageTextCache cache;
        const QString pdf = dir_.filePath(QTest::currentDataTag() + QString(".pdf"));
        const PdfExporter::Outcome outcome = PdfExporter::write(
            {jpeg, jpeg}, pdf, [&](const QString& picture) { return cache.textOfFile(picture, {language}); });
        QVERIFY(outcome.written);
        QCOMPARE(outcome.pages, 2);

        QStringList read;
        for (const QString& line : run("pdftotext", {pdf, "-"}).split('\n')) {
            if (!line.trimmed().remove('\f').isEmpty())
                read << line.trimmed().remove('\f');
        }
        QCOMPARE(read, lines + lines);
        const QString prefix = dir_.filePath(QString("text-%1").arg(qHash(pdf)));
        run("pdfimages", {"-j", "-f", "1", "-l", "1", pdf, prefix});
        QCOMPARE(testenvironment::fileBytes(prefix + "-000.jpg"), testenvironment::fileBytes(jpeg));
    }

    // A picture recognised before is not read again while its file stays as it was.
    void aPageIsRecognisedOnceUntilItsFileChanges() {
        const QString jpeg = dir_.filePath("cached.jpg");
        QVERIFY(
            printedpage::draw({"First words"}, "DejaVu Sans", 50, QSize(900, 200)).save(jpeg, "JPEG", 90));
        PageTextCache cache;
        QCOMPARE(cache.textOfFile(jpeg, {"en"}).text.plainText(), QString("First words"));
        const QDateTime modified = QFileInfo(jpeg).lastModified();
        QVERIFY(
            printedpage::draw({"Second words"}, "DejaVu Sans", 50, QSize(900, 200)).save(jpeg, "JPEG", 90));
        QFile file(jpeg);
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(modified, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(cache.textOfFile(jpeg, {"en"}).text.plainText(), QString("First words"));
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(modified.addSecs(5), QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(cache.textOfFile(jpeg, {"en"}).text.plainText(), QString("Second words"));
    }

    void unwritableFolderLeavesNothing() {
        const QString picturePath = picture("g.jpg", 320, 240, 96);
        const PdfExporter::Outcome outcome = PdfExporter::write({picturePath}, "/proc/pagelux/none.pdf");
        QVERIFY(!outcome.written);
        QVERIFY(!QFile::exists("/proc/pagelux/none.pdf"));
    }
};

QTEST_MAIN(TestPdfExport)
#include "tst_pdfexport.moc"
