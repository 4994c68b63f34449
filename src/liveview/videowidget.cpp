// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's construction, children, prompt placement, side bars and destruction.
#include "videowidget.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QTextEdit>
#include <QVBoxLayout>
#include <cstdio>

#include "annotationcanvas.h"
#include "camera/campresenter.h"
#include "capturecontroller.h"
#include "comparepane.h"
#include "controls/noticelabel.h"
#include "controls/windowplatform.h"
#include "filebrowser/filelistwidget.h"
#include "insetcamera.h"
#include "overlays/insetoverlay.h"
#include "pagescan.h"
#include "picturetoolscontroller.h"
#include "recordingcontroller.h"
#include "settings/extrasettings.h"
#include "settings/storagefolders.h"
#include "startupcontroller.h"
#include "textcontroller.h"
#include "textpanel.h"
#include "timelapsecontroller.h"
#include "toolbars/toolswidget.h"
#include "toolbars/toolwidget_left.h"
#include "toolbars/toolwidget_right.h"

namespace {

// Controls that do something with Space themselves: pressing a button, opening a list, typing.
bool usesSpaceKey(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QAbstractItemView*>(widget) != nullptr ||
           qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
}

}  // namespace

VideoWidget::VideoWidget(QWidget* parent, ExtraSettings* extraSettings)
    : QWidget(parent), m_extraSettings(extraSettings) {
    configPath = StorageFolders::settingsFilePath();
    printf("************configuPath=%s\n", configPath.toUtf8().constData());

    if (m_extraSettings == nullptr) {
        m_extraSettings = new ExtraSettings(this);
        m_extraSettings->open(ExtraSettings::defaultFilePath());
    }
    m_startup = new StartupController(&m_translator, configPath, this);
    currentLang = m_startup->start();

    connect(this, &VideoWidget::imageReady, this, &VideoWidget::onImageReady, Qt::QueuedConnection);

    setWindowFlags(Qt::FramelessWindowHint);
    // The view holds the keyboard focus from the start, and takes it back on a click on the picture:
    // else the window gives it to the first bar button, which then takes Space from Freeze.
    setFocusPolicy(Qt::ClickFocus);
    setFocus();
    // Every paint covers the whole view (the picture, black where it leaves the view uncovered), so
    // Qt need not clear the window before each one: a pass over the window saved per frame.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // One finger draws, erases or pans; two pinch and pan (videowidget_touch.cpp).
    setAttribute(Qt::WA_AcceptTouchEvents);

    auto* cornerIcon = new QLabel(this);
    cornerIcon->setPixmap(QPixmap(":/image/svg/camera"));
    cornerIcon->setScaledContents(true);
    cornerIcon->setStyleSheet("QLabel{background:transparent;}");
    cornerIcon->setGeometry(10, 10, 40, 40);

    m_centerToolWidget = new ToolsWidget(this);
    m_leftToolWidget = new ToolWidget_Left(this);
    m_rightToolWidget = new ToolWidget_Right(this);
    m_centerToolWidget->setAttribute(Qt::WA_TranslucentBackground);
    m_leftToolWidget->setAttribute(Qt::WA_TranslucentBackground);
    m_rightToolWidget->setAttribute(Qt::WA_TranslucentBackground);
    // The bars hold the tools beyond the basic ones while the extra settings say so.
    m_centerToolWidget->setShowAllTools(m_extraSettings->showAllTools());
    m_rightToolWidget->setShowAllTools(m_extraSettings->showAllTools());
    connect(m_extraSettings, &ExtraSettings::showAllToolsChanged, m_centerToolWidget,
            &ToolsWidget::setShowAllTools);
    connect(m_extraSettings, &ExtraSettings::showAllToolsChanged, m_rightToolWidget,
            &ToolWidget_Right::setShowAllTools);
    m_leftToolWidget->setExtraSettings(m_extraSettings);
    connect(m_leftToolWidget, &ToolWidget_Left::showAllToolsChosen, m_extraSettings,
            &ExtraSettings::setShowAllTools);

    // The row of tool bars along the bottom edge: left bar, bottom bar, right bar.
    bottomLayout = new QHBoxLayout;
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->setSpacing(0);
    bottomLayout->addWidget(m_leftToolWidget);
    bottomLayout->addStretch(0);
    bottomLayout->addWidget(m_centerToolWidget);
    bottomLayout->addStretch(0);
    bottomLayout->addWidget(m_rightToolWidget);
    mainLayout = new QVBoxLayout;
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);
    mainLayout->addStretch(0);
    mainLayout->addLayout(bottomLayout, 1);
    setLayout(mainLayout);

    m_noDeviceIconLabel = new QLabel(this);
    m_noDeviceIconLabel->setObjectName("label_noDeviceIcon");
    m_noDeviceIconLabel->setPixmap(QPixmap(":/image/svg/camera"));
    m_noDeviceIconLabel->setAlignment(Qt::AlignCenter);
    m_noDeviceIconLabel->hide();
    m_noDeviceTextLabel = new QLabel(tr("Plug in the document camera to enable the application"), this);
    m_noDeviceTextLabel->setObjectName("label_noDeviceText");
    m_noDeviceTextLabel->setStyleSheet("color: #888; font-size: 16px;");
    m_noDeviceTextLabel->setAlignment(Qt::AlignCenter);
    m_noDeviceTextLabel->hide();
    m_notice = new NoticeLabel(this);

    m_presenter = new CamPresenter(this);
    // Before the first camera opens: it is handed the page-scanning choices then.
    m_pageScan = new PageScan(m_presenter, m_extraSettings, this);
    connect(m_pageScan, &PageScan::notice, this, &VideoWidget::showNotice);
    m_drawingPixmap = QPixmap();
    m_lastPoint = QPoint(0, 0);
    m_drawing = false;

    initConnect();
    m_pictureTools = new PictureToolsController(m_presenter, m_extraSettings, m_centerToolWidget, this,
                                                [this] { return !m_videoPixmap.isNull(); });
    connect(m_pictureTools, &PictureToolsController::notice, this, &VideoWidget::showNotice);
    ToolHost& host = *this;  // a private base: seen as one only from inside the view
    m_canvas = std::make_unique<AnnotationCanvas>(host, *m_pageScan, m_pictureTools->memory());
    m_inset = new InsetCamera(
        this, m_extraSettings, [this] { return static_cast<int>(m_devList.size()); },
        [this] { return m_currentDevIndex; });
    m_canvas->addOverlay(m_inset->takeOverlay());
    m_inset->offerMenuOn(m_leftToolWidget->findChild<QWidget*>("toolButton_set"));
    connect(m_inset, &InsetCamera::notice, this, &VideoWidget::showNotice);
    connect(m_inset, &InsetCamera::swapRequested, this, &VideoWidget::showAsMainCamera);
    m_presenter->init();
    initDev();
    initCapture();
    initRecording();
}

