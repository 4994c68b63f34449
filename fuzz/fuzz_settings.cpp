// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the settings loader on arbitrary bytes. Whatever it loads must survive a save and a
// second load unchanged, since the program writes the file back at every start.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

#include "settings/readxml.h"

namespace {

// The file as a memory-backed descriptor: nothing touches the disk, and the path reaches the loader
// through /proc like any other file name.
std::string memoryFile(const char* name, const std::uint8_t* data, std::size_t size) {
    const int fd = ::memfd_create(name, 0);
    if (fd < 0 || (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size)))
        std::abort();
    return "/proc/self/fd/" + std::to_string(fd);
}

void closeMemoryFile(const std::string& path) {
    ::close(std::atoi(path.c_str() + sizeof "/proc/self/fd/" - 1));
}

void reset(ReadXML& s) {
    s.bsaveType = s.bformatType = s.bfrequencyType = s.bEnablePTZ = s.bEnableMic = s.bAutoHideBar = false;
    s.savePath.clear();
    s.customPrefix.clear();
    s.devName.clear();
    s.devPIDVID.clear();
    s.resolution.clear();
    s.language.clear();
    s.videoFormat = s.compressionType = 0;
}

// A folder of our own in memory (or /tmp) for the saved copies; saving renames into it.
std::string savedPath() {
    static const std::string folder = [] {
        std::string pattern = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                              "/pagelux-fuzz-settings-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    static const bool cleanup = std::atexit([] {
                                    ::unlink((folder + "/lastsetting.xml").c_str());
                                    ::rmdir(folder.c_str());
                                }) == 0;
    (void)cleanup;
    return folder + "/lastsetting.xml";
}

auto fields(const ReadXML& s) {
    return std::make_tuple(s.bsaveType, s.savePath, s.bformatType, s.customPrefix, s.devName, s.devPIDVID,
                           s.videoFormat, s.resolution, s.bfrequencyType, s.bEnablePTZ, s.bEnableMic,
                           s.compressionType, s.language, s.bAutoHideBar);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The loader logs each load on standard output; the fuzzer's own report goes to standard error.
    static const bool quiet = std::freopen("/dev/null", "w", stdout) != nullptr;
    (void)quiet;
    ReadXML& store = *ReadXML::instance();
    reset(store);
    const std::string input = memoryFile("settings", data, size);
    const bool loaded = store.readData(input.c_str());
    closeMemoryFile(input);
    if (!loaded)
        return 0;

    const auto first = fields(store);
    const std::string saved = savedPath();
    if (!store.writeData(saved.c_str()))
        std::abort();
    reset(store);
    const bool reloaded = store.readData(saved.c_str());
    if (!reloaded || fields(store) != first)
        std::abort();  // the saved file says something else
    return 0;
}
