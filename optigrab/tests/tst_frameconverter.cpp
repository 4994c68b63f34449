// SPDX-License-Identifier: GPL-3.0-or-later
// The frame converter on its own (it is internal to the library, so it is compiled into this test):
// MJPEG frames without Huffman tables, warnings the decoder raises, the checks that run before decoding,
// and preview sizes.
#include <QtTest>

#include <libyuv.h>
#include <turbojpeg.h>

#include <vector>

#include "deviceinfo.h"
#include "frameconverter.h"

using optigrab::FrameConverter;
using optigrab::FrameView;

namespace {

const int kWidth = 320, kHeight = 240;

// A page-like test picture: light background, dark bars, a coloured patch.
std::vector<unsigned char> testPicture() {
    std::vector<unsigned char> rgb(kWidth * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            unsigned char* p = &rgb[(y * kWidth + x) * 3];
            bool ink = (y / 8) % 3 == 1 && (x / 5) % 4 != 0;
            p[0] = ink ? 20 : 235;
            p[1] = ink ? 20 : 230;
            p[2] = ink ? 30 : 220;
            if (x < 40 && y < 40)
                p[0] = 220, p[1] = 30, p[2] = 30;
        }
    return rgb;
}

std::vector<unsigned char> encode(const std::vector<unsigned char>& rgb) {
    tjhandle encoder = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(encoder, rgb.data(), kWidth, kWidth * 3, kHeight, TJPF_RGB, &jpeg, &size, TJSAMP_420, 85, 0);
    std::vector<unsigned char> out(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(encoder);
    return out;
}

// The same JPEG with every DHT segment removed, as many UVC cameras send it.
std::vector<unsigned char> withoutHuffmanTables(const std::vector<unsigned char>& jpeg) {
    std::vector<unsigned char> out(jpeg.begin(), jpeg.begin() + 2);
    std::size_t i = 2;
    while (i + 4 <= jpeg.size() && jpeg[i + 1] != 0xDA) {
        std::size_t length = 2 + (std::size_t(jpeg[i + 2]) << 8 | jpeg[i + 3]);
        if (jpeg[i + 1] != 0xC4)
            out.insert(out.end(), jpeg.begin() + long(i), jpeg.begin() + long(i + length));
        i += length;
    }
    out.insert(out.end(), jpeg.begin() + long(i), jpeg.end());
    return out;
}

// Offset of the first marker of the given type, or 0.
std::size_t markerAt(const std::vector<unsigned char>& jpeg, unsigned char marker) {
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker)
            return i;
    return 0;
}

// The frame damaged or padded as the name says: stray bytes before a marker (which cameras send and
// the picture survives), or corrupt entropy-coded data (which it does not).
std::vector<unsigned char> variant(std::vector<unsigned char> jpeg, const QByteArray& kind) {
    const std::vector<unsigned char> stray(16, 0x00);
    if (kind.contains("bare"))
        jpeg = withoutHuffmanTables(jpeg);
    if (kind.contains("noise")) {
        // Garbage and a stray restart marker in the middle of the scan; SOI and EOI stay.
        const std::size_t scan = markerAt(jpeg, 0xDA);
        const std::size_t start = (scan + jpeg.size()) / 2;
        unsigned noise = 0x2545F491u;
        for (std::size_t i = start; i < start + 256; ++i)
            jpeg[i] = static_cast<unsigned char>((noise = noise * 1664525u + 1013904223u) >> 24);
        jpeg[start] = 0xFF;
        jpeg[start + 1] = 0xD3;
    }
    if (kind.contains("cut")) {
        // The scan ends early, EOI follows at once: the decoder runs out of data.
        const std::size_t scan = markerAt(jpeg, 0xDA);
        jpeg.erase(jpeg.begin() + long((scan + jpeg.size()) / 2), jpeg.end() - 2);
    }
    if (kind.contains("eoi"))
        jpeg.insert(jpeg.end() - 2, stray.begin(), stray.end());
    if (kind.contains("header")) {
        const std::size_t at = markerAt(jpeg, 0xDB);
        jpeg.insert(jpeg.begin() + long(at), stray.begin(), stray.end());
    }
    return jpeg;
}

// The test picture as a raw camera frame of the given media type.
std::vector<unsigned char> raw(long code) {
    std::vector<unsigned char> rgb = testPicture(), argb(kWidth * kHeight * 4), out;
    libyuv::RAWToARGB(rgb.data(), kWidth * 3, argb.data(), kWidth * 4, kWidth, kHeight);
    if (code == optigrab::kMediaYuy2) {
        out.resize(kWidth * kHeight * 2);
        libyuv::ARGBToYUY2(argb.data(), kWidth * 4, out.data(), kWidth * 2, kWidth, kHeight);
    } else {
        out.resize(kWidth * kHeight * 3 / 2);
        libyuv::ARGBToNV12(argb.data(), kWidth * 4, out.data(), kWidth, out.data() + kWidth * kHeight, kWidth,
                           kWidth, kHeight);
    }
    return out;
}

FrameView mjpeg(const std::vector<unsigned char>& data) {
    FrameView frame;
    frame.code = optigrab::kMediaMjpg;
    frame.data = data.data();
    frame.size = data.size();
    frame.width = kWidth;
    frame.height = kHeight;
    return frame;
}

}  // namespace

