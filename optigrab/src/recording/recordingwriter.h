// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one recording file with libavformat: a picture track and, when asked, 48 kHz mono sound as
// AAC. Camera frames in MJPEG go in as the camera sent them (no re-encoding); YUY2 and NV12 frames and
// pictures a program composed are encoded once to H.264. MP4 files are fragmented and Matroska files
// written in clusters as they fill, so that a file cut off by a crash still plays up to its last second.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frameconverter.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

namespace optigrab {

// The code (FrameView::code) of a picture a program composed: 32 bits a pixel, blue, green, red and
// one unused byte (Qt's RGB32); any size, scaled to the track's.
constexpr long kComposedRgb32 = 100;

// One thread at a time.
class RecordingWriter {
public:
    static constexpr int kSampleRate = 48000;

    enum class Container { Mp4, Matroska };
    struct Format {
        Container container = Container::Mp4;
        long code = kComposedRgb32;  // what the pictures come as
        long width = 0, height = 0;  // the picture track's size (cut to even sides for H.264)
        long fps = 30;               // about how many pictures a second come
        bool withSound = false;
    };

    RecordingWriter() = default;
    ~RecordingWriter();  // closes the file without finishing it, as a crash would
    RecordingWriter(const RecordingWriter&) = delete;
    RecordingWriter& operator=(const RecordingWriter&) = delete;

    // Creates path. False with error() when it cannot.
    bool open(const std::string& path, const Format& format);
    // Adds a picture seen timeUs after the start. A picture not after the previous one, or a camera
    // frame of another size or kind than the track's, is left out (true); false on a write error.
    bool writePicture(const FrameView& picture, std::int64_t timeUs);
    // Adds samples, the first heard timeUs after the start. Gaps of more than a few milliseconds are
    // filled with silence, so that sound keeps its place against the pictures; samples are never left
    // out, except those heard before the start.
    bool writeSound(const float* samples, int count, std::int64_t timeUs);
    // Flushes the encoders and closes the file; false when it could not be completed. With endUs (not
    // negative) both tracks end together there: the last picture stands until then, sound is filled
    // up with silence.
    bool finish(std::int64_t endUs);

    const std::string& error() const { return error_; }
    std::int64_t picturesWritten() const { return pictures_; }

private:
    bool fail(const std::string& what, int code);
    bool openEncoder(long width, long height, long fps);
    bool openSound();
    bool encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame);
    bool write(AVPacket* packet, AVStream* stream);
    bool encodeSoundFrames(bool all);
    bool toPicture(const FrameView& picture);
    bool copyPacket(const FrameView& frame, std::int64_t pts);

    Format format_;
    bool startsAtZero_ = false;  // the first picture and the sound track start at the file's start
    AVFormatContext* file_ = nullptr;
    AVStream* video_ = nullptr;
    AVStream* sound_ = nullptr;
    AVCodecContext* encoder_ = nullptr;  // all but MJPEG frames
    AVCodecContext* soundEncoder_ = nullptr;
    AVFrame* picture_ = nullptr;  // yuv420p at the track's size
    AVFrame* soundFrame_ = nullptr;
    AVPacket* packet_ = nullptr;
    SwsContext* scaler_ = nullptr;   // composed pictures only
    int timeScale_ = 1000;           // picture ticks a second
    std::int64_t pictureTicks_ = 0;  // one picture's duration in them
    std::int64_t lastPts_ = -1;
    std::int64_t pictures_ = 0;
    std::vector<float> pendingSound_;  // samples not yet filling a whole AAC frame
    std::int64_t soundNext_ = -1;      // sample number of pendingSound_'s first sample
    bool headerWritten_ = false;
    std::string error_;
};

}  // namespace optigrab
