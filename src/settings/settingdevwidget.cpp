// SPDX-License-Identifier: GPL-3.0-or-later
// The settings panel: camera, video format and resolution (switched at once), and the save folder and
// file-name prefix of captures (stored when the panel is destroyed).
#include "settingdevwidget.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStackedLayout>
#include <QStandardPaths>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdio>

#include "capturechoices.h"
#include "capturesettingspage.h"
#include "controls/pathfield.h"
#include "controls/popupmanager.h"
#include "controls/roundedoutline.h"
#include "controls/windowplatform.h"
#include "extrasettings.h"
#include "panelstyle.h"
#include "readxml.h"
#include "storagefolders.h"
#include "textchoices.h"
#include "ui_settingdevwidget.h"

namespace {

const char* const kTabStyle =
    "QToolButton {   border: 1px solid #ccc;   padding: 5px 15px;   background: white;   color: #666666;   "
    "margin: 0;}QToolButton:checked {   background: #0066ff;   color: white;}QToolButton#VideoButton {   "
    "border-top-left-radius: 5px;   border-bottom-left-radius: 5px;   border-top-right-radius: 0px;   "
    "border-bottom-right-radius: 0px;}QToolButton#GeneralButton {   border-top-left-radius: 0px;   "
    "border-bottom-left-radius: 0px;   border-top-right-radius: 5px;   border-bottom-right-radius: 5px;   "
    "border-left: none;}"
    // With all tools shown, General sits between Video and Capture, which ends the row.
    "QToolButton#GeneralButton[middle=\"true\"] {   border-top-right-radius: 0px;   "
    "border-bottom-right-radius: 0px;}QToolButton#CaptureButton {   border-top-left-radius: 0px;   "
    "border-bottom-left-radius: 0px;   border-top-right-radius: 5px;   border-bottom-right-radius: 5px;   "
    "border-left: none;}";
const char* const kDefaultButtonStyle =
    "QToolButton {   border: 1px solid #CCCCCC;   background-color: #FFFFFF;   color: #666666;   "
    "border-radius: 2.47px;   padding: 2px;}QToolButton:hover {   color: #999999;}QToolButton:pressed {   "
    "color: #CCCCCC;}";

QWidget* fixedHeightGap(int height) {
    auto* gap = new QWidget;
    gap->setFixedHeight(height);
    return gap;
}

QFrame* separatorLine() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet("color: #CACACA;");
    line->setFixedHeight(1);
    return line;
}

}  // namespace

settingDevWidget::settingDevWidget(QWidget* parent) : QWidget(parent), ui(new Ui::settingDevWidget) {
    ui->setupUi(this);
    setFixedSize(450, 450);
    setWindowFlags(WindowPlatform::besideButton(Qt::FramelessWindowHint | Qt::Tool));
    setAttribute(Qt::WA_TranslucentBackground);
    initUI();
    applyRoundedMask();
}

