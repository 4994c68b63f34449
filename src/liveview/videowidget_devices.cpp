// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's camera tree, the choice of camera at start, hot-plug handling and switching.
#include <QMetaObject>
#include <QRegularExpression>
#include <QThread>
#include <cstdio>

#include "annotationcanvas.h"
#include "camera/camerachoice.h"
#include "camera/campresenter.h"
#include "insetcamera.h"
#include "pagescan.h"
#include "picturetoolscontroller.h"
#include "recordingcontroller.h"
#include "settings/readxml.h"
#include "toolbars/toolwidget_left.h"
#include "videowidget.h"

namespace {

constexpr long kDeviceAdded = USB_DEVICE_CHANGE_ADD;
constexpr long kDeviceRemoved = USB_DEVICE_CHANGE_REMOVE;

}  // namespace

void VideoWidget::initCameraList(QStringList& list) {
    if (list.isEmpty()) {
        printf("******************未找到设备\n");
        return;
    }
    m_devList.clear();
    m_devList.resize(static_cast<size_t>(list.size()));
    static const QRegularExpression entryPattern("^(.+)\\((.+)\\)$");
    for (int i = 0; i < list.size(); ++i) {
        printf("***************************************list name = %s\n", list[i].toUtf8().constData());
        const QRegularExpressionMatch match = entryPattern.match(list[i]);
        if (!match.hasMatch())
            continue;
        m_devList[static_cast<size_t>(i)].devName = match.captured(1).trimmed();
        m_devList[static_cast<size_t>(i)].pidvid = match.captured(2);
        printf("Device Name:%s\n", m_devList[static_cast<size_t>(i)].devName.toUtf8().constData());
        printf("Device ID:%s\n", m_devList[static_cast<size_t>(i)].pidvid.toUtf8().constData());
    }
    if (m_presenter == nullptr)
        return;
    for (int i = 0; i < list.size(); ++i)
        m_presenter->getMediaNameList(i);
}

void VideoWidget::initMediaTypeList(int devIndex, QStringList& list) {
    if (list.isEmpty()) {
        printf("设备不支持任何媒体格式\n");
        return;
    }
    if (devIndex < 0 || devIndex >= static_cast<int>(m_devList.size())) {
        printf("错误：无效设备索引 %d\n", devIndex);
        return;
    }
    std::vector<mediaMessage>& media = m_devList[static_cast<size_t>(devIndex)].vecMediaType;
    media.clear();
    for (const QString& name : list) {
        mediaMessage entry;
        entry.mediaName = name;
        media.push_back(entry);
    }
    if (m_presenter == nullptr)
        return;
    for (int j = 0; j < list.size(); ++j)
        m_presenter->getResolution(j);
}

void VideoWidget::initReslutionList(int devIndex, int mediaIndex, int mediaType, QStringList& list) {
    printf("*********************devIndex=%d,mediaIndex=%d,list.size = %d\n", devIndex, mediaIndex,
           list.size());
    if (devIndex < 0 || devIndex >= static_cast<int>(m_devList.size())) {
        printf("错误：无效设备索引 %d\n", devIndex);
        return;
    }
    devMessage& device = m_devList[static_cast<size_t>(devIndex)];
    if (mediaIndex < 0 || mediaIndex >= static_cast<int>(device.vecMediaType.size())) {
        printf("错误：设备 %d 的无效媒体索引 %d\n", devIndex, mediaIndex);
        return;
    }
    mediaMessage& media = device.vecMediaType[static_cast<size_t>(mediaIndex)];
    media.resolutions = list;
    media.mediaType = mediaType;
    printf("✅ 设备 [%s] 的媒体 [%s] 支持分辨率： 媒体类型：[%d]\n", device.devName.toUtf8().constData(),
           media.mediaName.toUtf8().constData(), mediaType);
    for (const QString& resolution : list)
        printf("   %s\n", resolution.toUtf8().constData());
}

void VideoWidget::initFPSList(QStringList& list) {
    Q_UNUSED(list);
}
void VideoWidget::initAutoCrop(QStringList& list) {
    Q_UNUSED(list);
}
void VideoWidget::initRotate(QStringList& list) {
    Q_UNUSED(list);
}

void VideoWidget::initDev() {
    printf("***************init start\n");
    if (m_presenter != nullptr && m_presenter->getCameraList() != 0) {
        showNoDevicePrompt(true);
        return;
    }
    printf("1111111111111111111111111111111111 m_devList.size:%d\n", static_cast<int>(m_devList.size()));
    showNoDevicePrompt(false);
    m_leftToolWidget->sendDevMessages(m_devList);
    printf("2222222222222222222222222222222222\n");

    ReadXML* settings = ReadXML::instance();
    const bool firstStart = settings->devName.empty();
    int devIndex = 0;
    int mediaType = 0;
    if (firstStart) {
        printf("3333333333333333333333333333333333\n");
        const devMessage& first = m_devList.front();
        if (!first.vecMediaType.empty())
            mediaType = first.vecMediaType.front().mediaType;
    } else {
        printf("4444444444444444444444444444444444\n");
        const QString storedId = QString::fromStdString(settings->devPIDVID);
        int match = -1;
        for (size_t i = 0; i < m_devList.size(); ++i)
            if (m_devList[i].pidvid == storedId)
                match = static_cast<int>(i);
        if (match < 0)
            settings->videoFormat = 2;
        devIndex = match < 0 ? 0 : match;
        mediaType = settings->videoFormat;
    }

    CameraChoice choice;
    if (!CameraChoice::choose(
            m_devList, devIndex, mediaType,
            firstStart ? std::nullopt : std::optional<QString>(QString::fromStdString(settings->resolution)),
            &choice)) {
        printf("设备不支持任何媒体格式\n");
        showNoDevicePrompt(true);
        return;
    }
    m_currentDevIndex = choice.devIndex;

    printf("5555555555555555555555555555555555\n");
    rememberCamera(choice);

    printf("*********************************open start\n");
    if (m_videoPixmap.isNull() && m_presenter != nullptr) {
        m_presenter->openDev(m_currentDevIndex, choice.mediaType, 0, choice.width, choice.height);
        m_presenter->setPreviewSizeHint(m_currentDevIndex, qRound(this->width() * devicePixelRatioF()),
                                        qRound(this->height() * devicePixelRatioF()));
        m_pictureTools->cameraOpened(m_currentDevIndex);
        m_pageScan->apply(m_currentDevIndex);
    }
}

