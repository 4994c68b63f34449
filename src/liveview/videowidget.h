// SPDX-License-Identifier: GPL-3.0-or-later
// The one full-screen window: live camera picture, its children, and the camera's view interface.
#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPoint>
#include <QTranslator>
#include <QVector>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "camera/camerarecords.h"
#include "camera/ipresenter.h"
#include "camera/iview.h"
#include "filenumbering.h"
#include "livepicture.h"
#include "toolbars/maskkind.h"
#include "tools/stroketool.h"
#include "tools/toolhost.h"
#include "tools/toolkind.h"
#include "viewport.h"

class AnnotationCanvas;
class CameraChoice;
class CaptureController;
class ComparePane;
class ExtraSettings;
class FileListWidget;
class FolderFiles;
class InsetCamera;
class NoticeLabel;
class PageScan;
class PictureToolsController;
class QHBoxLayout;
class QLineEdit;
class QPainter;
class QTouchEvent;
class QVBoxLayout;
class RecordingController;
class StartupController;
class TextController;
class TextPanel;
class ToolWidget_Left;
class ToolWidget_Right;
class ToolsWidget;

class VideoWidget : public QWidget, public IView, private ToolHost {
    Q_OBJECT

public:
    // extraSettings: the store of what the program remembers beyond the settings file, which main
    // makes; without it the view keeps its own, in the configuration folder.
    explicit VideoWidget(QWidget* parent = nullptr, ExtraSettings* extraSettings = nullptr);
    ~VideoWidget() override;

    // IView; the enumeration callbacks run inside the presenter's calls on the GUI thread.
    void initCameraList(QStringList& list) override;
    void initMediaTypeList(int devIndex, QStringList& list) override;
    void initReslutionList(int devIndex, int mediaIndex, int mediaType, QStringList& list) override;
    void initFPSList(QStringList& list) override;
    void initAutoCrop(QStringList& list) override;
    void initRotate(QStringList& list) override;
    void getDevChangeType(long changeType, long dev_id) override;                     // any thread
    void drawQImage(long devIndex, QImage* image, long width, long height) override;  // capture thread
    void drawQImagePart(long devIndex, QImage* image, const QRectF& part) override;   // capture thread
    void frameCaptured(long devIndex, long long captureTimeUs) override;              // capture thread
    void autoCaptureTriggered() override;                                             // library thread

    void showNoDevicePrompt(bool show);
    // A few seconds of text over the picture, never modal: what failed after the user's action.
    void showNotice(const QString& text);
    void retranslateUi();
    // The highest number already used with prefix among the folder's pictures and recordings: -1 when
    // the folder does not exist, 0 when it holds neither, 1 when none of them has the prefix.
    int getMaxFileNumber(const QString& prefix, const QString& folderPath);

signals:
    void imageReady(const QImage& image);
    void signalHideUI();

public slots:
    void captureImage();
    // Starts recording what the class sees, or stops and finishes the file (Record, Ctrl+R).
    void toggleRecording();
    void updateToolSettings(int type, QColor color, int size);
    void changeCamera(int devIndex, int mediaType, int fps, int width, int height);
    void clearDrawing();
    // The side bars exchange places; the argument is not used.
    void onExChangeRight(bool bIsExChangeRight);
    void onExChangeLeft(bool bIsExChangeLeft);
    // The file panel: placed above the right end of the tool bar row (the left end when the side
    // bars are exchanged) and shown; hidden.
    void onShowListWidget();
    void onHideListWidget();

private slots:
    void onImageReady(const QImage& image);
    void switchToMovingMode();
    void switchToDrawingMode();
    void handleEraseMode(int eraseType, int size);
    // Ctrl+Z and Ctrl+Shift+Z / Ctrl+Y on the annotation layer.
    void undoDrawing();
    void redoDrawing();
    // Saves the code, swaps the installed translation and re-translates the tool bars.
    void switchLanguage(const QString& type);
    // Digital zoom in steps of 1.25 between 1x and 8x about the view's centre; back to the whole
    // picture.
    void zoomIn();
    void zoomOut();
    void resetZoom();
    // Esc: ends what is under way (a selection, a shape, a text being typed), else resets the zoom.
    void cancelInProgress();
    // Select: a rectangle dragged over the picture is zoomed to fill the view.
    void switchToSelectMode();
    // Text: a click on the picture opens an editor there; Enter or a click elsewhere puts its text
    // on the layer as one step of the history, Esc drops it.
    void switchToTextMode();
    // Masking: a curtain or a spotlight over the picture and the ink, or none.
    void showMask(MaskKind kind);
    // Split Screen: the live picture on the left half, a captured picture on the right (the newest
    // at first, then the one whose tile is clicked).
    void setSplitScreen(bool on);
    void onTileClicked(const QString& path);

protected:
    bool event(QEvent* event) override;
    // Watches the application's shortcut overrides: Space stays with a focused control that uses it.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void initConnect();
    void initShortcuts();
    void initDev();
    void handleDevChange(long changeType, long dev_id);
    // The view shows camera devIndex, remembered as its camera: the inset's double click.
    void showAsMainCamera(int devIndex);
    // Stored in the settings file as the camera to open at the next start.
    void rememberCamera(const CameraChoice& choice);
    void resetPicture();
    // Rebuilds the row of tool bars with first and last at its two ends and the bottom bar between.
    void arrangeBottomRow(QWidget* first, Qt::Alignment firstAlignment, QWidget* last,
                          Qt::Alignment lastAlignment);
    void initCapture();
    void followSaveFolder();
    void initRecording();
    // The view's own painting (the picture, zoom and pan, ink) without any child widget: what the
    // class sees, without bars, popups, notices or the recording indicator; null without a picture.
    QImage recordedPicture();
    // A new camera picture, which the camera took at capturedUs, for a recording under way.
    void recordCameraPicture(int64_t capturedUs);
    // The tool the pointer acts with, and the documented modes that follow it.
    void useTool(ToolKind kind);
    void useDrawingTool();
    // Where the live picture shows: the whole view, or its left half while split.
    QRect liveArea() const;
    // Touch: returns whether the view took the event.
    bool touchEvent(QTouchEvent* event);
    void cancelTouchAction();
    // ToolHost
    QWidget* widget() override { return this; }
    QPixmap& layer() override { return m_drawingPixmap; }
    AnnotationHistory& history() override;
    InkTiles& inkTiles() override;
    // Placed on the live area and the current picture each time it is asked for.
    Viewport& viewport() override;
    PointerState pointer() override;
    QColor penColor() const override { return m_penColor; }
    int penSize() const override { return m_penSize; }
    int eraserSize() const override { return m_eraserSize; }
    void viewportChanged() override;
    void layerChanged(const QRect& layerRect) override;
    // The Undo button follows whether there is a step to undo.
    void stepEnded() override;

