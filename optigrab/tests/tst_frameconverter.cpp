// The frame converter on its own (it is internal to the library, so it is compiled into this test):
// MJPEG frames without Huffman tables, warnings the decoder raises, the checks that run before decoding,
// and preview sizes.
#include <QtTest>

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
