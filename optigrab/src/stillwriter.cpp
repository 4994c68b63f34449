// SPDX-License-Identifier: GPL-3.0-or-later
// Still-picture writing: full-resolution decode, JPEG encode, temporary file + fsync + rename.
#include "stillwriter.h"

#include <turbojpeg.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "deviceinfo.h"
#include "imaging/pictureprocessor.h"
#include "optigrab.h"

namespace optigrab {

namespace {

// Sets the density of tjCompress2's JFIF APP0 segment (FFD8 FFE0 len "JFIF\0" version units x y).
void setJfifDensity(unsigned char* jpeg, unsigned long size, int xDpi, int yDpi) {
    if (size < 18 || jpeg[2] != 0xFF || jpeg[3] != 0xE0 || std::memcmp(jpeg + 6, "JFIF", 5) != 0)
        return;
    jpeg[13] = 1;  // dots per inch
    jpeg[14] = static_cast<unsigned char>(xDpi >> 8);
    jpeg[15] = static_cast<unsigned char>(xDpi & 0xFF);
    jpeg[16] = static_cast<unsigned char>(yDpi >> 8);
    jpeg[17] = static_cast<unsigned char>(yDpi & 0xFF);
}

bool writeAll(int fd, const unsigned char* data, unsigned long size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<unsigned long>(written);
    }
    return true;
}

}  // namespace

long StillWriter::write(const FrameView& frame, const PictureSettings& picture, const std::string& path,
                        int quality, int xDpi, int yDpi) {
    if (path.empty() || path.back() == '/')
        return CAM_ERR_BAD_ARGUMENT;
    if (frame.code == kMediaMjpg && picture.look == Look::Colour && !picture.plain()) {
        unsigned char* jpeg = nullptr;
        unsigned long jpegSize = 0;
        if (turnLosslessly(frame, picture, &jpeg, &jpegSize)) {
            setJfifDensity(jpeg, jpegSize, xDpi, yDpi);
            const long result = writeAtomically(path, jpeg, jpegSize);
            tjFree(jpeg);
            return result;
        }
    }
    std::vector<std::uint8_t> rgb;
    long width = 0, height = 0;
    {
        FrameConverter converter;
        if (!converter.toRgb(frame, 0, 0, FrameConverter::Quality::Still, rgb, &width, &height))
            return CAM_ERR_NO_FRAME;
    }
    return writeRgb(rgb.data(), width, height, width * 3, picture, path, quality, xDpi, yDpi);
}

long StillWriter::writeRgb(const std::uint8_t* rgb, long width, long height, long pitch,
                           const PictureSettings& picture, const std::string& path, int quality, int xDpi,
                           int yDpi) {
    if (path.empty() || path.back() == '/')
        return CAM_ERR_BAD_ARGUMENT;
    std::vector<std::uint8_t> shown;
    if (!picture.plain()) {
        shown.resize(std::size_t(width) * std::size_t(height) * 3);
        for (long y = 0; y < height; ++y)
            std::memcpy(shown.data() + std::size_t(y) * std::size_t(width) * 3,
                        rgb + std::size_t(y) * std::size_t(pitch), std::size_t(width) * 3);
        if (!PictureProcessor().apply(picture, shown, &width, &height))
            return CAM_ERR_NO_MEMORY;
        rgb = shown.data();
        pitch = width * 3;
    }
    tjhandle encoder = tjInitCompress();
    if (!encoder)
        return CAM_ERR_NO_MEMORY;
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    int failed = tjCompress2(encoder, rgb, int(width), int(pitch), int(height), TJPF_RGB, &jpeg, &jpegSize,
                             TJSAMP_420, quality, TJFLAG_ACCURATEDCT);
    long result = CAM_ERR_NO_MEMORY;
    if (!failed) {
        setJfifDensity(jpeg, jpegSize, xDpi, yDpi);
        result = writeAtomically(path, jpeg, jpegSize);
    }
    tjFree(jpeg);
    tjDestroy(encoder);
    return result;
}

bool StillWriter::turnLosslessly(const FrameView& frame, const PictureSettings& picture, unsigned char** jpeg,
                                 unsigned long* size) {
    // Mirror first, then the turn: what each of the eight orientations is as one transform.
    static const int kPlain[] = {TJXOP_NONE, TJXOP_ROT90, TJXOP_ROT180, TJXOP_ROT270};
    static const int kMirrored[] = {TJXOP_HFLIP, TJXOP_TRANSVERSE, TJXOP_VFLIP, TJXOP_TRANSPOSE};
    FrameConverter converter;
    std::size_t completeSize = 0;
    const std::uint8_t* complete = converter.withHuffmanTables(frame.data, frame.size, &completeSize);
    tjtransform transform{};
    transform.op = (picture.mirrored ? kMirrored : kPlain)[picture.quarterTurns & 3];
    // PERFECT refuses partial blocks at the edges rather than dropping them; COPYNONE leaves the
    // camera's own markers out, so the file gets a JFIF header we can give our DPI.
    transform.options = TJXOPT_PERFECT | TJXOPT_COPYNONE;
    tjhandle handle = tjInitTransform();
    if (!handle)
        return false;
    const bool ok = tjTransform(handle, complete, completeSize, 1, jpeg, size, &transform, 0) == 0;
    tjDestroy(handle);
    if (!ok) {
        tjFree(*jpeg);
        *jpeg = nullptr;
    }
    return ok;
}

bool StillWriter::makeFolders(const std::string& folder) {
    if (folder.empty())
        return true;
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode);
    std::size_t slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeFolders(folder.substr(0, slash)))
        return false;
    return ::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST;
}

long StillWriter::writeAtomically(const std::string& path, const unsigned char* data, unsigned long size) {
    std::size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!makeFolders(folder))
        return CAM_ERR_FILE;

    // Hidden temporary name in the target folder, so that rename stays on one file system.
    std::string temp = folder + "/." + name + ".XXXXXX";
    std::vector<char> pattern(temp.begin(), temp.end());
    pattern.push_back('\0');
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return CAM_ERR_FILE;
    ::fchmod(fd, 0644);
    bool ok = writeAll(fd, data, size) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(pattern.data(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(pattern.data());
        return CAM_ERR_FILE;
    }
    // Makes the rename itself durable.
    int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return CAM_OK;
}

}  // namespace optigrab