void settingDevWidget::initUI() {
    auto* titleRow = new QHBoxLayout;
    titleRow->setContentsMargins(8, 0, 8, 10);
    titleRow->setSpacing(0);
    auto* title = new QLabel(tr("Settings"));
    title->setStyleSheet("QLabel { color: #000000; padding-top: 3px;border:none; }");
    title->setFixedHeight(15);
    PanelStyle::setPixelSize(title, 11);
    titleRow->addWidget(title, 1);
    ui->verticalLayout->addLayout(titleRow);

    auto* tabRow = new QHBoxLayout;
    tabRow->setContentsMargins(0, 0, 0, 0);
    tabRow->setSpacing(0);
    tabRow->setAlignment(Qt::AlignCenter);
    auto* videoButton = new QToolButton;
    videoButton->setText(tr("Video"));
    videoButton->setObjectName("VideoButton");
    auto* generalButton = new QToolButton;
    generalButton->setText(tr("General"));
    generalButton->setObjectName("GeneralButton");
    auto* captureButton = new QToolButton;
    captureButton->setText(tr("Capture"));
    captureButton->setObjectName("CaptureButton");
    auto* tabs = new QButtonGroup(this);
    tabs->setExclusive(true);
    for (QToolButton* tab : {videoButton, generalButton, captureButton}) {
        tab->setCheckable(true);
        tab->setFixedSize(132, 40);
        tab->setStyleSheet(kTabStyle);
        tabRow->addWidget(tab);
    }
    tabs->addButton(generalButton, 0);
    tabs->addButton(videoButton, 1);
    tabs->addButton(captureButton, 2);
    videoButton->setChecked(true);
    ui->verticalLayout->addLayout(tabRow);

    ui->verticalLayout->addWidget(fixedHeightGap(5));
    ui->verticalLayout->addWidget(separatorLine());

    auto* pages = new QWidget;
    pages->setStyleSheet("border: none;");
    stackedLayout = new QStackedLayout(pages);
    stackedLayout->setContentsMargins(0, 0, 0, 0);
    stackedLayout->setSpacing(0);
    generalPage = buildGeneralPage();
    videoPage = buildVideoPage();
    stackedLayout->addWidget(generalPage);
    stackedLayout->addWidget(videoPage);
    stackedLayout->setCurrentIndex(1);
    ui->verticalLayout->addWidget(pages);
    // The group's ids are the page indices: General 0, Video 1, Capture 2.
    connect(tabs, &QButtonGroup::idClicked, stackedLayout, &QStackedLayout::setCurrentIndex);

    m_generalTab = generalButton;
    m_captureTab = captureButton;
    showCaptureTab(false);  // until the extra settings are given

    ui->verticalLayout->addWidget(separatorLine());
    ui->verticalLayout->addWidget(fixedHeightGap(5));

    auto* defaultRow = new QHBoxLayout;
    defaultRow->setContentsMargins(32, 0, 29, 0);
    auto* defaultButton = new QToolButton;
    defaultButton->setText(tr("Default"));
    defaultButton->setStyleSheet(kDefaultButtonStyle);
    defaultRow->addWidget(defaultButton, 0, Qt::AlignCenter);
    ui->verticalLayout->addLayout(defaultRow);
    ui->verticalLayout->addWidget(fixedHeightGap(15));
    connect(defaultButton, &QToolButton::clicked, this, &settingDevWidget::onDefaultClicked);
}

QWidget* settingDevWidget::buildVideoPage() {
    auto* page = new QWidget;
    page->setStyleSheet("border: none;background: white;");
    auto* pageLayout = new QVBoxLayout(page);
    videoMessageLayout = new QVBoxLayout;
    pageLayout->addLayout(videoMessageLayout);
    pageLayout->setAlignment(videoMessageLayout, Qt::AlignTop);

    const auto addRow = [this](const QString& text, const char* objectName) {
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(text);
        label->setStyleSheet(PanelStyle::kRowLabel);
        label->setFixedHeight(15);
        PanelStyle::setPixelSize(label, 11);
        auto* combo = new QComboBox;
        combo->setObjectName(objectName);
        combo->setEditable(false);
        combo->setFixedSize(250, 30);
        combo->setStyleSheet(PanelStyle::kCombo);
        // Entries drawn as plain list items: the default menu-like entries took the box's border and
        // hid the current entry's text.
        combo->setItemDelegate(new QStyledItemDelegate(combo));
        row->addWidget(label);
        row->addWidget(combo);
        row->addSpacing(20);
        videoMessageLayout->addLayout(row);
        return combo;
    };
    comboBox_device = addRow(tr("Device"), "comboBox_device");
    comboBox_format = addRow(tr("Video Format"), "comboBox_format");
    comboBox_resolution = addRow(tr("Resolution"), "comboBox_resolution");
    connect(comboBox_device, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &settingDevWidget::onDeviceChanged);
    connect(comboBox_format, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &settingDevWidget::onFormatChanged);
    connect(comboBox_resolution, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &settingDevWidget::onResolutionChanged);
    comboBox_resolution->installEventFilter(this);
    // The list's own show event is the moment its placement can be put right.
    comboBox_resolution->view()->installEventFilter(this);
    return page;
}

