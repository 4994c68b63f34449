// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's preview: frame delivery from the capture thread, intake and painting.
#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QThread>
#include <cstdio>
#include "camerapicturememory.h"
#include "pagescan.h"

#include "recording/recordingclock.h"
#include "videowidget.h"

namespace {

// When the camera took the frame that the capture thread is handing over (RecordingClock; 0 unknown).
thread_local int64_t t_captureUs = 0;

}  // namespace

// Runs on the capture thread, just before the frame it stamps arrives.
void VideoWidget::frameCaptured(long devIndex, long long captureTimeUs) {
    Q_UNUSED(devIndex);
    t_captureUs = captureTimeUs;
}

// Capture thread: the frame keeps the camera's time through the hand-over, so that a recording
// places it where it was taken, however long decoding and painting took; the hand-over time for a
// camera whose clock is not the monotonic one.
void VideoWidget::stampCaptureTime(QImage* frame) {
    FrameHandOver::stampCaptureTime(frame, t_captureUs > 0 ? t_captureUs : RecordingClock::nowUs());
    t_captureUs = 0;
}

// Runs on the camera library's capture thread: no widget is touched here. The frame is prepared at
// the view's size here, so the GUI thread only converts and paints it.
void VideoWidget::drawQImage(long devIndex, QImage* image, long width, long height) {
    Q_UNUSED(devIndex);
    Q_UNUSED(width);
    Q_UNUSED(height);
    if (stateFreeze.load())
        return;
    if (image == nullptr || image->isNull())
        return;
    QImage frame = m_frameHandOver.prepare(*image);
    if (frame.isNull())
        return;
    stampCaptureTime(&frame);
    // One frame waits for the GUI thread at most: a newer one replaces it and needs no event.
    if (m_frameHandOver.post(frame))
        emit imageReady(frame);
}

// Runs on the capture thread, for a frame that shows only the part of the picture a zoomed view asked
// for.
void VideoWidget::drawQImagePart(long devIndex, QImage* image, const QRectF& part) {
    Q_UNUSED(devIndex);
    if (stateFreeze.load())
        return;
    if (image == nullptr || image->isNull())
        return;
    QImage frame = m_frameHandOver.preparePart(*image, part);
    if (frame.isNull())
        return;
    stampCaptureTime(&frame);
    if (m_frameHandOver.post(frame))
        emit imageReady(frame);
}

void VideoWidget::onImageReady(const QImage& delivered) {
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
        qDebug("Warning: imageReady called from wrong thread!");
        return;
    }
    const QImage image = m_frameHandOver.take(delivered);
    if (image.isNull())
        return;
    if (image.width() < 1 || image.height() < 1) {
        printf("Invalid image size:%d\n", image.width());
        return;
    }
    if (image.constBits() == nullptr) {
        printf("Image bits() is null!\n");
        return;
    }
    showNoDevicePrompt(false);
    const QRectF part = FrameHandOver::partOf(image);
    if (part != QRectF(0, 0, 1, 1)) {
        // Frames of a part asked for before the view went back to 1x are late: the whole picture
        // comes next.
        if (m_videoPixmap.isNull() || m_currentScale == 1.0)
            return;
        m_partPixmap = QPixmap::fromImage(image);
        const QSizeF layer(m_videoPixmap.size());
        m_partRect = QRectF(part.x() * layer.width(), part.y() * layer.height(), part.width() * layer.width(),
                            part.height() * layer.height());
        update(liveArea());
        recordCameraPicture(FrameHandOver::captureTimeOf(image));
        return;
    }
    m_partPixmap = QPixmap();
    // In device pixels, as the frames come: the picture's layer is then as sharp as the screen.
    m_videoPixmap =
        QPixmap::fromImage(image.scaled(FrameHandOver::shownSize(image.size(), size() * devicePixelRatioF()),
                                        Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    if (m_drawingPixmap.size() != m_videoPixmap.size()) {
        m_drawingPixmap = QPixmap(m_videoPixmap.size());
        m_drawingPixmap.setDevicePixelRatio(m_videoPixmap.devicePixelRatio());
        m_drawingPixmap.fill(Qt::transparent);
        resetLayer();
    }
    // Split, the compared picture beside it stays as it is.
    update(liveArea());
    recordCameraPicture(FrameHandOver::captureTimeOf(image));
}

void VideoWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (m_videoPixmap.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }

    const Viewport& shown = viewport();
    const QRect target = shown.pictureOnView().toAlignedRect();
    // An opaque picture hides the black under it: only the parts it leaves uncovered are filled,
    // which saves a pass over the whole window for every frame.
    if (m_videoPixmap.hasAlphaChannel()) {
        painter.fillRect(rect(), Qt::black);
    } else {
        for (const QRect& band : QRegion(rect()).subtracted(target))
            painter.fillRect(band, Qt::black);
    }
    // Split, the live picture keeps to its half.
    painter.setClipRect(shown.area());
    painter.save();
    painter.translate(shown.pictureOnView().topLeft());
    painter.scale(shown.shownScale(), shown.shownScale());
    paintPicture(painter, target);
    painter.restore();
    // The ink, the page's outline, the masks: the recorder's picture is this painting.
    m_overlays.paint(painter, shown, event->rect());
}

// The whole picture enlarged, and over it the camera's sharper picture of the part shown while
// zoomed. Where that part covers the view the enlarged picture is left out, and a part that shows
// at its own size is copied without scaling.
void VideoWidget::paintPicture(QPainter& painter, const QRect& target) {
    const QRectF partOnView = painter.transform().mapRect(m_partRect);
    const QRectF visible = QRectF(liveArea()).intersected(QRectF(target));
    if (m_partPixmap.isNull() || !partOnView.adjusted(-1, -1, 1, 1).contains(visible))
        painter.drawPixmap(QPoint(0, 0), m_videoPixmap);
    if (m_partPixmap.isNull())
        return;
    const qreal ratio = devicePixelRatioF();
    if (qAbs(partOnView.width() * ratio - m_partPixmap.width()) < 1 &&
        qAbs(partOnView.height() * ratio - m_partPixmap.height()) < 1) {
        painter.save();
        painter.resetTransform();
        painter.drawPixmap(QRectF(partOnView.topLeft().toPoint(), partOnView.size()), m_partPixmap,
                           QRectF(m_partPixmap.rect()));
        painter.restore();
    } else {
        painter.drawPixmap(m_partRect, m_partPixmap, QRectF(m_partPixmap.rect()));
    }
}
