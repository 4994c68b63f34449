// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's capture and file panel: the picture with the drawing over it handed to the capture
// controller, its tile in the file panel, and the panel's show/hide.
#include <QDebug>
#include <QFileInfo>
#include <QScreen>

#include "capturecontroller.h"
#include "comparepane.h"
#include "filebrowser/filelistwidget.h"
#include "filebrowser/folderfiles.h"
#include "pagescan.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "settings/storagefolders.h"
#include "settings/textchoices.h"
#include "textcontroller.h"
#include "textpanel.h"
#include "toolbars/toolwidget_right.h"
#include "videowidget.h"

void VideoWidget::initCapture() {
    m_fileListWidget = new FileListWidget(this);
    m_fileListWidget->hide();
    m_capture = new CaptureController(m_presenter, &m_numbering, m_extraSettings, this);
    connect(m_capture, &CaptureController::notice, this, &VideoWidget::showNotice);
    connect(m_capture, &CaptureController::captureSaved, this, [this](const QString& path) {
        m_fileListWidget->addPath(path);
        // Split, the newest capture shows beside the live picture as soon as its file is whole.
        if (liveArea() != rect())
            m_comparePane->showFile(path);
    });
    connect(m_capture, &CaptureController::pdfSaved, m_fileListWidget, &FileListWidget::addPath);
    // Tiles left chosen, perhaps scrolled out of sight, would slip into the next PDF unseen.
    connect(m_capture, &CaptureController::pdfSaved, m_fileListWidget, &FileListWidget::clearChoice);
    m_fileListWidget->setShowAllTools(m_extraSettings->showAllTools());
    connect(m_extraSettings, &ExtraSettings::showAllToolsChanged, m_fileListWidget,
            &FileListWidget::setShowAllTools);
    connect(m_fileListWidget, &FileListWidget::pdfRequested, m_capture, &CaptureController::exportPdf);
    m_fileListWidget->setSearchablePdf(TextChoices(m_extraSettings).searchablePdf());
    connect(m_fileListWidget, &FileListWidget::searchablePdfToggled, this,
            [this](bool on) { TextChoices(m_extraSettings).setSearchablePdf(on); });
    // The settings' Default button turns it back on.
    connect(m_extraSettings, &ExtraSettings::valueChanged, m_fileListWidget, [this](const QString& key) {
        if (key == TextChoices::kSearchablePdfKey)
            m_fileListWidget->setSearchablePdf(TextChoices(m_extraSettings).searchablePdf());
    });
    m_textPanel = new TextPanel(this);
    m_text = new TextController(m_presenter, m_extraSettings, m_capture->pageTexts(), m_textPanel, this);
    connect(m_text, &TextController::notice, this, &VideoWidget::showNotice);
    connect(m_fileListWidget, &FileListWidget::copyTextRequested, m_text, &TextController::copyFile);
    connect(m_fileListWidget, &FileListWidget::tileClicked, this, &VideoWidget::onTileClicked);
    connect(m_fileListWidget, &FileListWidget::openFailed, this, [this](const QString& path) {
        showNotice(tr("No program on this desktop opens %1.").arg(QFileInfo(path).fileName()));
    });
    m_folderFiles = new FolderFiles(this);
    connect(m_folderFiles, &FolderFiles::added, m_fileListWidget, &FileListWidget::listPaths);
    connect(m_folderFiles, &FolderFiles::removed, m_fileListWidget, &FileListWidget::removePaths);
    connect(m_extraSettings, &ExtraSettings::showAllToolsChanged, this, &VideoWidget::followSaveFolder);
    followSaveFolder();
}

// With all tools shown the panel holds the save folder's files too, from the start and as others add
// or remove them; without, only what is captured in this run.
void VideoWidget::followSaveFolder() {
    const ReadXML& settings = *ReadXML::instance();
    const QString folder = settings.savePath.empty() ? StorageFolders::defaultSaveFolder()
                                                     : QString::fromStdString(settings.savePath);
    m_folderFiles->follow(m_extraSettings->showAllTools() ? folder : QString());
}

int VideoWidget::getMaxFileNumber(const QString& prefix, const QString& folderPath) {
    return FileNumbering::maxFileNumber(prefix, folderPath);
}

void VideoWidget::captureImage() {
    if (m_videoPixmap.isNull() || m_drawingPixmap.isNull()) {
        qDebug() << "无法捕捉图像：视频或绘图层为空";
        m_capture->reportFailure(CaptureWriter::Failure::NoPicture, {});
        return;
    }
    // The layer as it is now; drawing on goes to the view's own copy.
    m_capture->capture(m_drawingPixmap.toImage(), m_currentDevIndex);
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

void VideoWidget::onShowListWidget() {
    const QSize screen = this->screen()->size();  // the view's screen, which need not be the primary one
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
