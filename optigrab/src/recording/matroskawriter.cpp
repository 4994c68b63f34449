// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a camera's own stream into Matroska: stream copy of MJPEG, H.264 for uncompressed frames.
#include "matroskawriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

#include <libyuv.h>

#include <algorithm>

#include "deviceinfo.h"

namespace optigrab {

namespace {

constexpr AVRational kMilliseconds{1, 1000};

std::string avText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

MatroskaWriter::~MatroskaWriter() {
    if (format_ != nullptr) {
        if (format_->pb != nullptr)
            avio_closep(&format_->pb);
        avformat_free_context(format_);
    }
    avcodec_free_context(&encoder_);
    avcodec_free_context(&soundEncoder_);
    av_frame_free(&picture_);
    av_frame_free(&soundFrame_);
    av_packet_free(&packet_);
}

bool MatroskaWriter::fail(const std::string& what, int code) {
    error_ = code != 0 ? what + ": " + avText(code) : what;
    return false;
}

bool MatroskaWriter::open(const std::string& path, long code, long width, long height, long fps,
                          bool withSound) {
    av_log_set_level(AV_LOG_ERROR);
    code_ = code;
    width_ = width;
    height_ = height;
    int result = avformat_alloc_output_context2(&format_, nullptr, "matroska", path.c_str());
    if (result < 0)
        return fail("no Matroska muxer", result);
    packet_ = av_packet_alloc();
    video_ = avformat_new_stream(format_, nullptr);
    video_->time_base = kMilliseconds;
    video_->avg_frame_rate = AVRational{int(std::max(1L, fps)), 1};
    if (code == kMediaMjpg) {
        // The camera's JPEG frames go in as they are.
        video_->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
        video_->codecpar->codec_id = AV_CODEC_ID_MJPEG;
        video_->codecpar->width = int(width);
        video_->codecpar->height = int(height);
        video_->codecpar->format = AV_PIX_FMT_YUVJ422P;
    } else if (!openEncoder(width, height, fps)) {
        return false;
    }
    if (withSound && !openSound())
        return false;
    result = avio_open(&format_->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (result < 0)
        return fail("cannot create " + path, result);
    // Clusters are written as they fill: a file cut off by a crash plays up to its last seconds.
    format_->flags |= AVFMT_FLAG_FLUSH_PACKETS;
    format_->max_interleave_delta = 1000000;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "cluster_time_limit", "1000", 0);
    result = avformat_write_header(format_, &options);
    av_dict_free(&options);
    if (result < 0)
        return fail("cannot write the file header", result);
    headerWritten_ = true;
    return true;
}

bool MatroskaWriter::openEncoder(long width, long height, long fps) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (codec == nullptr)
        return fail("the H.264 encoder libx264 is missing", 0);
    encoder_ = avcodec_alloc_context3(codec);
    encoder_->width = int(width) & ~1;
    encoder_->height = int(height) & ~1;
    encoder_->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder_->time_base = kMilliseconds;
    encoder_->framerate = AVRational{int(std::max(1L, fps)), 1};
    encoder_->gop_size = int(2 * std::max(1L, fps));
    encoder_->max_b_frames = 0;
    encoder_->thread_count = 2;
    if (format_->oformat->flags & AVFMT_GLOBALHEADER)
        encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "preset", "veryfast", 0);
    av_dict_set(&options, "crf", "20", 0);
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

bool MatroskaWriter::openSound() {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (codec == nullptr)
        return fail("the AAC encoder is missing", 0);
    soundEncoder_ = avcodec_alloc_context3(codec);
    soundEncoder_->sample_fmt = AV_SAMPLE_FMT_FLTP;
    soundEncoder_->sample_rate = kSampleRate;
    av_channel_layout_default(&soundEncoder_->ch_layout, 1);
    soundEncoder_->bit_rate = 96000;
    soundEncoder_->time_base = AVRational{1, kSampleRate};
    if (format_->oformat->flags & AVFMT_GLOBALHEADER)
        soundEncoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int result = avcodec_open2(soundEncoder_, codec, nullptr);
    if (result < 0)
        return fail("cannot open the AAC encoder", result);
    sound_ = avformat_new_stream(format_, nullptr);
    sound_->time_base = soundEncoder_->time_base;
    avcodec_parameters_from_context(sound_->codecpar, soundEncoder_);
    soundFrame_ = av_frame_alloc();
    soundFrame_->format = soundEncoder_->sample_fmt;
    soundFrame_->sample_rate = kSampleRate;
    av_channel_layout_copy(&soundFrame_->ch_layout, &soundEncoder_->ch_layout);
    soundFrame_->nb_samples = soundEncoder_->frame_size;
    return av_frame_get_buffer(soundFrame_, 0) < 0 ? fail("out of memory for sound", 0) : true;
}

bool MatroskaWriter::write(AVPacket* packet, AVStream* stream) {
    packet->stream_index = stream->index;
    const int result = av_interleaved_write_frame(format_, packet);
    if (result < 0)
        return fail("writing the file failed", result);
    // Write errors of the buffered output show here first.
    if (format_->pb->error < 0)
        return fail("writing the file failed", format_->pb->error);
    return true;
}

bool MatroskaWriter::encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame) {
    int result = avcodec_send_frame(codec, frame);
    if (result < 0)
        return fail("encoding failed", result);
    while ((result = avcodec_receive_packet(codec, packet_)) >= 0) {
        av_packet_rescale_ts(packet_, codec->time_base, stream->time_base);
        if (!write(packet_, stream))
            return false;
    }
    return result == AVERROR(EAGAIN) || result == AVERROR_EOF ? true : fail("encoding failed", result);
}

