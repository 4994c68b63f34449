// SPDX-License-Identifier: GPL-3.0-or-later
// The first picture and the length of a recording, read with libavformat and libavcodec.
#include "videothumbnail.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

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

QImage scaled(const AVFrame* frame, const QSize& bounds) {
    const QSize size = QSize(frame->width, frame->height).scaled(bounds, Qt::KeepAspectRatio);
    QImage image(size, QImage::Format_RGB32);
    SwsContext* scaler =
        sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), size.width(), size.height(),
                       AV_PIX_FMT_RGB32, SWS_AREA, nullptr, nullptr, nullptr);
    if (scaler == nullptr)
        return {};
    uint8_t* planes[1] = {image.bits()};
    const int strides[1] = {int(image.bytesPerLine())};
    sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(scaler);
    return image;
}

}  // namespace

bool VideoThumbnail::read(const QString& path, const QSize& bounds, QImage* picture, double* seconds) {
    Demuxer d;
    if (avformat_open_input(&d.format, path.toUtf8().constData(), nullptr, nullptr) < 0 ||
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
    *seconds = d.format->duration > 0 ? double(d.format->duration) / AV_TIME_BASE : 0.0;
    bool flushed = false;
    for (;;) {
        const int code = avcodec_receive_frame(d.decoder, d.frame);
        if (code == 0) {
            *picture = scaled(d.frame, bounds);
            return !picture->isNull();
        }
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
