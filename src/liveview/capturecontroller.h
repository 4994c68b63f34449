// SPDX-License-Identifier: GPL-3.0-or-later
// Captures and PDFs beside the view: the numbered files, the writing off the GUI thread, and what the
// user is told when a file could not be made.
#pragma once

#include <QImage>
#include <QObject>
#include <QStringList>
#include <memory>

#include "capturewriter.h"
#include "settings/capturechoices.h"
#include "settings/textchoices.h"

class PageTextCache;
class ExtraSettings;
class FileNumbering;
class IPresenter;

// GUI thread only.
class CaptureController : public QObject {
    Q_OBJECT

public:
    // settings: where the scanning choices (spreads, quality, cropping) are kept.
    CaptureController(IPresenter* presenter, FileNumbering* numbering, ExtraSettings* settings,
                      QObject* parent = nullptr);

    // The camera's still picture with layer (the drawing) over it, into the next numbered file of
    // the save folder (two with split spreads), written off the GUI thread.
    void capture(const QImage& layer, long devIndex);
    // The pictures into the next numbered PDF of the save folder, written off the GUI thread; with
    // their recognised text over them when searchable PDFs are chosen.
    void exportPdf(const QStringList& pictures);
    // The texts of captures recognised so far, shared with whatever else reads them.
    std::shared_ptr<PageTextCache> pageTexts() const { return m_pageTexts; }
    // The notice and log line of a capture that failed.
    void reportFailure(CaptureWriter::Failure failure, const QString& path);
    // Returns once every queued capture has ended.
    void waitForDone();

signals:
    void notice(const QString& text);
    // A capture's picture is whole in its file.
    void captureSaved(const QString& path);
    // A PDF is whole in its file.
    void pdfSaved(const QString& path);

private:
    void onCaptureWritten(const QString& path, bool loaded, CaptureWriter::Failure failure);
    // Copies path for the camera library; false, with a notice, when it is too long for it.
    bool toPathBuffer(const QString& path, CaptureWriter::PathBuffer& buffer);

    FileNumbering* m_numbering;
    CaptureChoices m_choices;
    TextChoices m_textChoices;
    std::shared_ptr<PageTextCache> m_pageTexts;  // used by the PDF threads as well
    CaptureWriter* m_writer;
};
