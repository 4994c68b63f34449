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
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QStorageInfo>
#include <cerrno>

#include "camera/ipresenter.h"
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

void CaptureWriter::write(const PathBuffer& path, const QImage& layer) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back({path, layer});
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
        const Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        run(job.path, job.layer);
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

// Runs on the writer's thread; the presenter's still capture may be called from any thread.
void CaptureWriter::run(const PathBuffer& path, const QImage& layer) {
    PathBuffer buffer = path;
    // The file is whole, or absent, when the library's call returns.
    const long refused = m_presenter->captureImage(buffer.data());
    const QString filePath = QString::fromUtf8(path.data());
    if (refused != 0)
        qDebug() << "The camera library could not write the capture, error" << refused;

    bool saved = false;
    if (!paintLayerInto(filePath, layer, &saved)) {
        qDebug() << "无法加载图像：" << filePath;
        emit captureWritten(filePath, false,
                            refused != 0 ? failureOfLibraryCode(refused, filePath) : Failure::CameraFailed);
        return;
    }
    if (saved) {
        qDebug() << "图像已保存至:" << filePath;
        emit captureWritten(filePath, true, Failure::None);
    } else {
        qDebug() << "图像保存失败";
        emit captureWritten(filePath, true, Failure::DrawingNotSaved);
    }
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

bool CaptureWriter::paintLayerInto(const QString& path, const QImage& layer, bool* saved) {
    *saved = false;
    QImage picture(path);
    if (picture.isNull())
        return false;
    if (!layer.isNull()) {
        QPainter painter(&picture);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        QImage scaled = layer.scaled(picture.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        // In the picture's pixels, whatever the screen's scale the layer was drawn at.
        scaled.setDevicePixelRatio(1.0);
        painter.drawImage(0, 0, scaled);
    }
    // Encoded in memory first, so that the file is written in one piece; a write cut short by a full
    // disk leaves the temporary file, which is removed, and the library's file as it was.
    QByteArray encoded;
    QBuffer memory(&encoded);
    memory.open(QIODevice::WriteOnly);
    QImageWriter writer(&memory, QFileInfo(path).suffix().toLatin1());
    if (!writer.write(picture))
        return true;
    QSaveFile file(path);
    *saved = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
             file.write(encoded) == encoded.size() && ::fdatasync(file.handle()) == 0 && file.commit();
    return true;
}
