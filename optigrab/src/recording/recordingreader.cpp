// SPDX-License-Identifier: GPL-3.0-or-later
// The first picture and the length of a recording, read with libavformat and libavcodec.
#include "recordingreader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace optigrab {

namespace {

struct Demuxer {
    AVFormatContext* format = nullptr;
    AVCodecContext* decoder = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    ~Demuxer() {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&decoder);
        avformat_close_input(&format);
    }
};

// The largest size of the frame's shape within the bounds.
void fit(long width, long height, long maxWidth, long maxHeight, long* fitWidth, long* fitHeight) {
    const long long across = (long long)maxHeight * width / height;
    if (across <= maxWidth) {
        *fitWidth = long(across);
        *fitHeight = maxHeight;
    } else {
        *fitWidth = maxWidth;
        *fitHeight = long((long long)maxWidth * height / width);
    }
}

bool scaled(const AVFrame* frame, long maxWidth, long maxHeight, RecordingPreview* preview) {
    fit(frame->width, frame->height, maxWidth, maxHeight, &preview->width, &preview->height);
    if (preview->width < 1 || preview->height < 1)
        return false;
    SwsContext* scaler =
        sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), int(preview->width),
                       int(preview->height), AV_PIX_FMT_RGB32, SWS_AREA, nullptr, nullptr, nullptr);
    if (scaler == nullptr)
        return false;
    preview->pixels.resize(std::size_t(preview->width) * std::size_t(preview->height) * 4);
    std::uint8_t* planes[1] = {preview->pixels.data()};
    const int strides[1] = {int(preview->width) * 4};
    sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(scaler);
    return true;
}

}  // namespace

bool readRecordingPreview(const std::string& path, long maxWidth, long maxHeight, RecordingPreview* preview) {
    Demuxer d;
    if (avformat_open_input(&d.format, path.c_str(), nullptr, nullptr) < 0 ||
        avformat_find_stream_info(d.format, nullptr) < 0)
        return false;
    const int stream = av_find_best_stream(d.format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0)
        return false;
    const AVCodecParameters* parameters = d.format->streams[stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (codec == nullptr)
        return false;
    d.decoder = avcodec_alloc_context3(codec);
    if (avcodec_parameters_to_context(d.decoder, parameters) < 0 ||
        avcodec_open2(d.decoder, codec, nullptr) < 0)
        return false;
    preview->seconds = d.format->duration > 0 ? double(d.format->duration) / AV_TIME_BASE : 0.0;
    bool flushed = false;
    for (;;) {
        const int code = avcodec_receive_frame(d.decoder, d.frame);
        if (code == 0)
            return scaled(d.frame, maxWidth, maxHeight, preview);
        if (code != AVERROR(EAGAIN) || flushed)
            return false;
        if (av_read_frame(d.format, d.packet) < 0) {
            avcodec_send_packet(d.decoder, nullptr);
            flushed = true;
            continue;
        }
        if (d.packet->stream_index == stream)
            avcodec_send_packet(d.decoder, d.packet);
        av_packet_unref(d.packet);
    }
}

}  // namespace optigrab
