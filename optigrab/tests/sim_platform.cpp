// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the simulated cameras' device model, driven through the Platform as the library drives it.
#include "optigrab_sim.h"
#include "platform.h"
#include "simnode.h"

#include <QtTest>

#include <sys/eventfd.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>

using optigrab::NodeEvent;

Q_DECLARE_METATYPE(std::uint32_t)

namespace {

std::string videoPath(int id) {
    return "/dev/optigrab-sim/video" + std::to_string(id);
}
std::string metaPath(int id) {
    return "/dev/optigrab-sim/meta" + std::to_string(id);
}

long msSince(std::chrono::steady_clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count());
}

bool hasJpegMarkers(const std::vector<std::uint8_t>& frame, bool* soi, bool* eoi) {
    *soi = frame.size() >= 2 && frame[0] == 0xFF && frame[1] == 0xD8;
    *eoi = frame.size() >= 2 && frame[frame.size() - 2] == 0xFF && frame[frame.size() - 1] == 0xD9;
    return *soi && *eoi;
}

bool decodes(const std::vector<std::uint8_t>& frame) {
    tjhandle handle = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    bool ok = tjDecompressHeader3(handle, frame.data(), frame.size(), &width, &height, &subsampling,
                                  &colourspace) == 0;
    if (ok) {
        std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
        ok =
            tjDecompress2(handle, frame.data(), frame.size(), rgb.data(), width, 0, height, TJPF_RGB, 0) == 0;
    }
    tjDestroy(handle);
    return ok;
}

class RecordingSink : public optigrab::HotplugSink {
public:
    void nodeEvent(NodeEvent event, const std::string& path) override {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back((event == NodeEvent::Added ? "+" : "-") + path);
    }
    std::vector<std::string> take() {
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(events, {});
    }
    std::mutex mutex;
    std::vector<std::string> events;
};

// A camera with one small MJPEG mode at the given rate, for the streaming tests.
int plugSmall(long fps, double frameClock = 0) {
    static const OptigrabSimMode modes[] = {{2, 640, 480, {30, 15, 5, 0}}, {1, 640, 480, {30, 5, 0, 0}}};
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    config.modes = modes;
    config.modeCount = 2;
    config.frameClock = frameClock;
    const int id = optigrabSimPlug(&config);
    SimNode node(videoPath(id));
    node.setFps(static_cast<std::uint32_t>(fps));
    return id;
}

}  // namespace

class SimPlatformTest : public QObject {
    Q_OBJECT

private:
    optigrab::Platform& platform = optigrab::simulatedPlatform();

private slots:
    // OPTIGRAB_SIMULATED_CAMERAS=2 is set for this test: a demo must find two cameras at start.
    void initTestCase() {
        QCOMPARE(optigrabSimCount(), 2);
        const auto nodes = platform.nodes();
        QCOMPARE(nodes.size(), std::size_t(4));
        QCOMPARE(nodes[0].path, videoPath(0));
        QCOMPARE(nodes[2].path, videoPath(1));
        QCOMPARE(nodes[3].serial, std::string("SIM00001"));
        optigrabSimUnplugAll();
    }
    void cleanup() { optigrabSimUnplugAll(); }

