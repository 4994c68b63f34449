// SPDX-License-Identifier: GPL-3.0-or-later
// Captures and PDFs: numbered, written off the GUI thread, failures worded for the user.
#include "capturecontroller.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent>
#include <cstring>

#include "filebrowser/pdfexporter.h"
#include "filenumbering.h"
#include "liveviewlog.h"
#include "text/pagetextcache.h"
#include "text/textlanguages.h"

CaptureController::CaptureController(IPresenter* presenter, FileNumbering* numbering, ExtraSettings* settings,
                                     QObject* parent)
    : QObject(parent),
      m_numbering(numbering),
      m_choices(settings),
      m_textChoices(settings),
      m_pageTexts(std::make_shared<PageTextCache>()),
      m_writer(new CaptureWriter(presenter, this)) {
    // Emitted on the writer's thread, so queued to the GUI thread.
    connect(m_writer, &CaptureWriter::captureWritten, this, &CaptureController::onCaptureWritten);
}

void CaptureController::capture(const QImage& layer, long devIndex) {
    FileNumbering::Problem problem;
    const QString path = m_numbering->next("jpg", &problem);
    if (problem == FileNumbering::Problem::SlashInPrefix) {
        emit notice(tr("The capture was not saved: the file name prefix holds a \"/\"."));
        return;
    }
    if (problem == FileNumbering::Problem::NoFolder) {
        emit notice(tr("The capture was not saved: choose a save folder in the settings."));
        return;
    }

    CaptureWriter::Request request;
    if (!toPathBuffer(path, request.path))
        return;
    m_numbering->reserve(path);
    // A spread's right page takes the next number; a picture of one page leaves it free again.
    if (m_choices.splitSpreads()) {
        const QString rightPath = m_numbering->next("jpg", &problem);
        if (problem == FileNumbering::Problem::None && toPathBuffer(rightPath, request.rightPath))
            m_numbering->reserve(rightPath);
    }
    request.layer = layer;
    request.devIndex = devIndex;
    request.quality = m_choices.jpegQuality();
    request.cropping = m_choices.cropping();
    m_writer->write(request);
}

bool CaptureController::toPathBuffer(const QString& path, CaptureWriter::PathBuffer& buffer) {
    const QByteArray utf8 = path.toUtf8();
    if (utf8.size() >= CaptureWriter::kPathBufferBytes) {
        qCWarning(lcLiveView,
                  "Capture refused: the file path is %d bytes long, the camera library takes at most %d: %s",
                  int(utf8.size()), CaptureWriter::kPathBufferBytes - 1, utf8.constData());
        emit notice(tr("The capture was not saved: the save folder's path is too long."));
        return false;
    }
    buffer.fill('\0');
    std::memcpy(buffer.data(), utf8.constData(), size_t(utf8.size()));
    return true;
}

void CaptureController::waitForDone() {
    m_writer->waitForDone();
}

void CaptureController::onCaptureWritten(const QString& path, bool loaded, CaptureWriter::Failure failure) {
    m_numbering->release(path);
    if (loaded)
        emit captureSaved(path);
    if (failure != CaptureWriter::Failure::None)
        reportFailure(failure, path);
}

void CaptureController::reportFailure(CaptureWriter::Failure failure, const QString& path) {
    using Failure = CaptureWriter::Failure;
    QString text;
    switch (failure) {
        case Failure::NoPicture:
            text = tr("No picture to capture yet: wait for the camera's picture.");
            break;
        case Failure::FolderNotWritable:
            text = tr("The capture was not saved: the folder %1 cannot be written.")
                       .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
            break;
        case Failure::DiskFull:
            text = tr("The capture was not saved: the disk is full.");
            break;
        case Failure::CameraGone:
            text = tr("The capture was not saved: the camera is gone.");
            break;
        case Failure::CameraFailed:
            text = tr("The capture was not saved: the camera could not take the picture.");
            break;
        case Failure::DrawingNotSaved:
            text = tr("The picture was saved without the drawing over it.");
            break;
        case Failure::NoPageFound:
            text = tr("No page found: the whole picture was saved.");
            break;
        case Failure::None:
            return;
    }
    qCWarning(lcLiveView, "Capture failed: %s", qUtf8Printable(text));
    emit notice(text);
}

void CaptureController::exportPdf(const QStringList& pictures) {
    if (pictures.isEmpty()) {
        emit notice(tr("No pictures to put in a PDF: capture some first"));
        return;
    }
    // The next number of the captures: the PDF sorts after the pictures it holds.
    FileNumbering::Problem problem;
    const QString path = m_numbering->next("pdf", &problem);
    if (problem != FileNumbering::Problem::None) {
        emit notice(tr("The PDF was not saved: the save folder cannot be used"));
        return;
    }
    m_numbering->reserve(path);

    auto* watcher = new QFutureWatcher<PdfExporter::Outcome>(this);
    connect(watcher, &QFutureWatcher<PdfExporter::Outcome>::finished, this, [this, watcher, path] {
        const PdfExporter::Outcome outcome = watcher->result();
        watcher->deleteLater();
        m_numbering->release(path);
        QStringList names;
        for (const QString& picture : outcome.leftOut)
            names << QFileInfo(picture).fileName();
        if (!outcome.written) {
            emit notice(names.isEmpty()
                            ? tr("The PDF could not be written to %1").arg(path)
                            : tr("No PDF: none of the pictures can be read (%1)").arg(names.join(", ")));
            return;
        }
        emit pdfSaved(path);
        if (!outcome.missingLanguages.isEmpty())
            emit notice(TextLanguages::missingNotice(outcome.missingLanguages));
        const QFileInfo file(path);
        const QString folder = QDir::toNativeSeparators(file.absolutePath());
        const QString pages = QString::number(outcome.pages);
        emit notice(names.isEmpty()
                        ? tr("PDF saved: %1 in %2 (pages: %3)").arg(file.fileName(), folder, pages)
                        : tr("PDF saved: %1 in %2 (pages: %3) without pictures that cannot be "
                             "read: %4")
                              .arg(file.fileName(), folder, pages, names.join(", ")));
    });
    PdfExporter::TextSource textOf;
    if (m_textChoices.searchablePdf()) {
        const QStringList languages = m_textChoices.languages();
        textOf = [cache = m_pageTexts, languages](const QString& picture) {
            return cache->textOfFile(picture, languages);
        };
    }
    watcher->setFuture(
        QtConcurrent::run([pictures, path, textOf] { return PdfExporter::write(pictures, path, textOf); }));
}
