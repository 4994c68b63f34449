// SPDX-License-Identifier: GPL-3.0-or-later
// The camera presenter: drives the model for the view, lists cameras to it and hands it frames.
#include "campresenter.h"

#include <QDateTime>
#include <QImage>
#include <QRectF>
#include <QStringList>
#include <QtConcurrent/QtConcurrentRun>
#include <cstdio>
#include <cstdlib>

#include "cammodel.h"

std::atomic<CamPresenter*> g_CamPresenter{nullptr};

namespace {

constexpr long kMillion = 1000000;  // the library's unit of picture parts

}  // namespace

CamPresenter::CamPresenter(IView* view) : m_model(new CamModel), m_view(view) {}

CamPresenter::~CamPresenter() {
    clearResolutionList();
    delete m_model;
}

void CamPresenter::clearResolutionList() {
    for (CResolution* resolution : resolutionList)
        delete resolution;
    resolutionList.clear();
}

long CamPresenter::init() {
    g_CamPresenter = this;
    const long result = m_model->init();
    m_model->setCallBackDeviceChange(selectCamera, callBackDevChangeFun);
    return result;
}

long CamPresenter::uninit() {
    g_CamPresenter = nullptr;
    return m_model->uninit();
}

long CamPresenter::stopCameraLib() {
    return m_model->stopCameraLib();
}

long CamPresenter::getCameraList() {
    long count = 0;
    m_model->getCameraCount(count);
    if (count == 0) {
        printf("******************未找到设备\n");
        return -1;
    }
    // A rescan may move the open camera to another index (a camera plugged in at a lower node):
    // found again by its identity, the nearest match to its old index first.
    const int open = openCamera;
    if (open >= 0) {
        int found = -1;
        for (long i = 0; i < count; ++i)
            if (identity(i) == openCameraIdentity &&
                (found < 0 || std::abs(i - open) < std::abs(found - open)))
                found = static_cast<int>(i);
        openCamera = found;
    }
    QStringList list;
    for (long i = 0; i < count; ++i)
        list << m_model->getCameraName(i);
    m_view->initCameraList(list);
    return 0;
}

QString CamPresenter::identity(long devIndex) {
    return cameraIdentity(*m_model, devIndex);
}

long CamPresenter::getMediaNameList(long devIndex) {
    selectCamera = static_cast<int>(devIndex);
    long count = 0;
    m_model->getMediaCount(devIndex, count);
    QStringList list;
    for (long i = 0; i < count; ++i)
        list << m_model->getMediaName(devIndex, i);
    m_view->initMediaTypeList(static_cast<int>(devIndex), list);
    return 0;
}

long CamPresenter::getResolution(long subTypeIndex) {
    long type = 0;
    const long result = m_model->getMediaType(selectCamera, subTypeIndex, type);
    if (result != 0) {
        printf("CamPresenter::getResolution  getMediaType error \n");
        return result;
    }
    selectMedia = static_cast<int>(type);
    printf("******************************************************selectMedia =%d\n", selectMedia);
    long count = 0;
    m_model->getResolutionCount(selectCamera, selectMedia, count);
    printf("***************CamPresenter::getResolution count=%ld\n", count);
    clearResolutionList();
    QStringList list;
    for (long k = 0; k < count; ++k) {
        long width = 0;
        long height = 0;
        m_model->getResolution(selectCamera, selectMedia, k, width, height);
        list << QString("%1 x %2").arg(width).arg(height);
        resolutionList.push_back(new CResolution(width, height));
    }
    m_view->initReslutionList(selectCamera, static_cast<int>(subTypeIndex), selectMedia, list);
    printf("*******************************8end\n");
    return 0;
}

