// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one recording file: H.264 pictures and AAC sound in a fragmented MP4 (libavformat and
// libavcodec), so that a file cut off by a crash or a power loss still plays up to its last second.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

// One thread at a time: the recorder's encoding thread.
class Mp4Writer {
public:
    static constexpr int kSampleRate = 48000;  // mono float samples

    Mp4Writer() = default;
    ~Mp4Writer();
    Mp4Writer(const Mp4Writer&) = delete;
    Mp4Writer& operator=(const Mp4Writer&) = delete;

    // Creates path with a picture track of size (even width and height) at about fps frames a
    // second, and a sound track when withSound. False with lastError() when it cannot.
    bool open(const QString& path, const QSize& size, int fps, bool withSound);
    // Adds a picture at timeUs after the start (scaled to the track's size). A time that is not
    // after the previous picture's is skipped (returns true); false on a write error.
    bool writePicture(const QImage& picture, int64_t timeUs);
    // Adds mono samples whose first one was heard at timeUs after the start. Gaps longer than a
    // few milliseconds are filled with silence, so that sound keeps its place against the picture;
    // samples are never left out, except those heard before the start.
    bool writeSound(const float* samples, int count, int64_t timeUs);
    // Ends both tracks together at endUs after the start (the last picture stands until then, sound
    // is filled up with silence), flushes the encoders and closes the file; false when the file
    // could not be completed.
    bool finish(int64_t endUs);

    QString lastError() const { return m_error; }
    int64_t picturesWritten() const { return m_pictures; }

private:
    bool fail(const QString& what, int code);
    bool openVideo(const QSize& size, int fps);
    bool openSound();
    bool encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame);
    bool encodeSoundFrames(bool flushAll);

    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_video = nullptr;
    AVCodecContext* m_sound = nullptr;
    AVStream* m_videoStream = nullptr;
    AVStream* m_soundStream = nullptr;
    AVFrame* m_picture = nullptr;  // yuv420p at the track's size
    AVFrame* m_soundFrame = nullptr;
    AVPacket* m_packet = nullptr;
    SwsContext* m_scaler = nullptr;
    int64_t m_lastPictureTime = -1;  // in the picture time base
    int64_t m_pictureTicks = 0;      // one picture's duration in that time base
    int64_t m_pictures = 0;
    std::vector<float> m_pendingSound;  // samples not yet filling a whole AAC frame
    int64_t m_soundStart = -1;          // sample number of m_pendingSound's first sample
    bool m_headerWritten = false;
    QString m_error;
};
