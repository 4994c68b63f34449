// SPDX-License-Identifier: GPL-3.0-or-later
// PDFs of captures: a page per readable picture in the order given, each page as large as the
// picture's resolution says, the JPEG data inside byte for byte the file's; unreadable pictures left
// out and named; nothing half-written. Checked with poppler's pdfinfo and pdfimages.
#include <QtTest>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "filebrowser/pdfexporter.h"

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

    void unwritableFolderLeavesNothing() {
        const QString picturePath = picture("g.jpg", 320, 240, 96);
        const PdfExporter::Outcome outcome = PdfExporter::write({picturePath}, "/proc/pagelux/none.pdf");
        QVERIFY(!outcome.written);
        QVERIFY(!QFile::exists("/proc/pagelux/none.pdf"));
    }
};

QTEST_GUILESS_MAIN(TestPdfExport)
#include "tst_pdfexport.moc"
