// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's preview: frame delivery from the capture thread, intake and painting
// (livepicture.cpp carries the frames and the zoomed part).
#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QThread>
#include <cstdio>

#include "annotationcanvas.h"
#include "videowidget.h"

// Runs on the capture thread, just before the frame it stamps arrives.
void VideoWidget::frameCaptured(long devIndex, long long captureTimeUs) {
    Q_UNUSED(devIndex);
    LivePicture::frameCaptured(captureTimeUs);
}

// Runs on the camera library's capture thread: no widget is touched here. The frame is prepared at
// the view's size here, so the GUI thread only converts and paints it.
void VideoWidget::drawQImage(long devIndex, QImage* image, long width, long height) {
    Q_UNUSED(devIndex);
    Q_UNUSED(width);
    Q_UNUSED(height);
    if (stateFreeze.load() || image == nullptr)
        return;
    const QImage frame = m_livePicture.handOver(*image);
    if (!frame.isNull())
        emit imageReady(frame);
}

// Runs on the capture thread, for a frame that shows only the part of the picture a zoomed view asked
// for.
void VideoWidget::drawQImagePart(long devIndex, QImage* image, const QRectF& part) {
    Q_UNUSED(devIndex);
    if (stateFreeze.load() || image == nullptr)
        return;
    const QImage frame = m_livePicture.handOverPart(*image, part);
    if (!frame.isNull())
        emit imageReady(frame);
}

void VideoWidget::onImageReady(const QImage& delivered) {
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
        qDebug("Warning: imageReady called from wrong thread!");
        return;
    }
    const QImage image = m_livePicture.take(delivered);
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
    if (FrameHandOver::partOf(image) != QRectF(0, 0, 1, 1)) {
        // Frames of a part asked for before the view went back to 1x are late: the whole picture
        // comes next.
        if (m_videoPixmap.isNull() || m_currentScale == 1.0)
            return;
        m_livePicture.showPart(image);
        update(liveArea());
        recordCameraPicture(FrameHandOver::captureTimeOf(image));
        return;
    }
    m_livePicture.dropPart();
    // In device pixels, as the frames come: the picture's layer is then as sharp as the screen.
    m_videoPixmap =
        QPixmap::fromImage(image.scaled(FrameHandOver::shownSize(image.size(), size() * devicePixelRatioF()),
                                        Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    if (m_drawingPixmap.size() != m_videoPixmap.size()) {
        m_drawingPixmap = QPixmap(m_videoPixmap.size());
        m_drawingPixmap.setDevicePixelRatio(m_videoPixmap.devicePixelRatio());
        m_drawingPixmap.fill(Qt::transparent);
        m_canvas->resetLayer();
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
    m_livePicture.paint(painter, m_videoPixmap, QRectF(liveArea()).intersected(QRectF(target)),
                        devicePixelRatioF());
    painter.restore();
    // The ink, the page's outline, the masks: the recorder's picture is this painting.
    m_canvas->paint(painter, shown, event->rect());
}
