// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's lesson recording: Record and Ctrl+R, the choices on Record's right click, and the
// view's own painting as what the class sees.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextEdit>

#include "comparepane.h"
#include "filebrowser/filelistwidget.h"
#include "recordingcontroller.h"
#include "settings/readxml.h"
#include "timelapsecontroller.h"
#include "toolbars/toolswidget.h"
#include "videowidget.h"

namespace {

bool textFieldHasFocus() {
    const QWidget* focus = QApplication::focusWidget();
    return qobject_cast<const QLineEdit*>(focus) != nullptr ||
           qobject_cast<const QTextEdit*>(focus) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(focus) != nullptr;
}

}  // namespace

void VideoWidget::initRecording() {
    m_recording = new RecordingController(
        this, [this] { return recordedPicture(); }, m_presenter, &m_numbering, m_extraSettings);
    connect(m_recording, &RecordingController::notice, this, &VideoWidget::showNotice);
    connect(m_recording, &RecordingController::fileSaved, m_fileListWidget, &FileListWidget::addPath);
    connect(m_recording, &RecordingController::recordingChanged, m_centerToolWidget,
            &ToolsWidget::setRecording);

    auto* record = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    connect(record, &QShortcut::activated, this, [this] {
        if (!textFieldHasFocus())
            toggleRecording();
    });
    connect(m_centerToolWidget, &ToolsWidget::signalRecord, this, &VideoWidget::toggleRecording);
    auto* timeLapse = new TimeLapseController(this, m_presenter, &m_numbering);
    connect(timeLapse, &TimeLapseController::notice, this, &VideoWidget::showNotice);
    connect(timeLapse, &TimeLapseController::fileSaved, m_fileListWidget, &FileListWidget::addPath);
    // A right click on Record chooses what is recorded and the sound, and starts a time-lapse.
    if (auto* button = m_centerToolWidget->findChild<QWidget*>("toolButton_record")) {
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
                [this, button, timeLapse](const QPoint& pos) {
                    QMenu menu(this);
                    m_recording->fillRecordingKindMenu(&menu);
                    m_recording->fillSoundMenu(&menu);
                    timeLapse->fillMenu(&menu);
                    menu.exec(button->mapToGlobal(pos));
                });
    }
    // Recordings cut off last time (a crash, a kill, a power loss) play up to the cut.
    m_recording->recoverCutOff(QString::fromStdString(ReadXML::instance()->savePath));
}

void VideoWidget::toggleRecording() {
    if (m_recording->isRecording())
        m_recording->stop({});
    else
        m_recording->start(m_currentDevIndex);
}

void VideoWidget::recordCameraPicture(int64_t capturedUs) {
    m_recording->cameraPictureArrived(capturedUs);
}

QImage VideoWidget::recordedPicture() {
    if (m_videoPixmap.isNull())
        return {};
    QImage picture(size(), QImage::Format_RGB32);
    // Without DrawChildren: the bars, popups, notices and the indicator are children of the view.
    render(&picture, QPoint(), QRegion(rect()), QWidget::DrawWindowBackground);
    // Split, the compared picture is part of what the class sees.
    if (liveArea() != rect())
        m_comparePane->render(&picture, m_comparePane->pos(), QRegion(), QWidget::DrawWindowBackground);
    return picture;
}
