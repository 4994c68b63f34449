// The Capture page of the settings panel, built in code in the looks of the General page.
#include "capturesettingspage.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "capturechoices.h"
#include "extrasettings.h"
#include "panelstyle.h"

namespace {

const char* const kSpinStyle =
    "QAbstractSpinBox { border: 1px solid #CCCCCC; border-radius: 3px; padding: 2px 4px; color: #333333; }";
const char* const kCheckStyle = "QCheckBox { color: #333333; border: none; background: transparent; }";

QCheckBox* checkBox(const QString& text, const char* objectName) {
    auto* box = new QCheckBox(text);
    box->setObjectName(objectName);
    box->setStyleSheet(kCheckStyle);
    return box;
}

QLabel* rowLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setStyleSheet(PanelStyle::kRowLabel);
    PanelStyle::setPixelSize(label, 11);
    return label;
}

// A spin box that stores its value when the user is done with it, not at every digit typed.
template <typename Box>
Box* spinBox(const char* objectName, int width) {
    auto* box = new Box;
    box->setObjectName(objectName);
    box->setKeyboardTracking(false);
    box->setFixedSize(width, 30);
    box->setStyleSheet(kSpinStyle);
    return box;
}

QGroupBox* group(const QString& title, int height) {
    auto* box = new QGroupBox(title);
    box->setFixedHeight(height);
    box->setStyleSheet(PanelStyle::kGroup);
    return box;
}

}  // namespace

CaptureSettingsPage::CaptureSettingsPage(QWidget* parent) : QWidget(parent) {
    setStyleSheet("border: none; background: white;");
    auto* pageLayout = new QVBoxLayout(this);
    auto* content = new QVBoxLayout;
    content->setContentsMargins(10, 0, 10, 0);
    content->setSpacing(0);
    content->addWidget(buildPagesGroup());
    content->addWidget(buildFilesGroup());
    content->addStretch();
    pageLayout->addLayout(content);
    pageLayout->setAlignment(content, Qt::AlignTop);
    showStoredChoices();

    connect(m_crop, &QCheckBox::toggled, this, &CaptureChoices::setCropping);
    connect(m_autoCapture, &QCheckBox::toggled, this, &CaptureChoices::setAutoCapture);
    connect(m_hold, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &CaptureChoices::setHoldSeconds);
    connect(m_split, &QCheckBox::toggled, this, &CaptureChoices::setSplitSpreads);
    connect(m_quality, QOverload<int>::of(&QSpinBox::valueChanged), this, &CaptureChoices::setJpegQuality);
    connect(m_dpi, QOverload<int>::of(&QSpinBox::valueChanged), this, &CaptureChoices::setDpi);
    connect(ExtraSettings::instance(), &ExtraSettings::valueChanged, this,
            &CaptureSettingsPage::showStoredChoices);
}

QWidget* CaptureSettingsPage::buildPagesGroup() {
    QGroupBox* pages = group(tr("Pages"), 150);
    auto* column = new QVBoxLayout(pages);
    column->setContentsMargins(5, 5, 5, 5);
    column->setSpacing(6);
    m_crop = checkBox(tr("Crop and straighten pages"), "checkBox_cropPages");
    m_autoCapture = checkBox(tr("Capture each new page by itself"), "checkBox_autoCapture");
    m_hold = spinBox<QDoubleSpinBox>("spinBox_holdSeconds", 80);
    m_hold->setRange(CaptureChoices::kHoldMin, CaptureChoices::kHoldMax);
    m_hold->setSingleStep(CaptureChoices::kHoldStep);
    m_hold->setDecimals(1);
    m_hold->setSuffix(tr(" s"));
    m_split = checkBox(tr("Split two-page spreads into two files"), "checkBox_splitSpreads");

    auto* holdRow = new QHBoxLayout;
    holdRow->setContentsMargins(20, 0, 0, 0);
    holdRow->addWidget(rowLabel(tr("after it lies still for")));
    holdRow->addWidget(m_hold);
    holdRow->addStretch();
    column->addWidget(m_crop);
    column->addWidget(m_autoCapture);
    column->addLayout(holdRow);
    column->addWidget(m_split);
    return pages;
}

QWidget* CaptureSettingsPage::buildFilesGroup() {
    QGroupBox* files = group(tr("Captured Files"), 110);
    auto* column = new QVBoxLayout(files);
    column->setContentsMargins(5, 5, 5, 5);
    column->setSpacing(6);
    m_quality = spinBox<QSpinBox>("spinBox_jpegQuality", 80);
    m_quality->setRange(CaptureChoices::kQualityMin, CaptureChoices::kQualityMax);
    m_dpi = spinBox<QSpinBox>("spinBox_dpi", 80);
    m_dpi->setRange(CaptureChoices::kDpiMin, CaptureChoices::kDpiMax);
    const auto addRow = [column](const QString& text, QWidget* box) {
        auto* row = new QHBoxLayout;
        row->addWidget(rowLabel(text), 1);
        row->addWidget(box);
        column->addLayout(row);
    };
    addRow(tr("JPEG quality (50-100)"), m_quality);
    addRow(tr("Resolution written in files (DPI)"), m_dpi);
    return files;
}

void CaptureSettingsPage::showStoredChoices() {
    const QSignalBlocker blockCrop(m_crop), blockAuto(m_autoCapture), blockHold(m_hold), blockSplit(m_split),
        blockQuality(m_quality), blockDpi(m_dpi);
    m_crop->setChecked(CaptureChoices::cropping());
    m_autoCapture->setChecked(CaptureChoices::autoCapture());
    m_hold->setValue(CaptureChoices::holdSeconds());
    m_split->setChecked(CaptureChoices::splitSpreads());
    m_quality->setValue(CaptureChoices::jpegQuality());
    m_dpi->setValue(CaptureChoices::dpi());
}