QWidget* settingDevWidget::buildGeneralPage() {
    auto* page = new QWidget;
    page->setStyleSheet("border: none; background: white;");
    auto* pageLayout = new QVBoxLayout(page);
    generalMessageLayout = new QVBoxLayout;
    generalMessageLayout->setContentsMargins(10, 0, 10, 0);
    generalMessageLayout->setSpacing(0);
    pageLayout->addLayout(generalMessageLayout);
    pageLayout->setAlignment(generalMessageLayout, Qt::AlignTop);

    auto* locationGroup = new QGroupBox(tr("File Saving Location"));
    locationGroup->setFixedHeight(120);
    locationGroup->setStyleSheet(PanelStyle::kGroup);
    auto* locationRow = new QHBoxLayout(locationGroup);
    locationRow->setContentsMargins(5, 5, 5, 5);
    locationRow->setSpacing(8);
    locationEdit = new PathField;
    locationEdit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    locationEdit->setFixedHeight(40);
    locationEdit->setStyleSheet(PanelStyle::kControl);
    auto* browseButton = new QToolButton;
    browseButton->setText(tr("Browser"));
    browseButton->setFixedSize(100, 40);
    browseButton->setStyleSheet(PanelStyle::kControl);
    locationRow->addWidget(locationEdit);
    locationRow->addWidget(browseButton);
    connect(browseButton, &QToolButton::clicked, this, &settingDevWidget::onBrowseClicked);

    auto* prefixGroup = new QGroupBox(tr("File Name Prefix"));
    prefixGroup->setFixedHeight(120);
    prefixGroup->setStyleSheet(PanelStyle::kGroup);
    auto* prefixColumn = new QVBoxLayout(prefixGroup);
    prefixColumn->setContentsMargins(5, 5, 5, 5);
    prefixColumn->setSpacing(10);
    radio_data = new QRadioButton(tr("YYYY-MM-DD_5 digit"));
    radio_prefix = new QRadioButton(tr("Prefix"));
    for (QRadioButton* radio : {radio_data, radio_prefix}) {
        radio->setFocusPolicy(Qt::NoFocus);
        radio->setAutoExclusive(true);
        radio->setStyleSheet(PanelStyle::kControl);
    }
    radio_data->setChecked(true);
    prefixColumn->addWidget(radio_data);
    auto* prefixRow = new QHBoxLayout;
    prefixEdit = new QLineEdit;
    prefixEdit->setFixedSize(150, 30);
    PanelStyle::setPixelSize(prefixEdit, 11);
    prefixEdit->setStyleSheet(PanelStyle::kControl);
    prefixEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression("^[a-zA-Z0-9_]*$"), prefixEdit));
    auto* digitsLabel = new QLabel(tr("_5 digit"));
    digitsLabel->setTextFormat(Qt::PlainText);
    digitsLabel->setStyleSheet("QLabel { color: #666666; padding-top: 3px;border:none;}");
    digitsLabel->setFixedSize(80, 25);
    PanelStyle::setPixelSize(digitsLabel, 11);
    prefixRow->addWidget(radio_prefix);
    prefixRow->addWidget(prefixEdit);
    prefixRow->addWidget(digitsLabel);
    prefixRow->addStretch();
    prefixColumn->addLayout(prefixRow);

    // One switch for the tools beyond the basic five; it applies at once.
    auto* toolsGroup = new QGroupBox(tr("Tools"));
    toolsGroup->setFixedHeight(55);
    toolsGroup->setStyleSheet(PanelStyle::kGroup);
    auto* toolsRow = new QHBoxLayout(toolsGroup);
    toolsRow->setContentsMargins(5, 0, 5, 0);
    auto* showAllToolsBox = new QCheckBox(tr("Show all tools"));
    showAllToolsBox->setObjectName("checkBox_showAllTools");
    showAllToolsBox->setStyleSheet(PanelStyle::kControl);
    toolsRow->addWidget(showAllToolsBox);
    m_showAllToolsBox = showAllToolsBox;

    generalMessageLayout->addWidget(locationGroup);
    generalMessageLayout->addWidget(prefixGroup);
    generalMessageLayout->addWidget(toolsGroup);
    generalMessageLayout->addStretch();
    return page;
}

