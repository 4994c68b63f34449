// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's split screen: the live picture on the left half, a captured picture on the right.
// GUI thread only.
#include <QDir>
#include <QFileInfo>

#include "comparepane.h"
#include "settings/readxml.h"
#include "videowidget.h"

namespace {

// The newest picture in the save folder: what was captured last.
QString newestCapture() {
    const QDir folder(QString::fromStdString(ReadXML::instance()->savePath));
    const QFileInfoList pictures = folder.entryInfoList({"*.jpg", "*.jpeg"}, QDir::Files, QDir::Time);
    return pictures.isEmpty() ? QString() : pictures.first().absoluteFilePath();
}

}  // namespace

void VideoWidget::setSplitScreen(bool on) {
    if (on == (liveArea() != rect()))
        return;
    if (on) {
        if (m_comparePane == nullptr)
            m_comparePane = new ComparePane(this);
        m_comparePane->setGeometry(width() / 2, 0, width() - width() / 2, height());
        // Under the bars, the file panel and the notices, which are the view's other children.
        m_comparePane->lower();
        m_comparePane->show();
        m_comparePane->showFile(newestCapture());
    } else {
        m_comparePane->hide();
    }
    // The live picture is fitted to its new area whole.
    resetZoom();
}

void VideoWidget::onTileClicked(const QString& path) {
    if (liveArea() == rect())
        return;
    if (!m_comparePane->showFile(path))
        showNotice(tr("This file cannot be shown beside the live picture."));
}