class FrameConverterTest : public QObject {
    Q_OBJECT

private slots:
    void mjpegWithoutHuffmanTablesDecodesLikeTheOriginal() {
        const std::vector<unsigned char> jpeg = encode(testPicture());
        const std::vector<unsigned char> bare = withoutHuffmanTables(jpeg);
        QVERIFY(bare.size() + 400 < jpeg.size());  // the tables really are gone
        FrameConverter converter;
        std::vector<unsigned char> expected, got;
        long w = 0, h = 0;
        QVERIFY(converter.toRgb(mjpeg(jpeg), 0, 0, FrameConverter::Quality::Still, expected, &w, &h));
        QVERIFY(converter.toRgb(mjpeg(bare), 0, 0, FrameConverter::Quality::Still, got, &w, &h));
        QCOMPARE(w, long(kWidth));
        QCOMPARE(h, long(kHeight));
        QVERIFY(got == expected);
        // The red patch stays red: bytes come out as R, G, B.
        QVERIFY(got[0] > 180 && got[1] < 80 && got[2] < 80);
    }

    void decoderWarningsKeepOrDropTheFrame_data() {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<bool>("shown");
        QTest::addRow("stray bytes before EOI") << QByteArray("eoi") << true;
        QTest::addRow("stray bytes before a header segment") << QByteArray("header") << true;
        QTest::addRow("stray bytes, no Huffman tables") << QByteArray("bare eoi header") << true;
        QTest::addRow("corrupt scan data") << QByteArray("noise") << false;
        QTest::addRow("corrupt scan data and stray bytes") << QByteArray("noise eoi") << false;
        QTest::addRow("scan data ends early") << QByteArray("cut") << false;
    }
    void decoderWarningsKeepOrDropTheFrame() {
        QFETCH(QByteArray, kind);
        QFETCH(bool, shown);
        const std::vector<unsigned char> clean = encode(testPicture());
        const std::vector<unsigned char> jpeg = variant(clean, kind);
        QVERIFY(FrameConverter::looksComplete(mjpeg(jpeg)));  // only the decoder can tell
        FrameConverter converter;
        std::vector<unsigned char> expected, got;
        long w = 0, h = 0;
        for (auto quality : {FrameConverter::Quality::Still, FrameConverter::Quality::Preview}) {
            QVERIFY(converter.toRgb(mjpeg(clean), 0, 0, quality, expected, &w, &h));
            QCOMPARE(converter.toRgb(mjpeg(jpeg), 0, 0, quality, got, &w, &h), shown);
            if (shown)
                QVERIFY(got == expected);  // the very same picture
        }
        // Decoding only the top-left corner still reads the rest, where the damage is.
        QCOMPARE(converter.toRgb(mjpeg(jpeg), 0, 0, FrameConverter::Quality::Preview, got, &w, &h,
                                 {0, 0, 250000, 250000}),
                 shown);
        // A clean frame after a refused one decodes again: no state is left behind.
        QVERIFY(converter.toRgb(mjpeg(clean), 160, 120, FrameConverter::Quality::Preview, got, &w, &h));
        QCOMPARE(w, long(kWidth / 2));
        QVERIFY(got[0] > 180 && got[1] < 80 && got[2] < 80);
    }

    void framesAreCheckedBeforeDecoding_data() {
        QTest::addColumn<QByteArray>("damage");
        QTest::addColumn<bool>("complete");
        QTest::addRow("intact") << QByteArray("none") << true;
        QTest::addRow("padding after EOI") << QByteArray("pad") << true;
        QTest::addRow("no SOI") << QByteArray("nosoi") << false;
        QTest::addRow("cut in half") << QByteArray("half") << false;
        QTest::addRow("empty") << QByteArray("empty") << false;
    }
    void framesAreCheckedBeforeDecoding() {
        QFETCH(QByteArray, damage);
        QFETCH(bool, complete);
        std::vector<unsigned char> jpeg = encode(testPicture());
        if (damage == "pad")
            jpeg.insert(jpeg.end(), 200, 0);
        if (damage == "nosoi")
            jpeg[1] = 0x00;
        if (damage == "half")
            jpeg.resize(jpeg.size() / 2);
        if (damage == "empty")
            jpeg.clear();
        FrameView frame = mjpeg(jpeg);
        QCOMPARE(FrameConverter::looksComplete(frame), complete);
        FrameConverter converter;
        std::vector<unsigned char> rgb;
        long w = 0, h = 0;
        QCOMPARE(converter.toRgb(frame, 0, 0, FrameConverter::Quality::Preview, rgb, &w, &h), complete);
    }

