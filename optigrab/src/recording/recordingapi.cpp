// SPDX-License-Identifier: GPL-3.0-or-later
// The exported functions of optigrab.h that record pictures a program composes, list the sound
// inputs and read a recording's first picture: argument checks around a RecordingSession.
#include <cstring>
#include <memory>
#include <string>

#include "optigrab.h"
#include "recording/recordingreader.h"
#include "recording/recordingsession.h"

using optigrab::RecordingSession;
using optigrab::RecordingWriter;

// What a program holds while it records (the name optigrab.h gives it).
struct CamPictureRecord {
    std::unique_ptr<RecordingSession> session;  // one a recording
    std::string text;                           // camPictureRecordText
};

namespace {

constexpr long kMaxSide = 16384;
constexpr long kMaxFps = 240;

}  // namespace

OPTIGRAB_API CamPictureRecord* camNewPictureRecord(void) {
    return new (std::nothrow) CamPictureRecord;
}

OPTIGRAB_API void camFreePictureRecord(CamPictureRecord* record) {
    if (record != nullptr)
        camStopPictureRecord(record, nullptr, nullptr);
    delete record;
}

OPTIGRAB_API long camStartPictureRecord(CamPictureRecord* record, const char* path, long width, long height,
                                        long fps, const char* soundInput, long long startUs,
                                        CamRecordFailedCallback failed, void* param) {
    if (record == nullptr || path == nullptr || *path == '\0' || width < 2 || height < 2 ||
        width > kMaxSide || height > kMaxSide || fps < 1 || fps > kMaxFps)
        return CAM_ERR_BAD_ARGUMENT;
    if (record->session && record->session->isRunning())
        return CAM_ERR_BUSY;
    record->text.clear();
    RecordingSession::Plan plan;
    plan.path = path;
    plan.format = {
        RecordingWriter::Container::Mp4, optigrab::kComposedRgb32, width, height, fps, soundInput != nullptr};
    plan.soundSource = soundInput != nullptr ? soundInput : "";
    if (failed != nullptr)
        plan.onFailed = [failed, param](const std::string& reason) { failed(reason.c_str(), param); };
    record->session = std::make_unique<RecordingSession>();
    std::string soundProblem;
    if (!record->session->start(plan, startUs, &soundProblem, &record->text))
        return CAM_ERR_FILE;
    record->text = soundProblem;
    return soundProblem.empty() ? CAM_OK : CAM_ERR_NO_SOUND;
}

OPTIGRAB_API long camRecordPicture(CamPictureRecord* record, const unsigned char* pixels, long width,
                                   long height, long stride, long long seenUs,
                                   CamPictureReleaseCallback release, void* picture) {
    long result = CAM_OK;
    if (pixels == nullptr || width < 1 || height < 1 || width > kMaxSide || height > kMaxSide ||
        stride < 4 * width)
        result = CAM_ERR_BAD_ARGUMENT;
    else if (record == nullptr || !record->session || !record->session->isRunning())
        result = CAM_ERR_NOT_OPEN;
    if (result != CAM_OK) {
        if (release != nullptr)
            release(picture);
        return result;
    }
    optigrab::FrameView view;
    view.code = optigrab::kComposedRgb32;
    view.data = pixels;
    view.size = std::size_t(stride) * std::size_t(height);
    view.width = width;
    view.height = height;
    view.stride = stride;
    RecordingSession::Release done;
    if (release != nullptr)
        done = [release, picture] { release(picture); };
    else
        done = [] {};  // the pixels outlive the recording: nothing to copy
    record->session->addPicture(view, seenUs, std::move(done));
    return CAM_OK;
}

namespace {

// endNow: the file ends at this moment (camStopPictureRecord), or where its pictures end.
long endPictureRecord(CamPictureRecord* record, bool endNow, long long* pictures, long long* dropped) {
    if (record == nullptr)
        return CAM_ERR_BAD_ARGUMENT;
    if (!record->session || !record->session->isRunning())
        return CAM_ERR_NOT_OPEN;
    const RecordingSession::Outcome outcome = record->session->stop(endNow);
    if (pictures != nullptr)
        *pictures = outcome.pictures;
    if (dropped != nullptr)
        *dropped = outcome.dropped;
    record->text = outcome.problem;
    // The encoder's threads and the buffers kept for pictures to come are not wanted until the next
    // start: a program that keeps its record between lessons should not hold them all day.
    record->session.reset();
    return outcome.problem.empty() ? CAM_OK : CAM_ERR_FILE;
}

}  // namespace

OPTIGRAB_API long camStopPictureRecord(CamPictureRecord* record, long long* pictures, long long* dropped) {
    return endPictureRecord(record, true, pictures, dropped);
}

OPTIGRAB_API long camFinishPictureRecord(CamPictureRecord* record, long long* pictures, long long* dropped) {
    return endPictureRecord(record, false, pictures, dropped);
}

OPTIGRAB_API const char* camPictureRecordText(const CamPictureRecord* record) {
    return record != nullptr ? record->text.c_str() : "";
}

OPTIGRAB_API long camListSoundInputs(CamSoundInputCallback each, void* param) {
    if (each == nullptr)
        return CAM_ERR_BAD_ARGUMENT;
    for (const optigrab::SoundInput::Source& source : optigrab::SoundInput::sources())
        each(source.name.c_str(), source.description.c_str(), param);
    return CAM_OK;
}

OPTIGRAB_API long camReadRecordingPicture(const char* path, long maxWidth, long maxHeight,
                                          unsigned char* pixels, long* width, long* height, double* seconds) {
    if (path == nullptr || pixels == nullptr || width == nullptr || height == nullptr || seconds == nullptr ||
        maxWidth < 1 || maxHeight < 1)
        return CAM_ERR_BAD_ARGUMENT;
    optigrab::RecordingPreview preview;
    if (!optigrab::readRecordingPreview(path, maxWidth, maxHeight, &preview))
        return CAM_ERR_FILE;
    std::memcpy(pixels, preview.pixels.data(), preview.pixels.size());
    *width = preview.width;
    *height = preview.height;
    *seconds = preview.seconds;
    return CAM_OK;
}
