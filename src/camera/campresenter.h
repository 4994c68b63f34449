// SPDX-License-Identifier: GPL-3.0-or-later
// The camera presenter: drives the model for the view, lists cameras to it and hands it frames.
#pragma once

#include <QString>
#include <atomic>
#include <vector>

#include "camerarecords.h"
#include "imodel.h"
#include "ipresenter.h"
#include "iview.h"

class CamPresenter : public IPresenter {
public:
    explicit CamPresenter(IView* view);
    ~CamPresenter() override;
    CamPresenter(const CamPresenter&) = delete;
    CamPresenter& operator=(const CamPresenter&) = delete;

    long init() override;
    long uninit() override;
    long stopCameraLib() override;
    long getCameraList() override;
    long getMediaNameList(long devIndex) override;
    long getResolution(long subTypeIndex) override;
    long getFPS(long index) override;
    long setFPS(long index) override;
    long getAutoCropList() override;
    long getRotateList() override;
    QString getDevsn(long index) override;
    long getDevPID(long devIndex, QString& strpid) override;
    long getDevVID(long devIndex, QString& strvid) override;
    long openDev(int devIndex, int mediaType, int fps, int width, int height) override;
    long closeDev(long devIndex) override;
    long pause(long lstyle) override;
    long zoomIn() override;
    long zoomOut() override;
    long originalPreview() override;
    long startUVCRecord(long devIndex, char* path) override;
    long startUVCRecord(long devIndex, bool withSound, char* path) override;
    long stopUVCRecord(long devIndex) override;
    long setLight(long devIndex, long lightIndex, long lightModel) override;
    long setAutoCropType(long devIndex, int type) override;
    long setRotateMode(long devIndex, int rotate) override;
    long captureImage(char* file) override;
    long getSupportLight(long devIndex, long& IsSupportLight) override;
    long setImageJPGQuanlity(long quanlity) override;
    long getImageJPGQuanlity(long& quanlity) override;
    long getImageDPI(long& xDPI, long& yDPI) override;
    long setImageDPI(long xDPI, long yDPI) override;
    long setColorStyle(long type) override;
    long setImageAdjust(long type) override;
    long setImageOffsetCorrection(long type) override;
    long setImageFillBorder(long type) override;
    long setImageDenoise(bool IsAvailabel) override;
    long setImageFileSign(bool IsAvailabel) override;
    long setImageWaterMark(char* msg, long type, long font_size, char* color) override;
    long startAutoCapture(QString fileType, QString filePath) override;
    long pauseAutoCapture(long pause) override;
    long stopAutoCapture() override;
    long captureBookEx(char* filepath1, char* filepath2, int& pageMask) override;
    long getIsSupportBook(long devIndex, long& isBook) override;
    long setPreviewSizeHint(long devIndex, long width, long height) override;
    long setLook(long devIndex, long look) override;
    long getControls(long devIndex, std::vector<CameraControl>& controls) override;
    long setControl(long devIndex, unsigned id, long value) override;
    long getAutoFocusSupport(long devIndex, long& supported) override;
    long autoFocusOnce(long devIndex) override;
    long setPreviewPart(long devIndex, long x, long y, long width, long height) override;
    long getPageOutline(QPolygonF& outline) override;
    long startAutoCaptureForView(long holdMs) override;
    long getAutoCaptureState(long& state) override;
    // Called by the library's callbacks, on the library's threads.
    void updateCaptureTime(long devIndex, long long captureTimeUs);
    void updatePreview(long devIndex, QImage* image, long width, long height);
    void updatePreviewPart(long devIndex, QImage* image, const QRectF& part);
    void updateChange(long changeType, long dev_id);
    void updateAutoCapture();
    // The file an automatic capture writes now: folder/yyyyMMdd_hhmmss.extension.
    QString autoCapturePath() const;

private:
    void clearResolutionList();
    // Vendor, product and serial of a listed camera: what finds the open camera again after a rescan.
    QString identity(long devIndex);

    QString m_fileType;  // file extension of automatic captures
    QString m_filePath;  // folder of automatic captures
    IModel* m_model;
    IView* m_view;
    // The camera the enumeration is listing; the view's calls walk it over every camera.
    int selectCamera = 0;
    // The camera opened last, which captures, pause, JPEG quality and DPI act on, whatever the
    // enumeration lists meanwhile; -1 before any. Written on the GUI thread; still captures read it on
    // the view's capture writer thread.
    std::atomic<int> openCamera{-1};
    QString openCameraIdentity;  // of openCamera
    int selectMedia = 0;
    std::vector<CResolution*> resolutionList;  // of the media type listed last, owned
    int selectResolution = 0;
    int selectFPS = 0;
};

// The one presenter, for the library's callbacks, which carry no object. Set by init, cleared by
// uninit on the GUI thread and read on the library's threads, hence atomic.
extern std::atomic<CamPresenter*> g_CamPresenter;

bool callBackPreviewData(unsigned char* src, long width, long height, long size, void* param);
void callBackDevChangeFun(UsbDeviceChangeType devChangeType, long dev_id);
bool autoCaptureFun(long state);
bool autoCaptureToViewFun(long state);
