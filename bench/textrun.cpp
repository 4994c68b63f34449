// SPDX-License-Identifier: GPL-3.0-or-later
// Page text through the whole path a user's page takes: a page lying on a desk (straight or turned
// 3 degrees) under a 4K or 1080p camera, the camera library's cropped and straightened still, then
// recognition in the script's language (and English, as the default choice gives). The error rate
// counts characters, blanks left out (Chinese has none to count), as edit distance over the length.
#include "textrun.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>

#include "editdistance.h"
#include "optigrab.h"
#include "optigrab_sim.h"
#include "pagescanrun.h"
#include "printedpage.h"
#include "samples.h"
#include "text/textrecognizer.h"

namespace {

struct Script {
    const char* key;  // in the figures
    const char* language;
    const char* family;
    QStringList lines;
};

const std::vector<Script>& scripts() {
    static const std::vector<Script> list = {
        {kTextScripts[0],
         "en",
         "DejaVu Serif",
         {"The children read the story aloud", "and wrote down every new word.",
          "Then each pupil drew a map of", "the river from its source to the",
          "sea, with towns, bridges and hills."}},
        {kTextScripts[1],
         "ru",
         "DejaVu Serif",
         {"Дети прочитали рассказ вслух", "и записали каждое новое слово.", "Потом каждый ученик нарисовал",
          "карту реки от истока до моря,", "с городами, мостами и холмами."}},
        {kTextScripts[2],
         "zh_CN",
         "WenQuanYi Micro Hei",
         {"孩子们大声朗读了这个故事", "并写下了每一个新的词语。", "然后每个学生都画了一张地图",
          "从河流的源头一直到大海", "还有城镇桥梁和小山。"}},
    };
    return list;
}

}  // namespace

const char* const kTextScripts[3] = {"latin", "cyrillic", "chinese"};

namespace {

struct Camera {
    const char* key;
    QSize size;
};
const Camera kCameras[] = {{"4k", {3840, 2160}}, {"1080p", {1920, 1080}}};

// A portrait A4 page filling nine tenths of the picture's height on a dark desk; pointSize as printed.
QImage pageOnDesk(const Script& script, QSize frame, int pointSize, double degrees) {
    const int pageHeight = frame.height() * 9 / 10;
    const QSize page(qRound(pageHeight / 1.414), pageHeight);
    const double pixelsPerPoint = pageHeight / (297.0 / 25.4 * 72.0);
    const QImage printed =
        printedpage::draw(script.lines, script.family, qRound(pointSize * pixelsPerPoint), page);
    QImage picture(frame, QImage::Format_RGB32);
    picture.fill(QColor(70, 58, 48));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(frame.width() / 2.0, frame.height() / 2.0);
    painter.rotate(degrees);
    painter.drawImage(-page.width() / 2, -page.height() / 2, printed);
    return picture;
}

QString withoutBlanks(const QString& text) {
    QString kept;
    for (const QChar c : text)
        if (!c.isSpace())
            kept += c;
    return kept;
}

// The camera library's cropped still of picture played as a camera; a null image when it failed.
QImage croppedStill(const QImage& picture) {
    QTemporaryDir frames, saved;
    if (!picture.save(frames.filePath("0.jpg"), "JPEG", 92) ||
        optigrabSimPlugFrames(frames.path().toUtf8().constData(), 30) < 0)
        return {};
    long count = 0;
    camGetDevCount(&count);
    const long dev = count - 1;
    QImage still;
    if (camOpenDev(dev, 2, picture.width(), picture.height(), 30) == CAM_OK &&
        camSetImageAutoCrop(dev, 1) == CAM_OK) {
        long corners[8] = {};
        waitForPageCorners(dev, corners, 10000);
        const QString path = saved.filePath("still.jpg");
        if (camCaptureImageFile(dev, path.toUtf8().constData()) == CAM_OK)
            still = QImage(path);
        camCloseDev(dev);
    }
    optigrabSimUnplugAll();
    return still;
}

}  // namespace

QImage textPageOnDesk(int script, QSize frame, int pointSize, double degrees) {
    return pageOnDesk(scripts()[script], frame, pointSize, degrees);
}

int runTextAccuracy(bool shortSet) {
    if (camInitCameraLib() != CAM_OK)
        return 2;
    const std::vector<int> pointSizes = shortSet ? std::vector<int>{14} : std::vector<int>{10, 14, 20};
    const std::vector<double> tilts = shortSet ? std::vector<double>{0} : std::vector<double>{0, 3};
    Samples ms4k(64);
    for (const Camera& camera : kCameras) {
        for (const Script& script : scripts()) {
            QStringList languages{script.language};
            if (languages.first() != "en")
                languages << "en";
            const QString expected = withoutBlanks(script.lines.join(""));
            long errors = 0, characters = 0;
            for (int points : pointSizes) {
                for (double degrees : tilts) {
                    const QImage still = croppedStill(pageOnDesk(script, camera.size, points, degrees));
                    if (still.isNull())
                        return 3;
                    QElapsedTimer clock;
                    clock.start();
                    const TextRecognizer::Result result = TextRecognizer::recognize(still, languages);
                    if (camera.size.width() == 3840)
                        ms4k.add(clock.nsecsElapsed() / 1e6);
                    const int distance = editDistance(expected, withoutBlanks(result.text.plainText()));
                    figure(qPrintable(QString("cer_%1_%2_%3pt_%4deg")
                                          .arg(script.key, camera.key)
                                          .arg(points)
                                          .arg(degrees)),
                           double(distance) / expected.size());
                    errors += distance;
                    characters += expected.size();
                }
            }
            figure(qPrintable(QString("cer_%1_%2").arg(script.key, camera.key)), double(errors) / characters);
        }
    }
    camUnInitCameraLib();
    figure("ms_per_4k_page_median", ms4k.median());
    figure("ms_per_4k_page_max", ms4k.percentile(100));
    return 0;
}
