// SPDX-License-Identifier: GPL-3.0-or-later
// Carries camera frames from the capture thread to the GUI thread: each frame is prepared at the
// view's size on the capture thread, and at most one prepared frame waits for the GUI thread.
#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class FrameHandOver {
public:
    FrameHandOver();
    ~FrameHandOver();
    FrameHandOver(const FrameHandOver&) = delete;
    FrameHandOver& operator=(const FrameHandOver&) = delete;

    // The size a frame is shown at in a view: the view's own size (the picture fills the window), but a
    // picture turned sideways (tall in a wide window, or wide in a tall one) keeps its shape.
    static QSize shownSize(const QSize& frame, const QSize& view);
    // GUI thread: the size at which frames are prepared from now on.
    void setTargetSize(const QSize& size);
    // GUI thread: where the whole picture lies on the view while zoomed, in device pixels; frames of a
    // part are prepared for it.
    void setPictureShown(const QRectF& picture);
    // The whole device pixels a part of the picture (fractions) covers where the picture lies.
    static QRect pixelsOf(const QRectF& part, const QRectF& picture);

    // Capture thread: the RGB888 frame scaled to the target size as an RGB32 image in pooled memory
    // (no allocation per frame once the pool holds a buffer for each image in flight).
    QImage prepare(const QImage& frame);
    // Capture thread: a frame that shows part of the picture (fractions of its width and height),
    // scaled down to the whole device pixels the part covers on the view (pixelsOf), or kept at its own
    // size when that is no larger. The part travels with it.
    QImage preparePart(const QImage& frame, const QRectF& part);
    // The part a prepared frame shows; the whole picture for frames from prepare().
    static QRectF partOf(const QImage& prepared);
    // When the camera took a prepared frame (RecordingClock microseconds), carried with the frame;
    // 0 for a frame never stamped.
    static void stampCaptureTime(QImage* prepared, int64_t captureUs);
    static int64_t captureTimeOf(const QImage& prepared);

    // Capture thread: makes frame the waiting one, replacing a frame that still waits. Returns true
    // when no frame was waiting, that is when the GUI thread must be told.
    bool post(const QImage& frame);

    // GUI thread: the waiting frame, or fallback when none waits; nothing waits afterwards.
    QImage take(const QImage& fallback);

    // GUI thread: forgets the waiting frame, and the frame whose delivery is still on its way is
    // not shown when it arrives (its camera was closed or went away).
    void clear();

private:
    class BufferPool;

    QImage prepareAt(const QImage& frame, const QSize& target);

    std::shared_ptr<BufferPool> m_pool;  // shared with the images in flight, which return buffers to it
    std::mutex m_mutex;         // guards m_targetSize, m_pictureShown, m_pending, m_framePending and the keys
    std::mutex m_scratchMutex;  // guards m_scratch
    QSize m_targetSize;
    QRectF m_pictureShown;
    QImage m_pending;
    bool m_framePending = false;
    qint64 m_deliveredKey = 0;             // cacheKey of the frame the last delivery carries
    qint64 m_staleKey = 0;                 // cacheKey of a delivery that clear() voided
    std::vector<unsigned char> m_scratch;  // full-size RGB32 frame before the box filter
};
