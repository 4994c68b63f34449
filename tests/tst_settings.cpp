// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: its exact layout, how values load, and that a failed write loses nothing.
#include <sys/resource.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include "settings/readxml.h"
#include "settings/storagefolders.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    ReadXML* s = ReadXML::instance();

    void resetStore() {
        s->bsaveType = false;
        s->savePath.clear();
        s->bformatType = false;
        s->customPrefix.clear();
        s->devName.clear();
        s->devPIDVID.clear();
        s->videoFormat = 0;
        s->resolution.clear();
        s->bfrequencyType = false;
        s->bEnablePTZ = false;
        s->bEnableMic = false;
        s->compressionType = 0;
        s->language.clear();
        s->bAutoHideBar = false;
    }

private slots:
    void init() {
        resetStore();
        m_path = m_dir.filePath("lastsetting.xml");
        QFile::remove(m_path);
    }

    void writesTheExactLayout() {
        s->savePath = "/home/u/Documents/Pagelux";
        s->language = "zh_CN";
        s->devPIDVID = "1234&5678";
        s->videoFormat = 2;
        s->bsaveType = true;
        QVERIFY(s->writeData(m_path.toUtf8().constData()));
        const QByteArray expected =
            "<Config>\n"
            "    <SavePath>/home/u/Documents/Pagelux</SavePath>\n"
            "    <CustomPrefix></CustomPrefix>\n"
            "    <devName></devName>\n"
            "    <PIDVID>1234&amp;5678</PIDVID>\n"
            "    <Resolution></Resolution>\n"
            "    <Language>zh_CN</Language>\n"
            "    <SaveType>1</SaveType>\n"
            "    <FormatType>0</FormatType>\n"
            "    <videoFormat>2</videoFormat>\n"
            "    <FrequencyType>0</FrequencyType>\n"
            "    <EnablePTZ>0</EnablePTZ>\n"
            "    <EnableMic>0</EnableMic>\n"
            "    <CompressionType>0</CompressionType>\n"
            "    <AutoHideBar>0</AutoHideBar>\n"
            "</Config>\n";
        QCOMPARE(readAll(m_path), expected);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"lastsetting.xml"});
    }

    void valuesRoundTrip() {
        s->devPIDVID = "1234&5678";
        s->devName = "Doc <Cam> \"A\" 文档";
        s->resolution = "1920 x 1080";
        QVERIFY(s->writeData(m_path.toUtf8().constData()));
        resetStore();
        QVERIFY(s->readData(m_path.toUtf8().constData()));
        QCOMPARE(QString::fromStdString(s->devPIDVID), QString("1234&5678"));
        QCOMPARE(QString::fromStdString(s->devName), QString("Doc <Cam> \"A\" 文档"));
        QCOMPARE(QString::fromStdString(s->resolution), QString("1920 x 1080"));
    }

    void loadsElementValues_data() {
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<int>("videoFormat");
        QTest::addColumn<bool>("saveType");
        QTest::newRow("SaveType 5 counts as true") << QByteArray("<SaveType>5</SaveType>") << 7 << true;
        QTest::newRow("SaveType 0 is false") << QByteArray("<SaveType>0</SaveType>") << 7 << false;
        QTest::newRow("videoFormat letters give 0")
            << QByteArray("<videoFormat>abc</videoFormat>") << 0 << false;
        QTest::newRow("videoFormat takes the leading number")
            << QByteArray("<videoFormat>12ab</videoFormat>") << 12 << false;
        QTest::newRow("a huge number saturates")
            << QByteArray("<videoFormat>99999999999999999999999</videoFormat>") << INT_MAX << false;
        QTest::newRow("a huge negative number saturates")
            << QByteArray("<videoFormat>-99999999999999999999999</videoFormat>") << INT_MIN << false;
        QTest::newRow("an empty element leaves the field")
            << QByteArray("<videoFormat></videoFormat>") << 7 << false;
    }

    void loadsElementValues() {
        QFETCH(QByteArray, element);
        QFETCH(int, videoFormat);
        QFETCH(bool, saveType);
        s->videoFormat = 7;
        writeAll(m_path, "<Config>\n    " + element + "\n</Config>\n");
        QVERIFY(s->readData(m_path.toUtf8().constData()));
        QCOMPARE(s->videoFormat, videoFormat);
        QCOMPARE(s->bsaveType, saveType);
    }

    void trueIsWrittenBackAsOne() {
        writeAll(m_path, "<Config><SaveType>5</SaveType></Config>");
        QVERIFY(s->readData(m_path.toUtf8().constData()));
        QVERIFY(s->writeData(m_path.toUtf8().constData()));
        QVERIFY(readAll(m_path).contains("<SaveType>1</SaveType>"));
    }

    void emptyElementKeepsTheValue() {
        s->customPrefix = "lesson";
        writeAll(m_path, "<Config><CustomPrefix></CustomPrefix><Language>ru</Language></Config>");
        QVERIFY(s->readData(m_path.toUtf8().constData()));
        QCOMPARE(QString::fromStdString(s->customPrefix), QString("lesson"));
        QCOMPARE(QString::fromStdString(s->language), QString("ru"));
    }

    void anyRootNameIsRead() {
        writeAll(m_path, "<Settings><AutoHideBar>1</AutoHideBar><Language>en</Language></Settings>");
        QVERIFY(s->readData(m_path.toUtf8().constData()));
        QVERIFY(s->bAutoHideBar);
        QCOMPARE(QString::fromStdString(s->language), QString("en"));
    }

    void unreadableFilesKeepDefaults_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing file") << QByteArray() << false;
        QTest::newRow("not XML") << QByteArray("this is not xml <<<") << true;
        QTest::newRow("cut off mid-element") << QByteArray("<Config>\n    <SavePath>/a</Sa") << true;
        QTest::newRow("empty file") << QByteArray() << true;
    }

    void unreadableFilesKeepDefaults() {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        if (exists)
            writeAll(m_path, content);
        QVERIFY(!s->readData(m_path.toUtf8().constData()));
        QVERIFY(s->savePath.empty());
        QCOMPARE(s->videoFormat, 0);
    }

    void failedWriteLeavesTheOldFile() {
        s->language = "ru";
        QVERIFY(s->writeData(m_path.toUtf8().constData()));
        const QByteArray before = readAll(m_path);
        // A disk that fills up mid-write: files may grow to 64 bytes only, for root too.
        signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &small);
        s->language = "en";
        const bool written = s->writeData(m_path.toUtf8().constData());
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!written);
        QCOMPARE(readAll(m_path), before);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"lastsetting.xml"});
    }

    // Temporary files of saves cut off by a kill go with the next save once they are a minute old;
    // a younger one may be another instance's save under way, and other files are not ours.
    void saveRemovesStaleTemporaries() {
        const QDateTime old = QDateTime::currentDateTime().addSecs(-120);
        const QStringList names = {"lastsetting.xml.AbC123", "lastsetting.xml.Zy9876", "lastsetting.xml.bak",
                                   "lastsetting.xml.Abc12345", "other.xml.AbC123"};
        for (const QString& name : names) {
            QFile file(m_dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (name != "lastsetting.xml.Zy9876")
                QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        QVERIFY(s->writeData(m_path.toUtf8().constData()));
        QStringList left = QDir(m_dir.path()).entryList(QDir::Files);
        left.sort();
        QCOMPARE(left, QStringList({"lastsetting.xml", "lastsetting.xml.Abc12345", "lastsetting.xml.Zy9876",
                                    "lastsetting.xml.bak", "other.xml.AbC123"}));
        for (const QString& name : left)
            QFile::remove(m_dir.filePath(name));
    }

    void missingFolderFailsTheWrite() {
        QVERIFY(!s->writeData(m_dir.filePath("no/such/folder/lastsetting.xml").toUtf8().constData()));
        QVERIFY(!s->writeData(nullptr));
    }

    // An installed program's folder holds no Configuration/ the user may write: each user's settings
    // then live in their own configuration folder, which is made on first use.
    void settingsFileLivesWhereItCanBeWritten_data() {
        QTest::addColumn<QString>("besideProgram");
        QTest::addColumn<bool>("usedBesideProgram");
        QTest::newRow("writable folder beside the program") << "writable" << true;
        QTest::newRow("no folder beside the program") << "absent" << false;
        QTest::newRow("read-only folder beside the program") << "read-only" << false;
    }

    void settingsFileLivesWhereItCanBeWritten() {
        QFETCH(QString, besideProgram);
        QFETCH(bool, usedBesideProgram);
        if (besideProgram == "read-only" && geteuid() == 0)
            QSKIP("the superuser writes into read-only folders");
        const QString beside = QCoreApplication::applicationDirPath() + "/Configuration";
        const QString userConfig = m_dir.filePath("config");
        qputenv("XDG_CONFIG_HOME", userConfig.toUtf8());
        // The suites share the folder beside the program: this case puts it back as it found it.
        const QString aside = beside + ".aside";
        QVERIFY(!QFileInfo::exists(beside) || QDir().rename(beside, aside));
        auto restore = qScopeGuard([&] {
            QFile(beside).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QDir(beside).removeRecursively();
            if (QFileInfo::exists(aside))
                QDir().rename(aside, beside);
            qunsetenv("XDG_CONFIG_HOME");
        });
        if (besideProgram != "absent")
            QVERIFY(QDir().mkpath(beside));
        if (besideProgram == "read-only")
            QVERIFY(QFile(beside).setPermissions(QFile::ReadOwner | QFile::ExeOwner));

        const QString path = StorageFolders::settingsFilePath();
        const QString expected =
            usedBesideProgram ? beside + "/lastsetting.xml"
                              : userConfig + "/" + QCoreApplication::applicationName() + "/lastsetting.xml";
        QCOMPARE(QFileInfo(path).absoluteFilePath(), QFileInfo(expected).absoluteFilePath());
        QVERIFY(s->writeData(path.toUtf8().constData()));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