// Runs on the camera library's hot-plug thread, or on the GUI thread when called from there. All the
// work belongs on the GUI thread: it is queued there, in arrival order.
void VideoWidget::getDevChangeType(long changeType, long dev_id) {
    if (QThread::currentThread() == thread()) {
        handleDevChange(changeType, dev_id);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, changeType, dev_id] { handleDevChange(changeType, dev_id); }, Qt::QueuedConnection);
}

void VideoWidget::handleDevChange(long changeType, long dev_id) {
    emit signalHideUI();
    printf("************************VideoWidget::getDevChangeType changeType=%d,dev_id=%d\n",
           static_cast<int>(changeType), static_cast<int>(dev_id));
    if (changeType == kDeviceAdded) {
        initDev();
        printf("*********************getDevChangeType count=%d\n", static_cast<int>(m_devList.size()));
    } else if (changeType == kDeviceRemoved) {
        const bool shownCamera = dev_id == m_currentDevIndex;
        m_inset->cameraRemoved(static_cast<int>(dev_id), shownCamera);
        if (shownCamera)
            m_recording->stop(
                tr("The recording stopped: the camera was unplugged. What was recorded is saved."));
        printf("**************************count = %d,dev_id=%d\n", static_cast<int>(m_devList.size()),
               static_cast<int>(dev_id));
        if (!shownCamera && m_devList.size() > 1) {
            // The view's camera goes on: only the list is read again.
            initDev();
        } else if (m_devList.size() == 1) {
            resetPicture();
            printf("***************m_videoPixmap is null\n");
            showNoDevicePrompt(true);
        } else {
            printf("******************************* =============\n");
            if (m_presenter != nullptr)
                m_presenter->closeDev(dev_id);
            QThread::msleep(2000);
            resetPicture();
            printf("*************** 111111111111111111\n");
            initDev();
            printf("******************************* !=============\n");
        }
        update();
    }
    m_inset->refresh();
}

void VideoWidget::rememberCamera(const CameraChoice& choice) {
    ReadXML* settings = ReadXML::instance();
    const devMessage& chosen = m_devList[static_cast<size_t>(choice.devIndex)];
    settings->devName = chosen.devName.toStdString();
    settings->devPIDVID = chosen.pidvid.toStdString();
    settings->videoFormat = choice.mediaType;
    settings->resolution = choice.resolution.toStdString();
    settings->writeData(configPath.toUtf8().constData());
}

void VideoWidget::showAsMainCamera(int devIndex) {
    CameraChoice choice;
    if (devIndex >= static_cast<int>(m_devList.size()) ||
        !CameraChoice::choose(m_devList, devIndex, ReadXML::instance()->videoFormat, std::nullopt, &choice))
        return;
    rememberCamera(choice);
    changeCamera(choice.devIndex, choice.mediaType, 0, choice.width, choice.height);
}

void VideoWidget::changeCamera(int devIndex, int mediaType, int fps, int width, int height) {
    printf("******************devIndex=%d,mediaType=%d,width=%d,height=%d\n", devIndex, mediaType, width,
           height);
    disconnect(this, &VideoWidget::imageReady, this, &VideoWidget::onImageReady);
    if (m_presenter == nullptr)
        return;
    if (m_recording->recordsCameraStream())
        m_recording->stop({});  // the camera's own stream ends with the camera
    m_presenter->closeDev(m_currentDevIndex);
    m_inset->mainCameraChanging(devIndex);
    QThread::msleep(1000);
    resetPicture();
    update();
    connect(this, &VideoWidget::imageReady, this, &VideoWidget::onImageReady);
    m_presenter->openDev(devIndex, mediaType, fps, width, height);
    m_currentDevIndex = devIndex;
    m_presenter->setPreviewSizeHint(m_currentDevIndex, qRound(this->width() * devicePixelRatioF()),
                                    qRound(this->height() * devicePixelRatioF()));
    m_pictureTools->cameraOpened(m_currentDevIndex);
    m_pageScan->apply(m_currentDevIndex);
    m_inset->refresh();
}

// Drops the picture and its annotations, and a frame that was waiting for them; the next camera
// starts with its whole picture.
void VideoWidget::resetPicture() {
    resetZoom();
    m_videoPixmap = QPixmap();
    m_drawingPixmap = QPixmap();
    m_canvas->resetLayer();
    m_livePicture.clear();
}
