// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file under kill -9: a process that saves the settings over and over is killed at
// random moments, and the file must always be the old or the new one, whole. CTest runs 100 kills,
// PAGELUX_SOAK_FULL=1 (scripts/soak) 1,000. Prints its figures.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "settings/readxml.h"

namespace {

// Two complete sets of settings that differ in every text field (and in length, so a file cut
// short or mixed from both is told apart).
void fill(ReadXML& s, bool second) {
    const std::string tag = second ? "second" : "first";
    s.bsaveType = second;
    s.savePath = "/home/teacher/Documents/Pagelux/" + tag + std::string(second ? 300 : 40, 'p');
    s.bformatType = !second;
    s.customPrefix = "lesson_" + tag;
    s.devName = "Desk Camera " + tag;
    s.devPIDVID = second ? "1bcf&2c99" : "046d&0825";
    s.videoFormat = second ? 1 : 2;
    s.resolution = second ? "1280 x 720" : "3840 x 2160";
    s.bfrequencyType = second;
    s.bEnablePTZ = !second;
    s.bEnableMic = second;
    s.compressionType = second ? 3 : 0;
    s.language = second ? "ru" : "zh_CN";
    s.bAutoHideBar = !second;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The child: saves the two sets in turn until it is killed, telling the parent of each finished save.
int writeForever(const char* path) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::FILE* out = ::fdopen(::dup(STDOUT_FILENO), "w");
    std::setvbuf(out, nullptr, _IONBF, 0);
    // The store logs each save on standard output: that goes nowhere, the count goes to the parent.
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    std::fputs("ready\n", out);
    for (bool second = true;; second = !second) {
        fill(*ReadXML::instance(), second);
        if (!ReadXML::instance()->writeData(path))
            return 1;
        std::fputc('.', out);
    }
}

}  // namespace

class TestSettingsSoak : public QObject {
    Q_OBJECT

private slots:
    void killedWhileSaving() {
        const int kills = qEnvironmentVariableIntValue("PAGELUX_SOAK_FULL") == 1 ? 1000 : 100;
        QTemporaryDir dir;
        const QString path = dir.filePath("lastsetting.xml");
        // What the two sets look like on disk, written by this process.
        QByteArray expected[2];
        for (int second = 0; second < 2; ++second) {
            fill(*ReadXML::instance(), second);
            QVERIFY(ReadXML::instance()->writeData(qPrintable(path)));
            expected[second] = readAll(path);
        }
        QVERIFY(expected[0] != expected[1]);

        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        int first = 0, second = 0, broken = 0;
        long saves = 0;
        QElapsedTimer timer;
        timer.start();
        for (int kill = 0; kill < kills; ++kill) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {"--write-forever", path});
            QVERIFY(child.waitForStarted());
            QVERIFY(child.waitForReadyRead(10000));
            QVERIFY(child.readLine().startsWith("ready"));
            QThread::usleep(random.bounded(500, 40000));  // inside one of the first few saves
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(10000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            saves += child.readAllStandardOutput().count('.');

            const QByteArray now = readAll(path);
            if (now == expected[0])
                ++first;
            else if (now == expected[1])
                ++second;
            else
                ++broken;
        }
        // Temporary files of the saves that were cut off stay beside the file; they never replace it.
        const QStringList others = QDir(dir.path())
                                       .entryList(QDir::Files | QDir::Hidden)
                                       .filter(QRegularExpression("^(?!lastsetting\\.xml$)"));
        qInfo(
            "soak: %d kill -9 during settings saves in %.1f s (seed %u): %ld saves finished before the "
            "kills; "
            "file afterwards: first set %d, second set %d, neither %d; %d temporary files left beside it",
            kills, timer.elapsed() / 1000.0, seed, saves, first, second, broken, int(others.size()));
        QCOMPARE(broken, 0);
        QVERIFY(first > 0 && second > 0);  // the kills did fall between different saves
        // And the loader reads what is there.
        QVERIFY(ReadXML::instance()->readData(qPrintable(path)));
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-forever") == 0)
        return writeForever(argv[2]);
    QCoreApplication app(argc, argv);
    TestSettingsSoak test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingssoak.moc"
