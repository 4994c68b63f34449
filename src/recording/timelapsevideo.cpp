// SPDX-License-Identifier: GPL-3.0-or-later
// A time-lapse's pictures into an MP4, one frame each, through the camera library's recording.
#include "timelapsevideo.h"

#include "optigrab.h"
#include "recordingclock.h"

namespace {

// More than one picture waiting lets the next still be taken while the last one is encoded.
constexpr int kMaxHeld = 2;

}  // namespace

// A picture's pixels kept alive until the encoder has written them.
struct TimeLapseVideo::Held {
    QImage picture;
    TimeLapseVideo* video;
};

TimeLapseVideo::TimeLapseVideo() : m_record(camNewPictureRecord()) {}

TimeLapseVideo::~TimeLapseVideo() {
    if (m_open)
        finish(nullptr, nullptr);
    camFreePictureRecord(m_record);
}

void TimeLapseVideo::onFailed(const char*, void* self) {
    static_cast<TimeLapseVideo*>(self)->m_failed = true;
}

void TimeLapseVideo::onReleased(void* held) {
    auto* picture = static_cast<Held*>(held);
    TimeLapseVideo* video = picture->video;
    delete picture;
    {
        std::lock_guard<std::mutex> lock(video->m_mutex);
        --video->m_held;
    }
    video->m_released.notify_all();
}

bool TimeLapseVideo::start(const QString& path, const QSize& size, QString* reason) {
    m_next = 0;
    m_failed = false;
    // The file's start stands for now; each frame is placed by its number from there.
    m_startUs = RecordingClock::nowUs();
    const long result =
        camStartPictureRecord(m_record, path.toUtf8().constData(), size.width() & ~1, size.height() & ~1,
                              kFps, nullptr, m_startUs, &TimeLapseVideo::onFailed, this);
    m_open = result == CAM_OK;
    if (!m_open && reason != nullptr) {
        const QString why = QString::fromUtf8(camPictureRecordText(m_record));
        *reason = why.isEmpty() ? QString::fromUtf8(camErrorText(result)) : why;
    }
    return m_open;
}

bool TimeLapseVideo::add(const QImage& picture) {
    if (!m_open || m_failed)
        return false;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_released.wait(lock, [this] { return m_held < kMaxHeld; });
        ++m_held;
    }
    auto* held = new Held{picture.convertToFormat(QImage::Format_RGB32), this};
    // Rounded up to the microsecond, so that the library's clock puts each frame on its own tick.
    const long long frameUs = (m_next * 1000000 + kFps - 1) / kFps;
    ++m_next;
    camRecordPicture(m_record, held->picture.constBits(), held->picture.width(), held->picture.height(),
                     held->picture.bytesPerLine(), m_startUs + frameUs, &TimeLapseVideo::onReleased, held);
    return !m_failed;
}

bool TimeLapseVideo::finish(long long* frames, QString* reason) {
    if (!m_open)
        return false;
    m_open = false;
    long long written = 0;
    const long result = camFinishPictureRecord(m_record, &written, nullptr);
    if (frames != nullptr)
        *frames = written;
    if (result != CAM_OK && reason != nullptr)
        *reason = QString::fromUtf8(camPictureRecordText(m_record));
    return result == CAM_OK;
}
