// SPDX-License-Identifier: GPL-3.0-or-later
// Capture with a simulated camera: the names of the files, the drawing in the file, refused
// captures, a save that fails part-way, captures in quick succession, and the file panel's place.
#include <sys/resource.h>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>

#include "filebrowser/fileitemwidget.h"
#include "filebrowser/filelistwidget.h"
#include "liveview/capturewriter.h"
#include "liveview/filenumbering.h"
#include "liveview/videowidget.h"
#include "optigrab.h"
#include "optigrab_sim.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "toolbars/toolwidget_right.h"
#include "viewdriver.h"

namespace {

const QSize kViewSize(960, 540);

// The drawing is pure green, a colour the simulated page never shows.
bool isDrawing(const QColor& c) {
    return c.green() > 180 && c.red() < 90 && c.blue() < 90;
}

// What reaches the console through Qt's message handler while a test listens.
QStringList g_console;

void listen(QtMsgType, const QMessageLogContext&, const QString& message) {
    g_console << message;
}

void touch(const QString& path) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("an earlier capture");
}

}  // namespace

class TestCapture : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_configPath;
    // The specified tools only, whatever other suites left in the settings file beside the tests.
    ExtraSettings m_extra;
    std::unique_ptr<VideoWidget> m_view;
    QStringList m_written;  // files of the captures written since the last capture() or clear

    // A view on a simulated MJPG camera of that size, showing its picture at 960x540.
    void openView(const QSize& camera) {
        OptigrabSimMode mode{2, camera.width(), camera.height(), {30, 0, 0, 0}};
        OptigrabSimConfig config;
        optigrabSimDefaultConfig(&config);
        config.vendorId = "fa11";
        config.productId = "ca01";
        config.modes = &mode;
        config.modeCount = 1;
        QVERIFY(optigrabSimPlug(&config) >= 0);
        ReadXML* s = ReadXML::instance();
        s->devPIDVID = "fa11&ca01";
        s->videoFormat = 2;
        s->resolution = QString("%1 x %2").arg(camera.width()).arg(camera.height()).toStdString();
        QVERIFY(s->writeData(m_configPath.toUtf8().constData()));
        m_view = std::make_unique<VideoWidget>(nullptr, &m_extra);
        // Emitted on the writer's thread, recorded on this one; the view's own slot, connected
        // first, has added the tile by then. Connected before frames flow, so no thread of the
        // camera library emits while the connection is made.
        connect(m_view->findChild<CaptureWriter*>(), &CaptureWriter::captureWritten, this,
                [this](const QString& path) { m_written << path; });
        m_view->resize(kViewSize);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        QTRY_VERIFY_WITH_TIMEOUT(viewdriver::showsPicture(*m_view), 10000);
    }

    void setNaming(const QString& folder, bool custom, const QString& prefix) {
        ReadXML* s = ReadXML::instance();
        s->savePath = folder.toStdString();
        s->bsaveType = custom;
        s->customPrefix = prefix.toStdString();
    }

    // Waits until count captures have been written and returns their files in the order written.
    // A 4K capture on a busy machine may take several seconds; the wait ends as soon as they are there.
    QStringList awaitWritten(int count) {
        QElapsedTimer waited;
        waited.start();
        while (m_written.size() < count && waited.elapsed() < 60000)
            QTest::qWait(50);
        return m_written;
    }

    // Starts count captures at once and returns their files once all have been written.
    QStringList capture(int count = 1) {
        m_written.clear();
        for (int i = 0; i < count; ++i)
            m_view->captureImage();
        return awaitWritten(count);
    }

    FileListWidget* panel() { return m_view->findChild<FileListWidget*>(); }

    QStringList tilePaths() {
        QListWidget* list = panel()->findChild<QListWidget*>();
        QStringList paths;
        for (int row = 0; row < list->count(); ++row)
            paths << list->itemWidget(list->item(row))->findChild<FileItemWidget*>()->m_path;
        return paths;
    }

    // The notice over the picture as the user reads it; empty when none shows.
    static QString notice(VideoWidget& view) {
        const QLabel* label = view.findChild<QLabel*>("noticeLabel");
        return label != nullptr && label->isVisible() ? label->text() : QString();
    }

    void drawLine(const QPoint& from, const QPoint& to, int width) {
        viewdriver::penLine(*m_view, from, to, width, Qt::green);
    }

