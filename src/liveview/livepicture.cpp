// SPDX-License-Identifier: GPL-3.0-or-later
// The camera's picture on its way to the view: hand-over, capture times, the zoomed part.
#include "livepicture.h"

#include <QPainter>

#include "camera/ipresenter.h"
#include "liveview/viewport.h"
#include "recording/recordingclock.h"

namespace {

// When the camera took the frame that the capture thread is handing over (RecordingClock; 0 unknown).
thread_local int64_t t_captureUs = 0;

}  // namespace

void LivePicture::frameCaptured(long long captureTimeUs) {
    t_captureUs = captureTimeUs;
}

QImage LivePicture::handOver(const QImage& image) {
    return image.isNull() ? QImage() : post(m_frameHandOver.prepare(image));
}

QImage LivePicture::handOverPart(const QImage& image, const QRectF& part) {
    return image.isNull() ? QImage() : post(m_frameHandOver.preparePart(image, part));
}

// Capture thread: the frame keeps the camera's time through the hand-over, so that a recording places
// it where it was taken, however long decoding and painting took; the hand-over time for a camera
// whose clock is not the monotonic one.
QImage LivePicture::post(QImage frame) {
    if (frame.isNull())
        return {};
    FrameHandOver::stampCaptureTime(&frame, t_captureUs > 0 ? t_captureUs : RecordingClock::nowUs());
    t_captureUs = 0;
    // One frame waits for the GUI thread at most: a newer one replaces it and needs no event.
    return m_frameHandOver.post(frame) ? frame : QImage();
}

void LivePicture::clear() {
    m_frameHandOver.clear();
    m_partPixmap = QPixmap();
}

void LivePicture::showPart(const QImage& frame) {
    m_part = FrameHandOver::partOf(frame);
    m_partPixmap = QPixmap::fromImage(frame);
}

void LivePicture::requestPart(IPresenter* presenter, int devIndex, const Viewport& viewport, qreal ratio) {
    constexpr double kMillion = 1000000.0;  // the camera library's unit of picture parts
    const QRectF picture = viewport.pictureOnView();
    m_frameHandOver.setPictureShown(QRectF(picture.topLeft() * ratio, picture.size() * ratio));
    const QRectF wanted = viewport.visiblePart();
    if (wanted == m_requestedPart || presenter == nullptr)
        return;
    m_requestedPart = wanted;
    if (wanted == QRectF(0, 0, 1, 1)) {
        presenter->setPreviewPart(devIndex, 0, 0, 0, 0);
        return;
    }
    presenter->setPreviewPart(devIndex, qRound(wanted.x() * kMillion), qRound(wanted.y() * kMillion),
                              qRound(wanted.width() * kMillion), qRound(wanted.height() * kMillion));
}

// Where the part covers the view the enlarged picture is left out, and a part prepared for the device
// pixels it covers is copied onto them pixel for pixel, without scaling.
void LivePicture::paint(QPainter& painter, const QPixmap& picture, const QRectF& visible, qreal ratio) const {
    const QRectF layer(QPointF(0, 0), QSizeF(picture.size()));
    const QRectF partRect(m_part.x() * layer.width(), m_part.y() * layer.height(),
                          m_part.width() * layer.width(), m_part.height() * layer.height());
    if (m_partPixmap.isNull() ||
        !painter.transform().mapRect(partRect).adjusted(-1, -1, 1, 1).contains(visible))
        painter.drawPixmap(QPoint(0, 0), picture);
    if (m_partPixmap.isNull())
        return;
    const QRectF pictureOnView = painter.transform().mapRect(layer);
    const QRect pixels = FrameHandOver::pixelsOf(
        m_part, QRectF(pictureOnView.topLeft() * ratio, pictureOnView.size() * ratio));
    if (pixels.size() == m_partPixmap.size()) {
        painter.save();
        painter.resetTransform();
        painter.drawPixmap(QRectF(QPointF(pixels.topLeft()) / ratio, QSizeF(pixels.size()) / ratio),
                           m_partPixmap, QRectF(m_partPixmap.rect()));
        painter.restore();
    } else {
        painter.drawPixmap(partRect, m_partPixmap, QRectF(m_partPixmap.rect()));
    }
}
