// Writes captures off the GUI thread, one after another: the camera library's still picture, then
// the annotation layer painted over it, the result replacing the library's file whole.
#include "capturewriter.h"

#include <unistd.h>
#include <QBuffer>
#include <QDebug>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QThread>
#include <QtConcurrent>

#include "camera/ipresenter.h"

CaptureWriter::CaptureWriter(IPresenter* presenter, QObject* parent)
    : QObject(parent), m_presenter(presenter) {
    m_pool.setMaxThreadCount(1);
    // The thread stays for the next capture a while, and is not started anew for each of a series.
    m_pool.setExpiryTimeout(60000);
}

CaptureWriter::~CaptureWriter() {
    waitForDone();
}

void CaptureWriter::write(const PathBuffer& path, const QImage& layer) {
    QtConcurrent::run(&m_pool, [this, path, layer] { run(path, layer); });
}

void CaptureWriter::waitForDone() {
    m_pool.waitForDone();
}

// Runs on the writer's thread; the presenter's still capture may be called from any thread.
void CaptureWriter::run(const PathBuffer& path, const QImage& layer) {
    PathBuffer buffer = path;
    m_presenter->captureImage(buffer.data());
    // The library's writing may end after its call returns; a tenth of a second is its time to finish.
    QThread::msleep(100);

    const QString filePath = QString::fromUtf8(path.data());
    bool saved = false;
    if (!paintLayerInto(filePath, layer, &saved)) {
        qDebug() << "无法加载图像：" << filePath;
        emit captureWritten(filePath, false);
        return;
    }
    if (saved)
        qDebug() << "图像已保存至:" << filePath;
    else
        qDebug() << "图像保存失败";
    emit captureWritten(filePath, true);
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
