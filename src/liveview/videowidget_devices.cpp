// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's camera tree, the choice of camera at start, hot-plug handling and switching.
#include <QMetaObject>
#include <QRegularExpression>
#include <QThread>
#include <cstdio>

#include "camera/campresenter.h"
#include "pagescan.h"
#include "settings/readxml.h"
#include "toolbars/toolwidget_left.h"
#include "videowidget.h"

namespace {

constexpr long kDeviceAdded = USB_DEVICE_CHANGE_ADD;
constexpr long kDeviceRemoved = USB_DEVICE_CHANGE_REMOVE;

// Width and height of "W x H"; false when the text has no two parts.
bool splitResolution(const QString& text, int& width, int& height) {
    const QStringList parts = text.split(" x ", Qt::SkipEmptyParts, Qt::CaseSensitive);
    if (parts.size() < 2)
        return false;
    width = parts[0].toInt();
    height = parts[1].toInt();
    return true;
}

// The index of the camera's media type with that code, when it lists a resolution; else -1.
int mediaWithCode(const devMessage& device, int code) {
    for (size_t j = 0; j < device.vecMediaType.size(); ++j)
        if (device.vecMediaType[j].mediaType == code && !device.vecMediaType[j].resolutions.isEmpty())
            return static_cast<int>(j);
    return -1;
}

// The resolution with the most pixels; the first of equals. The list is not empty.
QString largestResolution(const QStringList& resolutions) {
    QString largest = resolutions.front();
    long largestPixels = -1;
    for (const QString& resolution : resolutions) {
        int width = 0;
        int height = 0;
        if (!splitResolution(resolution, width, height))
            continue;
        const long pixels = long(width) * height;
        if (pixels > largestPixels) {
            largestPixels = pixels;
            largest = resolution;
        }
    }
    return largest;
}

// The first media type of the camera that lists a resolution, or -1.
int firstUsableMedia(const devMessage& device) {
    for (size_t j = 0; j < device.vecMediaType.size(); ++j)
        if (!device.vecMediaType[j].resolutions.isEmpty())
            return static_cast<int>(j);
    return -1;
}

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

    // The media type with the chosen code; a camera that does not offer it (or lists no resolution
    // for it) opens in its first usable media type, and a camera with none (a second node of a camera
    // may offer only formats that cannot be shown) gives way to the next camera that has one. With
    // none at all the prompt shows and the settings stay as they were.
    int media = mediaWithCode(m_devList[static_cast<size_t>(devIndex)], mediaType);
    if (media < 0)
        media = firstUsableMedia(m_devList[static_cast<size_t>(devIndex)]);
    const int count = static_cast<int>(m_devList.size());
    for (int k = 1; k < count && media < 0; ++k) {
        const int next = (devIndex + k) % count;
        media = firstUsableMedia(m_devList[static_cast<size_t>(next)]);
        if (media >= 0)
            devIndex = next;
    }
    if (media < 0) {
        printf("设备不支持任何媒体格式\n");
        showNoDevicePrompt(true);
        return;
    }
    const mediaMessage& chosenMedia =
        m_devList[static_cast<size_t>(devIndex)].vecMediaType[static_cast<size_t>(media)];
    mediaType = chosenMedia.mediaType;
    // The stored resolution may have been another camera's: only one this media type offers is opened
    // and stored, else its largest.
    QString resolution =
        firstStart ? chosenMedia.resolutions.front() : QString::fromStdString(settings->resolution);
    if (!chosenMedia.resolutions.contains(resolution))
        resolution = largestResolution(chosenMedia.resolutions);
    int width = 0;
    int height = 0;
    splitResolution(resolution, width, height);
    m_currentDevIndex = devIndex;

    printf("5555555555555555555555555555555555\n");
    const devMessage& chosen = m_devList[static_cast<size_t>(m_currentDevIndex)];
    settings->devName = chosen.devName.toStdString();
    settings->devPIDVID = chosen.pidvid.toStdString();
    settings->videoFormat = mediaType;
    settings->resolution = resolution.toStdString();
    settings->writeData(configPath.toUtf8().constData());

    printf("*********************************open start\n");
    if (m_videoPixmap.isNull() && m_presenter != nullptr) {
        m_presenter->openDev(m_currentDevIndex, mediaType, 0, width, height);
        m_presenter->setPreviewSizeHint(m_currentDevIndex, qRound(this->width() * devicePixelRatioF()),
                                        qRound(this->height() * devicePixelRatioF()));
        applyCameraMemory();
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
        if (dev_id == m_currentDevIndex)
            stopRecording(tr("The recording stopped: the camera was unplugged. What was recorded is saved."));
        printf("**************************count = %d,dev_id=%d\n", static_cast<int>(m_devList.size()),
               static_cast<int>(dev_id));
        if (m_devList.size() == 1) {
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
}

void VideoWidget::changeCamera(int devIndex, int mediaType, int fps, int width, int height) {
    printf("******************devIndex=%d,mediaType=%d,width=%d,height=%d\n", devIndex, mediaType, width,
           height);
    disconnect(this, &VideoWidget::imageReady, this, &VideoWidget::onImageReady);
    if (m_presenter == nullptr)
        return;
    if (m_cameraRecordingDev >= 0)
        stopRecording({});  // the camera's own stream ends with the camera
    m_presenter->closeDev(m_currentDevIndex);
    QThread::msleep(1000);
    resetPicture();
    update();
    connect(this, &VideoWidget::imageReady, this, &VideoWidget::onImageReady);
    m_presenter->openDev(devIndex, mediaType, fps, width, height);
    m_currentDevIndex = devIndex;
    m_presenter->setPreviewSizeHint(m_currentDevIndex, qRound(this->width() * devicePixelRatioF()),
                                    qRound(this->height() * devicePixelRatioF()));
    applyCameraMemory();
    m_pageScan->apply(m_currentDevIndex);
}

// Drops the picture and its annotations, and a frame that was waiting for them; the next camera
// starts with its whole picture.
void VideoWidget::resetPicture() {
    resetZoom();
    m_videoPixmap = QPixmap();
    m_drawingPixmap = QPixmap();
    resetLayer();
    m_frameHandOver.clear();
}