void settingDevWidget::setExtraSettings(ExtraSettings* settings) {
    m_extraSettings = settings;
    stackedLayout->addWidget(new CaptureSettingsPage(settings));
    showCaptureTab(settings->showAllTools());
    connect(settings, &ExtraSettings::showAllToolsChanged, this, &settingDevWidget::showCaptureTab);
    m_showAllToolsBox->setChecked(settings->showAllTools());
    connect(m_showAllToolsBox, &QCheckBox::clicked, this, &settingDevWidget::showAllToolsChosen);
    connect(settings, &ExtraSettings::showAllToolsChanged, m_showAllToolsBox, &QCheckBox::setChecked);
}

// The Capture tab belongs to the tools beyond the basic ones: it shows with "Show all tools".
void settingDevWidget::showCaptureTab(bool on) {
    m_captureTab->setVisible(on);
    m_generalTab->setProperty("middle", on);
    m_generalTab->style()->unpolish(m_generalTab);
    m_generalTab->style()->polish(m_generalTab);
    if (!on && m_captureTab->isChecked())
        m_generalTab->click();
}

settingDevWidget::~settingDevWidget() {
    printf(
        "&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&settingDevWidget::~"
        "settingDevWidget\n");
    ReadXML* settings = ReadXML::instance();
    const int device = comboBox_device->currentIndex();
    const int format = comboBox_format->currentIndex();
    if (device >= 0 && device < static_cast<int>(m_devList.size()) && format >= 0 &&
        format < static_cast<int>(m_devList[static_cast<size_t>(device)].vecMediaType.size())) {
        const devMessage& camera = m_devList[static_cast<size_t>(device)];
        settings->devName = camera.devName.toStdString();
        settings->devPIDVID = camera.pidvid.toStdString();
        settings->videoFormat = camera.vecMediaType[static_cast<size_t>(format)].mediaType;
        settings->resolution = comboBox_resolution->currentText().toStdString();
    }
    settings->savePath = currentSavePath.toStdString();
    settings->customPrefix = prefixEdit->text().toStdString();
    settings->bsaveType = radio_prefix->isChecked();
    settings->writeData(StorageFolders::settingsFilePath().toUtf8().constData());
    delete ui;
}

void settingDevWidget::getDevMessages(std::vector<devMessage> vecDevMessage) {
    printf("*****************settingDevWidget::getDevMessages size:%d\n",
           static_cast<int>(vecDevMessage.size()));
    m_devList = std::move(vecDevMessage);
    comboBox_device->clear();
    comboBox_format->clear();
    comboBox_resolution->clear();
    for (const devMessage& camera : m_devList)
        comboBox_device->addItem(camera.devName);
    if (!m_devList.empty()) {
        m_currentDevIndex = 0;
        refreshFormatList();
    }
    setLastSettingData();
}

void settingDevWidget::refreshFormatList() {
    comboBox_format->blockSignals(true);
    comboBox_resolution->blockSignals(true);
    comboBox_format->clear();
    comboBox_resolution->clear();
    comboBox_resolution->blockSignals(false);
    if (m_currentDevIndex >= 0 && m_currentDevIndex < static_cast<int>(m_devList.size())) {
        for (const mediaMessage& media : m_devList[static_cast<size_t>(m_currentDevIndex)].vecMediaType)
            comboBox_format->addItem(media.mediaName);
        if (comboBox_format->count() > 0) {
            m_currentMediaIndex = 0;
            comboBox_format->setCurrentIndex(0);
        }
    }
    comboBox_format->blockSignals(false);
    refreshResolutionList();
}