long CamPresenter::getFPS(long index) {
    selectResolution = static_cast<int>(index);
    if (index < 0 || index >= static_cast<long>(resolutionList.size()))
        return -1;
    const CResolution* resolution = resolutionList[static_cast<size_t>(index)];
    long count = 0;
    m_model->getFPSCount(selectCamera, selectMedia, resolution->width, resolution->height, count);
    printf("***********CamPresenter::getFPS count=%ld\n", count);
    QStringList list;
    for (long i = 0; i < count; ++i) {
        long fps = 0;
        m_model->getFPS(selectCamera, selectMedia, resolution->width, resolution->height, i, fps);
        list << QString::number(fps);
    }
    m_view->initFPSList(list);
    return 0;
}

long CamPresenter::setFPS(long index) {
    selectFPS = static_cast<int>(index);
    return 0;
}

long CamPresenter::getAutoCropList() {
    QStringList list{"不裁剪", "单图裁剪", "多图裁剪", "拍书模式"};
    m_view->initAutoCrop(list);
    return 0;
}

long CamPresenter::getRotateList() {
    QStringList list{"0", "90", "180", "270"};
    m_view->initRotate(list);
    return 0;
}

QString CamPresenter::getDevsn(long index) {
    return m_model->getDevSN(index);
}
long CamPresenter::getDevPID(long devIndex, QString& strpid) {
    return m_model->getDevPID(devIndex, strpid);
}
long CamPresenter::getDevVID(long devIndex, QString& strvid) {
    return m_model->getDevVID(devIndex, strvid);
}

long CamPresenter::openDev(int devIndex, int mediaType, int fps, int width, int height) {
    // The view shows one camera: the one open before (found again by the last rescan) stops first,
    // or its frames would go on reaching the view beside the new camera's.
    const int previous = openCamera;
    if (previous >= 0 && previous != devIndex)
        closeDev(previous);
    selectCamera = devIndex;
    selectMedia = mediaType;
    selectFPS = fps;
    openCamera = devIndex;
    openCameraIdentity = identity(devIndex);
    const long result = m_model->regPreviewCallback(devIndex, callBackPreviewData);
    if (result != 0)
        return result;
    printf("*************************selectMedia=%d\n", selectMedia);
    return m_model->openDev(devIndex, selectMedia, width, height, selectFPS);
}

long CamPresenter::closeDev(long devIndex) {
    long subtype = 0, width = 0, height = 0, fps = 0;
    const long result = m_model->getCurPreviewResolution(devIndex, subtype, width, height, fps);
    printf("CurPreviewResolution ret%ld subtype:%ld  width:%ld  height:%ld  fps:%ld  \n", result, subtype,
           width, height, fps);
    if (devIndex == openCamera)
        openCamera = -1;
    return m_model->closeDev(devIndex);
}

