// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's start-up, children, prompt placement, translation at start and destruction.
#include "videowidget.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QTextEdit>
#include <QVBoxLayout>
#include <cstdio>

#include "camera/campresenter.h"
#include "camerapicturememory.h"
#include "capturewriter.h"
#include "comparepane.h"
#include "controls/noticelabel.h"
#include "filebrowser/filelistwidget.h"
#include "pagescan.h"
#include "settings/extrasettings.h"
#include "settings/languagecode.h"
#include "settings/readxml.h"
#include "settings/storagefolders.h"
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

VideoWidget::VideoWidget(QWidget* parent) : QWidget(parent) {
    configPath = StorageFolders::settingsFilePath();
    printf("************configuPath=%s\n", configPath.toUtf8().constData());

    ReadXML* settings = ReadXML::instance();
    if (!settings->readData(configPath.toUtf8().constData())) {
        printf("Failed to load config, using defaults.\n");
        // The two lines above also come on every first start, where nothing is wrong.
        if (!QFileInfo::exists(configPath))
            printf("(A first start: there are no settings yet. They are written now.)\n");
    }

    const QString storedLanguage = QString::fromStdString(settings->language);
    if (!LanguageCode::isPlain(storedLanguage))
        printf("System locale:%s\n", QLocale::system().name().toUtf8().constData());
    currentLang = LanguageCode::settle(storedLanguage, QLocale::system().name());

    ExtraSettings::instance()->open(
        QDir(StorageFolders::configurationFolder()).filePath("extrasettings.ini"));

    settleSaveFolder();
    settings->language = currentLang.toStdString();
    settings->writeData(configPath.toUtf8().constData());

    loadTranslationAtStart();

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
    m_noDeviceIconLabel->setPixmap(QPixmap(":/image/svg/camera"));
    m_noDeviceIconLabel->setAlignment(Qt::AlignCenter);
    m_noDeviceIconLabel->hide();
    m_noDeviceTextLabel = new QLabel(tr("Plug in the document camera to enable the application"), this);
    m_noDeviceTextLabel->setStyleSheet("color: #888; font-size: 16px;");
    m_noDeviceTextLabel->setAlignment(Qt::AlignCenter);
    m_noDeviceTextLabel->hide();
    m_notice = new NoticeLabel(this);

    m_presenter = new CamPresenter(this);
    // Before the first camera opens: it is handed the page-scanning choices then.
    m_pageScan = new PageScan(m_presenter, this);
    connect(m_pageScan, &PageScan::notice, this, &VideoWidget::showNotice);
    m_drawingPixmap = QPixmap();
    m_lastPoint = QPoint(0, 0);
    m_drawing = false;

    initConnect();
    initPictureTools();
    m_presenter->init();
    initDev();
    initCapture();
    initRecording();
    recoverCutOffRecordings();
}

VideoWidget::~VideoWidget() {
    // Closing the program finishes a recording's file first.
    stopRecording({});
    // Captures under way still need the camera and the presenter.
    m_captureWriter->waitForDone();
    m_focusWatcher.waitForFinished();
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
    connect(m_leftToolWidget, &ToolWidget_Left::showMinUI, this, &VideoWidget::showMinimized);
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

void VideoWidget::settleSaveFolder() {
    ReadXML* settings = ReadXML::instance();
    if (!settings->savePath.empty())
        return;
    // With neither a documents nor a home folder the save folder stays empty and capturing is refused
    // until one is chosen.
    settings->savePath = StorageFolders::defaultSaveFolder().toStdString();
}

// Qt's own dialogs (folder and colour) speak the chosen language where Qt ships their texts; English
// needs no file.
void VideoWidget::installQtTranslation(const QString& code) {
    QCoreApplication::removeTranslator(&m_qtTranslator);
    if (code == "en" || !LanguageCode::isPlain(code))
        return;
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    // The exact file only (load alone would fall back from "ru_RU" to "ru"): a code whose own
    // translation is missing leaves Qt's texts English, too.
    const QString path = QDir(folder).filePath("qtbase_" + code + ".qm");
    if (QFileInfo::exists(path) && m_qtTranslator.load(path))
        QCoreApplication::installTranslator(&m_qtTranslator);
    else
        qDebug() << "Qt's own dialogs stay in English, no translation:" << path;
}

void VideoWidget::loadTranslationAtStart() {
    installQtTranslation(currentLang);
    const QString path = LanguageCode::translationFile(currentLang);
    qDebug() << "Trying to load translation:" << path;
    if (!QFileInfo::exists(path)) {
        qDebug() << "❌ Translation file not found:" << path;
        return;
    }
    if (m_translator.load(path)) {
        QCoreApplication::installTranslator(&m_translator);
        qDebug() << "✅ Successfully loaded translation:" << path;
    } else {
        qDebug() << "❌ Exists but failed to load (corrupted?):" << path;
    }
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
    m_frameHandOver.setTargetSize(size() * devicePixelRatioF());
    if (m_comparePane != nullptr)
        m_comparePane->setGeometry(w / 2, 0, w - w / 2, h);
    if (m_presenter != nullptr)
        m_presenter->setPreviewSizeHint(m_currentDevIndex, qRound(w * devicePixelRatioF()),
                                        qRound(h * devicePixelRatioF()));
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
    printf("m_leftToolWidget Language changed: %s\n", type.toUtf8().constData());
    // Saved before the translation is tried: a code whose file is missing is still remembered.
    ReadXML::instance()->language = type.toStdString();
    ReadXML::instance()->writeData(configPath.toUtf8().constData());
    QCoreApplication::removeTranslator(&m_translator);
    installQtTranslation(type);
    const QString path = LanguageCode::translationFile(type);
    if (LanguageCode::isPlain(type) && m_translator.load(path)) {
        QCoreApplication::installTranslator(&m_translator);
        qDebug() << "✅ Language switched and loaded:" << path;
    } else {
        qDebug() << "❌ Failed to load translation:" << path;
    }
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
