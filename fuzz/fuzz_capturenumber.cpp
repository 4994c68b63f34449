// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the capture numbering over arbitrary folder listings. The first line of the input is
// the prefix, every further line a name put into the folder (a line starting with "/" makes a
// folder of that name); an empty input stands for a save folder that does not exist. The result is
// checked against the names themselves: every prefix_<digits> file of a picture, recording (also one
// cut off, .recording.mp4) or PDF counts, nothing else does.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "liveview/videowidget.h"

namespace {

std::string folderPath;
VideoWidget* view = nullptr;

void emptyFolder() {
    // Everything the previous input made, files and folders, is one level deep.
    const QStringList entries =
        QDir(QString::fromStdString(folderPath))
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        const QByteArray path = QFile::encodeName(QString::fromStdString(folderPath) + "/" + entry);
        if (::unlink(path.constData()) != 0)
            ::rmdir(path.constData());
    }
}

// The files that share the numbers: pictures, recordings and PDFs.
bool isNumberedKind(const QByteArray& name) {
    return name.endsWith(".jpg") || name.endsWith(".mp4") || name.endsWith(".mkv") || name.endsWith(".pdf");
}

// value of digits when name is exactly prefix "_" digits, then ".recording" or nothing, then a
// numbered kind's suffix, with ASCII digits; -1 otherwise (also for a number beyond int, which reads
// as 0: it cannot raise the maximum).
long long numberOf(const QByteArray& name, const QByteArray& prefix) {
    if (!name.startsWith(prefix + "_") || !isNumberedKind(name))
        return -1;
    QByteArray digits = name.mid(prefix.size() + 1, name.size() - prefix.size() - 5);
    if (digits.endsWith(".recording"))
        digits.chop(int(sizeof(".recording")) - 1);
    if (digits.isEmpty())
        return -1;
    long long value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return 0;
    }
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("OPTIGRAB_SIMULATED_CAMERAS", "0");
    // getMaxFileNumber logs the folder on standard output at every call.
    if (!std::freopen("/dev/null", "w", stdout))
        std::abort();
    static QApplication app(*argc, *argv);
    view = new VideoWidget;  // lives for the process, like the program's view
    std::string pattern =
        std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/pagelux-fuzz-capture-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        std::abort();
    folderPath = pattern;
    std::atexit([] {
        emptyFolder();
        ::rmdir(folderPath.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    emptyFolder();
    const QList<QByteArray> lines = QByteArray(reinterpret_cast<const char*>(data), int(size)).split('\n');
    // The prefix comes from the settings as text: valid UTF-8. Names that are not are left out, since
    // the folder listing shows them with replacement characters that this check cannot predict.
    const QByteArray prefix = QString::fromUtf8(lines.first()).toUtf8();
    const QString folder = QString::fromStdString(size == 0 ? folderPath + "/missing" : folderPath);

    bool anyNumbered = false;
    long long highest = -1;
    for (int i = 1; i < lines.size(); ++i) {
        QByteArray name = lines[i];
        const bool isFolder = name.startsWith('/');
        if (isFolder)
            name.remove(0, 1);
        name = name.left(200);
        if (name.isEmpty() || name == "." || name == ".." || name.contains('/') || name.contains('\0') ||
            QString::fromUtf8(name).toUtf8() != name)
            continue;
        const QByteArray path = QFile::encodeName(folder) + "/" + name;
        if (isFolder) {
            if (::mkdir(path.constData(), 0700) != 0)
                continue;
        } else {
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
            if (fd < 0)
                continue;
            ::close(fd);
            anyNumbered = anyNumbered || isNumberedKind(name.toLower());
            highest = std::max(highest, numberOf(name, prefix));
        }
    }

    const int result = view->getMaxFileNumber(QString::fromUtf8(prefix), folder);
    if (size == 0) {
        if (result != -1)
            std::abort();  // a missing folder
        return 0;
    }
    if (!anyNumbered && result != 0)
        std::abort();  // no pictures, recordings or PDFs at all
    if (result < highest)
        std::abort();  // a numbered picture of this prefix was missed
    if (highest < 0 && result > 1)
        std::abort();  // a number from a name that is not a numbered file of the prefix
    return 0;
}