long CamPresenter::pause(long lstyle) {
    return m_model->pause(openCamera, lstyle);
}
long CamPresenter::zoomIn() {
    return m_model->zoomIn(openCamera);
}
long CamPresenter::zoomOut() {
    return m_model->zoomOut(openCamera);
}
long CamPresenter::originalPreview() {
    return m_model->originalPreview(openCamera);
}
long CamPresenter::startUVCRecord(long devIndex, char* path) {
    return m_model->startUVCRecord(devIndex, -1, 0, path);
}
long CamPresenter::startUVCRecord(long devIndex, bool withSound, char* path) {
    return m_model->startUVCRecord(devIndex, withSound ? 0 : -1, 0, path);
}
long CamPresenter::stopUVCRecord(long devIndex) {
    return m_model->stopUVCRecord(devIndex);
}
long CamPresenter::setLight(long devIndex, long lightIndex, long lightModel) {
    return m_model->setLight(devIndex, lightIndex, lightModel);
}
long CamPresenter::setAutoCropType(long devIndex, int type) {
    return m_model->setAutoCropType(devIndex, type);
}
long CamPresenter::setRotateMode(long devIndex, int rotate) {
    return m_model->setRotateMode(devIndex, rotate);
}
long CamPresenter::captureImage(char* file) {
    return m_model->captureImage(openCamera, file);
}
long CamPresenter::getSupportLight(long devIndex, long& IsSupportLight) {
    return m_model->getSupportLight(devIndex, IsSupportLight);
}
long CamPresenter::setImageJPGQuanlity(long quanlity) {
    return m_model->setImageJPGQuanlity(openCamera, quanlity);
}
long CamPresenter::getImageJPGQuanlity(long& quanlity) {
    return m_model->getImageJPGQuanlity(openCamera, quanlity);
}
long CamPresenter::getImageDPI(long& xDPI, long& yDPI) {
    return m_model->getImageDPI(openCamera, xDPI, yDPI);
}
long CamPresenter::setImageDPI(long xDPI, long yDPI) {
    return m_model->setImageDPI(openCamera, xDPI, yDPI);
}
long CamPresenter::setColorStyle(long type) {
    return m_model->setColorStyle(openCamera, type);
}
long CamPresenter::setImageAdjust(long type) {
    return m_model->setImageAdjust(openCamera, type);
}
long CamPresenter::setImageOffsetCorrection(long type) {
    return m_model->setImageOffsetCorrection(openCamera, type);
}
long CamPresenter::setImageFillBorder(long type) {
    return m_model->setImageFillBorder(openCamera, type);
}
long CamPresenter::setImageDenoise(bool IsAvailabel) {
    return m_model->setImageDenoise(openCamera, IsAvailabel);
}
long CamPresenter::setImageFileSign(bool IsAvailabel) {
    return m_model->setImageFileSign(openCamera, IsAvailabel);
}
long CamPresenter::setImageWaterMark(char* msg, long type, long font_size, char* color) {
    return m_model->setImageWaterMark(openCamera, msg, type, font_size, color);
}

long CamPresenter::startAutoCapture(QString fileType, QString filePath) {
    m_fileType = fileType;
    m_filePath = filePath;
    return m_model->startAutoCapture(openCamera, 1, 1, autoCaptureFun, true);
}

long CamPresenter::pauseAutoCapture(long pause) {
    return m_model->pauseAutoCapture(openCamera, pause);
}
long CamPresenter::stopAutoCapture() {
    return m_model->stopAutoCapture(openCamera);
}
long CamPresenter::captureBookEx(char* filepath1, char* filepath2, int& pageMask) {
    return m_model->captureBookEx(openCamera, filepath1, filepath2, pageMask);
}
long CamPresenter::getIsSupportBook(long devIndex, long& isBook) {
    return m_model->getIsSupportBook(devIndex, isBook);
}
long CamPresenter::setPreviewSizeHint(long devIndex, long width, long height) {
    return m_model->setPreviewSizeHint(devIndex, width, height);
}
long CamPresenter::setLook(long devIndex, long look) {
    return m_model->setColorStyle(devIndex, look);
}
long CamPresenter::getControls(long devIndex, std::vector<CameraControl>& controls) {
    return m_model->getControls(devIndex, controls);
}
long CamPresenter::setControl(long devIndex, unsigned id, long value) {
    return m_model->setControl(devIndex, id, value);
}
long CamPresenter::getAutoFocusSupport(long devIndex, long& supported) {
    return m_model->getAutoFocusSupport(devIndex, supported);
}
long CamPresenter::autoFocusOnce(long devIndex) {
    return m_model->autoFocusOnce(devIndex);
}
long CamPresenter::getPageOutline(QPolygonF& outline) {
    outline.clear();
    long corners[8] = {}, found = 0, subtype = 0, width = 0, height = 0, fps = 0;
    if (long result = m_model->getCurPreviewResolution(selectCamera, subtype, width, height, fps))
        return result;
    if (long result = m_model->getPageCorners(selectCamera, corners, found))
        return result;
    for (int i = 0; i < 4 && found && width > 0 && height > 0; ++i)
        outline << QPointF(double(corners[2 * i]) / width, double(corners[2 * i + 1]) / height);
    return 0;
}
long CamPresenter::startAutoCaptureForView(long holdMs) {
    return m_model->startAutoCapture(selectCamera, 2, holdMs, autoCaptureToViewFun, true);
}
long CamPresenter::getAutoCaptureState(long& state) {
    return m_model->getAutoCaptureState(selectCamera, state);
}

