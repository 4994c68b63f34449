// Still-picture writing: full-resolution decode, JPEG encode, temporary file + fsync + rename.
#include "stillwriter.h"

#include <turbojpeg.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

long StillWriter::write(const FrameView& frame, const std::string& path, int quality, int xDpi, int yDpi) {
    if (path.empty() || path.back() == '/')
        return CAM_ERR_BAD_ARGUMENT;
    std::vector<std::uint8_t> rgb;
    long width = 0, height = 0;
    {
        FrameConverter converter;
        if (!converter.toRgb(frame, 0, 0, FrameConverter::Quality::Still, rgb, &width, &height))
            return CAM_ERR_NO_FRAME;
    }
    return writeRgb(rgb.data(), width, height, width * 3, path, quality, xDpi, yDpi);
}

long StillWriter::writeRgb(const std::uint8_t* rgb, long width, long height, long pitch,
                           const std::string& path, int quality, int xDpi, int yDpi) {
    if (path.empty() || path.back() == '/')
        return CAM_ERR_BAD_ARGUMENT;
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
