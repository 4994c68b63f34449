// SPDX-License-Identifier: GPL-3.0-or-later
// The page-scanning scenarios. The accuracy of page finding is scored on photographs of real pages
// played as a camera, against outlines marked by hand. The live analysis is timed on the thread that runs it,
// with the frames a 4K camera's decoder hands it under a 1920x1080 view (the preview it decodes anyway,
// 1920x1080): the CPU it takes for 10 s of frames at 30 fps, as points of one core. The still and the PDF go
// through the camera library and the file panel's exporter as the viewer calls them.
#include "pagescanrun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>

#include <cstring>
#include <ctime>

#include "filebrowser/pdfexporter.h"
#include "handmarked.h"
#include "imaging/frameanalyser.h"
#include "optigrab.h"
#include "optigrab_sim.h"
#include "samples.h"
#include "textliverun.h"
#include "textrun.h"

namespace {

const int kFps = 30;
const int kSeconds = 10;
const QSize kPreview(1920, 1080);
const QSize k4K(3840, 2160);
const char* const kPhotographs[] = {"notebook-spread-top-dark-mat.jpg", "notebook-rotated-dark-mat.jpg",
                                    "notebook-angle-wood-desk-mug.jpg",
                                    "receipt-on-white-desk-low-contrast.jpg", "sheet-on-patterned-rug.jpg"};

double threadCpuMs() {
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    return cpu.tv_sec * 1e3 + cpu.tv_nsec / 1e6;
}

// A photograph of a page fitted into a picture of size, on the dark desk of a document camera.
QImage onDesk(const char* photograph, const QSize& size) {
    const QImage photo(QStringLiteral(PAGES_DIR "/") + photograph);
    QImage picture(size, QImage::Format_RGB888);
    picture.fill(QColor(40, 38, 36));
    if (photo.isNull())
        return picture;
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize fitted = photo.size().scaled(size, Qt::KeepAspectRatio);
    painter.drawImage(
        QRect(QPoint((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2), fitted),
        photo);
    return picture;
}

bool noCapture(long) {
    return true;
}

// CPU of the analysis of 10 s of frames at 30 fps, in points of one core, for each photograph.
int runAnalysis(bool findPages) {
    Samples points(std::size(kPhotographs));
    for (const char* photograph : kPhotographs) {
        const QImage frame = onDesk(photograph, kPreview);
        optigrab::FrameAnalyser analyser;
        if (findPages)
            analyser.setPageFinding(true);
        else
            analyser.startAutoCapture(1000, false, &noCapture);
        const double start = threadCpuMs();
        for (int i = 0; i < kFps * kSeconds; ++i)
            analyser.analyse(frame.constBits(), frame.width(), frame.height());
        const double used = threadCpuMs() - start;
        points.add(100.0 * used / (kSeconds * 1000.0));
        analyser.stopAutoCapture(false);
    }
    figure("points_median", points.median());
    figure("points_max", points.percentile(100));
    return 0;
}

// A camera playing a 4K picture of a page on a desk, open at 4K; its index, or -1.
long openPageCamera(QTemporaryDir& folder) {
    if (!onDesk("notebook-angle-wood-desk-mug.jpg", k4K).save(folder.filePath("0.jpg"), "JPEG", 90) ||
        optigrabSimPlugFrames(folder.path().toUtf8().constData(), kFps) < 0 || camInitCameraLib() != CAM_OK)
        return -1;
    long count = 0;
    camGetDevCount(&count);
    const long dev = count - 1;
    if (camOpenDev(dev, 2, k4K.width(), k4K.height(), kFps) != CAM_OK ||
        camSetPreviewSizeHint(dev, kPreview.width(), kPreview.height()) != CAM_OK)
        return -1;
    return dev;
}

// Click to file of a cropped and straightened 4K still, ten times.
int runCroppedStill() {
    QTemporaryDir frames, saved;
    const long dev = openPageCamera(frames);
    if (dev < 0 || camSetImageAutoCrop(dev, 1) != CAM_OK)
        return 2;
    long corners[8] = {};
    const long found = waitForPageCorners(dev, corners, 10000) ? 1 : 0;
    Samples ms(10);
    int cropped = 0;
    for (int i = 0; i < 10; ++i) {
        const QString path = saved.filePath(QString("still_%1.jpg").arg(i));
        QElapsedTimer clock;
        clock.start();
        const long result = camCaptureImageFile(dev, path.toUtf8().constData());
        ms.add(clock.nsecsElapsed() / 1e6);
        if (result == CAM_OK && QImage(path).size() != k4K)
            ++cropped;
        QThread::msleep(300);
    }
    camCloseDev(dev);
    camUnInitCameraLib();
    figure("page_found", found);
    figure("cropped", cropped);
    figure("still_median_ms", ms.median());
    figure("still_max_ms", ms.percentile(100));
    return 0;
}

// Twenty 4K captures into one PDF, as "Save as PDF" writes it.
int runPdf() {
    QTemporaryDir frames, saved;
    const long dev = openPageCamera(frames);
    if (dev < 0)
        return 2;
    QThread::msleep(500);
    QStringList pictures;
    qint64 pictureBytes = 0;
    for (int i = 0; i < 20; ++i) {
        const QString path = saved.filePath(QString("page_%1.jpg").arg(i, 5, 10, QChar('0')));
        if (camCaptureImageFile(dev, path.toUtf8().constData()) != CAM_OK)
            return 3;
        pictures << path;
        pictureBytes += QFileInfo(path).size();
    }
    camCloseDev(dev);
    camUnInitCameraLib();
    const QString pdf = saved.filePath("pages.pdf");
    QElapsedTimer clock;
    clock.start();
    const PdfExporter::Outcome outcome = PdfExporter::write(pictures, pdf);
    figure("pdf_ms", clock.nsecsElapsed() / 1e6);
    figure("pdf_pages", outcome.pages);
    figure("pdf_size_ratio", double(QFileInfo(pdf).size()) / double(pictureBytes));
    figure("picture_mib", pictureBytes / 20.0 / (1024.0 * 1024.0));
    return outcome.written ? 0 : 4;
}

// The outline the library reports for a photograph played as a camera, after it has had time to
// settle; false when it reports none.
bool reportedOutline(const char* photograph, optigrab::Quad* page) {
    QTemporaryDir folder;
    const QImage photo(QStringLiteral(PAGES_DIR "/") + photograph);
    if (!QFile::copy(QStringLiteral(PAGES_DIR "/") + photograph, folder.filePath("0.jpg")) ||
        optigrabSimPlugFrames(folder.path().toUtf8().constData(), kFps) < 0 || camInitCameraLib() != CAM_OK)
        return false;
    long count = 0, corners[8] = {}, found = 0;
    camGetDevCount(&count);
    const long dev = count - 1;
    if (camOpenDev(dev, 2, photo.width(), photo.height(), kFps) == CAM_OK &&
        camSetImageAutoCrop(dev, 1) == CAM_OK) {
        // Until the smoothed outline has followed the first one found for a second.
        QElapsedTimer waited;
        waited.start();
        while (found == 0 && waited.elapsed() < 5000 && camGetPageCorners(dev, corners, &found) == CAM_OK)
            QThread::msleep(100);
        QThread::msleep(1000);
        camGetPageCorners(dev, corners, &found);
        camCloseDev(dev);
    }
    camUnInitCameraLib();
    optigrabSimUnplugAll();
    for (int i = 0; i < 4; ++i)
        (*page)[i] = cv::Point2f(float(corners[2 * i]), float(corners[2 * i + 1]));
    return found == 1;
}

// The outline reported for each photograph against the one marked by hand: intersection over union,
// 0 for no outline.
int runAccuracy() {
    double sum = 0;
    for (const char* photograph : kPhotographs) {
        optigrab::Quad marked, reported;
        if (!handmarked::outline(PAGES_DIR, photograph, &marked))
            return 2;
        const double iou =
            reportedOutline(photograph, &reported) ? optigrab::PageFinder::overlap(marked, reported) : 0;
        figure(photographKey(photograph).c_str(), iou);
        sum += iou;
    }
    figure("iou_mean", sum / double(std::size(kPhotographs)));
    return 0;
}

}  // namespace

const char* const* pagePhotographs(std::size_t* count) {
    *count = std::size(kPhotographs);
    return kPhotographs;
}

std::string photographKey(const char* photograph) {
    return "iou_" + QFileInfo(photograph).completeBaseName().toStdString();
}

const std::vector<PageScanScenario>& pageScanScenarios() {
    static const std::vector<PageScanScenario> list = {
        {"pagefinding", "page finding on every third frame, 4K MJPEG at 30 fps"},
        {"motion", "automatic capture's motion detection, 4K MJPEG at 30 fps"},
        {"cropped-still", "cropped and straightened 4K still"},
        {"pdf20", "PDF of twenty 4K captures"},
        {"pagefinding-accuracy", "page outlines in photographs against outlines marked by hand"},
        {"text", "page text in three scripts, 4K and 1080p, three sizes, straight and tilted"},
        {"text-short", "page text in three scripts, 4K and 1080p, one size, straight (does it run)"},
        {"text-live", "copy text three times under a live 4K page at 30 fps"},
    };
    return list;
}

const PageScanScenario* findPageScanScenario(const char* name) {
    for (const PageScanScenario& scenario : pageScanScenarios())
        if (std::strcmp(scenario.name, name) == 0)
            return &scenario;
    return nullptr;
}

int runPageScan(const PageScanScenario& scenario, int argc, char** argv) {
    const QString name = scenario.name;
    if (name == "text-live")
        return runTextLive(argc, argv);  // a view of its own: widgets
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (name == "pagefinding")
        return runAnalysis(true);
    if (name == "motion")
        return runAnalysis(false);
    if (name == "cropped-still")
        return runCroppedStill();
    if (name == "pagefinding-accuracy")
        return runAccuracy();
    if (name.startsWith("text"))
        return runTextAccuracy(name == "text-short");
    return runPdf();
}

bool waitForPageCorners(long dev, long corners[8], int timeoutMs) {
    long found = 0;
    QElapsedTimer waited;
    waited.start();
    while (found == 0 && waited.elapsed() < timeoutMs) {
        QThread::msleep(100);
        camGetPageCorners(dev, corners, &found);
    }
    return found != 0;
}
