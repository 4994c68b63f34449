// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one recording file: H.264 pictures and AAC sound in a fragmented MP4.
#include "mp4writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>

namespace {

constexpr AVRational kPictureTimeBase{1, 90000};
constexpr int64_t kSoundGapSamples = Mp4Writer::kSampleRate / 100;  // 10 ms

QString avText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

}  // namespace

Mp4Writer::~Mp4Writer() {
    if (m_format != nullptr) {
        if (m_format->pb != nullptr)
            avio_closep(&m_format->pb);
        avformat_free_context(m_format);
    }
    avcodec_free_context(&m_video);
    avcodec_free_context(&m_sound);
    av_frame_free(&m_picture);
    av_frame_free(&m_soundFrame);
    av_packet_free(&m_packet);
    sws_freeContext(m_scaler);
}

bool Mp4Writer::fail(const QString& what, int code) {
    m_error = code != 0 ? QString("%1: %2").arg(what, avText(code)) : what;
    return false;
}

bool Mp4Writer::open(const QString& path, const QSize& size, int fps, bool withSound) {
    // The encoders' statistics would fill the log at every recording's end.
    av_log_set_level(AV_LOG_ERROR);
    const QByteArray utf8 = path.toUtf8();
    int code = avformat_alloc_output_context2(&m_format, nullptr, "mp4", utf8.constData());
    if (code < 0)
        return fail("no MP4 muxer", code);
    m_packet = av_packet_alloc();
    if (!openVideo(size, fps) || (withSound && !openSound()))
        return false;
    code = avio_open(&m_format->pb, utf8.constData(), AVIO_FLAG_WRITE);
    if (code < 0)
        return fail("cannot create " + path, code);
    // Fragments of at most half a second, each written out at once: a file cut off anywhere plays
    // up to shortly before the cut. Packets are flushed as they are muxed for the same reason.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "frag_keyframe+empty_moov+default_base_moof", 0);
    av_dict_set(&options, "frag_duration", "500000", 0);
    m_format->flags |= AVFMT_FLAG_FLUSH_PACKETS;
    m_format->max_interleave_delta = 1000000;
    code = avformat_write_header(m_format, &options);
    av_dict_free(&options);
    if (code < 0)
        return fail("cannot write the file header", code);
    m_headerWritten = true;
    return true;
}

bool Mp4Writer::openVideo(const QSize& size, int fps) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (codec == nullptr)
        return fail("the H.264 encoder libx264 is missing", 0);
    m_video = avcodec_alloc_context3(codec);
    m_video->width = size.width();
    m_video->height = size.height();
    m_video->pix_fmt = AV_PIX_FMT_YUV420P;
    m_video->time_base = kPictureTimeBase;
    m_video->framerate = AVRational{std::max(1, fps), 1};
    m_video->gop_size = 2 * std::max(1, fps);
    m_pictureTicks = av_rescale_q(1, AVRational{1, std::max(1, fps)}, kPictureTimeBase);
    // Without B-frames no track starts late to make room for reordering: pictures keep the times
    // they were seen at, in step with the sound.
    m_video->max_b_frames = 0;
    m_video->thread_count = 2;
    m_video->colorspace = AVCOL_SPC_SMPTE170M;
    m_video->color_range = AVCOL_RANGE_MPEG;
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER)
        m_video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "preset", "veryfast", 0);
    av_dict_set(&options, "crf", "23", 0);
    // No look-ahead and no frame threads: each picture leaves the encoder at once, so that a file
    // cut off by a crash loses no more than its last fragment.
    av_dict_set(&options, "tune", "zerolatency", 0);
    int code = avcodec_open2(m_video, codec, &options);
    av_dict_free(&options);
    if (code < 0)
        return fail("cannot open the H.264 encoder", code);
    m_videoStream = avformat_new_stream(m_format, nullptr);
    m_videoStream->time_base = m_video->time_base;
    m_videoStream->avg_frame_rate = m_video->framerate;
    avcodec_parameters_from_context(m_videoStream->codecpar, m_video);
    m_picture = av_frame_alloc();
    m_picture->format = m_video->pix_fmt;
    m_picture->width = size.width();
    m_picture->height = size.height();
    code = av_frame_get_buffer(m_picture, 0);
    return code < 0 ? fail("out of memory for a picture", code) : true;
}

