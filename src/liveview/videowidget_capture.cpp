// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's capture: the next free numbered file in the save folder, the still picture with the
// drawing over it written off the GUI thread, its tile in the file panel, and the panel's show/hide.
#include <QDate>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QRegularExpression>
#include <QScreen>
#include <QtConcurrent>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "capturewriter.h"
#include "comparepane.h"
#include "filebrowser/filelistwidget.h"
#include "filebrowser/folderfiles.h"
#include "filebrowser/pdfexporter.h"
#include "pagescan.h"
#include "settings/capturechoices.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "settings/storagefolders.h"
#include "toolbars/toolwidget_right.h"
#include "videowidget.h"

namespace {

QString capturePrefix(const ReadXML& settings) {
    return settings.bsaveType ? QString::fromStdString(settings.customPrefix)
                              : QDate::currentDate().toString("yyyy-MM-dd");
}

// All four parts in one arg() call: a "%1" inside the folder or the prefix stays as it is.
QString numberedPath(const QString& folder, const QString& prefix, int number, const QString& suffix) {
    return QString("%1/%2_%3.%4").arg(folder, prefix, QString::asprintf("%05d", number), suffix);
}

}  // namespace

void VideoWidget::initCapture() {
    m_captureWriter = new CaptureWriter(m_presenter, this);
    // Emitted on the writer's thread, so queued to the GUI thread.
    connect(m_captureWriter, &CaptureWriter::captureWritten, this, &VideoWidget::onCaptureWritten);
    m_fileListWidget = new FileListWidget(this);
    m_fileListWidget->hide();
    ExtraSettings* extra = ExtraSettings::instance();
    m_fileListWidget->setShowAllTools(extra->showAllTools());
    connect(extra, &ExtraSettings::showAllToolsChanged, m_fileListWidget, &FileListWidget::setShowAllTools);
    connect(m_fileListWidget, &FileListWidget::pdfRequested, this, &VideoWidget::onPdfRequested);
    connect(m_fileListWidget, &FileListWidget::tileClicked, this, &VideoWidget::onTileClicked);
    connect(m_fileListWidget, &FileListWidget::openFailed, this, [this](const QString& path) {
        showNotice(tr("No program on this desktop opens %1.").arg(QFileInfo(path).fileName()));
    });
    m_folderFiles = new FolderFiles(this);
    connect(m_folderFiles, &FolderFiles::added, m_fileListWidget, &FileListWidget::listPaths);
    connect(m_folderFiles, &FolderFiles::removed, m_fileListWidget, &FileListWidget::removePaths);
    connect(extra, &ExtraSettings::showAllToolsChanged, this, &VideoWidget::followSaveFolder);
    followSaveFolder();
}

// With all tools shown the panel holds the save folder's files too, from the start and as others add
// or remove them; without, only what is captured in this run.
void VideoWidget::followSaveFolder() {
    const ReadXML& settings = *ReadXML::instance();
    const QString folder = settings.savePath.empty() ? StorageFolders::defaultSaveFolder()
                                                     : QString::fromStdString(settings.savePath);
    m_folderFiles->follow(ExtraSettings::instance()->showAllTools() ? folder : QString());
}

int VideoWidget::getMaxFileNumber(const QString& prefix, const QString& folderPath) {
    printf("************folderPath:%s\n", folderPath.toUtf8().constData());
    const QDir folder(folderPath);
    if (!folder.exists())
        return -1;
    // Pictures, recordings and PDFs share the numbers; a recording cut off before its rename keeps its
    // number too.
    const QStringList files =
        folder.entryList({"*.jpg", "*.mp4", "*.mkv", "*.pdf"}, QDir::Files, QDir::Unsorted);
    if (files.isEmpty())
        return 0;
    static const QRegularExpression pattern("^(.*)_(\\d+)(?:\\.recording)?\\.(?:jpg|mp4|mkv|pdf)$");
    bool prefixFound = false;
    int maxNumber = 0;
    for (const QString& name : files) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch() || match.captured(1) != prefix)
            continue;
        prefixFound = true;
        // A number too large for an int reads as 0.
        maxNumber = std::max(maxNumber, match.captured(2).toInt(nullptr, 10));
    }
    return prefixFound ? maxNumber : 1;
}