    // The library sorts by node number and must tell capture nodes from metadata nodes by device_caps.
    void nodesLookLikeUvcCameras() {
        const int first = optigrabSimPlug(nullptr);
        OptigrabSimConfig config;
        optigrabSimDefaultConfig(&config);
        config.name = "Document camera at the window \xC3\xA9tude";  // the accent straddles byte 31
        config.vendorId = "1234";
        config.productId = "abcd";
        config.serial = "XY-7";
        const int second = optigrabSimPlug(&config);
        QVERIFY(second > first);

        const auto nodes = platform.nodes();
        QCOMPARE(nodes.size(), std::size_t(4));
        for (std::size_t i = 1; i < nodes.size(); ++i)
            QVERIFY(nodes[i].number > nodes[i - 1].number);
        QVERIFY(nodes[0].number >= 1000);  // after any real /dev/videoN
        QCOMPARE(nodes[2].vendorId + nodes[2].productId + nodes[2].serial, std::string("1234abcdXY-7"));
        QCOMPARE(nodes[0].vendorId + nodes[0].productId, std::string("fa110c01"));

        for (const auto& info : nodes) {
            SimNode node(info.path);
            QVERIFY(node.fd() >= 0);
            v4l2_capability cap{};
            QCOMPARE(node.call(VIDIOC_QUERYCAP, &cap), 0);
            const bool metadata = info.path.find("meta") != std::string::npos;
            QVERIFY(cap.capabilities & V4L2_CAP_DEVICE_CAPS);
            QCOMPARE(bool(cap.device_caps & V4L2_CAP_VIDEO_CAPTURE), !metadata);
            QVERIFY(cap.device_caps & V4L2_CAP_STREAMING);
            const std::string card(reinterpret_cast<const char*>(cap.card));
            if (info.path == videoPath(first))
                QCOMPARE(card, std::string("Simulated Document Camera"));
            if (info.path == videoPath(second))  // cut to 31 bytes, on a character boundary
                QCOMPARE(card, std::string("Document camera at the window "));
            v4l2_fmtdesc desc{};
            desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            QCOMPARE(node.call(VIDIOC_ENUM_FMT, &desc), metadata ? EINVAL : 0);
        }
        QCOMPARE(platform.open("/dev/optigrab-sim/video99"), -1);
        QCOMPARE(errno, ENOENT);
    }

    // What the device list shows: formats MJPG then YUY2, sizes and rates in the driver's order.
    void defaultModesAreEnumerated() {
        SimNode node(videoPath(optigrabSimPlug(nullptr)));
        QString tree;
        for (std::uint32_t f = 0;; ++f) {
            v4l2_fmtdesc desc{};
            desc.index = f;
            desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            if (node.call(VIDIOC_ENUM_FMT, &desc) != 0)
                break;
            tree += QString::fromLatin1(reinterpret_cast<const char*>(&desc.pixelformat), 4) + ":";
            for (std::uint32_t s = 0;; ++s) {
                v4l2_frmsizeenum size{};
                size.index = s;
                size.pixel_format = desc.pixelformat;
                if (node.call(VIDIOC_ENUM_FRAMESIZES, &size) != 0)
                    break;
                QCOMPARE(size.type, std::uint32_t(V4L2_FRMSIZE_TYPE_DISCRETE));
                tree += QString(" %1x%2@").arg(size.discrete.width).arg(size.discrete.height);
                for (std::uint32_t i = 0;; ++i) {
                    v4l2_frmivalenum interval{};
                    interval.index = i;
                    interval.pixel_format = desc.pixelformat;
                    interval.width = size.discrete.width;
                    interval.height = size.discrete.height;
                    if (node.call(VIDIOC_ENUM_FRAMEINTERVALS, &interval) != 0)
                        break;
                    tree +=
                        QString("%1/%2,").arg(interval.discrete.numerator).arg(interval.discrete.denominator);
                }
            }
            tree += "\n";
        }
        QCOMPARE(tree,
                 QString("MJPG: 3840x2160@1/30,1/15,1/5, 1920x1080@1/30,1/15,1/5, 1280x720@1/30,1/15,1/5,"
                         " 640x480@1/30,1/15,1/5,\n"
                         "YUYV: 1280x720@1/10,1/5, 640x480@1/30,1/15,1/5,\n"));
    }