bool Mp4Writer::openSound() {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (codec == nullptr)
        return fail("the AAC encoder is missing", 0);
    m_sound = avcodec_alloc_context3(codec);
    m_sound->sample_fmt = AV_SAMPLE_FMT_FLTP;
    m_sound->sample_rate = kSampleRate;
    av_channel_layout_default(&m_sound->ch_layout, 1);
    m_sound->bit_rate = 96000;
    m_sound->time_base = AVRational{1, kSampleRate};
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER)
        m_sound->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int code = avcodec_open2(m_sound, codec, nullptr);
    if (code < 0)
        return fail("cannot open the AAC encoder", code);
    m_soundStream = avformat_new_stream(m_format, nullptr);
    m_soundStream->time_base = m_sound->time_base;
    avcodec_parameters_from_context(m_soundStream->codecpar, m_sound);
    m_soundFrame = av_frame_alloc();
    m_soundFrame->format = m_sound->sample_fmt;
    m_soundFrame->sample_rate = kSampleRate;
    av_channel_layout_copy(&m_soundFrame->ch_layout, &m_sound->ch_layout);
    m_soundFrame->nb_samples = m_sound->frame_size;
    code = av_frame_get_buffer(m_soundFrame, 0);
    return code < 0 ? fail("out of memory for sound", code) : true;
}

bool Mp4Writer::encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame) {
    int code = avcodec_send_frame(codec, frame);
    if (code < 0)
        return fail("encoding failed", code);
    while ((code = avcodec_receive_packet(codec, m_packet)) >= 0) {
        // A picture lasts until the next one; the last one for a picture's duration.
        if (codec == m_video && m_packet->duration == 0)
            m_packet->duration = m_pictureTicks;
        av_packet_rescale_ts(m_packet, codec->time_base, stream->time_base);
        m_packet->stream_index = stream->index;
        code = av_interleaved_write_frame(m_format, m_packet);
        if (code < 0)
            return fail("writing the file failed", code);
    }
    if (code != AVERROR(EAGAIN) && code != AVERROR_EOF)
        return fail("encoding failed", code);
    // Write errors of the buffered output show here first.
    if (m_format->pb->error < 0)
        return fail("writing the file failed", m_format->pb->error);
    return true;
}