void settingDevWidget::refreshResolutionList() {
    comboBox_resolution->blockSignals(true);
    comboBox_resolution->clear();
    if (m_currentDevIndex >= 0 && m_currentDevIndex < static_cast<int>(m_devList.size())) {
        const devMessage& camera = m_devList[static_cast<size_t>(m_currentDevIndex)];
        if (m_currentMediaIndex >= 0 && m_currentMediaIndex < static_cast<int>(camera.vecMediaType.size())) {
            comboBox_resolution->addItems(
                camera.vecMediaType[static_cast<size_t>(m_currentMediaIndex)].resolutions);
            if (comboBox_resolution->count() > 0)
                comboBox_resolution->setCurrentIndex(0);
        }
    }
    comboBox_resolution->blockSignals(false);
}

void settingDevWidget::setLastSettingData() {
    const ReadXML* settings = ReadXML::instance();
    const auto selectFirstOfEach = [this] {
        comboBox_device->setCurrentIndex(0);
        comboBox_format->setCurrentIndex(0);
        comboBox_resolution->setCurrentIndex(0);
    };
    if (settings->devName.empty()) {
        selectFirstOfEach();
    } else {
        printf("*********************************************lastsetting start\n");
        printf("**************m_devList.size = %d\n", static_cast<int>(m_devList.size()));
        int devIndex = -1;
        const QString storedId = QString::fromStdString(settings->devPIDVID);
        for (size_t i = 0; i < m_devList.size() && devIndex < 0; ++i) {
            printf("lastsetting config->devPIDVID=%s,m_devList.at(i).pidvid=%s\n",
                   settings->devPIDVID.c_str(), m_devList[i].pidvid.toUtf8().constData());
            if (m_devList[i].pidvid == storedId)
                devIndex = static_cast<int>(i);
        }
        if (!m_devList.empty() && devIndex < 0)
            selectFirstOfEach();
        if (devIndex >= 0) {
            const devMessage& camera = m_devList[static_cast<size_t>(devIndex)];
            int mediaIndex = -1;
            int resolutionIndex = -1;
            for (size_t j = 0; j < camera.vecMediaType.size() && mediaIndex < 0; ++j) {
                printf(
                    "lastsetting "
                    "config->videoFormat=%d,m_devList.at(devIndex).vecMediaType.at(j).mediaType=%d\n",
                    settings->videoFormat, camera.vecMediaType[j].mediaType);
                if (camera.vecMediaType[j].mediaType == settings->videoFormat)
                    mediaIndex = static_cast<int>(j);
            }
            if (mediaIndex >= 0) {
                const QStringList& resolutions =
                    camera.vecMediaType[static_cast<size_t>(mediaIndex)].resolutions;
                const QString storedResolution = QString::fromStdString(settings->resolution);
                for (int k = 0; k < resolutions.size() && resolutionIndex < 0; ++k) {
                    printf("lastsetting config->resolution=%s,m_devList.at(i).resolution=%s\n",
                           settings->resolution.c_str(), resolutions[k].toUtf8().constData());
                    if (resolutions[k] == storedResolution)
                        resolutionIndex = k;
                }
            }
            // The panel is not shown yet: the slots ignore these selections and nothing is signalled.
            comboBox_device->setCurrentIndex(devIndex);
            m_currentDevIndex = devIndex;
            refreshFormatList();
            comboBox_format->setCurrentIndex(mediaIndex);
            m_currentMediaIndex = mediaIndex;
            refreshResolutionList();
            comboBox_resolution->setCurrentIndex(resolutionIndex);
        }
    }

    printf("*************************************config->savePath=%s\n", settings->savePath.c_str());
    if (settings->savePath.empty()) {
        if (createDefaultSaveFolder())
            locationEdit->setText(currentSavePath);
    } else {
        currentSavePath = QString::fromStdString(settings->savePath);
        locationEdit->setText(currentSavePath);
    }
    radio_prefix->setChecked(settings->bsaveType);
    radio_data->setChecked(!settings->bsaveType);
    prefixEdit->setText(settings->customPrefix.empty() ? QString("image")
                                                       : QString::fromStdString(settings->customPrefix));
}

