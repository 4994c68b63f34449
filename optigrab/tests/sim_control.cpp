// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the simulated cameras' command FIFO, written to the way a shell script writes to it.
#include "optigrab_sim.h"
#include "platform.h"
#include "simnode.h"

#include <QtTest>

#include <sys/stat.h>

#include <algorithm>
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

    int barriers = 0;

    // As a user would: sh -c 'echo ... > fifo'.
    void send(const QString& lines) {
        QProcess shell;
        shell.start("sh", {"-c", "printf '" + lines + "' > \"$0\"", fifo});
        QVERIFY(shell.waitForFinished(30000));
        QCOMPARE(shell.exitCode(), 0);
    }
    // Sends lines and waits until the reader has carried them out: it takes one line after another,
    // so a camera plugged by a line after them, with a product id of its own, shows when they are done.
    void sendAndWait(const QString& lines) {
        const QString productId = QString::number(++barriers, 16).rightJustified(4, '0');
        send(lines + "plug Barrier 0b0b " + productId + "\\n");
        QTRY_VERIFY_WITH_TIMEOUT(hasProduct(productId.toStdString()), 30000);
    }
    bool hasProduct(const std::string& productId) {
        const auto nodes = platform.nodes();
        return std::any_of(nodes.begin(), nodes.end(),
                           [&](const optigrab::NodeInfo& node) { return node.productId == productId; });
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
        // The removal events come on the hot-plug thread, maybe after the count has dropped.
        QStringList events;
        QTRY_VERIFY((events += sink.take()).size() >= 6);
        QTest::qWait(100);
        events += sink.take();
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
        sendAndWait("plug Odd_Cam 1234 abcd " + option + " no-such-thing\\n");
        QCOMPARE(optigrabSimCount(), 2);  // the first camera and the one that waited for the line
    }
    // Options of a plug command that change what the driver answers.
    void plugOptionsChangeTheDriversAnswers_data() {
        QTest::addColumn<QString>("option");
        for (const char* option : {"padded-lines", "other-size", "stepwise-rates", "garbage-start",
                                   "bandwidth=1000", "ir-only", "h264-node"})
            QTest::addRow("%s", option) << option;
    }
    void plugOptionsChangeTheDriversAnswers() {
        QFETCH(QString, option);
        send("plug Odd_Cam 1234 abcd " + option + "\\n");
        QTRY_COMPARE(optigrabSimCount(), 1);
        const auto nodes = platform.nodes();
        QCOMPARE(nodes.size(), std::size_t(option == "h264-node" ? 4 : 2));
        SimNode node(nodes[option == "h264-node" ? 2 : 0].path);
        v4l2_fmtdesc desc{};
        desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(node.call(VIDIOC_ENUM_FMT, &desc), 0);
        const std::uint32_t expectedFirst = option == "ir-only"     ? V4L2_PIX_FMT_GREY
                                            : option == "h264-node" ? V4L2_PIX_FMT_H264
                                                                    : V4L2_PIX_FMT_MJPEG;
        QCOMPARE(desc.pixelformat, expectedFirst);
        v4l2_format format{};
        if (option == "padded-lines") {
            QCOMPARE(node.setFormat(V4L2_PIX_FMT_YUYV, 640, 480, &format), 0);
            QCOMPARE(format.fmt.pix.bytesperline, 640u * 2 + 64);
            QCOMPARE(format.fmt.pix.sizeimage, (640u * 2 + 64) * 480);
        } else if (option == "other-size") {
            QCOMPARE(node.setFormat(V4L2_PIX_FMT_MJPEG, 1920, 1080, &format), 0);
            QCOMPARE(format.fmt.pix.width, 1280u);
            QCOMPARE(format.fmt.pix.height, 720u);
        } else if (option == "stepwise-rates") {
            QCOMPARE(node.setFormat(V4L2_PIX_FMT_MJPEG, 640, 480), 0);
            v4l2_frmivalenum interval{};
            interval.pixel_format = V4L2_PIX_FMT_MJPEG;
            interval.width = 640;
            interval.height = 480;
            QCOMPARE(node.call(VIDIOC_ENUM_FRAMEINTERVALS, &interval), 0);
            QCOMPARE(interval.type, std::uint32_t(V4L2_FRMIVAL_TYPE_STEPWISE));
            interval.index = 1;
            QCOMPARE(node.call(VIDIOC_ENUM_FRAMEINTERVALS, &interval), EINVAL);
            // 1/12 s lies between the steps 2/30 and 3/30 and is rounded to the nearer.
            for (const auto& [asked, got] : {std::pair{25u, 30.0}, {12u, 10.0}, {14u, 15.0}, {1u, 5.0}}) {
                v4l2_streamparm parm{};
                QCOMPARE(node.setFps(asked, &parm), 0);
                const v4l2_fract& t = parm.parm.capture.timeperframe;
                QVERIFY2(
                    std::abs(double(t.denominator) / t.numerator - got) < 0.01,
                    qPrintable(QString("%1 fps gave %2/%3").arg(asked).arg(t.numerator).arg(t.denominator)));
            }
        } else if (option == "garbage-start") {
            QCOMPARE(node.setFormat(V4L2_PIX_FMT_YUYV, 640, 480), 0);
            QVERIFY(node.prepare(4));
            QCOMPARE(node.stream(true), 0);
            for (int frame = 0; frame < 3; ++frame) {
                v4l2_buffer buffer{};
                QVERIFY(node.nextFrame(&buffer));
                const auto bytes = node.bytes(buffer);
                const bool zero =
                    std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
                QCOMPARE(zero, frame < 2);
                QCOMPARE(node.requeue(&buffer), 0);
            }
        } else if (option == "bandwidth=1000") {
            QCOMPARE(node.setFormat(V4L2_PIX_FMT_MJPEG, 640, 480), 0);
            QVERIFY(node.prepare(2));
            QCOMPARE(node.stream(true), ENOSPC);
        }
    }

    // Faults of real cameras that come and go with stream restarts, sent from a shell.
    void restartFaultsFromShell_data() {
        QTest::addColumn<QString>("kind");
        QTest::addRow("transient") << "transient";
        QTest::addRow("usb-stall") << "usb-stall";
        QTest::addRow("queue-error") << "queue-error";
    }
    void restartFaultsFromShell() {
        QFETCH(QString, kind);
        send("plug\\n");
        QTRY_COMPARE(optigrabSimCount(), 1);
        const std::string path = platform.nodes().front().path;
        const QString id = path.substr(path.find("video") + 5).c_str();
        SimNode node(path);
        if (kind == "transient") {
            sendAndWait("fault " + id + " transient 1\\n");
            QCOMPARE(node.setFormat(V4L2_PIX_FMT_MJPEG, 640, 480), EIO);
            QCOMPARE(node.setFormat(V4L2_PIX_FMT_MJPEG, 640, 480), 0);
            return;
        }
        QCOMPARE(node.setFormat(V4L2_PIX_FMT_MJPEG, 640, 480), 0);
        QVERIFY(node.prepare(4));
        QCOMPARE(node.stream(true), 0);
        v4l2_buffer buffer{};
        QVERIFY(node.nextFrame(&buffer));
        QCOMPARE(node.requeue(&buffer), 0);
        sendAndWait("fault " + id + " " + kind + " 1\\n");
        if (kind == "queue-error") {
            pollfd fd{node.fd(), POLLIN, 0};
            QCOMPARE(node.platform().poll(&fd, 1, 0), 1);
            QCOMPARE(fd.revents & POLLERR, POLLERR);
            buffer = SimNode::blank(0);
            QCOMPARE(node.call(VIDIOC_DQBUF, &buffer), EIO);
        } else {
            for (int i = 0; i < 4 && node.nextFrame(&buffer, 0); ++i)  // frames filled before the stall
                node.requeue(&buffer);
            QVERIFY(!node.nextFrame(&buffer, 300));
        }
        // A restart ends it.
        QCOMPARE(node.stream(false), 0);
        node.unmap();
        QCOMPARE(node.requestBuffers(0), 0);
        QVERIFY(node.prepare(4));
        QCOMPARE(node.stream(true), 0);
        QVERIFY(node.nextFrame(&buffer));
    }
};

QTEST_GUILESS_MAIN(SimControlTest)
#include "sim_control.moc"
