// SPDX-License-Identifier: GPL-3.0-or-later
// Makes a time-lapse's pictures into an H.264 MP4 through the camera library: each picture handed
// over is one frame at 30 frames a second, however long the time between two pictures was.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <mutex>

struct CamPictureRecord;

// One thread at a time (the time-lapse's writer); the library's encoding thread calls back.
class TimeLapseVideo {
public:
    static constexpr int kFps = 30;

    TimeLapseVideo();
    ~TimeLapseVideo();  // finishes a file still open
    TimeLapseVideo(const TimeLapseVideo&) = delete;
    TimeLapseVideo& operator=(const TimeLapseVideo&) = delete;

    // Creates the file at path for pictures of size (cut to even sides); false with reason when not.
    bool start(const QString& path, const QSize& size, QString* reason);
    // The next frame, scaled to the file's size. Waits while the encoder still holds two pictures, so
    // that none is dropped and only a few full-resolution pictures are ever in memory. False once
    // writing failed (a full disk, a folder gone): the file keeps what was written before.
    bool add(const QImage& picture);
    // Writes what waits and finishes the file; false with reason when writing failed on the way.
    bool finish(long long* frames, QString* reason);

    bool isOpen() const { return m_open; }
    bool failed() const { return m_failed; }

private:
    struct Held;
    static void onFailed(const char* reason, void* self);  // the encoding thread
    static void onReleased(void* held);                    // any thread

    CamPictureRecord* m_record;
    bool m_open = false;
    long long m_startUs = 0;  // RecordingClock time of the file's start
    long long m_next = 0;     // the next frame's number
    std::atomic<bool> m_failed{false};
    std::mutex m_mutex;  // guards m_held
    std::condition_variable m_released;
    int m_held = 0;  // pictures handed over and not yet released by the encoder
};
