// SPDX-License-Identifier: GPL-3.0-or-later
// Writes captures off the GUI thread, one after another: the camera library's still picture, then
// the annotation layer painted over it, the result replacing the library's file whole.
#include "capturewriter.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QStorageInfo>
#include <cerrno>

#include "camera/ipresenter.h"
#include "liveviewlog.h"
#include "optigrab.h"

namespace {

const int kWriterNice = 5;
// Below this much free room a failed write is taken for a full disk: a camera's JPEG is larger.
const qint64 kFullDiskBytes = 4 * 1024 * 1024;

// The nearest existing folder on the way to path: the library creates missing folders.
QString nearestExistingFolder(const QString& path) {
    QDir folder = QFileInfo(path).absoluteDir();
    while (!folder.exists() && folder.cdUp()) {
    }
    return folder.absolutePath();
}

// A folder that takes files (read-only mounts and missing rights say no, root included) but whose
// disk has almost no room left.
bool diskIsFull(const QString& path) {
    const QString folder = nearestExistingFolder(path);
    const QStorageInfo storage(folder);
    if (!storage.isValid() || storage.isReadOnly() ||
        ::access(QFile::encodeName(folder).constData(), W_OK) != 0)
        return false;
    // Pseudo file systems such as /proc have no room at all and are not full.
    return storage.bytesTotal() > 0 && storage.bytesAvailable() < kFullDiskBytes;
}

// A layer with at least one pixel that is not fully transparent.
bool hasDrawing(const QImage& layer) {
    if (layer.isNull())
        return false;
    const QImage argb =
        layer.format() == QImage::Format_ARGB32_Premultiplied || layer.format() == QImage::Format_ARGB32
            ? layer
            : layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(row[x]) != 0)
                return true;
    }
    return false;
}

}  // namespace

CaptureWriter::CaptureWriter(IPresenter* presenter, QObject* parent)
    : QObject(parent), m_presenter(presenter), m_thread(&CaptureWriter::loop, this) {
    qRegisterMetaType<Failure>();  // crosses to the GUI thread in a queued call
}

CaptureWriter::~CaptureWriter() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    // Captures already queued are still written: each was clicked, and its number is taken.
    m_thread.join();
}

void CaptureWriter::write(const Request& request) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back(request);
    }
    m_changed.notify_all();
}

void CaptureWriter::waitForDone() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

void CaptureWriter::loop() {
    // Decoding, painting and encoding 4K pictures yield to the live picture's threads when the cores
    // are busy: a capture may take a little longer, the picture must not stall. The niceness is
    // relative to the main thread's (on Linux each thread has its own).
    errno = 0;
    const int mainNice = getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid()));
    if (errno == 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), mainNice + kWriterNice);
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_jobs.empty() || m_stopping; });
        if (m_jobs.empty())
            return;
        const Request job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        run(job);
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

// Runs on the writer's thread; the presenter's still capture may be called from any thread.
void CaptureWriter::run(const Request& request) {
    long isBook = 0;
    if (request.rightPath[0] != '\0' && m_presenter->getIsSupportBook(request.devIndex, isBook) == 0 &&
        isBook == 1) {
        runSpread(request);
        return;
    }
    PathBuffer buffer = request.path;
    // The file is whole, or absent, when the library's call returns.
    const long refused = m_presenter->captureImage(buffer.data());
    if (refused != 0)
        qCWarning(lcLiveView) << "The camera library could not write the capture, error" << refused;
    const QString path = QString::fromUtf8(request.path.data());
    if (request.rightPath[0] != '\0')
        emit captureWritten(QString::fromUtf8(request.rightPath.data()), false, Failure::None);
    if (refused == CAM_ERR_NO_PAGE) {
        finish(path, request, false, Failure::NoPageFound);
        return;
    }
    // A file the library did not write cannot be loaded: the code says why.
    finish(path, request, request.cropping,
           refused != 0 ? failureOfLibraryCode(refused, path) : Failure::None);
}

