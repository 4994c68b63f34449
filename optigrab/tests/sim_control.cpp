// Tests of the simulated cameras' command FIFO, written to the way a shell script writes to it.
#include "optigrab_sim.h"
#include "platform.h"
#include "simnode.h"

#include <QtTest>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <mutex>

namespace {

class RecordingSink : public optigrab::HotplugSink {
public:
    void nodeEvent(optigrab::NodeEvent event, const std::string& path) override {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back(QString::fromStdString((event == optigrab::NodeEvent::Added ? "+" : "-") + path));
    }
    QStringList take() {
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(events, {});
    }
    std::mutex mutex;
    QStringList events;
};

bool isFifo(const QString& path) {
    struct stat info {};
    return ::stat(path.toLocal8Bit().constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

}  // namespace

class SimControlTest : public QObject {
    Q_OBJECT

private:
    optigrab::Platform& platform = optigrab::simulatedPlatform();
    QTemporaryDir dir;
    QString fifo;
    RecordingSink sink;

    // As a user would: sh -c 'echo ... > fifo'.
    void send(const QString& lines) {
        QProcess shell;
        shell.start("sh", {"-c", "printf '" + lines + "' > \"$0\"", fifo});
        QVERIFY(shell.waitForFinished(5000));
        QCOMPARE(shell.exitCode(), 0);
    }

private slots:
    void init() {
        fifo = dir.filePath("cameras");
        qputenv("OPTIGRAB_SIMULATED_CONTROL", fifo.toLocal8Bit());
        platform.startHotplug(&sink);
        QVERIFY(isFifo(fifo));
    }
    void cleanup() {
        const auto start = std::chrono::steady_clock::now();
        platform.stopHotplug();
        QVERIFY(std::chrono::steady_clock::now() - start < std::chrono::milliseconds(500));
        QVERIFY(!QFile::exists(fifo));  // removed at stop
        optigrabSimUnplugAll();
        sink.take();
    }

    void plugAndUnplugFromShell() {
        send("plug\\nplug Desk_Cam 1234 abcd\\n");
        QTRY_COMPARE(optigrabSimCount(), 2);
        const auto nodes = platform.nodes();
        QCOMPARE(nodes.size(), std::size_t(4));
        QCOMPARE(nodes[2].vendorId + ":" + nodes[2].productId, std::string("1234:abcd"));
        SimNode node(nodes[2].path);
        v4l2_capability cap{};
        QCOMPARE(node.call(VIDIOC_QUERYCAP, &cap), 0);
        QCOMPARE(QString(reinterpret_cast<const char*>(cap.card)), QString("Desk_Cam"));
        const QString id = nodes[2].path.substr(nodes[2].path.find("video") + 5).c_str();

        send("unplug " + id + "\\n");
        QTRY_COMPARE(optigrabSimCount(), 1);
        const QStringList events = sink.take();
        QCOMPARE(events.size(), 6);
        QCOMPARE(events.filter("+").size(), 4);
        QCOMPARE(events.last(), "-/dev/optigrab-sim/meta" + id);
    }

    // Several writers one after the other, a command split over two writes, and lines that are not
    // commands: the good ones still run.
    void badLinesDoNotStopTheReader() {
        send("dance\\nplug x\\nunplug 999\\nfault 0 melt 1\\npl");
        send("ug\\n");
        QTRY_COMPARE(optigrabSimCount(), 1);
        send("plug Second 00ff 0a0a\\n");
        QTRY_COMPARE(optigrabSimCount(), 2);
    }

    void faultAndBusyFromShell() {
        send("plug\\n");
        QTRY_COMPARE(optigrabSimCount(), 1);
        const std::string path = platform.nodes().front().path;
        const QString id = path.substr(path.find("video") + 5).c_str();
        SimNode node(path);
        QCOMPARE(node.setFormat(V4L2_PIX_FMT_MJPEG, 640, 480), 0);

        send("busy " + id + " 1\\n");
        QTRY_COMPARE(node.requestBuffers(2), EBUSY);
        send("fault " + id + " error 1\\nbusy " + id + " 0\\n");
        QTRY_COMPARE(node.requestBuffers(2), 0);
        QCOMPARE(node.requestBuffers(0), 0);
        QVERIFY(node.prepare(2));
        QCOMPARE(node.stream(true), 0);
        v4l2_buffer buffer{};
        QVERIFY(node.nextFrame(&buffer));
        QVERIFY(buffer.flags & V4L2_BUF_FLAG_ERROR);
        QCOMPARE(node.requeue(&buffer), 0);
        QVERIFY(node.nextFrame(&buffer));
        QVERIFY(!(buffer.flags & V4L2_BUF_FLAG_ERROR));
    }
    // Behaviours named after the ids of a plug command show in the frames the camera sends.
    void plugOptionsFromShell_data() {
        QTest::addColumn<QString>("option");
        QTest::addRow("stray-bytes") << "stray-bytes";
        QTest::addRow("no-huffman") << "no-huffman";
    }
    void plugOptionsFromShell() {
        QFETCH(QString, option);
        send("plug Odd_Cam 1234 abcd " + option + "\\n");
        QTRY_COMPARE(optigrabSimCount(), 1);
        SimNode node(platform.nodes().front().path);
        QCOMPARE(node.setFormat(V4L2_PIX_FMT_MJPEG, 640, 480), 0);
        QVERIFY(node.prepare(2));
        QCOMPARE(node.stream(true), 0);
        v4l2_buffer buffer{};
        QVERIFY(node.nextFrame(&buffer));
        const QByteArray frame(reinterpret_cast<const char*>(node.mapped(buffer.index)),
                               int(buffer.bytesused));
        QVERIFY(frame.startsWith("\xFF\xD8") && frame.endsWith("\xFF\xD9"));
        if (option == "stray-bytes") {
            // Zeros where the end-of-image marker and the first quantisation table should follow.
            QVERIFY(frame.chopped(2).endsWith(QByteArray(16, '\0')));
            QVERIFY(frame.contains(QByteArray(16, '\0') + "\xFF\xDB"));
        }
        QCOMPARE(frame.contains("\xFF\xC4"), option != "no-huffman");
        send("plug Odd_Cam 1234 abcd " + option + " no-such-thing\\n");
        QTest::qWait(100);
        QCOMPARE(optigrabSimCount(), 1);
    }
};

QTEST_GUILESS_MAIN(SimControlTest)
#include "sim_control.moc"