    // A part of the frame converts to the same pixels as that part of the whole frame, at the scale
    // the hint asks for the part, and tells which part it shows (grown to chroma pairs for YUV).
    void partsConvertLikeTheWholeFrame_data() {
        QTest::addColumn<long>("code");
        QTest::addColumn<QRect>("part");  // millionths
        QTest::addColumn<QSize>("hint");
        QTest::addColumn<QRect>("shownPixels");
        QTest::addColumn<int>("scale");  // of the preview against the frame
        const long mjpg = optigrab::kMediaMjpg, yuy2 = optigrab::kMediaYuy2, nv12 = optigrab::kMediaNv12;
        QTest::newRow("MJPG centre quarter")
            << mjpg << QRect(250000, 250000, 500000, 500000) << QSize() << QRect(80, 60, 160, 120) << 1;
        QTest::newRow("MJPG between blocks")
            << mjpg << QRect(110000, 300000, 330000, 200000) << QSize() << QRect(35, 72, 106, 48) << 1;
        QTest::newRow("MJPG, an odd number of rows")
            << mjpg << QRect(0, 254166, 1000000, 250000) << QSize() << QRect(0, 60, 320, 61) << 1;
        QTest::newRow("MJPG at the corner, halved") << mjpg << QRect(500000, 500000, 500000, 500000)
                                                    << QSize(80, 60) << QRect(160, 120, 160, 120) << 2;
        QTest::newRow("YUY2 odd column")
            << yuy2 << QRect(103125, 250000, 500000, 500000) << QSize() << QRect(32, 60, 162, 120) << 1;
        QTest::newRow("NV12 odd row")
            << nv12 << QRect(250000, 254166, 500000, 500000) << QSize() << QRect(80, 60, 160, 122) << 1;
    }

    void partsConvertLikeTheWholeFrame() {
        QFETCH(long, code);
        QFETCH(QRect, part);
        QFETCH(QSize, hint);
        QFETCH(QRect, shownPixels);
        QFETCH(int, scale);
        const std::vector<unsigned char> data =
            code == optigrab::kMediaMjpg ? encode(testPicture()) : raw(code);
        FrameView frame = mjpeg(data);
        frame.code = code;
        FrameConverter converter;
        std::vector<unsigned char> whole, got;
        long ww = 0, wh = 0, w = 0, h = 0;
        QVERIFY(converter.toRgb(frame, kWidth / scale, kHeight / scale, FrameConverter::Quality::Preview,
                                whole, &ww, &wh));
        optigrab::FramePart shown;
        QVERIFY(converter.toRgb(frame, hint.width(), hint.height(), FrameConverter::Quality::Preview, got, &w,
                                &h, {part.x(), part.y(), part.width(), part.height()}, &shown));
        QCOMPARE(QSize(int(w), int(h)), shownPixels.size() / scale);
        const QRect shownAt(int(shown.x * kWidth / 1000000), int(shown.y * kHeight / 1000000),
                            int((shown.width * kWidth + 500000) / 1000000),
                            int((shown.height * kHeight + 500000) / 1000000));
        QCOMPARE(shownAt, shownPixels);
        int worst = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w * 3; ++x) {
                const int inWhole =
                    (shownPixels.y() / scale + y) * int(ww) * 3 + shownPixels.x() / scale * 3 + x;
                worst = qMax(worst, qAbs(int(got[y * w * 3 + x]) - int(whole[inWhole])));
            }
        QVERIFY2(worst <= 4, qPrintable(QString("largest difference %1").arg(worst)));
    }

    void shortRawFramesAreRefused() {
        std::vector<unsigned char> yuy2(kWidth * kHeight * 2 - 1, 128);
        FrameView frame;
        frame.code = optigrab::kMediaYuy2;
        frame.data = yuy2.data();
        frame.size = yuy2.size();
        frame.width = kWidth;
        frame.height = kHeight;
        QVERIFY(!FrameConverter::looksComplete(frame));
        frame.size = yuy2.size() + 1;
        yuy2.push_back(128);
        frame.data = yuy2.data();
        QVERIFY(FrameConverter::looksComplete(frame));
        frame.code = optigrab::kMediaNv12;  // a luma plane and a half-size chroma plane
        frame.size = kWidth * kHeight * 3 / 2 - 1;
        QVERIFY(!FrameConverter::looksComplete(frame));
        frame.size = kWidth * kHeight * 3 / 2;
        QVERIFY(FrameConverter::looksComplete(frame));
    }
};

QTEST_GUILESS_MAIN(FrameConverterTest)
#include "tst_frameconverter.moc"