    QString configPath;
    std::vector<devMessage> m_devList;
    QPixmap m_videoPixmap;          // the last frame, scaled to the view's size
    QPixmap m_drawingPixmap;        // the annotation layer, the size of m_videoPixmap
    QVector<QPoint> m_currentLine;  // the start point of the stroke in progress
    QPoint m_lastPoint;             // layer position of the last drawn point; (0, 0) when there is none
    bool m_drawing = false;         // a stroke is in progress
    // The tool's modes: at most one is on (none with Select and Text); with none the pointer does
    // nothing.
    bool m_movingMode = false;
    bool m_drawingMode = false;
    bool m_eraserMode = false;
    QPoint m_dragStartPos;  // view position of the last pan drag step
    // Zoom and pan of the live picture; the two members below follow it.
    Viewport m_viewport;
    QPoint m_imageOffset;  // pan offset of the picture
    double m_currentScale = 1.0;
    bool m_mousePressed = false;                               // a pan drag is in progress
    static const int MIN_DISTANCE = StrokeTool::MIN_DISTANCE;  // shortest drawn segment, Manhattan pixels
    IPresenter* m_presenter = nullptr;
    ToolsWidget* m_centerToolWidget = nullptr;  // the bottom tool bar
    int m_eraserSize = 20;                      // pixels
    QColor m_penColor = Qt::red;
    int m_penSize = 5;          // pixels
    int m_currentToolType = 0;  // 0 pen, 1 highlighter; other values draw nothing
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
    NoticeLabel* m_notice = nullptr;
    QString currentLang;
    // Frames from the capture thread, prepared at the view's size, and the zoomed part.
    LivePicture m_livePicture;
    int nCaptureIndex = 0;  // number of the last capture
    FileListWidget* m_fileListWidget = nullptr;
    FolderFiles* m_folderFiles = nullptr;  // the save folder's files for the panel, with all tools
    ExtraSettings* m_extraSettings = nullptr;
    FileNumbering m_numbering{&nCaptureIndex};  // of captures, PDFs and recordings
    StartupController* m_startup = nullptr;
    CaptureController* m_capture = nullptr;
    RecordingController* m_recording = nullptr;
    PictureToolsController* m_pictureTools = nullptr;
    std::unique_ptr<AnnotationCanvas> m_canvas;  // the tool, the overlays, the layer's history
    PageScan* m_pageScan = nullptr;
    ComparePane* m_comparePane = nullptr;  // made at the first split
    TextPanel* m_textPanel = nullptr;      // the page's text, shown by O
    TextController* m_text = nullptr;      // copy text (O) and read aloud (Shift+O)
    InsetCamera* m_inset = nullptr;        // a second camera in a corner (I)
};