private slots:
    void initTestCase() {
        // The documents folder lies in this home; the settings file beside the test program.
        qputenv("HOME", m_home.path().toUtf8());
        QVERIFY(QDir().mkpath(QCoreApplication::applicationDirPath() + "/Configuration"));
        m_configPath = QCoreApplication::applicationDirPath() + "/Configuration/lastsetting.xml";
        ReadXML::instance()->language = "en";
    }

    void cleanup() {
        m_view.reset();
        optigrabSimUnplugAll();
    }

    void nextFileName_data() {
        QTest::addColumn<QStringList>("existing");  // names ending in "/" are folders
        QTest::addColumn<bool>("custom");
        QTest::addColumn<QString>("prefix");  // "" with custom false: today's date
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<QString>("expected");
        const QString today = QDate::currentDate().toString("yyyy-MM-dd");
        QTest::newRow("empty folder") << QStringList() << true << "image" << true << "image_00001.jpg";
        QTest::newRow("after the highest number") << QStringList({"image_00007.jpg", "image_00012.jpg"})
                                                  << true << "image" << true << "image_00013.jpg";
        QTest::newRow("other prefix only")
            << QStringList({"photo_00005.jpg"}) << true << "image" << true << "image_00002.jpg";
        QTest::newRow("prefix with an underscore")
            << QStringList({"my_scan_00003.jpg"}) << true << "my_scan" << true << "my_scan_00004.jpg";
        QTest::newRow("shorter prefix is another prefix")
            << QStringList({"my_scan_00003.jpg"}) << true << "my" << true << "my_00002.jpg";
        QTest::newRow("empty custom prefix")
            << QStringList({"_00004.jpg", "x_00009.jpg"}) << true << "" << true << "_00005.jpg";
        QTest::newRow("upper-case suffix listed, not matched")
            << QStringList({"image_00009.JPG"}) << true << "image" << true << "image_00002.jpg";
        QTest::newRow("six digits after 99999")
            << QStringList({"image_99999.jpg"}) << true << "image" << true << "image_100000.jpg";
        QTest::newRow("number beyond int reads as 0")
            << QStringList({"image_99999999999.jpg"}) << true << "image" << true << "image_00001.jpg";
        QTest::newRow("date prefix") << QStringList({today + "_00003.jpg", "image_00008.jpg"}) << false << ""
                                     << true << today + "_00004.jpg";
        QTest::newRow("missing folder: 00000, created by the library")
            << QStringList() << true << "image" << false << "image_00000.jpg";
        QTest::newRow("recordings share the numbers") << QStringList({"image_00004.jpg", "image_00006.mp4"})
                                                      << true << "image" << true << "image_00007.jpg";
        QTest::newRow("PDFs share the numbers") << QStringList({"image_00004.jpg", "image_00011.pdf"}) << true
                                                << "image" << true << "image_00012.jpg";
        QTest::newRow("a cut-off recording keeps its number")
            << QStringList({"image_00009.recording.mp4"}) << true << "image" << true << "image_00010.jpg";
        QTest::newRow("a folder holds the next name")
            << QStringList({"image_00001.jpg/"}) << true << "image" << true << "image_00002.jpg";
    }

    void nextFileName() {
        QFETCH(QStringList, existing);
        QFETCH(bool, custom);
        QFETCH(QString, prefix);
        QFETCH(bool, folderExists);
        QFETCH(QString, expected);
        openView(QSize(640, 480));
        QTemporaryDir base;
        const QString folder = base.filePath("captures");
        if (folderExists)
            QVERIFY(QDir().mkpath(folder));
        for (const QString& name : existing) {
            if (name.endsWith('/'))
                QVERIFY(QDir(folder).mkdir(name.chopped(1)));
            else
                touch(QDir(folder).filePath(name));
        }
        setNaming(folder, custom, prefix);
        const QString path = QDir(folder).filePath(expected);
        QCOMPARE(capture(), QStringList({path}));
        QCOMPARE(QImage(path).size(), QSize(640, 480));
        QCOMPARE(tilePaths(), QStringList({path}));
        for (const QString& name : existing)  // nothing of before was replaced
            if (!name.endsWith('/'))
                QCOMPARE(QImage(QDir(folder).filePath(name)).isNull(), true);
    }

    // The console stays quiet about names tried on the way unless the live view's debug lines are
    // switched on; a refused prefix is said in any case.
    void consoleLinesFollowTheLoggingRules_data() {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("line");  // a part of the line looked for
        QTest::addColumn<bool>("shown");
        QTest::newRow("name taken, by default") << ""
                                                << "image"
                                                << "is taken, trying the next number" << false;
        QTest::newRow("name taken, debug lines on") << "pagelux.liveview.debug=true"
                                                    << "image"
                                                    << "is taken, trying the next number" << true;
        QTest::newRow("prefix refused, by default") << ""
                                                    << "a/b"
                                                    << "holds a \"/\"" << true;
        QTest::newRow("prefix refused, warnings off") << "pagelux.liveview.warning=false"
                                                      << "a/b"
                                                      << "holds a \"/\"" << false;
    }

    void consoleLinesFollowTheLoggingRules() {
        QFETCH(QString, rules);
        QFETCH(QString, prefix);
        QFETCH(QString, line);
        QFETCH(bool, shown);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("image_00001.jpg"));  // a folder holds the first name
        setNaming(folder.path(), true, prefix);
        QLoggingCategory::setFilterRules(rules);
        g_console.clear();
        const QtMessageHandler before = qInstallMessageHandler(listen);
        int lastNumber = 0;
        FileNumbering numbering(&lastNumber);
        FileNumbering::Problem problem;
        numbering.next("jpg", &problem);
        qInstallMessageHandler(before);
        QLoggingCategory::setFilterRules(QString());
        QCOMPARE(g_console.filter(line).size(), shown ? 1 : 0);
    }

    // Without a save folder the counter alone numbers the captures; files of an earlier run in the
    // documents folder keep their numbers.
    void unsetSaveFolderTakesTheNextFreeNumber_data() {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no folder yet") << QStringList() << "image_00001.jpg";
        QTest::newRow("earlier run's files")
            << QStringList({"image_00001.jpg", "image_00002.jpg"}) << "image_00003.jpg";
    }

    void unsetSaveFolderTakesTheNextFreeNumber() {
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        openView(QSize(640, 480));
        const QString folder = QDir(m_home.path()).filePath("Documents/Pagelux");
        QDir(folder).removeRecursively();
        if (!existing.isEmpty())
            QVERIFY(QDir().mkpath(folder));
        for (const QString& name : existing)
            touch(QDir(folder).filePath(name));
        setNaming("", true, "image");
        const QString path = QDir(folder).filePath(expected);
        QCOMPARE(capture(), QStringList({path}));
        QCOMPARE(QString::fromStdString(ReadXML::instance()->savePath), folder);
        QCOMPARE(QImage(path).size(), QSize(640, 480));
        for (const QString& name : existing)
            QVERIFY(QImage(QDir(folder).filePath(name)).isNull());
    }

    // The layer has the view's proportions; it covers the picture's full width from the top-left
    // corner, and a taller picture keeps its lower band without drawing.
    void strokeLandsInTheFile_data() {
        QTest::addColumn<QSize>("camera");
        QTest::addColumn<QPoint>("inStroke");
        QTest::addColumn<QPoint>("besideStroke");
        // Layer line from (100, 300) to (800, 300), 16 wide.
        QTest::newRow("same proportions, twice the size")
            << QSize(1920, 1080) << QPoint(1000, 600) << QPoint(1000, 660);
        QTest::newRow("4:3 camera under a 16:9 view")
            << QSize(1600, 1200) << QPoint(833, 500) << QPoint(833, 560);
    }

    void strokeLandsInTheFile() {
        QFETCH(QSize, camera);
        QFETCH(QPoint, inStroke);
        QFETCH(QPoint, besideStroke);
        openView(camera);
        QTemporaryDir folder;
        setNaming(folder.path(), true, "page");
        drawLine(QPoint(100, 300), QPoint(800, 300), 16);
        drawLine(QPoint(0, 536), QPoint(959, 536), 8);  // along the layer's bottom edge

        const QStringList paths = capture();
        QCOMPARE(paths.size(), 1);
        const QImage file(paths[0]);
        QCOMPARE(file.size(), camera);
        QVERIFY(isDrawing(file.pixelColor(inStroke)));
        QVERIFY(!isDrawing(file.pixelColor(besideStroke)));
        QVERIFY(
            !isDrawing(file.pixelColor(camera.width() * 100 / 960 - 20, inStroke.y())));  // left of its start
        const int layerBottom = camera.width() * 540 / 960;
        QVERIFY(isDrawing(file.pixelColor(camera.width() / 2, layerBottom - 4)));
        for (int y = layerBottom + 2; y < camera.height(); y += 7)
            for (int x = 0; x < camera.width(); x += 13)
                QVERIFY2(!isDrawing(file.pixelColor(x, y)),
                         qPrintable(QString("drawing at %1,%2").arg(x).arg(y)));
        QCOMPARE(tilePaths(), paths);
    }

    void refusedWithoutPicture() {
        VideoWidget view;  // no camera
        view.resize(kViewSize);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTemporaryDir folder;
        setNaming(folder.path(), true, "image");
        QTest::ignoreMessage(QtDebugMsg, "无法捕捉图像：视频或绘图层为空");
        view.captureImage();
        QTest::qWait(300);
        QVERIFY(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
        QCOMPARE(view.findChild<FileListWidget*>()->findChild<QListWidget*>()->count(), 0);
        // Said over the picture for a few seconds, then gone by itself.
        QCOMPARE(notice(view), QString("No picture to capture yet: wait for the camera's picture."));
        QTest::qWait(2000);
        QVERIFY(!notice(view).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(notice(view).isEmpty(), 3000);
    }

    // A prefix edited into the settings file by hand never leads the file out of the save folder.
    void prefixWithSlashIsRefused() {
        openView(QSize(640, 480));
        QTemporaryDir base;
        const QString folder = base.filePath("captures");
        QVERIFY(QDir().mkpath(folder));
        setNaming(folder, true, "../escaped");
        m_view->captureImage();  // refused at once, and said so
        QCOMPARE(notice(*m_view), QString("The capture was not saved: the file name prefix holds a \"/\"."));
        QVERIFY(capture().isEmpty());
        QCOMPARE(QDir(base.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList({"captures"}));
        QVERIFY(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
        QVERIFY(tilePaths().isEmpty());
    }

    // The library takes the path in a buffer of 1024 bytes with its terminator; two-byte characters
    // make the byte count, not the character count, decide.
    void pathLengthLimit_data() {
        QTest::addColumn<int>("bytes");
        QTest::newRow("1023 bytes: captured") << 1023;
        QTest::newRow("1024 bytes: refused") << 1024;
    }

    void pathLengthLimit() {
        QFETCH(int, bytes);
        openView(QSize(640, 480));
        QTemporaryDir base;
        // A missing folder gives image_00000.jpg; its path is base/ ü... /image_00000.jpg.
        const QString name = "/image_00000.jpg";
        QString folder = base.path();
        int left = bytes - int(folder.toUtf8().size()) - int(name.size());
        while (left > 0) {
            const int part = std::min(left, 201) - 1;  // "/" and up to 200 bytes
            folder += "/" + QString(part / 2, QChar(0xfc)) + QString(part % 2, 'x');
            left -= part + 1;
        }
        const QString path = folder + name;
        QCOMPARE(int(path.toUtf8().size()), bytes);
        setNaming(folder, true, "image");
        const QStringList written = capture();
        if (bytes < CaptureWriter::kPathBufferBytes) {
            QCOMPARE(written, QStringList({path}));
            QCOMPARE(QImage(path).size(), QSize(640, 480));
            QCOMPARE(tilePaths(), written);
        } else {
            QVERIFY(written.isEmpty());
            QVERIFY(!QFileInfo::exists(path));
            QVERIFY(QDir(base.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
            QVERIFY(tilePaths().isEmpty());
            m_view->captureImage();
            QCOMPARE(notice(*m_view),
                     QString("The capture was not saved: the save folder's path is too long."));
        }
    }

    // The annotated picture is larger than the library's file at a low quality: with a file size
    // limit between the two the save fails part-way, as on a full disk.
    void failedSaveLeavesTheLibraryFileWhole() {
        openView(QSize(1920, 1080));
        QVERIFY(camSetImageJPGQuanlity(0, 5) == 0);  // the one camera plugged
        QTemporaryDir folder;
        setNaming(folder.path(), true, "image");
        drawLine(QPoint(100, 300), QPoint(800, 300), 16);
        const QString probe = folder.filePath("probe.jpg");
        QVERIFY(camCaptureImageFile(0, probe.toUtf8().constData()) == 0);
        const qint64 libraryBytes = QFileInfo(probe).size();
        QByteArray annotated;
        QBuffer buffer(&annotated);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(QImage(probe).save(&buffer, "jpg"));
        QVERIFY2(annotated.size() > 3 * libraryBytes / 2, "the limit must lie between the two sizes");
        const qint64 limitBytes = (libraryBytes + annotated.size()) / 2;
        QFile::remove(probe);

        std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limit = previous;
        limit.rlim_cur = rlim_t(limitBytes);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        QTest::ignoreMessage(QtDebugMsg, "图像保存失败");
        const QStringList paths = capture();
        setrlimit(RLIMIT_FSIZE, &previous);

        QCOMPARE(paths, QStringList({folder.filePath("image_00001.jpg")}));
        const QImage file(paths[0]);
        QCOMPARE(file.size(), QSize(1920, 1080));
        QVERIFY(QFileInfo(paths[0]).size() < limitBytes);
        QVERIFY(!isDrawing(file.pixelColor(1000, 600)));  // the library's picture, without the drawing
        // Whole down to its last rows: a cut-off JPEG decodes grey there.
        const QColor bottom = file.pixelColor(960, 1075);
        QVERIFY2(bottom != QColor(128, 128, 128), qPrintable(bottom.name()));
        QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList({"image_00001.jpg"}));
        QCOMPARE(tilePaths(), paths);  // still shown
        QTRY_COMPARE(notice(*m_view), QString("The picture was saved without the drawing over it."));
    }

    // A save folder nobody may write into, root included (/proc/self): the library's failure shows as
    // the log line with the path and as a notice, nothing is written, and no tile appears.
    void readOnlyFolderIsReported() {
        openView(QSize(640, 480));
        setNaming("/proc/self", true, "image");
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression("^无法加载图像： \"/proc/self/image_00001\\.jpg\"$"));
        const QStringList written = capture();
        QCOMPARE(written, QStringList({"/proc/self/image_00001.jpg"}));
        QVERIFY(!QFileInfo::exists(written[0]));
        QVERIFY(
            QDir("/proc/self").entryList({"*.jpg", ".image*"}, QDir::AllEntries | QDir::Hidden).isEmpty());
        QVERIFY(tilePaths().isEmpty());
        QTRY_COMPARE(notice(*m_view),
                     QString("The capture was not saved: the folder /proc/self cannot be written."));
    }

    // Each capture takes the layer as it was at its click, and its own number although the first
    // file is not in the folder yet when the second is named.
    void backToBackCaptures() {
        openView(QSize(1920, 1080));
        QTemporaryDir folder;
        setNaming(folder.path(), true, "image");
        m_written.clear();
        drawLine(QPoint(100, 100), QPoint(800, 100), 16);
        m_view->captureImage();
        drawLine(QPoint(100, 400), QPoint(800, 400), 16);
        m_view->captureImage();
        const QString first = folder.filePath("image_00001.jpg");
        const QString second = folder.filePath("image_00002.jpg");
        QCOMPARE(awaitWritten(2), QStringList({first, second}));
        const QImage one(first), two(second);
        QVERIFY(isDrawing(one.pixelColor(1000, 200)));
        QVERIFY(!isDrawing(one.pixelColor(1000, 800)));
        QVERIFY(isDrawing(two.pixelColor(1000, 200)));
        QVERIFY(isDrawing(two.pixelColor(1000, 800)));
        QCOMPARE(tilePaths(), QStringList({first, second}));
    }

    // A PDF takes the next number after the captures it holds, the next capture the one after it, and
    // a notice says where the PDF went and how many pages it has.
    void pdfTakesTheNextNumber_data() {
        QTest::addColumn<bool>("unreadable");  // a chosen picture that cannot be read
        QTest::newRow("two pictures") << false;
        QTest::newRow("one of three cannot be read") << true;
    }

    void pdfTakesTheNextNumber() {
        QFETCH(bool, unreadable);
        openView(QSize(640, 480));
        QTemporaryDir folder;
        touch(folder.filePath("image_00031.jpg"));  // an earlier run's, not in the panel
        setNaming(folder.path(), true, "image");
        QStringList pictures = capture(2);
        if (unreadable) {
            touch(folder.filePath("image_00020.jpg"));
            pictures << folder.filePath("image_00020.jpg");
        }
        QListWidget* list = panel()->findChild<QListWidget*>();
        panel()->setShowAllTools(true);
        list->item(0)->setSelected(true);
        emit panel()->pdfRequested(pictures);
        const QString pdf = folder.filePath("image_00034.pdf");
        QTRY_VERIFY_WITH_TIMEOUT(tilePaths().contains(pdf), 20000);
        QVERIFY2(list->selectedItems().isEmpty(), "tiles stay chosen for the next PDF");
        QString expected = QString("PDF saved: image_00034.pdf in %1 (pages: 2)").arg(folder.path());
        if (unreadable)
            expected += " without pictures that cannot be read: image_00020.jpg";
        QCOMPARE(notice(*m_view), expected);
        QCOMPARE(capture(), QStringList({folder.filePath("image_00035.jpg")}));
    }

    // A file that no program of the desktop opens (none is found here) is said so on a double click.
    void tileWithoutProgramIsSaid() {
        openView(QSize(640, 480));
        QTemporaryDir folder;
        setNaming(folder.path(), true, "image");
        const QString path = capture().value(0);
        const QByteArray path0 = qgetenv("PATH");
        QTemporaryDir emptyPath;  // no launcher on it
        qputenv("PATH", emptyPath.path().toUtf8());
        auto* tile = panel()->findChild<FileItemWidget*>();
        QVERIFY(tile != nullptr);
        emit tile->doubleClicked(path);
        qputenv("PATH", path0);
        QCOMPARE(notice(*m_view), QString("No program on this desktop opens image_00001.jpg."));
    }

    // With all tools shown the panel starts with the save folder's files; without, it starts empty.
    void panelStartsWithTheFolderWithAllTools_data() {
        QTest::addColumn<bool>("allTools");
        QTest::newRow("all tools shown") << true;
        QTest::newRow("basic tools only") << false;
    }

    void panelStartsWithTheFolderWithAllTools() {
        QFETCH(bool, allTools);
        QTemporaryDir folder;
        touch(folder.filePath("image_00001.jpg"));
        touch(folder.filePath("image_00002.pdf"));
        ReadXML::instance()->savePath = folder.path().toStdString();
        QVERIFY(ReadXML::instance()->writeData(m_configPath.toUtf8().constData()));
        ExtraSettings extra;
        extra.setShowAllTools(allTools);
        VideoWidget view(nullptr, &extra);
        QCOMPARE(view.findChild<FileListWidget*>()->findChild<QListWidget*>()->count(), allTools ? 2 : 0);
    }

    void panelPlacement_data() {
        QTest::addColumn<bool>("swapped");
        QTest::newRow("right bar at the right") << false;
        QTest::newRow("side bars exchanged") << true;
    }

    void panelPlacement() {
        QFETCH(bool, swapped);
        VideoWidget view;
        FileListWidget* panel = view.findChild<FileListWidget*>();
        QCOMPARE(panel->parentWidget(), &view);
        QCOMPARE(panel->size(), QSize(229, 600));
        view.resize(kViewSize);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(!panel->isVisible());  // hidden until asked for

        if (swapped)
            view.onExChangeLeft(true);     // as after the right bar's exchange button
        auto* above = new QWidget(&view);  // a child created after the panel
        above->show();
        view.onShowListWidget();
        const QSize screen = QGuiApplication::primaryScreen()->size();
        const int x =
            swapped ? 0 : screen.width() - view.findChild<ToolWidget_Right*>()->getButtonsTotalWidth();
        QCOMPARE(panel->pos(), QPoint(x, screen.height() - 666));
        QVERIFY(panel->isVisible());
        QCOMPARE(view.children().last(), panel);  // raised above the other children
        view.onHideListWidget();
        QVERIFY(!panel->isVisible());
    }
};

QTEST_MAIN(TestCapture)
#include "tst_capturefiles.moc"