QString VideoWidget::nextNumberedPath(const QString& suffix, NamingProblem* problem) {
    *problem = NamingProblem::None;
    ++nCaptureIndex;
    int number = nCaptureIndex;
    ReadXML& settings = *ReadXML::instance();
    printf("*****************************************config->savePath:%s\n", settings.savePath.c_str());
    // One reading of the date serves the scan and the name, also across midnight.
    const QString prefix = capturePrefix(settings);
    // The settings panel allows letters, digits and "_" only, but the settings file may be edited by
    // hand: a prefix must not lead the file out of the save folder.
    if (prefix.contains('/')) {
        printf("File refused: the file name prefix \"%s\" holds a \"/\"\n", prefix.toUtf8().constData());
        *problem = NamingProblem::SlashInPrefix;
        return {};
    }
    if (settings.savePath.empty()) {
        const QString folder = StorageFolders::defaultSaveFolder();
        if (folder.isEmpty()) {
            *problem = NamingProblem::NoFolder;
            return {};
        }
        settings.savePath = folder.toStdString();
        if (!QFileInfo::exists(folder)) {
            if (QDir().mkpath(folder))
                qDebug() << "成功创建目录:" << folder;
            else
                qWarning() << "创建目录失败:" << folder;
        }
    } else {
        printf("&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&prefix:%s\n", prefix.toUtf8().constData());
        const int maxNumber = getMaxFileNumber(prefix, QString::fromStdString(settings.savePath));
        printf("****************maxNumber:%d\n", maxNumber);
        nCaptureIndex = maxNumber + 1;
        printf("********************************nCaptureIndex:%d\n", nCaptureIndex);
        number = nCaptureIndex;
    }

    // A file never replaces another: the counter alone knows nothing of an earlier run's files, any
    // name may be taken by a folder, and the files of captures still being written are not in the
    // folder yet.
    const QString folder = QString::fromStdString(settings.savePath);
    QString path = numberedPath(folder, prefix, number, suffix);
    while (QFileInfo::exists(path) || m_capturesInFlight.contains(path)) {
        printf("File %s is taken, trying the next number\n", path.toUtf8().constData());
        path = numberedPath(folder, prefix, ++number, suffix);
    }
    nCaptureIndex = number;
    return path;
}

void VideoWidget::captureImage() {
    if (m_videoPixmap.isNull() || m_drawingPixmap.isNull()) {
        qDebug() << "无法捕捉图像：视频或绘图层为空";
        reportCaptureFailure(CaptureWriter::Failure::NoPicture, {});
        return;
    }
    NamingProblem problem;
    const QString path = nextNumberedPath("jpg", &problem);
    if (problem == NamingProblem::SlashInPrefix) {
        showNotice(tr("The capture was not saved: the file name prefix holds a \"/\"."));
        return;
    }
    if (problem == NamingProblem::NoFolder) {
        showNotice(tr("The capture was not saved: choose a save folder in the settings."));
        return;
    }

    CaptureWriter::Request request;
    if (!toPathBuffer(path, request.path))
        return;
    m_capturesInFlight.insert(path);
    // A spread's right page takes the next number; a picture of one page leaves it free again.
    if (CaptureChoices::splitSpreads()) {
        const QString rightPath = nextNumberedPath("jpg", &problem);
        if (problem == NamingProblem::None && toPathBuffer(rightPath, request.rightPath))
            m_capturesInFlight.insert(rightPath);
    }
    // The layer as it is now; drawing on goes to the view's own copy.
    request.layer = m_drawingPixmap.toImage();
    request.devIndex = m_currentDevIndex;
    request.quality = CaptureChoices::jpegQuality();
    request.cropping = CaptureChoices::cropping();
    m_captureWriter->write(request);
}