long CamPresenter::setPreviewPart(long devIndex, long x, long y, long width, long height) {
    return m_model->setPreviewPart(devIndex, x, y, width, height);
}

void CamPresenter::updatePreview(long devIndex, QImage* image, long width, long height) {
    m_view->drawQImage(devIndex, image, width, height);
}

void CamPresenter::updateCaptureTime(long devIndex, long long captureTimeUs) {
    m_view->frameCaptured(devIndex, captureTimeUs);
}

void CamPresenter::updatePreviewPart(long devIndex, QImage* image, const QRectF& part) {
    m_view->drawQImagePart(devIndex, image, part);
}

void CamPresenter::updateChange(long changeType, long dev_id) {
    m_view->getDevChangeType(changeType, dev_id);
}

void CamPresenter::updateAutoCapture() {
    m_view->autoCaptureTriggered();
}

QString CamPresenter::autoCapturePath() const {
    const QString stamp = QDateTime::currentDateTime().toString("yyyyMMdd_hhmmss");
    return QString("%1/%2.%3").arg(m_filePath, stamp, m_fileType);
}

// Runs on the library's capture thread. The frame is handed on without a copy: the library keeps
// the bytes valid for the whole call, and the view takes what it keeps before it returns.
bool callBackPreviewData(unsigned char* src, long width, long height, long size, void* param) {
    CamPresenter* presenter = g_CamPresenter.load();
    if (presenter == nullptr)
        return true;
    const auto* preview = static_cast<const PreviewParam*>(param);
    const long devIndex = preview ? preview->devIndex : 0;
    // A frame shorter than its size claims would show memory that is not picture: drop it.
    const bool complete = src != nullptr && width > 0 && height > 0 && size >= 3 * width * height;
    QImage image = complete
                       ? QImage(const_cast<const uchar*>(src), static_cast<int>(width),
                                static_cast<int>(height), static_cast<int>(3 * width), QImage::Format_RGB888)
                       : QImage();
    if (preview != nullptr)
        presenter->updateCaptureTime(devIndex, preview->captureTimeUs);
    const bool whole = preview == nullptr || preview->partWidth <= 0 || preview->partHeight <= 0 ||
                       (preview->partX == 0 && preview->partY == 0 && preview->partWidth >= kMillion &&
                        preview->partHeight >= kMillion);
    if (whole || !complete) {
        presenter->updatePreview(devIndex, &image, width, height);
    } else {
        const QRectF part(double(preview->partX) / kMillion, double(preview->partY) / kMillion,
                          double(preview->partWidth) / kMillion, double(preview->partHeight) / kMillion);
        presenter->updatePreviewPart(devIndex, &image, part);
    }
    return true;
}

// Runs on the library's hot-plug thread.
void callBackDevChangeFun(UsbDeviceChangeType devChangeType, long dev_id) {
    printf("&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&& callBackDevChangeFun devChangeType=%d,dev_id=%d\n",
           static_cast<int>(devChangeType), static_cast<int>(dev_id));
    if (CamPresenter* presenter = g_CamPresenter.load())
        presenter->updateChange(devChangeType, dev_id);
}

// Runs on a library thread: the view captures as its Capture button does, on its own thread.
bool autoCaptureToViewFun(long state) {
    if (CamPresenter* presenter = g_CamPresenter.load(); presenter != nullptr && state != 0)
        presenter->updateAutoCapture();
    return true;
}

// Runs on a library thread; the capture itself runs on the global thread pool.
bool autoCaptureFun(long state) {
    printf("******************** autoCaptureFun  state %ld  \n", state);
    if (state != 0) {
        QtConcurrent::run([] {
            CamPresenter* presenter = g_CamPresenter.load();
            if (presenter == nullptr)
                return;
            QByteArray path = presenter->autoCapturePath().toUtf8();
            presenter->captureImage(path.data());
        });
    }
    return true;
}
