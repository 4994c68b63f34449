// SPDX-License-Identifier: GPL-3.0-or-later
// MJPEG frames whose own header disagrees with the mode: a little larger or smaller decodes as the
// header says, a damaged size field is dropped before any memory is taken for it.
#include <QBuffer>
#include <QImage>
#include <QtTest>

#include <vector>

#include "deviceinfo.h"
#include "frameconverter.h"

using optigrab::FrameConverter;
using optigrab::FrameView;

namespace {

// A flat teal picture of width x height as a baseline JPEG.
std::vector<unsigned char> tealJpeg(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB888);
    picture.fill(QColor(0, 128, 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG", 90);
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

// Writes another size into the frame header (SOF0), as a damaged frame would carry it.
void setHeaderSize(std::vector<unsigned char>& jpeg, int width, int height) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<unsigned char>(height >> 8);
            jpeg[i + 6] = static_cast<unsigned char>(height);
            jpeg[i + 7] = static_cast<unsigned char>(width >> 8);
            jpeg[i + 8] = static_cast<unsigned char>(width);
            return;
        }
    QFAIL("no SOF0 segment");
}

}  // namespace

class MjpegHeaderTest : public QObject {
    Q_OBJECT

private slots:
    void headerSizeAgainstMode_data() {
        QTest::addColumn<int>("headerWidth");
        QTest::addColumn<int>("headerHeight");
        QTest::addColumn<bool>("decodes");
        // The mode is 160 x 120 in every row; the picture is encoded at the header's size unless the
        // size field is damaged (then the data stays that of 160 x 120).
        QTest::newRow("as the mode") << 160 << 120 << true;
        QTest::newRow("padded to whole blocks") << 160 << 128 << true;
        QTest::newRow("smaller than the mode") << 80 << 60 << true;
        QTest::newRow("twice the mode") << 320 << 240 << true;
        QTest::newRow("damaged: 8000 x 8000") << 8000 << 8000 << false;
        QTest::newRow("damaged: too wide") << 321 << 120 << false;
        QTest::newRow("damaged: too high") << 160 << 241 << false;
    }
    void headerSizeAgainstMode() {
        QFETCH(int, headerWidth);
        QFETCH(int, headerHeight);
        QFETCH(bool, decodes);
        std::vector<unsigned char> jpeg = decodes ? tealJpeg(headerWidth, headerHeight) : tealJpeg(160, 120);
        if (!decodes)
            setHeaderSize(jpeg, headerWidth, headerHeight);
        FrameView frame;
        frame.code = optigrab::kMediaMjpg;
        frame.data = jpeg.data();
        frame.size = jpeg.size();
        frame.width = 160;
        frame.height = 120;
        for (const auto quality : {FrameConverter::Quality::Preview, FrameConverter::Quality::Still}) {
            FrameConverter converter;
            std::vector<unsigned char> rgb;
            long w = 0, h = 0;
            QCOMPARE(converter.toRgb(frame, 0, 0, quality, rgb, &w, &h), decodes);
            if (!decodes) {
                QVERIFY(rgb.capacity() < std::size_t(321) * 241 * 3);  // nothing taken for the claimed size
                continue;
            }
            QCOMPARE(w, long(headerWidth));
            QCOMPARE(h, long(headerHeight));
            const unsigned char* middle = &rgb[(std::size_t(h / 2) * w + w / 2) * 3];
            QVERIFY2(middle[0] < 20 && qAbs(middle[1] - 128) < 10 && qAbs(middle[2] - 128) < 10,
                     qPrintable(QString("%1 %2 %3").arg(middle[0]).arg(middle[1]).arg(middle[2])));
        }
    }
};

QTEST_GUILESS_MAIN(MjpegHeaderTest)
#include "tst_mjpegheader.moc"
