// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a recording back through libavformat: its tracks, every picture (as small RGB images with
// their times) and the sound's samples, for the recording suites to check.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <QImage>
#include <QString>
#include <QVector>

struct RecordedFile {
    bool opened = false;
    QSize size;
    double durationS = 0;           // of the picture track, from its last frame's end
    double frameRate = 0;           // the track's average
    QVector<QImage> pictures;       // every decoded picture, at most 480 pixels wide (if asked for)
    QVector<double> pictureTimesS;  // the same order
    bool hasSound = false;
    int sampleRate = 0;
    QVector<float> sound;       // first channel, as decoded: whole frames, the encoder's padding too
    double soundStartS = 0;     // time of sound[0]
    double soundDurationS = 0;  // of the sound track, from its last packet's end, as players take it

    // withPictures false: pictureTimesS only, for long files.
    static RecordedFile read(const QString& path, bool withPictures = true) {
        RecordedFile file;
        AVFormatContext* format = nullptr;
        if (avformat_open_input(&format, path.toUtf8().constData(), nullptr, nullptr) < 0)
            return file;
        avformat_find_stream_info(format, nullptr);
        AVCodecContext* decoders[8] = {};
        for (unsigned i = 0; i < format->nb_streams && i < 8; ++i) {
            const AVCodecParameters* parameters = format->streams[i]->codecpar;
            const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
            if (codec == nullptr)
                continue;
            decoders[i] = avcodec_alloc_context3(codec);
            avcodec_parameters_to_context(decoders[i], parameters);
            avcodec_open2(decoders[i], codec, nullptr);
            if (parameters->codec_type == AVMEDIA_TYPE_VIDEO) {
                file.size = QSize(parameters->width, parameters->height);
                file.frameRate = av_q2d(format->streams[i]->avg_frame_rate);
            } else if (parameters->codec_type == AVMEDIA_TYPE_AUDIO) {
                file.hasSound = true;
                file.sampleRate = parameters->sample_rate;
            }
        }
        AVPacket* packet = av_packet_alloc();
        AVFrame* frame = av_frame_alloc();
        double lastEnd = 0;
        bool soundStarted = false;
        auto drain = [&](unsigned index) {
            AVCodecContext* decoder = decoders[index];
            const AVStream* stream = format->streams[index];
            while (avcodec_receive_frame(decoder, frame) >= 0) {
                const double t = frame->best_effort_timestamp * av_q2d(stream->time_base);
                if (decoder->codec_type == AVMEDIA_TYPE_VIDEO) {
                    if (withPictures)
                        file.pictures.append(toImage(frame));
                    file.pictureTimesS.append(t);
                    lastEnd = std::max(lastEnd, t + frame->pkt_duration * av_q2d(stream->time_base));
                } else {
                    if (!soundStarted)
                        file.soundStartS = t;
                    soundStarted = true;
                    const float* samples = reinterpret_cast<const float*>(frame->extended_data[0]);
                    for (int s = 0; s < frame->nb_samples; ++s)
                        file.sound.append(samples[s]);
                }
            }
        };
        while (av_read_frame(format, packet) >= 0) {
            const unsigned index = unsigned(packet->stream_index);
            if (index < format->nb_streams &&
                format->streams[index]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
                file.soundDurationS =
                    std::max(file.soundDurationS,
                             (packet->pts + packet->duration) * av_q2d(format->streams[index]->time_base));
            if (index < 8 && decoders[index] != nullptr && avcodec_send_packet(decoders[index], packet) >= 0)
                drain(index);
            av_packet_unref(packet);
        }
        for (unsigned i = 0; i < format->nb_streams && i < 8; ++i) {
            if (decoders[i] == nullptr)
                continue;
            avcodec_send_packet(decoders[i], nullptr);
            drain(i);
            avcodec_free_context(&decoders[i]);
        }
        file.durationS = lastEnd;
        file.opened = true;
        av_frame_free(&frame);
        av_packet_free(&packet);
        avformat_close_input(&format);
        return file;
    }

private:
    static QImage toImage(const AVFrame* frame) {
        const QSize size = QSize(frame->width, frame->height)
                               .scaled(std::min(frame->width, 480), frame->height, Qt::KeepAspectRatio);
        QImage image(size, QImage::Format_RGB32);
        SwsContext* scaler =
            sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), size.width(),
                           size.height(), AV_PIX_FMT_RGB32, SWS_AREA, nullptr, nullptr, nullptr);
        uint8_t* planes[1] = {image.bits()};
        const int strides[1] = {int(image.bytesPerLine())};
        sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
        sws_freeContext(scaler);
        return image;
    }
};
