// SPDX-License-Identifier: GPL-3.0-or-later
// Uncompressed frames scaled down to a preview size hint, at the sizes where the scaler takes its
// whole-number shortcuts: every size the hint can produce must convert, with the right colour.
#include <QtTest>

#include <vector>

#include "deviceinfo.h"
#include "frameconverter.h"

using optigrab::FrameConverter;
using optigrab::FrameView;

class PreviewScalingTest : public QObject {
    Q_OBJECT

private slots:
    void wholeNumberSteps_data() {
        QTest::addColumn<long>("code");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QSize>("hint");
        QTest::addColumn<QSize>("preview");
        // Width and height steps of 4 and 6: the quarter-width shortcut with an unequal height step.
        QTest::newRow("YUY2 4x6 to 1x1")
            << long(optigrab::kMediaYuy2) << QSize(4, 6) << QSize(0, 1) << QSize(1, 1);
        QTest::newRow("YUY2 8x12 to 2x2")
            << long(optigrab::kMediaYuy2) << QSize(8, 12) << QSize(0, 2) << QSize(2, 2);
        QTest::newRow("NV12 8x12 to 2x2")
            << long(optigrab::kMediaNv12) << QSize(8, 12) << QSize(0, 2) << QSize(2, 2);
        // Equal steps of four and of two take the shortcuts as they are meant.
        QTest::newRow("YUY2 640x480 to a quarter")
            << long(optigrab::kMediaYuy2) << QSize(640, 480) << QSize(160, 120) << QSize(160, 120);
        QTest::newRow("NV12 1920x1080 to a half")
            << long(optigrab::kMediaNv12) << QSize(1920, 1080) << QSize(960, 540) << QSize(960, 540);
        QTest::newRow("YUY2 8x4 to 2x1")
            << long(optigrab::kMediaYuy2) << QSize(8, 4) << QSize(2, 0) << QSize(2, 1);
    }
    void wholeNumberSteps() {
        QFETCH(long, code);
        QFETCH(QSize, frame);
        QFETCH(QSize, hint);
        QFETCH(QSize, preview);
        // A flat orange picture: YUV 151, 44, 201 is about RGB 255, 128, 0.
        const std::size_t pixels = std::size_t(frame.width()) * frame.height();
        std::vector<unsigned char> data;
        if (code == optigrab::kMediaYuy2) {
            for (std::size_t i = 0; i < pixels / 2; ++i)
                data.insert(data.end(), {151, 44, 151, 201});
        } else {
            data.assign(pixels, 151);
            for (std::size_t i = 0; i < pixels / 4; ++i)
                data.insert(data.end(), {44, 201});
        }
        FrameView view;
        view.code = code;
        view.data = data.data();
        view.size = data.size();
        view.width = frame.width();
        view.height = frame.height();
        FrameConverter converter;
        std::vector<unsigned char> rgb;
        long w = 0, h = 0;
        QVERIFY(converter.toRgb(view, hint.width(), hint.height(), FrameConverter::Quality::Preview, rgb, &w,
                                &h));
        QCOMPARE(QSize(int(w), int(h)), preview);
        for (std::size_t i = 0; i < std::size_t(w) * h; ++i) {
            const unsigned char* p = &rgb[3 * i];
            QVERIFY2(p[0] > 230 && qAbs(p[1] - 128) < 20 && p[2] < 30,
                     qPrintable(QString("pixel %1: %2 %3 %4").arg(i).arg(p[0]).arg(p[1]).arg(p[2])));
        }
    }
};

QTEST_GUILESS_MAIN(PreviewScalingTest)
#include "tst_previewscaling.moc"
