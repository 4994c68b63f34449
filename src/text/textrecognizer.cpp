// SPDX-License-Identifier: GPL-3.0-or-later
// Tesseract's C++ interface on a thread of its own at the lowest priority; words with their boxes and
// languages read back through its result iterator.
#include "textrecognizer.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <QFile>
#include <QThreadPool>
#include <QtConcurrent>
#include <memory>

#include <omp.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "textlanguages.h"

namespace {

// Where the cores are busy, a quarter of the time the picture's threads get: they stay ahead, and a
// PDF or a text someone waits for still comes (the lowest priority, 19, got it under 2 % and let
// other work starve it for minutes).
constexpr int kNice = 5;

// Resolutions outside this are not stated in the file but made up by whoever wrote it: Tesseract then
// estimates one from the text's size.
const int kLowestDpi = 70, kHighestDpi = 2400;

struct Engine {
    QString languages;  // as Tesseract was initialised with: "chi_sim+eng"
    std::unique_ptr<tesseract::TessBaseAPI> api;
};

tesseract::TessBaseAPI* engineFor(const QString& languages) {
    thread_local Engine engine;
    if (engine.api && engine.languages == languages)
        return engine.api.get();
    engine.api = std::make_unique<tesseract::TessBaseAPI>();
    engine.languages = languages;
    const QByteArray folder = QFile::encodeName(TextLanguages::dataFolder());
    if (engine.api->Init(folder.constData(), languages.toUtf8().constData(), tesseract::OEM_LSTM_ONLY) != 0) {
        engine.api.reset();
        return nullptr;
    }
    // Its progress notes ("Estimating resolution …") are not the program's to print.
    engine.api->SetVariable("debug_file", "/dev/null");
    return engine.api.get();
}

QString codeOfDataName(const char* dataName) {
    for (const QString& code : TextLanguages::all())
        if (TextLanguages::dataName(code) == QLatin1String(dataName ? dataName : ""))
            return code;
    return {};
}

TextRecognizer::Result recognizeHere(const QImage& picture, const QStringList& languages) {
    TextRecognizer::Result result;
    result.text.pictureSize = picture.size();
    QStringList dataNames;
    for (const QString& code : languages) {
        if (TextLanguages::installed(code))
            dataNames << TextLanguages::dataName(code);
        else
            result.missing << code;
    }
    if (dataNames.isEmpty() || picture.isNull())
        return result;
    tesseract::TessBaseAPI* api = engineFor(dataNames.join('+'));
    if (!api) {
        result.missing = languages;
        return result;
    }

    // One core, where Tesseract leaves the number of its threads to the runtime.
    omp_set_num_threads(1);
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    api->SetImage(grey.constBits(), grey.width(), grey.height(), 1, grey.bytesPerLine());
    const int dpi = qRound(grey.dotsPerMeterX() * 0.0254);
    if (dpi >= kLowestDpi && dpi <= kHighestDpi)
        api->SetSourceResolution(dpi);
    if (api->Recognize(nullptr) != 0) {
        api->Clear();
        return result;
    }

    std::unique_ptr<tesseract::ResultIterator> it(api->GetIterator());
    int line = -1;
    if (it) {
        do {
            std::unique_ptr<char[]> utf8(it->GetUTF8Text(tesseract::RIL_WORD));
            const QString text = QString::fromUtf8(utf8.get()).trimmed();
            if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE))
                ++line;
            if (text.isEmpty())
                continue;
            int left = 0, top = 0, right = 0, bottom = 0;
            it->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom);
            result.text.words.append({text, QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)),
                                      codeOfDataName(it->WordRecognitionLanguage()), qMax(line, 0)});
        } while (it->Next(tesseract::RIL_WORD));
    }
    api->Clear();
    return result;
}

// The one thread that recognises, at a lower priority: the camera's picture is painted at 30 frames a
// second beside it and must not wait for it. Tesseract's own threads, started from this one, inherit
// its priority. It lives as long as the program, so that its engine keeps the language data loaded, and
// is not waited for when the program ends.
QThreadPool* recognitionThread() {
    static QThreadPool* const pool = [] {
        auto* one = new QThreadPool;
        one->setMaxThreadCount(1);
        one->setExpiryTimeout(-1);
        return one;
    }();
    return pool;
}

}  // namespace

TextRecognizer::Result TextRecognizer::recognize(const QImage& picture, const QStringList& languages) {
    return QtConcurrent::run(recognitionThread(),
                             [&picture, &languages] {
                                 // Unprivileged, a thread's priority can only go down: set each time, it
                                 // stays as it is. Should it fail, recognition runs as it did.
                                 setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), kNice);
                                 return recognizeHere(picture, languages);
                             })
        .result();
}
