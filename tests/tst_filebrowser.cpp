// SPDX-License-Identifier: GPL-3.0-or-later
// The captured-file panel on its own: shortened names, thumbnails, removing a tile, opening a file.
#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>
#include <algorithm>

#include "filebrowser/fileitemwidget.h"
#include "filebrowser/filelistwidget.h"
#include "filebrowser/folderfiles.h"
#include "filebrowser/pdfexporter.h"

class TestFileBrowser : public QObject {
    Q_OBJECT

public slots:
    // Stands in for the desktop's default application.
    void openUrl(const QUrl& url) { m_opened << url; }

private:
    QTemporaryDir m_folder;
    QList<QUrl> m_opened;

    QString touch(const QString& name) {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("not a picture");
        return path;
    }

    // The tile of each row; null for a row whose tile is not made yet.
    static QList<FileItemWidget*> tiles(FileListWidget& panel) {
        QList<FileItemWidget*> found;
        for (int row = 0; row < panel.m_listWidget->count(); ++row) {
            QWidget* container = panel.m_listWidget->itemWidget(panel.m_listWidget->item(row));
            found << (container != nullptr ? container->findChild<FileItemWidget*>() : nullptr);
        }
        return found;
    }

    // The files of the panel's rows, top to bottom, whether their tiles are made or not.
    static QStringList rowPaths(FileListWidget& panel) {
        QStringList found;
        for (int row = 0; row < panel.m_listWidget->count(); ++row)
            found << panel.m_listWidget->item(row)->data(Qt::UserRole).toString();
        return found;
    }

