// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of what the simulated cameras say on standard error about input they cannot use: the camera
// count from the environment and lines written to the control FIFO.
#include "optigrab_sim.h"
#include "platform.h"

#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

class NullSink : public optigrab::HotplugSink {
public:
    void nodeEvent(optigrab::NodeEvent, const std::string&) override {}
};

// Sends everything written to standard error, by any thread, to a file while it lives.
class StderrCapture {
public:
    explicit StderrCapture(const QString& path) : file_(path) {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int fd = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~StderrCapture() {
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    QByteArray text() const {
        std::fflush(stderr);
        QFile file(file_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QString file_;
    int saved_ = -1;
};

bool hasControlBytes(const QByteArray& text) {
    for (const char c : text)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7f)
            return true;
    return false;
}

}  // namespace

class SimMessagesTest : public QObject {
    Q_OBJECT

private slots:
    // Each row starts a process of its own: the cameras from the environment are made once.
    void countFromEnvironment_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("cameras");
        QTest::addColumn<QByteArray>("message");  // empty: nothing may be said
        QTest::newRow("two") << QByteArray("2") << 2 << QByteArray();
        QTest::newRow("none") << QByteArray("0") << 0 << QByteArray();
        QTest::newRow("most") << QByteArray("64") << 64 << QByteArray();
        QTest::newRow("too many") << QByteArray("100") << 0
                                  << QByteArray("\"100\" is not a number from 0 to 64");
        QTest::newRow("negative") << QByteArray("-1") << 0
                                  << QByteArray("\"-1\" is not a number from 0 to 64");
        QTest::newRow("word") << QByteArray("two") << 0 << QByteArray("\"two\" is not a number");
        QTest::newRow("trailing text") << QByteArray("3x") << 0 << QByteArray("\"3x\" is not a number");
        QTest::newRow("empty") << QByteArray("") << 0 << QByteArray("\"\" is not a number");
        QTest::newRow("beyond long") << QByteArray("99999999999999999999") << 0
                                     << QByteArray("\"99999999999999999999\" is not a number");
        QTest::newRow("terminal escape")
            << QByteArray("1\x1b[2J") << 0 << QByteArray("\"1\\x1b[2J\" is not a number");
    }
    void countFromEnvironment() {
        QFETCH(QByteArray, value);
        QFETCH(int, cameras);
        QFETCH(QByteArray, message);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("OPTIGRAB_SIMULATED_CAMERAS", QString::fromLatin1(value));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {"--count-cameras"});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(child.readAllStandardOutput().trimmed().toInt(), cameras);
        const QByteArray error = child.readAllStandardError();
        if (message.isEmpty()) {
            QCOMPARE(error, QByteArray());
        } else {
            QVERIFY2(error.contains(message), error.constData());
            QVERIFY(!hasControlBytes(error));
        }
    }

    void controlLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("unknown id") << QByteArray("unplug 7")
                                    << QByteArray("\"unplug 7\": no simulated camera has id 7");
        QTest::newRow("fault of unknown id")
            << QByteArray("fault 9 corrupt 1") << QByteArray("no simulated camera has id 9");
        QTest::newRow("busy of unknown id")
            << QByteArray("busy 5 1") << QByteArray("no simulated camera has id 5");
        QTest::newRow("not a command") << QByteArray("dance") << QByteArray("\"dance\": not a command");
        QTest::newRow("bad fault kind") << QByteArray("fault 0 melt 1") << QByteArray("KIND must be");
        QTest::newRow("bad ids") << QByteArray("plug Cam 12 zz") << QByteArray("VID and PID must be");
        QTest::newRow("control bytes")
            << QByteArray("plug\x01\x1b[31m") << QByteArray("\"plug\\x01\\x1b[31m\"");
        QTest::newRow("bytes beyond ASCII")
            << QByteArray("unplug \xff\xfe") << QByteArray("\"unplug \\xff\\xfe\"");
        QTest::newRow("quote and backslash") << QByteArray("plug \"a\\") << QByteArray("\"plug \\\"a\\\\\"");
    }
    void controlLines() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, message);
        QTemporaryDir dir;
        const QString fifo = dir.filePath("cameras");
        qputenv("OPTIGRAB_SIMULATED_CONTROL", fifo.toLocal8Bit());
        NullSink sink;
        optigrab::Platform& platform = optigrab::simulatedPlatform();
        StderrCapture capture(dir.filePath("stderr"));
        platform.startHotplug(&sink);
        {
            QFile writer(fifo);
            QVERIFY(writer.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            writer.write(line + "\n");
        }
        QTRY_VERIFY(capture.text().contains(message));
        platform.stopHotplug();
        const QByteArray error = capture.text();
        QVERIFY(!hasControlBytes(error));
        QCOMPARE(error.count('\n'), 1);  // one line for one bad command
        QCOMPARE(optigrabSimCount(), 0);
    }
};

int main(int argc, char** argv) {
    // The child of countFromEnvironment: how many cameras the environment made.
    if (argc == 2 && std::strcmp(argv[1], "--count-cameras") == 0) {
        std::printf("%d\n", optigrabSimCount());
        return 0;
    }
    QCoreApplication app(argc, argv);
    SimMessagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "sim_messages.moc"