VideoWidget::~VideoWidget() {
    // Closing the program finishes a recording's file first.
    m_recording->stop({});
    // A time-lapse's last still and its video are finished while the camera and the presenter are there.
    delete findChild<TimeLapseController*>();
    // Captures and recognitions under way still need the camera and the presenter.
    m_capture->waitForDone();
    m_text->waitForDone();
    // A focus under way ends, and the camera's settings are saved, while the camera is still open.
    delete m_pictureTools;
    m_pictureTools = nullptr;
    if (m_presenter != nullptr) {
        m_presenter->closeDev(0);
        m_presenter->uninit();
        // After uninit the library calls nothing back, so the presenter can go.
        delete m_presenter;
        m_presenter = nullptr;
    }
}

// The children's signals to the view's slots, and the view's keyboard shortcuts.
void VideoWidget::initConnect() {
    connect(m_leftToolWidget, &ToolWidget_Left::showMinUI, this,
            [this] { WindowPlatform::showMinimized(this); });
    connect(m_leftToolWidget, &ToolWidget_Left::CloseUI, this, &VideoWidget::close);
    connect(m_centerToolWidget, &ToolsWidget::switchToMovingMode, this, &VideoWidget::switchToMovingMode);
    connect(m_centerToolWidget, &ToolsWidget::switchToDrawingMode, this, &VideoWidget::switchToDrawingMode);
    connect(m_centerToolWidget, &ToolsWidget::switchToEraseMode, this, &VideoWidget::handleEraseMode);
    connect(m_centerToolWidget, &ToolsWidget::signalFreeze, this,
            [this](bool bIsCheck) { stateFreeze = bIsCheck; });
    connect(m_leftToolWidget, &ToolWidget_Left::singalChangeCamera, this, &VideoWidget::changeCamera);
    connect(this, &VideoWidget::signalHideUI, m_leftToolWidget, &ToolWidget_Left::hideUI);
    connect(m_centerToolWidget, &ToolsWidget::signalCaptureImage, this, &VideoWidget::captureImage);
    connect(m_rightToolWidget, &ToolWidget_Right::HideListWidget, this, &VideoWidget::onHideListWidget);
    connect(m_leftToolWidget, &ToolWidget_Left::signalSwitchLanguage, this, &VideoWidget::switchLanguage);
    connect(m_rightToolWidget, &ToolWidget_Right::ShowListWidget, this, &VideoWidget::onShowListWidget);
    connect(m_centerToolWidget, &ToolsWidget::toolChanged, this, &VideoWidget::updateToolSettings);
    connect(m_centerToolWidget, &ToolsWidget::switchToSelectMode, this, &VideoWidget::switchToSelectMode);
    connect(m_centerToolWidget, &ToolsWidget::switchToTextMode, this, &VideoWidget::switchToTextMode);
    connect(m_centerToolWidget, &ToolsWidget::undoClicked, this, &VideoWidget::undoDrawing);
    connect(m_centerToolWidget, &ToolsWidget::maskChanged, this, &VideoWidget::showMask);
    connect(m_rightToolWidget, &ToolWidget_Right::exChangeLeft, this, &VideoWidget::onExChangeLeft);
    connect(m_leftToolWidget, &ToolWidget_Left::exChangeRight, this, &VideoWidget::onExChangeRight);
    connect(m_rightToolWidget, &ToolWidget_Right::splitScreenToggled, this, &VideoWidget::setSplitScreen);

    // Space goes to a focused control that uses it itself (eventFilter), else to Freeze.
    qApp->installEventFilter(this);
    initShortcuts();
}