// Runs on the writer's thread: the two pages of a spread, the left one first.
void CaptureWriter::runSpread(const Request& request) {
    PathBuffer left = request.path, right = request.rightPath;
    int pages = 0;
    const long refused = m_presenter->captureBookEx(left.data(), right.data(), pages);
    if (refused != 0)
        qCWarning(lcLiveView) << "The camera library could not write the spread, error" << refused;
    const QString paths[] = {QString::fromUtf8(request.path.data()),
                             QString::fromUtf8(request.rightPath.data())};
    for (int page = 0; page < 2; ++page) {
        if ((pages & (1 << page)) != 0)
            finish(paths[page], request, true, Failure::None);
        else if (page == 1 && refused == 0)
            emit captureWritten(paths[page], false, Failure::None);  // one page after all
        else
            emit captureWritten(
                paths[page], false,
                refused != 0 ? failureOfLibraryCode(refused, paths[page]) : Failure::CameraFailed);
    }
}

void CaptureWriter::finish(const QString& path, const Request& request, bool pageCut, Failure failure) {
    // A cut-out page no longer lies where the drawing was made over the whole picture: the drawing
    // is left out rather than put in the wrong place, and the user is told.
    if (pageCut && failure == Failure::None && hasDrawing(request.layer))
        failure = Failure::DrawingNotSaved;
    bool saved = false;
    if (!paintLayerInto(path, pageCut ? QImage() : request.layer, request.quality, &saved)) {
        qDebug() << "无法加载图像：" << path;
        emit captureWritten(path, false, failure != Failure::None ? failure : Failure::CameraFailed);
        return;
    }
    if (!saved) {
        qDebug() << "图像保存失败";
        emit captureWritten(path, true, Failure::DrawingNotSaved);
        return;
    }
    qDebug() << "图像已保存至:" << path;
    emit captureWritten(path, true, failure);
}

CaptureWriter::Failure CaptureWriter::failureOfLibraryCode(long code, const QString& path) {
    switch (code) {
        case CAM_ERR_NO_FRAME:
            return Failure::NoPicture;
        case CAM_ERR_FILE:
            return diskIsFull(path) ? Failure::DiskFull : Failure::FolderNotWritable;
        case CAM_ERR_DEVICE_GONE:
        case CAM_ERR_NOT_OPEN:
        case CAM_ERR_BAD_INDEX:
            return Failure::CameraGone;
        default:
            return Failure::CameraFailed;
    }
}

bool CaptureWriter::paintLayerInto(const QString& path, const QImage& layer, int quality, bool* saved) {
    *saved = false;
    if (!hasDrawing(layer)) {
        // Nothing to paint: the library's file stays as it is, with its quality and resolution, and
        // only its header is read to know it is a picture.
        QImageReader reader(path);
        *saved = reader.canRead() && reader.size().isValid();
        return *saved;
    }
    QImage picture(path);
    if (picture.isNull())
        return false;
    {
        QPainter painter(&picture);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        QImage scaled = layer.scaled(picture.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        // In the picture's pixels, whatever the screen's scale the layer was drawn at.
        scaled.setDevicePixelRatio(1.0);
        painter.drawImage(0, 0, scaled);
    }
    // Encoded in memory first, so that the file is written in one piece; a write cut short by a full
    // disk leaves the temporary file, which is removed, and the library's file as it was. The picture
    // keeps the resolution read from the library's file.
    QByteArray encoded;
    QBuffer memory(&encoded);
    memory.open(QIODevice::WriteOnly);
    QImageWriter writer(&memory, QFileInfo(path).suffix().toLatin1());
    writer.setQuality(quality);
    if (!writer.write(picture))
        return true;
    QSaveFile file(path);
    *saved = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
             file.write(encoded) == encoded.size() && ::fdatasync(file.handle()) == 0 && file.commit();
    return true;
}
