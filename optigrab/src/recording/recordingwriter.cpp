// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one recording file: H.264 or the camera's MJPEG, AAC sound, in MP4 or Matroska.
#include "recordingwriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <libyuv.h>

#include <algorithm>

#include "deviceinfo.h"

namespace optigrab {

namespace {

constexpr AVRational kMicroseconds{1, 1000000};
constexpr std::int64_t kSoundGapSamples = RecordingWriter::kSampleRate / 100;  // 10 ms

// What differs between the two kinds of file.
struct ContainerTraits {
    const char* muxer;
    int timeScale;  // picture ticks a second: Matroska counts milliseconds
    // A fragmented MP4 keeps no track start offset: its tracks start at the file's start, so that the
    // later pictures stay at their times.
    bool startsAtZero;
    const char* quality;  // H.264 constant rate factor: a camera's own stream is kept closer
};

ContainerTraits traitsOf(RecordingWriter::Container container) {
    if (container == RecordingWriter::Container::Mp4)
        return {"mp4", 90000, true, "23"};
    return {"matroska", 1000, false, "20"};
}

std::string avText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

RecordingWriter::~RecordingWriter() {
    if (file_ != nullptr) {
        if (file_->pb != nullptr)
            avio_closep(&file_->pb);
        avformat_free_context(file_);
    }
    avcodec_free_context(&encoder_);
    avcodec_free_context(&soundEncoder_);
    av_frame_free(&picture_);
    av_frame_free(&soundFrame_);
    av_packet_free(&packet_);
    sws_freeContext(scaler_);
}

bool RecordingWriter::fail(const std::string& what, int code) {
    error_ = code != 0 ? what + ": " + avText(code) : what;
    return false;
}

bool RecordingWriter::open(const std::string& path, const Format& format) {
    // The encoders' statistics would fill the log at every recording's end.
    av_log_set_level(AV_LOG_ERROR);
    format_ = format;
    const ContainerTraits traits = traitsOf(format.container);
    startsAtZero_ = traits.startsAtZero;
    timeScale_ = traits.timeScale;
    const int fps = int(std::max(1L, format.fps));
    pictureTicks_ = std::max<std::int64_t>(1, timeScale_ / fps);
    int result = avformat_alloc_output_context2(&file_, nullptr, traits.muxer, path.c_str());
    if (result < 0)
        return fail(std::string("no muxer for ") + traits.muxer, result);
    packet_ = av_packet_alloc();
    video_ = avformat_new_stream(file_, nullptr);
    video_->time_base = AVRational{1, timeScale_};
    video_->avg_frame_rate = AVRational{fps, 1};
    if (format.code == kMediaMjpg) {
        // The camera's JPEG frames go in as they are.
        video_->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
        video_->codecpar->codec_id = AV_CODEC_ID_MJPEG;
        video_->codecpar->width = int(format.width);
        video_->codecpar->height = int(format.height);
        video_->codecpar->format = AV_PIX_FMT_YUVJ422P;
    } else if (!openEncoder(format.width, format.height, fps)) {
        return false;
    }
    if (format.withSound && !openSound())
        return false;
    result = avio_open(&file_->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (result < 0)
        return fail("cannot create " + path, result);
    // Packets are written out as they are muxed, in fragments of at most half a second (MP4) or
    // clusters of a second (Matroska): a file cut off anywhere plays up to shortly before the cut.
    file_->flags |= AVFMT_FLAG_FLUSH_PACKETS;
    file_->max_interleave_delta = 1000000;
    AVDictionary* options = nullptr;
    if (format.container == Container::Mp4) {
        av_dict_set(&options, "movflags", "frag_keyframe+empty_moov+default_base_moof", 0);
        av_dict_set(&options, "frag_duration", "500000", 0);
    } else {
        av_dict_set(&options, "cluster_time_limit", "1000", 0);
    }
    result = avformat_write_header(file_, &options);
    av_dict_free(&options);
    if (result < 0)
        return fail("cannot write the file header", result);
    headerWritten_ = true;
    return true;
}

bool RecordingWriter::openEncoder(long width, long height, long fps) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (codec == nullptr)
        return fail("the H.264 encoder libx264 is missing", 0);
    encoder_ = avcodec_alloc_context3(codec);
    encoder_->width = int(width) & ~1;
    encoder_->height = int(height) & ~1;
    encoder_->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder_->time_base = AVRational{1, timeScale_};
    encoder_->framerate = AVRational{int(fps), 1};
    encoder_->gop_size = int(2 * fps);
    // Without B-frames no track starts late to make room for reordering: pictures keep the times
    // they were seen at, in step with the sound.
    encoder_->max_b_frames = 0;
    encoder_->thread_count = 2;
    encoder_->colorspace = AVCOL_SPC_SMPTE170M;
    encoder_->color_range = AVCOL_RANGE_MPEG;
    if (file_->oformat->flags & AVFMT_GLOBALHEADER)
        encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "preset", "veryfast", 0);
    av_dict_set(&options, "crf", traitsOf(format_.container).quality, 0);
    // No look-ahead and no frame threads: each picture leaves the encoder at once, so that a file
    // cut off by a crash loses no more than its last fragment.
    av_dict_set(&options, "tune", "zerolatency", 0);
    const int result = avcodec_open2(encoder_, codec, &options);
    av_dict_free(&options);
    if (result < 0)
        return fail("cannot open the H.264 encoder", result);
    avcodec_parameters_from_context(video_->codecpar, encoder_);
    picture_ = av_frame_alloc();
    picture_->format = encoder_->pix_fmt;
    picture_->width = encoder_->width;
    picture_->height = encoder_->height;
    return av_frame_get_buffer(picture_, 0) < 0 ? fail("out of memory for a picture", 0) : true;
}

bool RecordingWriter::openSound() {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (codec == nullptr)
        return fail("the AAC encoder is missing", 0);
    soundEncoder_ = avcodec_alloc_context3(codec);
    soundEncoder_->sample_fmt = AV_SAMPLE_FMT_FLTP;
    soundEncoder_->sample_rate = kSampleRate;
    av_channel_layout_default(&soundEncoder_->ch_layout, 1);
    soundEncoder_->bit_rate = 96000;
    soundEncoder_->time_base = AVRational{1, kSampleRate};
    if (file_->oformat->flags & AVFMT_GLOBALHEADER)
        soundEncoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int result = avcodec_open2(soundEncoder_, codec, nullptr);
    if (result < 0)
        return fail("cannot open the AAC encoder", result);
    sound_ = avformat_new_stream(file_, nullptr);
    sound_->time_base = soundEncoder_->time_base;
    avcodec_parameters_from_context(sound_->codecpar, soundEncoder_);
    soundFrame_ = av_frame_alloc();
    soundFrame_->format = soundEncoder_->sample_fmt;
    soundFrame_->sample_rate = kSampleRate;
    av_channel_layout_copy(&soundFrame_->ch_layout, &soundEncoder_->ch_layout);
    soundFrame_->nb_samples = soundEncoder_->frame_size;
    return av_frame_get_buffer(soundFrame_, 0) < 0 ? fail("out of memory for sound", 0) : true;
}

bool RecordingWriter::write(AVPacket* packet, AVStream* stream) {
    packet->stream_index = stream->index;
    const int result = av_interleaved_write_frame(file_, packet);
    if (result < 0)
        return fail("writing the file failed", result);
    // Write errors of the buffered output show here first.
    if (file_->pb->error < 0)
        return fail("writing the file failed", file_->pb->error);
    return true;
}

bool RecordingWriter::encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame) {
    int result = avcodec_send_frame(codec, frame);
    if (result < 0)
        return fail("encoding failed", result);
    while ((result = avcodec_receive_packet(codec, packet_)) >= 0) {
        // A picture lasts until the next one; the last one for a picture's duration.
        if (codec == encoder_ && packet_->duration == 0)
            packet_->duration = pictureTicks_;
        av_packet_rescale_ts(packet_, codec->time_base, stream->time_base);
        if (!write(packet_, stream))
            return false;
    }
    return result == AVERROR(EAGAIN) || result == AVERROR_EOF ? true : fail("encoding failed", result);
}