// Sets currentSavePath to the default save folder and creates it when missing; false, with a log line,
// when there is no documents or home folder or the folder cannot be made.
bool settingDevWidget::createDefaultSaveFolder() {
    const QString folder = StorageFolders::defaultSaveFolder();
    if (folder.isEmpty())
        return false;
    currentSavePath = folder;
    // A file of that name is no folder: making the folder then fails and is reported.
    if (QFileInfo(currentSavePath).isDir())
        return true;
    if (!QDir().mkpath(currentSavePath)) {
        qWarning() << "创建目录失败:" << currentSavePath;
        return false;
    }
    qDebug() << "成功创建目录:" << currentSavePath;
    printf("*************************************currentSavePath=%s\n", currentSavePath.toUtf8().constData());
    return true;
}

bool settingDevWidget::selectedMode(int& mediaIndex, int& mediaType, int& width, int& height,
                                    QString& resolution) const {
    if (m_currentDevIndex < 0 || m_currentDevIndex >= static_cast<int>(m_devList.size()))
        return false;
    const devMessage& camera = m_devList[static_cast<size_t>(m_currentDevIndex)];
    mediaIndex = comboBox_format->currentIndex();
    if (mediaIndex < 0 || mediaIndex >= static_cast<int>(camera.vecMediaType.size()))
        return false;
    mediaType = camera.vecMediaType[static_cast<size_t>(mediaIndex)].mediaType;
    resolution = comboBox_resolution->currentText();
    const QStringList parts = resolution.split(" x ", Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return false;
    width = parts[0].toInt();
    height = parts[1].toInt();
    return true;
}

void settingDevWidget::emitSelectedMode() {
    int mediaIndex = -1, mediaType = 0, width = 0, height = 0;
    QString resolution;
    if (selectedMode(mediaIndex, mediaType, width, height, resolution))
        emit singalChangeCamera(m_currentDevIndex, mediaType, 0, width, height);
}

void settingDevWidget::onDeviceChanged(int index) {
    if (!isVisible())
        return;
    printf("^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^settingDevWidget::onDeviceChanged start index=%d\n", index);
    if (index < 0)
        return;
    m_currentDevIndex = index;
    refreshFormatList();
    emitSelectedMode();
}

void settingDevWidget::onFormatChanged(int index) {
    if (!isVisible())
        return;
    printf("^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^settingDevWidget::onFormatChanged start index=%d\n", index);
    if (index < 0)
        return;
    m_currentMediaIndex = index;
    refreshResolutionList();
    emitSelectedMode();
}

void settingDevWidget::onResolutionChanged(int index) {
    if (!isVisible())
        return;
    printf("^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^settingDevWidget::onResolutionChanged start index=%d\n", index);
    if (index < 0)
        return;
    int mediaIndex = -1, mediaType = 0, width = 0, height = 0;
    QString resolution;
    const bool complete = selectedMode(mediaIndex, mediaType, width, height, resolution);
    printf("^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^settingDevWidget::onResolutionChanged mediaIndex=%d\n",
           mediaIndex);
    printf("^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^settingDevWidget::onResolutionChanged nCurrentMediaType=%d\n",
           mediaType);
    printf("^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^settingDevWidget::onResolutionChanged currentResolution=%s\n",
           resolution.toUtf8().constData());
    if (complete)
        emit singalChangeCamera(m_currentDevIndex, mediaType, 0, width, height);
}

void settingDevWidget::onBrowseClicked() {
    // Presses in the dialog lie outside the panel: while it is open the panel is not a closable popup.
    PopupManager::instance()->unregisterPopup(this);
    QFileDialog dialog(this, tr("Select File Saving Location"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    // The shown folder, else the documents folder; a documents folder not made yet gives the home folder.
    QString start = locationEdit->text();
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(start).isDir())
        start = QDir::homePath();
    dialog.setDirectory(start);
    // The dialog has its final size only once its event loop runs.
    QTimer::singleShot(0, &dialog, [&dialog] {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(dialog.screen()->availableGeometry().center());
        dialog.move(frame.topLeft());
    });
    m_browseDialog = &dialog;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_browseDialog = nullptr;
    if (m_deleteAfterBrowse) {
        // Closed meanwhile (a camera plugged or unplugged): the choice made in the dialog is not
        // stored, as a panel closed at once would not have stored it either.
        deleteLater();
        return;
    }
    if (accepted && !dialog.selectedFiles().isEmpty()) {
        currentSavePath = dialog.selectedFiles().first();
        locationEdit->setText(currentSavePath);
    }
    PopupManager::instance()->registerPopup(this);
}

bool settingDevWidget::event(QEvent* event) {
    // The dialog's event loop would delete the panel, and the dialog with it, under the running
    // onBrowseClicked: the dialog is closed instead, and the panel goes once exec has returned.
    if (event->type() == QEvent::DeferredDelete && m_browseDialog != nullptr) {
        m_deleteAfterBrowse = true;
        m_browseDialog->reject();
        return true;
    }
    return QWidget::event(event);
}

void settingDevWidget::onDefaultClicked() {
    comboBox_device->setCurrentIndex(0);
    comboBox_format->setCurrentIndex(0);
    comboBox_resolution->setCurrentIndex(0);
    if (!createDefaultSaveFolder())
        return;
    locationEdit->setText(currentSavePath);
    radio_data->setChecked(true);
    radio_prefix->setChecked(false);
    if (m_extraSettings != nullptr) {
        CaptureChoices(m_extraSettings).restoreDefaults();
        TextChoices(m_extraSettings).restoreDefaults();
    }
}

bool settingDevWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show &&
        (watched == comboBox_resolution || watched == comboBox_resolution->view()))
        QTimer::singleShot(0, this, &settingDevWidget::adjustComboBoxPopup);
    return QWidget::eventFilter(watched, event);
}