    void formatIsAdjustedToNearestOffered_data() {
        QTest::addColumn<std::uint32_t>("fourcc");
        QTest::addColumn<QSize>("asked");
        QTest::addColumn<std::uint32_t>("gotFourcc");
        QTest::addColumn<QSize>("got");
        QTest::addColumn<std::uint32_t>("bytesPerLine");
        QTest::addColumn<std::uint32_t>("sizeImage");
        const std::uint32_t mjpg = V4L2_PIX_FMT_MJPEG, yuyv = V4L2_PIX_FMT_YUYV;
        QTest::newRow("exact 4K") << mjpg << QSize(3840, 2160) << mjpg << QSize(3840, 2160) << 0u
                                  << 3840u * 2160 * 2;
        QTest::newRow("nearer 4K than 1080p")
            << mjpg << QSize(3400, 1900) << mjpg << QSize(3840, 2160) << 0u << 3840u * 2160 * 2;
        QTest::newRow("SVGA to VGA") << mjpg << QSize(800, 600) << mjpg << QSize(640, 480) << 0u
                                     << 640u * 480 * 2;
        QTest::newRow("tiny") << mjpg << QSize(1, 1) << mjpg << QSize(640, 480) << 0u << 640u * 480 * 2;
        QTest::newRow("YUY2 has no 1080p")
            << yuyv << QSize(1920, 1080) << yuyv << QSize(1280, 720) << 2560u << 1280u * 720 * 2;
        QTest::newRow("unknown format: first") << v4l2_fourcc('H', '2', '6', '4') << QSize(1920, 1080) << mjpg
                                               << QSize(1920, 1080) << 0u << 1920u * 1080 * 2;
    }
    void formatIsAdjustedToNearestOffered() {
        QFETCH(std::uint32_t, fourcc);
        QFETCH(QSize, asked);
        QFETCH(std::uint32_t, gotFourcc);
        QFETCH(QSize, got);
        QFETCH(std::uint32_t, bytesPerLine);
        QFETCH(std::uint32_t, sizeImage);
        SimNode node(videoPath(optigrabSimPlug(nullptr)));

        v4l2_format before{}, tried{}, set{}, after{};
        before.type = after.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(node.call(VIDIOC_G_FMT, &before), 0);
        QCOMPARE(node.setFormat(fourcc, asked.width(), asked.height(), &tried, VIDIOC_TRY_FMT), 0);
        QCOMPARE(node.call(VIDIOC_G_FMT, &after), 0);
        QCOMPARE(after.fmt.pix.width, before.fmt.pix.width);  // TRY_FMT changes nothing

        QCOMPARE(node.setFormat(fourcc, asked.width(), asked.height(), &set), 0);
        for (const v4l2_format* format : {&tried, &set}) {
            QCOMPARE(format->fmt.pix.pixelformat, gotFourcc);
            QCOMPARE(QSize(format->fmt.pix.width, format->fmt.pix.height), got);
            QCOMPARE(format->fmt.pix.bytesperline, bytesPerLine);
            QCOMPARE(format->fmt.pix.sizeimage, sizeImage);
        }
        QCOMPARE(node.call(VIDIOC_G_FMT, &after), 0);
        QCOMPARE(QSize(after.fmt.pix.width, after.fmt.pix.height), got);
    }