bool RecordingWriter::toPicture(const FrameView& frame) {
    const int width = picture_->width, height = picture_->height;
    if (frame.code == kComposedRgb32) {
        const int stride = frame.stride > 0 ? int(frame.stride) : int(frame.width) * 4;
        scaler_ = sws_getCachedContext(scaler_, int(frame.width), int(frame.height), AV_PIX_FMT_RGB32, width,
                                       height, AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (scaler_ == nullptr)
            return false;
        const std::uint8_t* planes[1] = {frame.data};
        const int strides[1] = {stride};
        sws_scale(scaler_, planes, strides, 0, int(frame.height), picture_->data, picture_->linesize);
        return true;
    }
    if (frame.code == kMediaYuy2) {
        const int stride = frame.stride > 0 ? int(frame.stride) : int(frame.width) * 2;
        return libyuv::YUY2ToI420(frame.data, stride, picture_->data[0], picture_->linesize[0],
                                  picture_->data[1], picture_->linesize[1], picture_->data[2],
                                  picture_->linesize[2], width, height) == 0;
    }
    const int stride = frame.stride > 0 ? int(frame.stride) : int(frame.width);
    const std::uint8_t* chroma = frame.data + std::size_t(stride) * std::size_t(frame.height);
    return libyuv::NV12ToI420(frame.data, stride, chroma, stride, picture_->data[0], picture_->linesize[0],
                              picture_->data[1], picture_->linesize[1], picture_->data[2],
                              picture_->linesize[2], width, height) == 0;
}

bool RecordingWriter::copyPacket(const FrameView& frame, std::int64_t pts) {
    // The packet points at the caller's bytes for the length of the call: libavformat copies what
    // it keeps for interleaving.
    av_packet_unref(packet_);
    packet_->data = const_cast<std::uint8_t*>(frame.data);
    packet_->size = int(frame.size);
    packet_->flags |= AV_PKT_FLAG_KEY;
    packet_->pts = packet_->dts = pts;
    packet_->duration = pictureTicks_;
    av_packet_rescale_ts(packet_, AVRational{1, timeScale_}, video_->time_base);
    const bool ok = write(packet_, video_);
    packet_->data = nullptr;
    packet_->size = 0;
    return ok;
}

bool RecordingWriter::writePicture(const FrameView& picture, std::int64_t timeUs) {
    const bool composed = picture.code == kComposedRgb32;
    if (picture.code != format_.code ||
        (!composed && (picture.width != format_.width || picture.height != format_.height)))
        return true;
    std::int64_t pts = av_rescale_q_rnd(timeUs, kMicroseconds, AVRational{1, timeScale_}, AV_ROUND_DOWN);
    if (pts <= lastPts_)
        return true;
    if (lastPts_ < 0 && startsAtZero_)
        pts = 0;
    if (encoder_ == nullptr) {
        if (!copyPacket(picture, pts))
            return false;
    } else {
        const int result = av_frame_make_writable(picture_);
        if (result < 0)
            return fail("out of memory for a picture", result);
        if (!toPicture(picture))
            return true;  // a frame shorter than its mode: left out
        picture_->pts = pts;
        if (!encode(encoder_, video_, picture_))
            return false;
    }
    lastPts_ = pts;
    ++pictures_;
    return true;
}

bool RecordingWriter::writeSound(const float* samples, int count, std::int64_t timeUs) {
    if (soundEncoder_ == nullptr || count <= 0)
        return true;
    std::int64_t position = av_rescale(timeUs, kSampleRate, 1000000);
    if (soundNext_ < 0) {
        // Sound heard before the recording started is left out.
        const std::int64_t early = std::min<std::int64_t>(count, std::max<std::int64_t>(0, -position));
        samples += early;
        count -= int(early);
        position += early;
        // Where the track starts at the file's start, silence fills up to the first sample heard.
        soundNext_ = startsAtZero_ ? 0 : position;
    }
    // Samples placed a little before the end of the ones written (the input's clock running fast)
    // follow them: sound is never left out.
    const std::int64_t expected = soundNext_ + std::int64_t(pendingSound_.size());
    if (position - expected > kSoundGapSamples)
        pendingSound_.insert(pendingSound_.end(), std::size_t(position - expected), 0.0f);
    pendingSound_.insert(pendingSound_.end(), samples, samples + count);
    return encodeSoundFrames(false);
}

bool RecordingWriter::encodeSoundFrames(bool all) {
    const std::size_t frameSize = std::size_t(soundEncoder_->frame_size);
    std::size_t used = 0;
    while (pendingSound_.size() - used >= frameSize || (all && used < pendingSound_.size())) {
        const std::size_t n = std::min(pendingSound_.size() - used, frameSize);
        const int result = av_frame_make_writable(soundFrame_);
        if (result < 0)
            return fail("out of memory for sound", result);
        soundFrame_->nb_samples = int(n);
        std::copy_n(pendingSound_.data() + used, n, reinterpret_cast<float*>(soundFrame_->data[0]));
        soundFrame_->pts = soundNext_;
        used += n;
        soundNext_ += std::int64_t(n);
        if (!encode(soundEncoder_, sound_, soundFrame_))
            return false;
    }
    pendingSound_.erase(pendingSound_.begin(), pendingSound_.begin() + long(used));
    return true;
}

bool RecordingWriter::finish(std::int64_t endUs) {
    if (!headerWritten_)
        return false;
    headerWritten_ = false;
    bool ok = true;
    // The last picture stands until the end: pictures stop coming while the camera is gone or the
    // machine is busy, and the file still lasts as long as the recording did.
    const std::int64_t endTicks = av_rescale_q(endUs, kMicroseconds, AVRational{1, timeScale_});
    if (endUs >= 0 && encoder_ != nullptr && lastPts_ >= 0 && endTicks - pictureTicks_ > lastPts_) {
        ok = av_frame_make_writable(picture_) >= 0;
        picture_->pts = lastPts_ = endTicks - pictureTicks_;
        ok = ok && encode(encoder_, video_, picture_);
    }
    if (encoder_ != nullptr)
        ok = encode(encoder_, video_, nullptr) && ok;
    if (soundEncoder_ != nullptr && (endUs >= 0 || soundNext_ >= 0)) {
        if (endUs >= 0) {
            // Sound ends with the pictures: silence up to the end of the last one.
            soundNext_ = std::max<std::int64_t>(soundNext_, 0);
            const std::int64_t pictureEnd =
                lastPts_ < 0 ? 0 : av_rescale(lastPts_ + pictureTicks_, kSampleRate, timeScale_);
            const std::int64_t endSample = std::max(av_rescale(endUs, kSampleRate, 1000000), pictureEnd);
            const std::int64_t written = soundNext_ + std::int64_t(pendingSound_.size());
            if (endSample > written)
                pendingSound_.insert(pendingSound_.end(), std::size_t(endSample - written), 0.0f);
        }
        ok = encodeSoundFrames(true) && encode(soundEncoder_, sound_, nullptr) && ok;
    }
    const int result = av_write_trailer(file_);
    if (result < 0)
        ok = fail("writing the end of the file failed", result);
    avio_flush(file_->pb);
    if (file_->pb->error < 0)
        ok = fail("writing the file failed", file_->pb->error);
    avio_closep(&file_->pb);
    return ok;
}

}  // namespace optigrab
