// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a camera's own stream into a Matroska file with libavformat: MJPEG frames as the camera sent
// them (no re-encoding), YUY2 and NV12 frames encoded once to H.264, and mono sound as AAC. Every
// picture keeps the time the camera took it.
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

namespace optigrab {

// One thread at a time.
class MatroskaWriter {
public:
    static constexpr int kSampleRate = 48000;

    MatroskaWriter() = default;
    ~MatroskaWriter();
    MatroskaWriter(const MatroskaWriter&) = delete;
    MatroskaWriter& operator=(const MatroskaWriter&) = delete;

    // Creates path with a picture track for frames of code (MediaCode) and size at about fps, and a
    // sound track when withSound. False with error() when it cannot.
    bool open(const std::string& path, long code, long width, long height, long fps, bool withSound);
    // Adds a frame taken timeUs after the start; a frame not after the previous one, or of another
    // size or kind than the track's, is left out (true). False on a write error.
    bool writeFrame(const FrameView& frame, std::int64_t timeUs);
    // Adds samples, the first heard timeUs after the start; they follow each other without gaps.
    bool writeSound(const float* samples, int count, std::int64_t timeUs);
    // Flushes the encoders and closes the file; false when it could not be completed.
    bool finish();

    const std::string& error() const { return error_; }
    std::int64_t framesWritten() const { return frames_; }

private:
    bool fail(const std::string& what, int code);
    bool openEncoder(long width, long height, long fps);
    bool openSound();
    bool encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame);
    bool write(AVPacket* packet, AVStream* stream);
    bool toPicture(const FrameView& frame);

    AVFormatContext* format_ = nullptr;
    AVStream* video_ = nullptr;
    AVStream* sound_ = nullptr;
    AVCodecContext* encoder_ = nullptr;  // YUY2 and NV12 cameras only
    AVCodecContext* soundEncoder_ = nullptr;
    AVFrame* picture_ = nullptr;
    AVFrame* soundFrame_ = nullptr;
    AVPacket* packet_ = nullptr;
    long code_ = 0, width_ = 0, height_ = 0;
    std::int64_t lastMs_ = -1;
    std::int64_t frames_ = 0;
    std::vector<float> pendingSound_;
    std::int64_t soundNext_ = -1;  // sample number of pendingSound_'s first sample
    bool headerWritten_ = false;
    std::string error_;
};

}  // namespace optigrab