bool Mp4Writer::writePicture(const QImage& picture, int64_t timeUs) {
    int64_t pts = av_rescale_q(timeUs, AVRational{1, 1000000}, kPictureTimeBase);
    if (pts <= m_lastPictureTime)
        return true;
    // A fragmented file keeps no track start offset: the first picture stands from the start on, so
    // that the later ones stay at their times.
    if (m_lastPictureTime < 0)
        pts = 0;
    const QImage source =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
            ? picture
            : picture.convertToFormat(QImage::Format_RGB32);
    m_scaler =
        sws_getCachedContext(m_scaler, source.width(), source.height(), AV_PIX_FMT_RGB32, m_video->width,
                             m_video->height, AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (m_scaler == nullptr)
        return fail("cannot convert a picture", 0);
    int code = av_frame_make_writable(m_picture);
    if (code < 0)
        return fail("out of memory for a picture", code);
    const uint8_t* planes[1] = {source.constBits()};
    const int strides[1] = {int(source.bytesPerLine())};
    sws_scale(m_scaler, planes, strides, 0, source.height(), m_picture->data, m_picture->linesize);
    m_picture->pts = pts;
    m_lastPictureTime = pts;
    if (!encode(m_video, m_videoStream, m_picture))
        return false;
    ++m_pictures;
    return true;
}

bool Mp4Writer::writeSound(const float* samples, int count, int64_t timeUs) {
    if (m_sound == nullptr || count <= 0)
        return true;
    int64_t position = av_rescale(timeUs, kSampleRate, 1000000);
    if (m_soundStart < 0) {
        // Sound heard before the recording started is left out.
        const int64_t early = std::min<int64_t>(count, std::max<int64_t>(0, -position));
        samples += early;
        count -= int(early);
        position += early;
        // As with pictures, the track starts at 0: silence fills up to the first sample heard.
        m_soundStart = 0;
    }
    // Samples placed a little before the end of the ones written (the input's clock running fast)
    // follow them: sound is never left out.
    const int64_t expected = m_soundStart + int64_t(m_pendingSound.size());
    if (position - expected > kSoundGapSamples)
        m_pendingSound.insert(m_pendingSound.end(), size_t(position - expected), 0.0f);
    m_pendingSound.insert(m_pendingSound.end(), samples, samples + count);
    return encodeSoundFrames(false);
}

bool Mp4Writer::encodeSoundFrames(bool flushAll) {
    const int frameSize = m_sound->frame_size;
    size_t used = 0;
    while (m_pendingSound.size() - used >= size_t(frameSize) || (flushAll && used < m_pendingSound.size())) {
        const int n = int(std::min(m_pendingSound.size() - used, size_t(frameSize)));
        int code = av_frame_make_writable(m_soundFrame);
        if (code < 0)
            return fail("out of memory for sound", code);
        m_soundFrame->nb_samples = n;
        std::copy_n(m_pendingSound.data() + used, n, reinterpret_cast<float*>(m_soundFrame->data[0]));
        m_soundFrame->pts = m_soundStart;
        used += size_t(n);
        m_soundStart += n;
        if (!encode(m_sound, m_soundStream, m_soundFrame))
            return false;
    }
    m_pendingSound.erase(m_pendingSound.begin(), m_pendingSound.begin() + long(used));
    return true;
}

bool Mp4Writer::finish(int64_t endUs) {
    if (!m_headerWritten)
        return false;
    bool ok = true;
    // The last picture stands until the end: pictures stop coming while the camera is gone or the
    // machine is busy, and the file still lasts as long as the recording did.
    const int64_t endTicks = av_rescale_q(endUs, AVRational{1, 1000000}, kPictureTimeBase);
    if (m_lastPictureTime >= 0 && endTicks - m_pictureTicks > m_lastPictureTime) {
        ok = av_frame_make_writable(m_picture) >= 0;
        m_picture->pts = m_lastPictureTime = endTicks - m_pictureTicks;
        ok = ok && encode(m_video, m_videoStream, m_picture);
    }
    ok = encode(m_video, m_videoStream, nullptr) && ok;
    if (m_sound != nullptr) {
        // Sound ends with the pictures: silence up to the end of the last one.
        if (m_soundStart < 0)
            m_soundStart = 0;
        const int64_t pictureEnd = m_lastPictureTime < 0
                                       ? 0
                                       : av_rescale_q(m_lastPictureTime + m_pictureTicks, kPictureTimeBase,
                                                      AVRational{1, kSampleRate});
        const int64_t endSample = std::max(av_rescale(endUs, kSampleRate, 1000000), pictureEnd);
        const int64_t written = m_soundStart + int64_t(m_pendingSound.size());
        if (endSample > written)
            m_pendingSound.insert(m_pendingSound.end(), size_t(endSample - written), 0.0f);
        ok = encodeSoundFrames(true) && encode(m_sound, m_soundStream, nullptr) && ok;
    }
    const int code = av_write_trailer(m_format);
    if (code < 0)
        ok = fail("writing the end of the file failed", code);
    avio_flush(m_format->pb);
    if (m_format->pb->error < 0)
        ok = fail("writing the file failed", m_format->pb->error);
    avio_closep(&m_format->pb);
    m_headerWritten = false;
    return ok;
}