bool MatroskaWriter::toPicture(const FrameView& frame) {
    if (av_frame_make_writable(picture_) < 0)
        return fail("out of memory for a picture", 0);
    const int width = picture_->width, height = picture_->height;
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

bool MatroskaWriter::writeFrame(const FrameView& frame, std::int64_t timeUs) {
    const std::int64_t ms = timeUs / 1000;
    if (ms <= lastMs_ || frame.code != code_ || frame.width != width_ || frame.height != height_)
        return true;
    lastMs_ = ms;
    if (code_ != kMediaMjpg) {
        if (!toPicture(frame))
            return true;  // a frame shorter than its mode: left out
        picture_->pts = ms;
        if (!encode(encoder_, video_, picture_))
            return false;
        ++frames_;
        return true;
    }
    // The packet points at the caller's bytes for the length of the call: libavformat copies what
    // it keeps for interleaving.
    av_packet_unref(packet_);
    packet_->data = const_cast<std::uint8_t*>(frame.data);
    packet_->size = int(frame.size);
    packet_->flags |= AV_PKT_FLAG_KEY;
    packet_->pts = packet_->dts = ms;
    av_packet_rescale_ts(packet_, kMilliseconds, video_->time_base);
    const bool ok = write(packet_, video_);
    packet_->data = nullptr;
    packet_->size = 0;
    frames_ += ok ? 1 : 0;
    return ok;
}

bool MatroskaWriter::writeSound(const float* samples, int count, std::int64_t timeUs) {
    if (soundEncoder_ == nullptr || count <= 0)
        return true;
    const std::int64_t at = std::max<std::int64_t>(0, av_rescale(timeUs, kSampleRate, 1000000));
    if (soundNext_ < 0)
        soundNext_ = at;
    // Where the input left a gap, silence keeps the samples after it in their place; samples placed
    // a little early (the input's clock running fast) follow the ones before: none is left out.
    const std::int64_t behind = at - (soundNext_ + std::int64_t(pendingSound_.size()));
    if (behind > kSampleRate / 1000)
        pendingSound_.resize(pendingSound_.size() + std::size_t(behind), 0.0f);
    pendingSound_.insert(pendingSound_.end(), samples, samples + count);
    const std::size_t frameSize = std::size_t(soundEncoder_->frame_size);
    std::size_t used = 0;
    for (; pendingSound_.size() - used >= frameSize; used += frameSize) {
        if (av_frame_make_writable(soundFrame_) < 0)
            return fail("out of memory for sound", 0);
        std::copy_n(pendingSound_.data() + used, frameSize, reinterpret_cast<float*>(soundFrame_->data[0]));
        soundFrame_->pts = soundNext_;
        soundNext_ += std::int64_t(frameSize);
        if (!encode(soundEncoder_, sound_, soundFrame_))
            return false;
    }
    pendingSound_.erase(pendingSound_.begin(), pendingSound_.begin() + long(used));
    return true;
}

bool MatroskaWriter::finish() {
    if (!headerWritten_)
        return false;
    headerWritten_ = false;
    bool ok = true;
    if (encoder_ != nullptr)
        ok = encode(encoder_, video_, nullptr);
    if (soundEncoder_ != nullptr && soundNext_ >= 0)
        ok = encode(soundEncoder_, sound_, nullptr) && ok;
    const int result = av_write_trailer(format_);
    if (result < 0)
        ok = fail("writing the end of the file failed", result);
    avio_flush(format_->pb);
    if (format_->pb->error < 0)
        ok = fail("writing the file failed", format_->pb->error);
    avio_closep(&format_->pb);
    return ok;
}

}  // namespace optigrab
