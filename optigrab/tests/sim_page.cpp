// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the simulated cameras' picture: a document page at every size, and realistic frame sizes.
#include "optigrab_sim.h"
#include "platform.h"
#include "simnode.h"

#include <QtTest>

#include <libyuv.h>
#include <turbojpeg.h>

Q_DECLARE_METATYPE(std::uint32_t)

namespace {

// A decoded frame in packed RGB.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    const std::uint8_t* at(double fx, double fy) const {
        const int x = std::min(width - 1, static_cast<int>(fx * width));
        const int y = std::min(height - 1, static_cast<int>(fy * height));
        return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    }
    // Share of pixels in a region (fractions of the frame) that satisfy a test.
    template <typename Test>
    double share(double x0, double y0, double x1, double y1, Test test) const {
        long hits = 0, total = 0;
        for (int y = static_cast<int>(y0 * height); y < static_cast<int>(y1 * height); ++y)
            for (int x = static_cast<int>(x0 * width); x < static_cast<int>(x1 * width); ++x, ++total) {
                const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
                hits += test(p[0], p[1], p[2]) ? 1 : 0;
            }
        return total ? double(hits) / total : 0;
    }
};

bool decode(std::uint32_t fourcc, int width, int height, const std::vector<std::uint8_t>& frame,
            Picture* out) {
    out->width = width;
    out->height = height;
    out->rgb.assign(static_cast<std::size_t>(width) * height * 3, 0);
    if (fourcc == V4L2_PIX_FMT_MJPEG) {
        tjhandle handle = tjInitDecompress();
        const int result =
            tjDecompress2(handle, frame.data(), frame.size(), out->rgb.data(), width, 0, height, TJPF_RGB, 0);
        tjDestroy(handle);
        return result == 0;
    }
    if (frame.size() != static_cast<std::size_t>(width) * height * 2)
        return false;
    std::vector<std::uint8_t> argb(static_cast<std::size_t>(width) * height * 4);
    libyuv::YUY2ToARGB(frame.data(), width * 2, argb.data(), width * 4, width, height);
    libyuv::ARGBToRAW(argb.data(), width * 4, out->rgb.data(), width * 3, width, height);
    return true;
}

bool dark(int r, int g, int b) {
    return r + g + b < 3 * 110;
}
bool paper(int r, int g, int b) {
    return r > 200 && g > 200 && b > 190;
}
bool red(int r, int g, int b) {
    return r > 150 && g < 90 && b < 90;
}

// Frames of one mode of a camera that offers exactly that mode.
class Stream {
public:
    Stream(std::uint32_t fourcc, int width, int height) {
        const OptigrabSimMode mode{fourcc == V4L2_PIX_FMT_MJPEG ? 2 : 1, width, height, {30, 0, 0, 0}};
        OptigrabSimConfig config;
        optigrabSimDefaultConfig(&config);
        config.modes = &mode;
        config.modeCount = 1;
        config.frameClock = -1;  // as fast as we take them
        node_ =
            std::make_unique<SimNode>("/dev/optigrab-sim/video" + std::to_string(optigrabSimPlug(&config)));
        ok_ = node_->prepare(2) && node_->stream(true) == 0;
    }
    bool ok() const { return ok_; }
    // The next frame's bytes and sequence number.
    bool next(std::vector<std::uint8_t>* bytes, std::uint32_t* sequence = nullptr) {
        v4l2_buffer buffer{};
        if (!node_->nextFrame(&buffer, 20000))
            return false;
        *bytes = node_->bytes(buffer);
        if (sequence)
            *sequence = buffer.sequence;
        return node_->requeue(&buffer) == 0;
    }

private:
    std::unique_ptr<SimNode> node_;
    bool ok_ = false;
};

}  // namespace

class SimPageTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { optigrabSimUnplugAll(); }

    // What a user sees on any mode: paper at the top left, the dark title bar, lines of text, the red
    // mark; and the mark moves from frame to frame.
    void pageLooksRightAtEverySize_data() {
        QTest::addColumn<std::uint32_t>("fourcc");
        QTest::addColumn<QSize>("size");
        const std::uint32_t mjpg = V4L2_PIX_FMT_MJPEG, yuyv = V4L2_PIX_FMT_YUYV;
        QTest::newRow("MJPG 640x480") << mjpg << QSize(640, 480);
        QTest::newRow("MJPG 1920x1080") << mjpg << QSize(1920, 1080);
        QTest::newRow("MJPG odd 1001x563") << mjpg << QSize(1001, 563);
        QTest::newRow("MJPG small 160x120") << mjpg << QSize(160, 120);
        QTest::newRow("YUY2 640x480") << yuyv << QSize(640, 480);
        QTest::newRow("YUY2 1280x720") << yuyv << QSize(1280, 720);
    }
    void pageLooksRightAtEverySize() {
        QFETCH(std::uint32_t, fourcc);
        QFETCH(QSize, size);
        Stream stream(fourcc, size.width(), size.height());
        QVERIFY(stream.ok());
        std::vector<std::uint8_t> bytes;
        Picture first, later;
        QVERIFY(stream.next(&bytes));
        QVERIFY(decode(fourcc, size.width(), size.height(), bytes, &first));
        for (int i = 0; i < 3; ++i)
            QVERIFY(stream.next(&bytes));
        QVERIFY(decode(fourcc, size.width(), size.height(), bytes, &later));

        QVERIFY(first.share(0, 0, 0.1, 0.1, paper) > 0.99);
        QVERIFY(first.share(0.1, 0.1, 0.5, 0.16, dark) > 0.95);
        const double text = first.share(0.1, 0.22, 0.9, 0.8, dark);
        QVERIFY2(text > 0.04 && text < 0.4, qPrintable(QString::number(text)));
        // Between the lines and in the margin the paper shows.
        QVERIFY(first.share(0.1, 0.22, 0.9, 0.8, paper) > 0.5);
        QVERIFY(first.share(0.0, 0.2, 0.06, 1.0, paper) > 0.95);

        // The red disc sits on y = 0.88 H; it moved between the two frames.
        const double redFirst = first.share(0.15, 0.85, 0.5, 0.91, red);
        const double redLater = later.share(0.15, 0.85, 0.5, 0.91, red);
        QVERIFY(first.share(0.15, 0.83, 0.85, 0.93, red) > 0.02);
        QVERIFY2(std::abs(redFirst - redLater) > 0.01,
                 qPrintable(QString("%1 %2").arg(redFirst).arg(redLater)));
    }

    // Frame counter: the white digits in the title bar differ between frames of the cycle.
    void frameCounterChanges() {
        Stream stream(V4L2_PIX_FMT_MJPEG, 640, 480);
        QVERIFY(stream.ok());
        std::vector<std::uint8_t> bytes;
        QVector<double> white;
        for (int i = 0; i < 4; ++i) {
            QVERIFY(stream.next(&bytes));
            Picture picture;
            QVERIFY(decode(V4L2_PIX_FMT_MJPEG, 640, 480, bytes, &picture));
            white << picture.share(0.7, 0.1, 0.9, 0.16, [](int r, int g, int b) { return r + g + b > 600; });
        }
        QVERIFY(white[0] > 0.01);
        QVERIFY(white[0] != white[1] || white[1] != white[2] || white[2] != white[3]);
    }

    // A 4K MJPEG frame weighs what a real document camera's does (quality 85, 4:2:2, text and
    // noise): the performance work measures against this.
    void realisticFrameSizes_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("minMegabytes");
        QTest::addColumn<double>("maxMegabytes");
        QTest::newRow("3840x2160") << QSize(3840, 2160) << 0.95 << 1.30;
        QTest::newRow("1920x1080") << QSize(1920, 1080) << 0.30 << 0.45;
    }
    void realisticFrameSizes() {
        QFETCH(QSize, size);
        QFETCH(double, minMegabytes);
        QFETCH(double, maxMegabytes);
        Stream stream(V4L2_PIX_FMT_MJPEG, size.width(), size.height());
        QVERIFY(stream.ok());
        double total = 0;
        const int frames = 8;
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < frames; ++i) {
            QVERIFY(stream.next(&bytes));
            total += bytes.size();
        }
        const double megabytes = total / frames / 1e6;
        qInfo("%dx%d MJPEG: %.3f MB a frame", size.width(), size.height(), megabytes);
        QVERIFY2(megabytes >= minMegabytes && megabytes <= maxMegabytes,
                 qPrintable(QString::number(megabytes)));
        Picture picture;
        QVERIFY(decode(V4L2_PIX_FMT_MJPEG, size.width(), size.height(), bytes, &picture));
        QVERIFY(picture.share(0, 0, 0.1, 0.1, paper) > 0.99);
    }
};

QTEST_GUILESS_MAIN(SimPageTest)
#include "sim_page.moc"