    void frameRateIsAdjustedToNearestOffered_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<std::uint32_t>("asked");
        QTest::addColumn<std::uint32_t>("got");
        QTest::newRow("24 -> 30") << QSize(3840, 2160) << 24u << 30u;
        QTest::newRow("12 -> 15") << QSize(3840, 2160) << 12u << 15u;
        QTest::newRow("1 -> 5") << QSize(3840, 2160) << 1u << 5u;
        QTest::newRow("60 -> 30") << QSize(640, 480) << 60u << 30u;
        QTest::newRow("YUY2 720p 30 -> 10") << QSize(1280, 720) << 30u << 10u;
    }
    void frameRateIsAdjustedToNearestOffered() {
        QFETCH(QSize, size);
        QFETCH(std::uint32_t, asked);
        QFETCH(std::uint32_t, got);
        SimNode node(videoPath(optigrabSimPlug(nullptr)));
        const std::uint32_t fourcc = size == QSize(1280, 720) ? V4L2_PIX_FMT_YUYV : V4L2_PIX_FMT_MJPEG;
        QCOMPARE(node.setFormat(fourcc, size.width(), size.height()), 0);
        v4l2_streamparm parm{};
        QCOMPARE(node.setFps(asked, &parm), 0);
        QCOMPARE(parm.parm.capture.timeperframe.denominator / parm.parm.capture.timeperframe.numerator, got);
        v4l2_streamparm current{};
        current.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(node.call(VIDIOC_G_PARM, &current), 0);
        QCOMPARE(current.parm.capture.timeperframe.denominator, got);
        QVERIFY(current.parm.capture.capability & V4L2_CAP_TIMEPERFRAME);
    }

    // The capture loop of the library: poll, DQBUF, read the mapped frame, QBUF.
    void streamingDeliversFramesThroughPollAndDqbuf() {
        const int id = plugSmall(30);
        SimNode node(videoPath(id));
        QCOMPARE(node.setFormat(V4L2_PIX_FMT_MJPEG, 640, 480), 0);
        QVERIFY(node.prepare(3));
        v4l2_buffer buffer = SimNode::blank(0);
        QCOMPARE(node.call(VIDIOC_DQBUF, &buffer), EINVAL);  // not streaming
        QCOMPARE(node.stream(true), 0);
        QCOMPARE(node.call(VIDIOC_DQBUF, &buffer), EAGAIN);  // the first frame is a frame period away

        std::uint32_t lastSequence = 0;
        timeval lastTime{};
        for (int i = 0; i < 6; ++i) {
            QVERIFY(node.nextFrame(&buffer));
            QVERIFY(!(buffer.flags & (V4L2_BUF_FLAG_ERROR | V4L2_BUF_FLAG_QUEUED)));
            QVERIFY(buffer.flags & V4L2_BUF_FLAG_TIMESTAMP_MONOTONIC);
            bool soi = false, eoi = false;
            QVERIFY(hasJpegMarkers(node.bytes(buffer), &soi, &eoi));
            if (i > 0) {
                QVERIFY(buffer.sequence > lastSequence);
                QVERIFY(timercmp(&buffer.timestamp, &lastTime, >));
            }
            lastSequence = buffer.sequence;
            lastTime = buffer.timestamp;
            QCOMPARE(node.requeue(&buffer), 0);
            QCOMPARE(node.requeue(&buffer), EINVAL);  // already queued
        }
        QVERIFY(optigrabSimFramesDelivered(id) >= 6);

        QCOMPARE(node.stream(false), 0);
        std::uint32_t granted = 0;
        QCOMPARE(node.requestBuffers(3, &granted), 0);  // streaming stopped: buffers may go
        for (std::uint32_t i = 0; i < granted; ++i) {
            v4l2_buffer query = SimNode::blank(i);
            QCOMPARE(node.call(VIDIOC_QUERYBUF, &query), 0);
            QVERIFY(!(query.flags & (V4L2_BUF_FLAG_QUEUED | V4L2_BUF_FLAG_DONE)));
        }
        pollfd fd{node.fd(), POLLIN, 0};
        QCOMPARE(platform.poll(&fd, 1, 1000), 1);
        QCOMPARE(fd.revents, short(POLLERR));  // like the kernel: not streaming
    }

    // The capture thread polls its node together with its own wake-up descriptor.
    void pollWaitsOnNodeAndForeignDescriptor() {
        SimNode node(videoPath(plugSmall(5)));
        QVERIFY(node.prepare(2));
        QCOMPARE(node.stream(true), 0);
        const int wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        pollfd fds[2] = {{node.fd(), POLLIN, 0}, {wake, POLLIN, 0}};
        QCOMPARE(platform.poll(fds, 2, 0), 0);
        auto writer = std::async(std::launch::async, [wake] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const std::uint64_t one = 1;
            return ::write(wake, &one, sizeof one);
        });
        QCOMPARE(platform.poll(fds, 2, 150), 1);  // before the 200 ms frame
        QCOMPARE(fds[0].revents, short(0));
        QCOMPARE(fds[1].revents, short(POLLIN));
        QCOMPARE(writer.get(), ssize_t(sizeof(std::uint64_t)));
        ::close(wake);
        v4l2_buffer buffer{};
        QVERIFY(node.nextFrame(&buffer));  // and the frame arrives all the same
    }

    void streamingSetupAnswersBusy_data() {
        QTest::addColumn<QString>("situation");
        QTest::newRow("second opener asks for buffers") << "second opener";
        QTest::newRow("format change while buffers exist") << "format with buffers";
        QTest::newRow("buffers freed while streaming") << "free while streaming";
        QTest::newRow("rate change while streaming") << "rate while streaming";
        QTest::newRow("camera held by another program") << "busy flag";
    }
    void streamingSetupAnswersBusy() {
        QFETCH(QString, situation);
        const int id = plugSmall(30);
        SimNode first(videoPath(id));
        SimNode second(videoPath(id));
        if (situation == "second opener") {
            QCOMPARE(first.requestBuffers(2), 0);
            QCOMPARE(second.requestBuffers(2), EBUSY);
            QCOMPARE(second.stream(true), EBUSY);
            QCOMPARE(first.requestBuffers(0), 0);
            QCOMPARE(second.requestBuffers(2), 0);  // free again
        } else if (situation == "format with buffers") {
            QCOMPARE(first.requestBuffers(2), 0);
            QCOMPARE(first.setFormat(V4L2_PIX_FMT_YUYV, 640, 480), EBUSY);
            QCOMPARE(first.setFormat(V4L2_PIX_FMT_YUYV, 640, 480, nullptr, VIDIOC_TRY_FMT), 0);
            QCOMPARE(first.requestBuffers(0), 0);
            QCOMPARE(first.setFormat(V4L2_PIX_FMT_YUYV, 640, 480), 0);
        } else if (situation == "free while streaming") {
            QVERIFY(first.prepare(2));
            QCOMPARE(first.stream(true), 0);
            QCOMPARE(first.requestBuffers(0), EBUSY);
            QCOMPARE(first.stream(false), 0);
            QCOMPARE(first.requestBuffers(0), 0);
        } else if (situation == "rate while streaming") {
            QVERIFY(first.prepare(2));
            QCOMPARE(first.stream(true), 0);
            QCOMPARE(first.setFps(5), EBUSY);
        } else {
            QCOMPARE(optigrabSimSetBusy(id, 1), 0);
            QCOMPARE(first.setFormat(V4L2_PIX_FMT_MJPEG, 640, 480), EBUSY);
            QCOMPARE(first.requestBuffers(2), EBUSY);
            QCOMPARE(optigrabSimSetBusy(id, 0), 0);
            QVERIFY(first.prepare(2));
            QCOMPARE(optigrabSimSetBusy(id, 1), 0);
            QCOMPARE(first.stream(true), EBUSY);
            QCOMPARE(optigrabSimSetBusy(id, 0), 0);
            QCOMPARE(first.stream(true), 0);
        }
    }

    // A camera pulled out while streaming: the poller wakes at once, every call says ENODEV, the
    // mapped frames stay readable until unmapped, and hot-plug reports both nodes.
    void unplugWhileStreaming() {
        RecordingSink sink;
        platform.startHotplug(&sink);
        const int id = plugSmall(5);
        QCOMPARE(sink.take(), (std::vector<std::string>{"+" + videoPath(id), "+" + metaPath(id)}));
        SimNode node(videoPath(id));
        SimNode meta(metaPath(id));
        QVERIFY(node.prepare(2));
        QCOMPARE(node.stream(true), 0);
        v4l2_buffer buffer{};
        QVERIFY(node.nextFrame(&buffer));
        const std::uint8_t firstByte = node.mapped(buffer.index)[0];

        auto poller = std::async(std::launch::async, [&] {
            pollfd fd{node.fd(), POLLIN, 0};
            const auto start = std::chrono::steady_clock::now();
            const int ready = platform.poll(&fd, 1, 10000);
            return std::make_tuple(ready, fd.revents, msSince(start));
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the poller is waiting (5 fps)
        QCOMPARE(optigrabSimUnplug(id), 0);
        const auto [ready, revents, waited] = poller.get();
        QCOMPARE(ready, 1);
        QCOMPARE(revents, short(POLLERR | POLLHUP));
        QVERIFY2(waited < 1000, qPrintable(QString::number(waited)));

        v4l2_capability cap{};
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(node.call(VIDIOC_QUERYCAP, &cap), ENODEV);
        QCOMPARE(node.call(VIDIOC_G_FMT, &format), ENODEV);
        QCOMPARE(node.requeue(&buffer), ENODEV);
        QCOMPARE(node.call(VIDIOC_DQBUF, &buffer), ENODEV);
        QCOMPARE(node.stream(false), ENODEV);
        QCOMPARE(meta.call(VIDIOC_QUERYCAP, &cap), ENODEV);
        QCOMPARE(platform.mmap(4096, node.fd(), 0), MAP_FAILED);
        QCOMPARE(errno, ENODEV);
        QCOMPARE(node.mapped(buffer.index)[0], firstByte);
        QCOMPARE(platform.open(videoPath(id)), -1);
        QCOMPARE(errno, ENOENT);
        QCOMPARE(optigrabSimCount(), 0);
        QCOMPARE(optigrabSimUnplug(id), -1);
        QCOMPARE(sink.take(), (std::vector<std::string>{"-" + videoPath(id), "-" + metaPath(id)}));

        platform.stopHotplug();
        const int later = optigrabSimPlug(nullptr);  // no sink: simply present
        QVERIFY(sink.take().empty());
        QCOMPARE(platform.nodes().front().path, videoPath(later));
    }

    void faultsDamageTheNextFrames_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("corrupt") << int(OPTIGRAB_SIM_FAULT_CORRUPT);
        QTest::newRow("truncated") << int(OPTIGRAB_SIM_FAULT_TRUNCATED);
        QTest::newRow("error") << int(OPTIGRAB_SIM_FAULT_ERROR);
    }
    void faultsDamageTheNextFrames() {
        QFETCH(int, kind);
        const int id = plugSmall(30);
        QCOMPARE(optigrabSimInjectFault(id, kind, 2), 0);
        SimNode node(videoPath(id));
        QVERIFY(node.prepare(4));
        QCOMPARE(node.stream(true), 0);
        for (int i = 0; i < 4; ++i) {
            v4l2_buffer buffer{};
            QVERIFY(node.nextFrame(&buffer));
            const auto frame = node.bytes(buffer);
            bool soi = false, eoi = false;
            hasJpegMarkers(frame, &soi, &eoi);
            const bool damaged = i < 2;
            QCOMPARE(bool(buffer.flags & V4L2_BUF_FLAG_ERROR), damaged && kind == OPTIGRAB_SIM_FAULT_ERROR);
            if (!damaged || kind == OPTIGRAB_SIM_FAULT_CORRUPT) {
                // A corrupt frame passes every marker check: only the decoder can refuse it.
                QVERIFY(soi && eoi);
                QCOMPARE(decodes(frame), !damaged);
            } else if (kind == OPTIGRAB_SIM_FAULT_TRUNCATED) {
                QVERIFY(soi && !eoi);
                QVERIFY(frame.size() > 1000);
            }
            QCOMPARE(node.requeue(&buffer), 0);
        }
        QCOMPARE(optigrabSimInjectFault(id, 99, 1), -1);
        QCOMPARE(optigrabSimInjectFault(12345, kind, 1), -1);
    }

    // A camera that stops delivering: nothing arrives, and stopping the stream and closing return
    // at once (the library's camCloseDev must not hang on it).
    void stalledCameraStopsPromptly() {
        const int id = plugSmall(30);
        auto node = std::make_unique<SimNode>(videoPath(id));
        QVERIFY(node->prepare(3));
        QCOMPARE(node->stream(true), 0);
        v4l2_buffer buffer{};
        QVERIFY(node->nextFrame(&buffer));
        QCOMPARE(node->requeue(&buffer), 0);
        QCOMPARE(optigrabSimInjectFault(id, OPTIGRAB_SIM_FAULT_STALL, 0), 0);
        // Drain what was in flight, then nothing more comes.
        while (node->nextFrame(&buffer, 100))
            QCOMPARE(node->requeue(&buffer), 0);
        QVERIFY(!node->nextFrame(&buffer, 300));
        const auto start = std::chrono::steady_clock::now();
        QCOMPARE(node->stream(false), 0);
        node.reset();
        QVERIFY(msSince(start) < 200);
    }

    // The frame clock: the mode's rate by default, a fixed clock, or unthrottled for benchmarks.
    void frameClockSetsTheRate_data() {
        QTest::addColumn<double>("frameClock");
        QTest::addColumn<int>("minFrames");
        QTest::addColumn<int>("maxFrames");
        QTest::newRow("mode rate 5 fps") << 0.0 << 2 << 5;
        QTest::newRow("clock 20 fps") << 20.0 << 8 << 13;
        QTest::newRow("unthrottled") << -1.0 << 60 << 1000000;
    }
    void frameClockSetsTheRate() {
        QFETCH(double, frameClock);
        QFETCH(int, minFrames);
        QFETCH(int, maxFrames);
        const int id = plugSmall(5, frameClock);
        SimNode node(videoPath(id));
        QVERIFY(node.prepare(4));
        v4l2_buffer buffer{};
        QCOMPARE(node.stream(true), 0);
        QVERIFY(node.nextFrame(&buffer));  // the first frame also encodes the cycle's first page
        QCOMPARE(node.requeue(&buffer), 0);
        int frames = 0;
        const auto start = std::chrono::steady_clock::now();
        while (msSince(start) < 600) {
            if (node.nextFrame(&buffer, 50)) {
                ++frames;
                QCOMPARE(node.requeue(&buffer), 0);
            }
        }
        QVERIFY2(frames >= minFrames && frames <= maxFrames, qPrintable(QString::number(frames)));
    }

    void invalidConfigurationsAreRefused_data() {
        QTest::addColumn<QString>("field");
        QTest::newRow("vendor id not hex") << "vendor";
        QTest::newRow("product id too long") << "product";
        QTest::newRow("empty name") << "name";
        QTest::newRow("no modes") << "no modes";
        QTest::newRow("unknown media type") << "media";
        QTest::newRow("odd YUY2 width") << "odd";
        QTest::newRow("no frame rate") << "fps";
        QTest::newRow("same mode twice") << "twice";
    }
    void invalidConfigurationsAreRefused() {
        QFETCH(QString, field);
        OptigrabSimConfig config;
        optigrabSimDefaultConfig(&config);
        OptigrabSimMode modes[2] = {{2, 640, 480, {30, 0, 0, 0}}, {1, 320, 240, {30, 0, 0, 0}}};
        config.modes = modes;
        config.modeCount = 2;
        QVERIFY(optigrabSimPlug(&config) >= 0);  // the baseline is fine
        if (field == "vendor")
            config.vendorId = "xyz1";
        else if (field == "product")
            config.productId = "12345";
        else if (field == "name")
            config.name = "";
        else if (field == "no modes")
            config.modeCount = 0;
        else if (field == "media")
            modes[1].mediaType = 7;
        else if (field == "odd")
            modes[1].width = 321;
        else if (field == "fps")
            modes[0].fps[0] = 0;
        else
            modes[1] = modes[0];
        QCOMPARE(optigrabSimPlug(&config), -1);
        QCOMPARE(optigrabSimCount(), 1);
    }
};

QTEST_GUILESS_MAIN(SimPlatformTest)
#include "sim_platform.moc"