// Keeps the resolution list below its combo box and inside the screen.
void settingDevWidget::adjustComboBoxPopup() {
    QAbstractItemView* view = comboBox_resolution->view();
    if (view == nullptr || !view->isVisible())
        return;
    const QPoint corner = comboBox_resolution->mapToGlobal(QPoint(0, comboBox_resolution->height()));
    const int rows = qMin(comboBox_resolution->count(), comboBox_resolution->maxVisibleItems());
    int rowHeight = view->sizeHintForRow(0);
    if (rowHeight < 1)
        rowHeight = comboBox_resolution->fontMetrics().height() + 8;
    QRect popup(corner, QSize(comboBox_resolution->width(), rows * rowHeight + 4));
    const QScreen* screen = comboBox_resolution->screen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
    if (available.isValid()) {
        if (popup.bottom() > available.bottom())
            popup.setHeight(qMax(rowHeight, available.bottom() - corner.y() - 10));
        if (popup.right() > available.right())
            popup.moveRight(available.right());
        if (popup.left() < available.left())
            popup.moveLeft(available.left());
    }
    // The list sits in a popup frame of its own: that frame is the window to place.
    view->window()->setGeometry(popup);
    if (view->currentIndex().isValid())
        view->scrollTo(view->currentIndex());
}

void settingDevWidget::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    RoundedOutline::paint(this);
}

void settingDevWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyRoundedMask();
}

void settingDevWidget::applyRoundedMask() {
    setMask(RoundedOutline::mask(rect()));
}
