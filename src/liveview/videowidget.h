// The one full-screen window: live camera picture, its children, and the camera's view interface.
#pragma once

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPointF>
#include <QSet>
#include <QTranslator>
#include <QWidget>
#include <atomic>
#include <vector>

#include "camera/camerarecords.h"
#include "camera/ipresenter.h"
#include "camera/iview.h"
#include "framehandover.h"

class CaptureWriter;
class FileListWidget;
class QHBoxLayout;
class QVBoxLayout;
class ToolWidget_Left;
class ToolWidget_Right;
class ToolsWidget;

class VideoWidget : public QWidget, public IView {
    Q_OBJECT

public:
    explicit VideoWidget(QWidget* parent = nullptr);
    ~VideoWidget() override;

    // IView; the enumeration callbacks run inside the presenter's calls on the GUI thread.
    void initCameraList(QStringList& list) override;
    void initMediaTypeList(int devIndex, QStringList& list) override;
    void initReslutionList(int devIndex, int mediaIndex, int mediaType, QStringList& list) override;
    void initFPSList(QStringList& list) override;
    void initAutoCrop(QStringList& list) override;
    void initRotate(QStringList& list) override;
    void getDevChangeType(long changeType, long dev_id) override;  // any thread
    void drawQImage(long devIndex, QImage* image, long width, long height) override;  // capture thread

    void showNoDevicePrompt(bool show);
    void retranslateUi();
    // The highest number already used with prefix among the folder's JPEG files: -1 when the folder
    // does not exist, 0 when it holds no JPEG file, 1 when none of them has the prefix.
    int getMaxFileNumber(const QString& prefix, const QString& folderPath);

signals:
    void imageReady(const QImage& image);
    void signalHideUI();

public slots:
    void captureImage();
    void changeCamera(int devIndex, int mediaType, int fps, int width, int height);
    // The side bars exchange places; the argument is not used.
    void onExChangeRight(bool bIsExChangeRight);
    void onExChangeLeft(bool bIsExChangeLeft);
    // The file panel: placed above the right end of the tool bar row (the left end when the side
    // bars are exchanged) and shown; hidden.
    void onShowListWidget();
    void onHideListWidget();

private slots:
    void onImageReady(const QImage& image);
    void onCaptureWritten(const QString& path, bool loaded);
    // Saves the code, swaps the installed translation and re-translates the tool bars.
    void switchLanguage(const QString& type);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TestLiveView;
    friend class TestSideBars;
    friend class TestLanguage;
    friend class TestCapture;
    friend class CaptureRun;

    void settleSaveFolder();
    void loadTranslationAtStart();
    void initConnect();
    void initDev();
    void handleDevChange(long changeType, long dev_id);
    void resetPicture();
    // Rebuilds the row of tool bars with first and last at its two ends and the bottom bar between.
    void arrangeBottomRow(QWidget* first, Qt::Alignment firstAlignment, QWidget* last,
                          Qt::Alignment lastAlignment);
    void initCapture();

    QString configPath;
    std::vector<devMessage> m_devList;
    QPixmap m_videoPixmap;    // the last frame, scaled to the view's size
    QPixmap m_drawingPixmap;  // the annotation layer, the size of m_videoPixmap
    QPoint m_imageOffset;     // pan offset of the picture
    double m_currentScale = 1.0;
    IPresenter* m_presenter = nullptr;
    ToolsWidget* m_centerToolWidget = nullptr;  // the bottom tool bar
    QTranslator m_translator;
    // Written on the GUI thread, read on the capture thread.
    std::atomic<bool> stateFreeze{false};
    ToolWidget_Left* m_leftToolWidget = nullptr;
    ToolWidget_Right* m_rightToolWidget = nullptr;
    int m_currentDevIndex = 0;
    QHBoxLayout* bottomLayout = nullptr;  // the row of the three tool bars
    QVBoxLayout* mainLayout = nullptr;
    bool m_toolWidgetsSwapped = false;  // the left and right bars have exchanged places
    QLabel* m_noDeviceIconLabel = nullptr;
    QLabel* m_noDeviceTextLabel = nullptr;
    QString currentLang;
    // Carries frames from the capture thread to the GUI thread, prepared at the view's size.
    FrameHandOver m_frameHandOver;
    int nCaptureIndex = 0;  // number of the last capture
    FileListWidget* m_fileListWidget = nullptr;
    CaptureWriter* m_captureWriter = nullptr;
    // Paths of captures still being written: the folder does not show them yet, and no second
    // capture may take their numbers.
    QSet<QString> m_capturesInFlight;
};