    static QStringList paths(FileListWidget& panel) {
        QStringList found;
        for (FileItemWidget* tile : tiles(panel))
            found << tile->m_path;
        return found;
    }

private slots:
    void displayName_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("shown");
        QTest::newRow("30 characters, in full") << "IMG_20240101_120000_00001x.jpg"
                                                << "IMG_20240101_120000_00001x.jpg";
        QTest::newRow("31 characters, shortened") << "IMG_20240101_120000_000001x.jpg"
                                                  << "IMG_202......jpg";
        QTest::newRow("32 characters") << "IMG_20240101_120000_000001_x.jpg"
                                       << "IMG_202......jpg";
        QTest::newRow("base name only up to its first dot") << "ab.cd_20240101_120000_000001.png"
                                                            << "ab......png";
        QTest::newRow("nine-character extension keeps one of the name") << "scan_of_the_whole_page.extension"
                                                                        << "s......extension";
        QTest::newRow("ten-character extension") << "scan_of_the_whole_page.extensions"
                                                 << "....extensions";
        QTest::newRow("109-character extension") << "a." + QString(109, 'e') << "...." + QString(109, 'e');
        QTest::newRow("110-character extension") << "a." + QString(110, 'e') << "......" + QString(10, 'e');
    }

    void displayName() {
        QFETCH(QString, fileName);
        QFETCH(QString, shown);
        QCOMPARE(FileItemWidget::displayName("/some/folder/" + fileName), shown);
        FileItemWidget tile(m_folder.filePath(fileName));
        QCOMPARE(tile.m_textLabel->text(), shown);
    }

    void thumbnail_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("picture");  // (0, 0): a text file; (-1, -1): no file
        QTest::addColumn<QSize>("shown");    // (-1, -1): "No load image"
        QTest::newRow("4K JPEG") << "wide.jpg" << QSize(3840, 2160) << QSize(100, 56);
        QTest::newRow("tall PNG") << "tall.png" << QSize(300, 600) << QSize(50, 100);
        QTest::newRow("small JPEG, fitted to the tile") << "small.jpg" << QSize(64, 48) << QSize(100, 75);
        QTest::newRow("text file") << "notes.jpg" << QSize(0, 0) << QSize();
        QTest::newRow("missing file") << "gone.jpg" << QSize() << QSize();
    }

    // The picture is red in its left half and blue in its right half: the thumbnail must be too.
    void thumbnail() {
        QFETCH(QString, name);
        QFETCH(QSize, picture);
        QFETCH(QSize, shown);
        const QString path = m_folder.filePath(name);
        QFile::remove(path);
        if (picture == QSize(0, 0))
            touch(name);
        if (picture.isValid() && !picture.isEmpty()) {
            QImage image(picture, QImage::Format_RGB32);
            image.fill(Qt::blue);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width() / 2; ++x)
                    image.setPixel(x, y, qRgb(255, 0, 0));
            QVERIFY(image.save(path));
        }
        FileItemWidget tile(path);
        const QPixmap thumb = tile.m_pixmapLabel->pixmap(Qt::ReturnByValue);
        if (!shown.isValid()) {
            QVERIFY(thumb.isNull());
            QCOMPARE(tile.m_pixmapLabel->text(), QString("No load image"));
            QCOMPARE(tile.m_pixmapLabel->styleSheet(), QString("color: gray;"));
            return;
        }
        QCOMPARE(thumb.size(), shown);
        const QImage image = thumb.toImage();
        const QColor left = image.pixelColor(shown.width() / 4, shown.height() / 2);
        const QColor right = image.pixelColor(shown.width() * 3 / 4, shown.height() / 2);
        QVERIFY2(left.red() > 200 && left.blue() < 60, qPrintable(left.name()));
        QVERIFY2(right.blue() > 200 && right.red() < 60, qPrintable(right.name()));
    }

    // A PDF's tile shows its first page, or a drawn sheet when the file is no PDF, with a red PDF mark.
    void pdfTileShowsItsFirstPage_data() {
        QTest::addColumn<bool>("readable");
        QTest::newRow("PDF of two pictures") << true;
        QTest::newRow("file that is no PDF") << false;
    }
    void pdfTileShowsItsFirstPage() {
        QFETCH(bool, readable);
        const QString path = m_folder.filePath(readable ? "pages.pdf" : "broken.pdf");
        QFile::remove(path);
        if (readable) {
            QImage first(400, 300, QImage::Format_RGB32), second(400, 300, QImage::Format_RGB32);
            first.fill(Qt::blue);
            for (int y = 0; y < first.height(); ++y)
                for (int x = 0; x < first.width() / 2; ++x)
                    first.setPixel(x, y, qRgb(255, 0, 0));
            second.fill(Qt::green);
            QVERIFY(first.save(m_folder.filePath("first.jpg")) &&
                    second.save(m_folder.filePath("second.jpg")));
            QVERIFY(
                PdfExporter::write({m_folder.filePath("first.jpg"), m_folder.filePath("second.jpg")}, path)
                    .written);
        } else {
            touch("broken.pdf");
        }
        FileItemWidget tile(path);
        const QImage thumb = tile.m_pixmapLabel->pixmap(Qt::ReturnByValue).toImage();
        QVERIFY(!thumb.isNull());
        QVERIFY(thumb.width() <= 100 && thumb.height() <= 100 && qMax(thumb.width(), thumb.height()) >= 99);
        const QColor mark = thumb.pixelColor(thumb.width() / 2 - 8, thumb.height() - 6);
        QVERIFY2(mark.red() > 180 && mark.green() < 90, qPrintable(mark.name()));
        const QColor left = thumb.pixelColor(thumb.width() / 4, thumb.height() / 2);
        const QColor right = thumb.pixelColor(thumb.width() * 3 / 4, thumb.height() / 2);
        if (readable) {
            QVERIFY2(left.red() > 200 && left.blue() < 60, qPrintable(left.name()));
            QVERIFY2(right.blue() > 200 && right.red() < 60, qPrintable(right.name()));
        } else {
            QCOMPARE(left, QColor(Qt::white));
        }
    }

    void noLoadImageIsTranslated_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("shown");
        QTest::newRow("en") << "en"
                            << "No load image";
        QTest::newRow("zh_CN") << "zh_CN" << QString::fromUtf8("无法加载图像");
        QTest::newRow("ru") << "ru" << QString::fromUtf8("Не удалось загрузить изображение");
    }

    void noLoadImageIsTranslated() {
        QFETCH(QString, language);
        QFETCH(QString, shown);
        QTranslator translator;
        QVERIFY(
            translator.load(QCoreApplication::applicationDirPath() + "/translations/" + language + ".qm"));
        QCoreApplication::installTranslator(&translator);
        FileItemWidget tile(touch("plain.txt"));
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(tile.m_pixmapLabel->text(), shown);
    }

    // With all tools shown, the tile deleted may be a chosen one: the choice changes while its row goes.
    void deleteRemovesOnlyItsRow_data() {
        QTest::addColumn<bool>("chosen");
        QTest::addRow("basic tools") << false;
        QTest::addRow("all tools, the deleted tile chosen") << true;
    }
    void deleteRemovesOnlyItsRow() {
        QFETCH(bool, chosen);
        FileListWidget panel;
        const QStringList files = {touch("a.jpg"), touch("b.jpg"), touch("c.jpg")};
        for (const QString& file : files)
            panel.addPath(file);
        QCOMPARE(paths(panel), files);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.setShowAllTools(chosen);
        if (chosen) {
            QTest::mouseClick(tiles(panel)[1], Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
            QTest::mouseClick(tiles(panel)[2], Qt::LeftButton, Qt::ControlModifier, QPoint(20, 20));
        }

        const QRect middleRow = panel.m_listWidget->visualItemRect(panel.m_listWidget->item(1));
        QPointer<FileItemWidget> middle = tiles(panel)[1];
        QTest::mouseClick(middle->m_deleteButton, Qt::LeftButton);
        QCOMPARE(paths(panel), QStringList({files[0], files[2]}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(middle.isNull());
        QVERIFY(QFile::exists(files[1]));
        // The row below moved up into the freed place.
        QTRY_COMPARE(panel.m_listWidget->visualItemRect(panel.m_listWidget->item(1)), middleRow);
        if (chosen)  // the other chosen tile is still the choice
            QCOMPARE(panel.picturesForPdf(), QStringList{files[2]});

        QTest::mouseClick(tiles(panel)[1]->m_deleteButton, Qt::LeftButton);
        QCOMPARE(paths(panel), QStringList({files[0]}));
    }

    // Clicks on tiles, as "row" (plain), "+row" (Ctrl) or ">row" (Shift), then "Save as PDF".
    void pdfTakesTheChosenTilesInPanelOrder_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QList<int>>("expected");  // rows of the pictures handed on
        QTest::addRow("none chosen: every picture") << QStringList{} << QList<int>{0, 1, 2, 3};
        QTest::addRow("Ctrl-click, out of order") << QStringList{"3", "+0"} << QList<int>{0, 3};
        QTest::addRow("Shift-click a range") << QStringList{"1", ">3"} << QList<int>{1, 2, 3};
        QTest::addRow("Ctrl-click takes one back") << QStringList{"0", ">2", "+1"} << QList<int>{0, 2};
    }
    void pdfTakesTheChosenTilesInPanelOrder() {
        QFETCH(QStringList, clicks);
        QFETCH(QList<int>, expected);
        FileListWidget panel;
        const QStringList files = {touch("p1.jpg"), touch("p2.jpg"), touch("p3.jpg"), touch("p4.jpg")};
        for (const QString& file : files)
            panel.addPath(file);
        panel.addPath(touch("earlier.pdf"));  // a PDF is never put into a PDF
        auto* button = panel.findChild<QPushButton*>("pdfButton");
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QVERIFY(!button->isVisible());
        panel.setShowAllTools(true);
        QVERIFY(button->isVisible());

        for (const QString& click : clicks) {
            const Qt::KeyboardModifiers modifier = click.startsWith('+')   ? Qt::ControlModifier
                                                   : click.startsWith('>') ? Qt::ShiftModifier
                                                                           : Qt::NoModifier;
            const int row = click.right(1).toInt();
            QTest::mouseClick(tiles(panel)[row], Qt::LeftButton, modifier, QPoint(20, 20));
        }
        QSignalSpy requested(&panel, &FileListWidget::pdfRequested);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(requested.count(), 1);
        QStringList wanted;
        for (int row : expected)
            wanted << files[row];
        QCOMPARE(requested.first().first().toStringList(), wanted);
    }

    // The newest tiles are at the bottom: the panel opens there, and a tile added while it shows is
    // scrolled into view.
    void panelShowsTheNewestTiles() {
        FileListWidget panel;
        for (int i = 0; i < 10; ++i)
            panel.addPath(touch(QString("old_%1.jpg").arg(i)));
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const QRect viewport = panel.m_listWidget->viewport()->rect();
        const auto fullyShown = [&](int row) {
            const QRect tile = panel.m_listWidget->visualItemRect(panel.m_listWidget->item(row));
            return tile.top() >= viewport.top() && tile.bottom() <= viewport.bottom();
        };
        QVERIFY(fullyShown(9));
        QVERIFY(!fullyShown(0));
        panel.addPath(touch("new.jpg"));
        QTRY_VERIFY(fullyShown(10));
    }

    // The save folder's pictures, recordings and PDFs, oldest at the top; files being written and
    // others are left out; files that others add or remove come and go.
    void folderFilesFollowTheFolder() {
        QTemporaryDir folder;
        const QDateTime yesterday = QDateTime::currentDateTime().addDays(-1);
        const auto file = [&](const QString& name, int minutes) {
            QFile made(folder.filePath(name));
            made.open(QIODevice::WriteOnly);
            made.write("an earlier file");
            made.flush();  // a write after the time is set would set it to now
            made.setFileTime(yesterday.addSecs(60 * minutes), QFileDevice::FileModificationTime);
            return folder.filePath(name);
        };
        const QString scan = file("b_scan.jpg", 1), lesson = file("a_lesson.mp4", 2),
                      pages = file("c_pages.pdf", 3);
        file("d_lesson.recording.mp4", 4);
        file(".e_scan.jpg", 5);
        file("notes.txt", 6);
        FileListWidget panel;
        FolderFiles files;
        connect(&files, &FolderFiles::added, &panel, &FileListWidget::listPaths);
        connect(&files, &FolderFiles::removed, &panel, &FileListWidget::removePaths);
        files.follow(folder.path());
        QCOMPARE(rowPaths(panel), QStringList({scan, lesson, pages}));
        panel.addPath(pages);  // written again in this run: still one row
        QCOMPARE(rowPaths(panel), QStringList({scan, lesson, pages}));

        const QString added = file("f_new.jpg", 7);
        QTRY_COMPARE(rowPaths(panel), QStringList({scan, lesson, pages, added}));
        QVERIFY(QFile::remove(lesson));
        QTRY_COMPARE(rowPaths(panel), QStringList({scan, pages, added}));
    }

    // A folder of 2,000 pictures: the panel shows within 300 ms with the tiles in view made, their
    // thumbnails read on another thread and filling in afterwards.
    void thousandsOfFilesOpenAtOnce() {
        QTemporaryDir folder;
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(&buffer, "JPG"));
        for (int i = 0; i < 2000; ++i) {
            QFile made(folder.filePath(QString("scan_%1.jpg").arg(i, 5, 10, QChar('0'))));
            QVERIFY(made.open(QIODevice::WriteOnly));
            made.write(jpeg);
        }
        FileListWidget panel;
        FolderFiles files;
        connect(&files, &FolderFiles::added, &panel, &FileListWidget::listPaths);
        QElapsedTimer clock;
        clock.start();
        files.follow(folder.path());
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QCoreApplication::processEvents();
        const qint64 openMs = clock.elapsed();
        QVERIFY2(openMs < 300, qPrintable(QString("%1 ms").arg(openMs)));
        QCOMPARE(panel.m_listWidget->count(), 2000);
        const QList<FileItemWidget*> all = tiles(panel);
        const long made = std::count(all.begin(), all.end(), nullptr);
        QVERIFY2(made >= 2000 - 8 && made < 2000, qPrintable(QString("%1 rows without a tile").arg(made)));
        // The newest, at the bottom, is in view and gets its thumbnail.
        QTRY_VERIFY(tiles(panel).last() != nullptr &&
                    !tiles(panel).last()->m_pixmapLabel->pixmap(Qt::ReturnByValue).isNull());
    }

    void doubleClickOpensItsFile() {
        QDesktopServices::setUrlHandler("file", this, "openUrl");
        m_opened.clear();
        FileListWidget panel;
        const QStringList files = {touch("first.jpg"), touch("second.jpg")};
        for (const QString& file : files)
            panel.addPath(file);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QTest::mouseDClick(tiles(panel)[1], Qt::LeftButton, Qt::NoModifier, QPoint(90, 40));
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(m_opened, QList<QUrl>({QUrl::fromLocalFile(files[1])}));
    }
};

QTEST_MAIN(TestFileBrowser)
#include "tst_filebrowser.moc"