bool VideoWidget::toPathBuffer(const QString& path, CaptureWriter::PathBuffer& buffer) {
    const QByteArray utf8 = path.toUtf8();
    if (utf8.size() >= CaptureWriter::kPathBufferBytes) {
        printf("Capture refused: the file path is %d bytes long, the camera library takes at most %d: %s\n",
               int(utf8.size()), CaptureWriter::kPathBufferBytes - 1, utf8.constData());
        showNotice(tr("The capture was not saved: the save folder's path is too long."));
        return false;
    }
    buffer.fill('\0');
    std::memcpy(buffer.data(), utf8.constData(), size_t(utf8.size()));
    return true;
}

// The capture goes the Capture button's way, on the GUI thread.
void VideoWidget::autoCaptureTriggered() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pageScan->flash();
            captureImage();
        },
        Qt::QueuedConnection);
}

void VideoWidget::onCaptureWritten(const QString& path, bool loaded, CaptureWriter::Failure failure) {
    m_capturesInFlight.remove(path);
    if (loaded) {
        m_fileListWidget->addPath(path);
        // Split, the newest capture shows beside the live picture as soon as its file is whole.
        if (liveArea() != rect())
            m_comparePane->showFile(path);
    }
    if (failure != CaptureWriter::Failure::None)
        reportCaptureFailure(failure, path);
}

void VideoWidget::reportCaptureFailure(CaptureWriter::Failure failure, const QString& path) {
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
    printf("Capture failed: %s\n", text.toUtf8().constData());
    showNotice(text);
}

void VideoWidget::onPdfRequested(const QStringList& pictures) {
    if (pictures.isEmpty()) {
        showNotice(tr("No pictures to put in a PDF: capture some first"));
        return;
    }
    // The next number of the captures: the PDF sorts after the pictures it holds.
    NamingProblem problem;
    const QString path = nextNumberedPath("pdf", &problem);
    if (problem != NamingProblem::None) {
        showNotice(tr("The PDF was not saved: the save folder cannot be used"));
        return;
    }
    m_capturesInFlight.insert(path);

    auto* watcher = new QFutureWatcher<PdfExporter::Outcome>(this);
    connect(watcher, &QFutureWatcher<PdfExporter::Outcome>::finished, this, [this, watcher, path] {
        const PdfExporter::Outcome outcome = watcher->result();
        watcher->deleteLater();
        m_capturesInFlight.remove(path);
        QStringList names;
        for (const QString& picture : outcome.leftOut)
            names << QFileInfo(picture).fileName();
        if (!outcome.written) {
            showNotice(names.isEmpty()
                           ? tr("The PDF could not be written to %1").arg(path)
                           : tr("No PDF: none of the pictures can be read (%1)").arg(names.join(", ")));
            return;
        }
        m_fileListWidget->addPath(path);
        const QFileInfo file(path);
        const QString folder = QDir::toNativeSeparators(file.absolutePath());
        const QString pages = QString::number(outcome.pages);
        showNotice(names.isEmpty() ? tr("PDF saved: %1 in %2 (pages: %3)").arg(file.fileName(), folder, pages)
                                   : tr("PDF saved: %1 in %2 (pages: %3) without pictures that cannot be "
                                        "read: %4")
                                         .arg(file.fileName(), folder, pages, names.join(", ")));
    });
    watcher->setFuture(QtConcurrent::run([pictures, path] { return PdfExporter::write(pictures, path); }));
}

void VideoWidget::onShowListWidget() {
    const QSize screen = size();  // the view covers its screen, which need not be the primary one
    qDebug() << "主屏幕分辨率:" << screen.width() << "x" << screen.height();
    // 666 leaves room for the tool bar row beneath the panel.
    const int x = m_toolWidgetsSwapped ? 0 : screen.width() - m_rightToolWidget->getButtonsTotalWidth();
    m_fileListWidget->move(x, screen.height() - 666);
    followSaveFolder();  // the save folder may have been changed in the settings
    m_fileListWidget->show();
    m_fileListWidget->raise();
}

void VideoWidget::onHideListWidget() {
    m_fileListWidget->hide();
}