bool VideoWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier &&
            usesSpaceKey(QApplication::focusWidget())) {
            // Accepted, the override keeps the key from the shortcut: the control receives it.
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void VideoWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    const int iconY = (h - 60 - 30) / 2;
    m_noDeviceIconLabel->setGeometry((w - 60) / 2, iconY, 60, 60);
    m_noDeviceTextLabel->setGeometry(0, iconY + 60 + 10, w, 30);

    // Frames are prepared at this size on the capture thread, and need not be decoded larger. Device
    // pixels: on a screen scaled to 200 % a 4K camera shows every one of its pixels.
    m_livePicture.setTargetSize(size() * devicePixelRatioF());
    if (m_comparePane != nullptr)
        m_comparePane->setGeometry(w / 2, 0, w - w / 2, h);
    if (m_presenter != nullptr)
        m_presenter->setPreviewSizeHint(m_currentDevIndex, qRound(w * devicePixelRatioF()),
                                        qRound(h * devicePixelRatioF()));
    if (m_inset != nullptr)
        m_inset->viewResized();
}

void VideoWidget::showNoDevicePrompt(bool show) {
    if (show) {
        m_noDeviceIconLabel->show();
        m_noDeviceTextLabel->show();
        m_noDeviceIconLabel->raise();
        m_noDeviceTextLabel->raise();
    } else {
        m_noDeviceIconLabel->hide();
        m_noDeviceTextLabel->hide();
    }
}

void VideoWidget::showNotice(const QString& text) {
    m_notice->showNotice(text);
}

void VideoWidget::switchLanguage(const QString& type) {
    m_startup->switchLanguage(type);
    retranslateUi();
}

// The prompt keeps the language in which it was created.
void VideoWidget::retranslateUi() {
    if (m_leftToolWidget != nullptr)
        m_leftToolWidget->retranslateUi();
    if (m_rightToolWidget != nullptr)
        m_rightToolWidget->retranslateUi();
    if (m_centerToolWidget != nullptr)
        m_centerToolWidget->retranslateUi();
    if (m_fileListWidget != nullptr)
        m_fileListWidget->retranslateUi();
    if (m_textPanel != nullptr)
        m_textPanel->retranslateUi();
}

void VideoWidget::onExChangeLeft(bool bIsExChangeLeft) {
    Q_UNUSED(bIsExChangeLeft);
    m_leftToolWidget->swapUI();
    if (m_toolWidgetsSwapped)
        arrangeBottomRow(m_leftToolWidget, {}, m_rightToolWidget, {});
    else
        arrangeBottomRow(m_rightToolWidget, {}, m_leftToolWidget, {});
}

void VideoWidget::onExChangeRight(bool bIsExChangeRight) {
    Q_UNUSED(bIsExChangeRight);
    m_fileListWidget->hide();
    m_rightToolWidget->swapUI();
    m_rightToolWidget->showFileListIcon();
    if (m_toolWidgetsSwapped)
        arrangeBottomRow(m_leftToolWidget, Qt::AlignLeft, m_rightToolWidget, Qt::AlignRight);
    else
        arrangeBottomRow(m_rightToolWidget, {}, m_leftToolWidget, {});
}

void VideoWidget::arrangeBottomRow(QWidget* first, Qt::Alignment firstAlignment, QWidget* last,
                                   Qt::Alignment lastAlignment) {
    // The bars stay children of the view while the row is rebuilt, so none of them is hidden for a
    // moment.
    while (QLayoutItem* item = bottomLayout->takeAt(0))
        delete item;
    bottomLayout->addWidget(first, 0, firstAlignment);
    bottomLayout->addStretch(1);
    bottomLayout->addWidget(m_centerToolWidget);
    bottomLayout->addStretch(1);
    bottomLayout->addWidget(last, 0, lastAlignment);
    m_toolWidgetsSwapped = !m_toolWidgetsSwapped;
    bottomLayout->invalidate();
    bottomLayout->update();
}
